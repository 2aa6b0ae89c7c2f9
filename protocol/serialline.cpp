#include "serialline.h"

#include "settingfields.h"

namespace SerialLine {

int bitsPerCharacter(const QByteArray &frame)
{
    using SettingFields::Field;
    const bool parity = SettingFields::text(frame, Field::Parity) != QLatin1String("none");
    return 1 + SettingFields::text(frame, Field::DataBits).toInt() + (parity ? 1 : 0) +
           SettingFields::text(frame, Field::StopBits).toInt();
}

double charactersPerSecond(const QByteArray &frame)
{
    const double baud = SettingFields::text(frame, SettingFields::Field::Baud).toDouble();
    return baud / bitsPerCharacter(frame);
}

} // namespace SerialLine

#include "pseudoterminal.h"

#include "phrase.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int POLL_MS = 200;

struct Speed
{
    int baud;
    speed_t code;
};
const Speed SPEEDS[] = {
    {50, B50},           {75, B75},          {110, B110},         {134, B134},
    {150, B150},         {200, B200},        {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},      {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},    {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},  {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},  {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}};

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent) : QObject(parent) {}

PseudoTerminal::~PseudoTerminal()
{
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
}

bool PseudoTerminal::open(const QString &link, int baud, QString *error)
{
    const QFileInfo existing(link);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink() ||
            !existing.symLinkTarget().startsWith(QLatin1String("/dev/pts/"))) {
            *error = Phrase::translate("cli", "--pty %1: something else is there; nothing "
                                              "replaced")
                         .arg(link);
            return false;
        }
        QFile::remove(link);
    }
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        *error = Phrase::translate("cli", "cannot create a pseudo-terminal: %1").arg(systemError());
        return false;
    }
    const char *name = ::ptsname(master);
    slave = name ? ::open(name, O_RDWR | O_NOCTTY) : -1;
    if (slave < 0) {
        *error = Phrase::translate("cli", "cannot open the pseudo-terminal: %1").arg(systemError());
        return false;
    }
    // Raw, as a serial port is: every byte through, nothing echoed.
    termios settings;
    ::tcgetattr(slave, &settings);
    ::cfmakeraw(&settings);
    for (const Speed &speed : SPEEDS) {
        if (speed.baud == baud) {
            ::cfsetispeed(&settings, speed.code);
            ::cfsetospeed(&settings, speed.code);
        }
    }
    ::tcsetattr(slave, TCSANOW, &settings);
    if (::symlink(name, QFile::encodeName(link).constData()) != 0) {
        *error = Phrase::translate("cli", "--pty %1: cannot link it: %2").arg(link, systemError());
        return false;
    }
    linkPath = link;
    lastSettings = lineSettings();
    notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &PseudoTerminal::pollSettings);
    poll->start(POLL_MS);
    return true;
}

void PseudoTerminal::readMaster()
{
    char buffer[4096];
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n > 0)
        emit received(QByteArray(buffer, int(n)));
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break; // the program reads nothing and its buffer is full: bytes are lost, as on a line
        done += n;
    }
}

void PseudoTerminal::setPaused(bool paused)
{
    if (notifier)
        notifier->setEnabled(!paused);
}

QString PseudoTerminal::lineSettings() const
{
    termios settings;
    if (::tcgetattr(slave, &settings) != 0)
        return QString();
    int baud = 0;
    for (const Speed &speed : SPEEDS) {
        if (speed.code == ::cfgetospeed(&settings))
            baud = speed.baud;
    }
    const int bits[] = {5, 6, 7, 8};
    const int dataBits = bits[(settings.c_cflag & CSIZE) == CS5   ? 0
                              : (settings.c_cflag & CSIZE) == CS6 ? 1
                              : (settings.c_cflag & CSIZE) == CS7 ? 2
                                                                  : 3];
    const char parity = !(settings.c_cflag & PARENB)  ? 'N'
                        : (settings.c_cflag & PARODD) ? 'O'
                                                      : 'E';
    return QStringLiteral("%1 %2%3%4")
        .arg(baud)
        .arg(dataBits)
        .arg(QLatin1Char(parity))
        .arg(settings.c_cflag & CSTOPB ? 2 : 1);
}

void PseudoTerminal::pollSettings()
{
    const QString now = lineSettings();
    if (now != lastSettings) {
        lastSettings = now;
        emit lineChanged(now);
    }
}

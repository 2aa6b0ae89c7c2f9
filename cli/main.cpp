// converter-cli: finds, reads and configures serial-to-Ethernet converters
// from scripts and batch jobs, and checks every write by reading back.
#include "commands.h"
#include "language.h"
#include "messages.h"
#include "options.h"
#include "stopsignal.h"

#include "phrase.h"

#include "framecipher.h"
#include "protocolconstants.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("converter-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CONVERTER_VERSION));

    Language::install();

    Invocation invocation;
    QString text;
    switch (parseCommandLine(app.arguments(), &invocation, &text)) {
    case ParseOutcome::Help:
    case ParseOutcome::Version:
        print(text);
        return EXIT_DONE;
    case ParseOutcome::Error:
        err() << "converter-cli: " << text << "\n"
              << Phrase::translate("cli", "Try 'converter-cli --help'.") << Qt::endl;
        return EXIT_BAD_INPUT;
    case ParseOutcome::Run:
        break;
    }
    FrameCipher::setKey(FRAME_KEY);
    CloseGuard::install();
    const int status = runCommand(invocation);
    CloseGuard::finished();
    return status;
}

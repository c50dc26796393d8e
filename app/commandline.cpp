#include "app/commandline.h"

#include "app/applicationsetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace Lirabel {

namespace {

constexpr int UsageError = 2;

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString &what)
{
    write(stderr, QStringLiteral("lirabel: %1\n„lirabel --help“ zeigt den Aufruf.\n").arg(what));
    return UsageError;
}

// The argument's own bytes: the parser hands back decoded text, which loses
// bytes that are not UTF-8. The last argument that decodes to the text is the
// one, as an option of the same text can only stand before "--".
QByteArray bytesOf(const QString &argument, int argc, char **argv)
{
    for (int i = argc - 1; i > 0; --i) {
        if (QFile::decodeName(argv[i]) == argument)
            return QByteArray(argv[i]);
    }
    return QFile::encodeName(argument);
}

} // namespace

CommandLine readCommandLine(int &argc, char **argv)
{
    // A core application of its own, for Qt's German texts of the parser;
    // the window system starts only once the command line is good.
    QCoreApplication core(argc, argv);
    loadGermanQtTexts(core);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lirabel listet die Dateinamen eines Ordners auf und druckt die Liste oder speichert sie als "
                       "Textdatei."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zeigt diese Hilfe an."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsinformation an."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("ORDNER"),
        QStringLiteral("Der Ordner, mit dem das Fenster öffnet; eine Datei öffnet den Ordner, der sie enthält."),
        QStringLiteral("[ORDNER]"));

    CommandLine result;
    if (!parser.parse(QCoreApplication::arguments())) {
        result.exitCode = usageError(parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        write(stdout, parser.helpText());
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        write(stdout, QStringLiteral("Lirabel %1\n").arg(QStringLiteral(LIRABEL_VERSION)));
        result.exitCode = 0;
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        result.exitCode = usageError(QStringLiteral("Nur ein ORDNER ist möglich."));
        return result;
    }
    if (!positional.isEmpty())
        result.folder = bytesOf(positional.first(), argc, argv);
    return result;
}

} // namespace Lirabel

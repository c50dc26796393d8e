// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/commandline.h"

#include "cli/germantexts.h"
#include "cli/listoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

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

// An argument as the system passed it, and as the parser reads it: the
// parser is handed decoded text, which loses bytes that are not UTF-8.
struct Argument
{
    QByteArray bytes;
    QString text;
};

// What each option's value and each positional argument was, by its place
// on the command line; the parser's own results give only the text.
struct ArgumentBytes
{
    std::vector<Argument> positional;
    std::vector<std::pair<QString, Argument>> values; // by the option's name as written
};

std::vector<Argument> argumentsOf(int argc, char **argv)
{
    const QStringList texts = QCoreApplication::arguments();
    std::vector<Argument> arguments;
    for (qsizetype i = 0; i < texts.size(); ++i)
        arguments.push_back({texts.size() == argc ? QByteArray(argv[i]) : QFile::encodeName(texts.at(i)), texts.at(i)});
    return arguments;
}

// The arguments' places as QCommandLineParser gives them, with single-dash
// words read as long options: "--" ends the options; an option that takes a
// value has it after "=" or as the next argument; "-" and every other
// argument are positional.
ArgumentBytes placed(const std::vector<Argument> &arguments)
{
    QSet<QString> withValue;
    for (const ListOption &option : listOptions()) {
        if (option.valueName.isEmpty())
            continue;
        withValue << option.name.toString();
        if (!option.shortName.isEmpty())
            withValue << option.shortName.toString();
    }
    ArgumentBytes placed;
    bool onlyPositional = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const Argument &argument = arguments[i];
        if (onlyPositional || argument.text == QLatin1String("-") || !argument.text.startsWith(QLatin1Char('-'))) {
            placed.positional.push_back(argument);
            continue;
        }
        if (argument.text == QLatin1String("--")) {
            onlyPositional = true;
            continue;
        }
        const QString option = argument.text.mid(argument.text.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        const QString name = option.left(equals);
        if (!withValue.contains(name))
            continue;
        if (equals >= 0)
            placed.values.push_back(
                {name, {argument.bytes.mid(argument.bytes.indexOf('=') + 1), option.mid(equals + 1)}});
        else if (++i < arguments.size())
            placed.values.push_back({name, arguments[i]});
    }
    return placed;
}

// The bytes of that text where it is what the parser read; otherwise the
// text's own bytes, which is all that is known.
QByteArray bytesIf(const Argument *argument, const QString &text)
{
    return argument && argument->text == text ? argument->bytes : QFile::encodeName(text);
}

// Qt's own options, which QGuiApplication and QApplication take out of the
// arguments themselves; the parser must neither refuse them nor read their
// values as ORDNER. Written with one dash or two, the value after "=" or as
// the next argument.
bool isQtOption(const QString &argument, bool *takesValue)
{
    static const QStringList withValue{
        "platform",   "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry", "qwindowtitle",
        "title",      "qwindowicon",        "icon",          "session", "display",         "name",     "style",
        "stylesheet", "qmljsdebugger",      "fontengine",    "dialogs", "visual",          "ncols",    "cmap",
        "im",         "inputstyle"};
    static const QStringList flags{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--"))
        return false;
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (equals >= 0) {
        *takesValue = false;
        return withValue.contains(name.left(equals));
    }
    *takesValue = withValue.contains(name) && name != QLatin1String("qmljsdebugger");
    return *takesValue || flags.contains(name);
}

// The arguments without Qt's own options, up to "--".
std::vector<Argument> withoutQtOptions(const std::vector<Argument> &arguments)
{
    std::vector<Argument> kept(arguments.cbegin(), arguments.cbegin() + std::min<size_t>(arguments.size(), 1));
    for (size_t i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i].text;
        if (argument == QLatin1String("--")) {
            kept.insert(kept.end(), arguments.cbegin() + qsizetype(i), arguments.cend());
            break;
        }
        bool takesValue = false;
        if (isQtOption(argument, &takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        kept.push_back(arguments[i]);
    }
    return kept;
}

// The parser's help with both forms of the call in its usage line: the
// window's, as the parser writes it, and the lists' below it.
QString withBothUsages(const QString &help)
{
    const qsizetype end = help.indexOf(QLatin1Char('\n'));
    const QString usage = help.left(end);
    const qsizetype options = usage.indexOf(QLatin1String(" ["));
    if (end < 0 || options < 0)
        return help;
    const qsizetype program = usage.lastIndexOf(QLatin1Char(' '), options - 1) + 1;
    return usage + QLatin1Char('\n') + QString(program, QLatin1Char(' ')) + usage.mid(program, options - program)
        + QLatin1String(" --liste [Optionen] ORDNER...") + help.mid(end);
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
                       "Textdatei.\n\n"
                       "Mit --liste schreibt es die Liste ohne Fenster: als Text wie beim Speichern, als Tabelle "
                       "(csv), Webseite (html) oder Wiedergabeliste (m3u). Rückgabewert 0: fertig; 1: ein Ordner "
                       "oder eine Datei war nicht lesbar, die Liste nicht schreibbar oder zu lang; 2: falscher "
                       "Aufruf.\n\n"
                       "Die üblichen Optionen von Qt (-style, -platform, -reverse, ...) gelten für das Fenster."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zeigt diese Hilfe an."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsinformation an."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("ORDNER"),
        QStringLiteral("Der Ordner, mit dem das Fenster öffnet; eine Datei öffnet den Ordner, der sie enthält. "
                       "Mit --liste der Ordner, dessen Liste geschrieben wird; mehrere nacheinander in einer Liste, "
                       "jeder als Abschnitt unter seinem Pfad, ein Ordner in einem früheren nicht noch einmal."),
        QStringLiteral("[ORDNER]"));
    ListOptions list;
    list.addTo(parser);
    // "-style" is one option, not -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    CommandLine result;
    const std::vector<Argument> arguments = withoutQtOptions(argumentsOf(argc, argv));
    QStringList texts;
    for (const Argument &argument : arguments)
        texts.append(argument.text);
    if (!parser.parse(texts)) {
        result.exitCode = usageError(parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        write(stdout, withBothUsages(parser.helpText()));
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        write(stdout,
              QStringLiteral("Lirabel %1\n"
                             "Lizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer "
                             "<https://www.gnu.org/licenses/gpl.html>.\n"
                             "Dies ist freie Software: Sie dürfen sie ändern und weitergeben. Es gibt KEINE "
                             "GARANTIE, soweit das Gesetz es zulässt.\n")
                  .arg(QStringLiteral(LIRABEL_VERSION)));
        result.exitCode = 0;
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 && !parser.isSet(QStringLiteral("liste"))) {
        result.exitCode = usageError(QStringLiteral("Nur ein ORDNER ist möglich; mehrere mit --liste."));
        return result;
    }
    // Each ORDNER by its own place, so two that read alike keep their bytes.
    const ArgumentBytes bytes = placed(arguments);
    std::vector<QByteArray> folders;
    for (qsizetype i = 0; i < positional.size(); ++i)
        folders.push_back(
            bytesIf(size_t(i) < bytes.positional.size() ? &bytes.positional[size_t(i)] : nullptr, positional.at(i)));
    if (!folders.empty())
        result.folder = folders.front();
    const auto valueBytes = [&bytes, &parser](const QCommandLineOption &option) {
        const auto last = std::find_if(bytes.values.crbegin(), bytes.values.crend(),
                                       [&option](const auto &value) { return option.names().contains(value.first); });
        return bytesIf(last == bytes.values.crend() ? nullptr : &last->second, parser.value(option));
    };
    QStringList hints;
    if (const std::optional<QString> wrong = list.read(parser, folders, valueBytes, result.list, hints)) {
        result.exitCode = usageError(*wrong);
        return result;
    }
    for (const QString &hint : std::as_const(hints))
        write(stderr, QStringLiteral("lirabel: %1\n").arg(hint));
    return result;
}

} // namespace Lirabel

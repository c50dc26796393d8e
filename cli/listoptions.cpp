// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/listoptions.h"

#include "core/entryformat.h"
#include "lists/m3ulist.h"

#include <QCommandLineParser>

#include <algorithm>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lirabel {

namespace {

std::optional<QString> fine()
{
    return std::nullopt;
}

constexpr unsigned Numbered = formatBit(ListFormat::Text) | formatBit(ListFormat::Csv) | formatBit(ListFormat::Html)
    | formatBit(ListFormat::Markdown) | formatBit(ListFormat::Pdf);
// Lists for programs hold every name as it is, and no layout for the eye.
constexpr unsigned NotForPrograms =
    ~(formatBit(ListFormat::Json) | formatBit(ListFormat::Jsonl) | formatBit(ListFormat::Sha256));
constexpr unsigned Tables = formatBit(ListFormat::Csv) | formatBit(ListFormat::Html) | formatBit(ListFormat::Json)
    | formatBit(ListFormat::Jsonl) | formatBit(ListFormat::Markdown) | formatBit(ListFormat::Pdf);
constexpr unsigned Paper = formatBit(ListFormat::Pdf);

// --drucken, --drucker and --druckdialog choose the format and the target at once.
constexpr char16_t NotWithPrinting[] = u"format,ausgabe,speichern,zwischenablage";

std::optional<QString> printTo(const OptionInput &in, const QString &queue)
{
    in.list.format = ListFormat::Pdf;
    if (!in.list.paper.printer || !queue.isEmpty())
        in.list.paper.printer = queue;
    return std::nullopt;
}

constexpr ListOption Options[] = {
    {.name = u"liste",
     .help = u"Schreibt die Liste des ORDNERs (oder mehrerer nacheinander) auf die Standardausgabe, ohne Fenster "
             u"und ohne Anzeige."},
    {.name = u"mp3",
     .help = u"Nur MP3-Dateien (*.mp3), wie der Filter „mp3“ des Fensters.",
     .excludes = u"endung",
     .read =
         [](const OptionInput &in) {
             in.list.pattern = QStringLiteral("*.mp3");
             in.list.patternChosen = true;
             return fine();
         }},
    {.name = u"endung",
     .valueName = u"ENDUNG",
     .help = u"Nur Dateien mit dieser Endung (Muster *.ENDUNG, den Punkt setzt lirabel davor), wie der Filter "
             u"„eigene“. Ohne --mp3 und --endung: alle Dateien.",
     .once = true,
     .read =
         [](const OptionInput &in) {
             // As in the window's box, the dot is the program's; one typed as well
             // stays, but the user hears why nothing may match.
             const QString &extension = in.values.last();
             in.list.pattern = QStringLiteral("*.") + extension;
             in.list.patternChosen = true;
             if (extension.startsWith(QLatin1Char('.')))
                 in.hints.append(
                     QStringLiteral("Hinweis: --endung setzt den Punkt selbst davor; „%1“ ergibt das Muster "
                                    "„%2“. Gemeint ist wohl --endung %3.")
                         .arg(extension, in.list.pattern, extension.mid(1)));
             return fine();
         }},
    {.name = u"ohne-endungen",
     .help = u"Dateiendungen nicht ausgeben.",
     .formats = NotForPrograms,
     .read =
         [](const OptionInput &in) {
             in.list.stripExtensions = true;
             return fine();
         }},
    {.name = u"nummern",
     .help = u"Die Einträge nummerieren: „001.) “ vor jedem Eintrag im Text, eine Spalte „Nr.“ in csv, html, md "
             u"und pdf.",
     .formats = Numbered,
     .read =
         [](const OptionInput &in) {
             in.list.numberEntries = true;
             return fine();
         }},
    {.name = u"leerzeile",
     .valueName = u"N",
     .help = u"Nach jedem N-ten Eintrag eine Leerzeile (nur Format text).",
     .formats = formatBit(ListFormat::Text),
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         if (!spacingFromText(in.values.last()))
             return QStringLiteral("Keine gültige Zahl für die Leerzeilen !");
         in.list.spacing = in.values.last();
         return fine();
     }},
    {.name = u"unterordner",
     .help = u"Die Unterordner mit auflisten; verlinkte Ordner nicht, versteckte nur mit --versteckte.",
     .read =
         [](const OptionInput &in) {
             in.list.subfolders = true;
             return fine();
         }},
    {.name = u"versteckte",
     .help = u"Auch versteckte Dateien auflisten und versteckte Ordner betreten (Namen, die mit „.“ beginnen). "
             u"Das Fenster zeigt sie weiterhin nicht.",
     .read =
         [](const OptionInput &in) {
             in.list.hidden = true;
             return fine();
         }},
    {.name = u"format",
     .valueName = u"FORMAT",
     .help = u"Das Format: text (Vorgabe), csv, html, m3u, json (ein JSON-Dokument), jsonl (ein JSON-Objekt je "
             u"Zeile und Datei), md (Markdown-Tabellen), pdf (eine Tabelle auf Seiten, in -o DATEI oder auf die "
             u"Standardausgabe, wenn sie kein Terminal ist) oder sha256 (Prüfsummen, die „sha256sum -c“ prüft).",
     .stage = ReadStage::Format,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         if (in.values.size() > 1)
             return QStringLiteral("Nur ein Format ist möglich.");
         const std::optional<ListFormat> format = formatNamed(in.values.first());
         if (!format)
             return QStringLiteral("Unbekanntes Format „%1“; möglich sind %2.")
                 .arg(in.values.first(), formatNamesText());
         in.list.format = *format;
         return fine();
     }},
    {.name = u"spalten",
     .valueName = u"LISTE",
     .help = u"Die Spalten für csv, html, json, jsonl, md und pdf, mit Kommas getrennt, jede einmal, aus "
             u"{spalten}. Vorgabe: {vorgabe}.",
     .formats = Tables,
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         QString unknown, twice;
         const std::optional<std::vector<const ListColumn *>> columns =
             columnsNamed(in.values.last(), &unknown, &twice);
         if (!twice.isEmpty())
             return QStringLiteral("Die Spalte „%1“ steht zweimal in --spalten.").arg(twice);
         if (!columns)
             return QStringLiteral("Unbekannte Spalte „%1“; möglich sind %2.").arg(unknown, columnNamesText());
         in.list.columns = *columns;
         return fine();
     }},
    {.name = u"sortierung",
     .valueName = u"NACH",
     .help = u"Die Dateien jedes Ordners nach name (natürliche Reihenfolge, Vorgabe), groesse oder datum ordnen; "
             u"Gleiches nach Namen. Die Ordner behalten ihre Reihenfolge.",
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         const QString &order = in.values.last();
         if (order == QLatin1String("groesse"))
             in.list.order = ListOrder::Size;
         else if (order == QLatin1String("datum"))
             in.list.order = ListOrder::Modified;
         else if (order != QLatin1String("name"))
             return QStringLiteral("Unbekannte Sortierung „%1“; möglich sind name, groesse und datum.").arg(order);
         return fine();
     }},
    {.name = u"umgekehrt",
     .help = u"Die Sortierung umkehren: die größten oder neuesten Dateien zuerst.",
     .stage = ReadStage::Layout,
     .read =
         [](const OptionInput &in) {
             in.list.reverse = true;
             return fine();
         }},
    {.name = u"ohne",
     .valueName = u"MUSTER",
     .help = u"Dateien und Ordner, deren Name auf MUSTER passt, auslassen (Platzhalter wie im Fenster, * und ?); "
             u"ein solcher Ordner wird nicht betreten. Mehrfach möglich.",
     .stage = ReadStage::Layout,
     .read =
         [](const OptionInput &in) {
             in.list.excluded = in.values;
             return fine();
         }},
    {.name = u"trenner",
     .valueName = u"ZEICHEN",
     .help = u"Das Trennzeichen für csv: „;“ (Vorgabe), „,“ oder tab.",
     .formats = formatBit(ListFormat::Csv),
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         const QString &separator = in.values.last();
         if (separator == QLatin1String("tab") || separator == QLatin1String("\t"))
             in.list.separator = '\t';
         else if (separator == QLatin1String(";") || separator == QLatin1String(","))
             in.list.separator = char(separator.front().unicode());
         else
             return QStringLiteral("Unbekannter Trenner „%1“; möglich sind „;“, „,“ und tab.").arg(separator);
         return fine();
     }},
    {.name = u"tiefe",
     .valueName = u"N",
     .help = u"Nur N Ebenen von Unterordnern auflisten (0: nur den ORDNER); mit --unterordner.",
     .once = true,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         in.list.subfolders = true;
         bool number = false;
         in.list.depth = in.values.last().toInt(&number);
         if (!number || in.list.depth < 0)
             return QStringLiteral("Keine gültige Tiefe „%1“ für --tiefe; möglich sind 0, 1, 2 …")
                 .arg(in.values.last());
         return fine();
     }},
    {.name = u"ein-dateisystem",
     .help = u"Keinen Ordner auf einem anderen Dateisystem als dem des ORDNERs betreten; mit --unterordner.",
     .read =
         [](const OptionInput &in) {
             in.list.subfolders = true;
             in.list.oneFileSystem = true;
             return fine();
         }},
    {.name = u"zeilenende",
     .valueName = u"ENDE",
     .help = u"Das Zeilenende im Text: lf (Vorgabe auf der Standardausgabe) oder crlf (Vorgabe in einer Datei, "
             u"wie beim Speichern im Fenster).",
     .formats = formatBit(ListFormat::Text),
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         const QString &end = in.values.last();
         if (end != QLatin1String("lf") && end != QLatin1String("crlf"))
             return QStringLiteral("Unbekanntes Zeilenende „%1“; möglich sind lf und crlf.").arg(end);
         in.list.crLf = end == QLatin1String("crlf");
         return fine();
     }},
    {.name = u"vergleichen",
     .valueName = u"ALT",
     .help = u"Die gespeicherte Liste ALT (sha256, verglichen nach Inhalt; oder json) mit dem ORDNER jetzt "
             u"vergleichen, mit den Optionen, mit denen ALT geschrieben wurde: „+ “ neu, „- “ fehlt, „~ “ geändert, "
             u"„> “ umbenannt. Rückgabewert 0: gleich; 1: verschieden; 2: Fehler. Mit --speichern und leerem ALT "
             u"(--vergleichen=) wählt ein Dialog die Liste.",
     .formats = formatBit(ListFormat::Text) | formatBit(ListFormat::Csv) | formatBit(ListFormat::Html)
         | formatBit(ListFormat::Json) | formatBit(ListFormat::Markdown),
     .once = true,
     .stage = ReadStage::Target,
     .read =
         [](const OptionInput &in) {
             in.list.compareWith = in.values.last().isEmpty() ? QByteArray() : in.lastBytes;
             return fine();
         }},
    {.name = u"ausgabe",
     .shortName = u"o",
     .valueName = u"DATEI",
     .help = u"Die Liste in DATEI schreiben statt auf die Standardausgabe: eine Datei ganz oder gar nicht, ein "
             u"Gerät, eine FIFO oder ein Terminal direkt; „-“ ist die Standardausgabe.",
     .once = true,
     .stage = ReadStage::Target,
     .read =
         [](const OptionInput &in) {
             if (in.values.last() != QLatin1String("-"))
                 in.list.output = in.lastBytes;
             return fine();
         }},
    {.name = u"speichern",
     .help = u"Die Datei im Dialog „Speichern unter“ wählen, wie im Fenster (braucht eine Anzeige): vorgeschlagen "
             u"ist der Name des (ersten) ORDNERs mit der Endung des Formats; Fehler und ausgelassene Ordner zeigt ein "
             u"Meldungsfenster. So rufen die Kontextmenü-Einträge „Dateiliste speichern“ der Dateimanager lirabel "
             u"auf. Abbrechen schreibt nichts, Rückgabewert 1.",
     .excludes = u"ausgabe",
     .stage = ReadStage::Target,
     .read =
         [](const OptionInput &in) {
             in.list.askForFile = true;
             return fine();
         }},
    {.name = u"zwischenablage",
     .help = u"Die Liste in die Zwischenablage legen statt in eine Datei; sie bleibt dort, wenn lirabel zurückkehrt, "
             u"bis ein anderes Programm die Zwischenablage übernimmt. Unter X11 als Text, bei csv auch als Tabelle "
             u"(text/csv und text/html); unter Wayland als Text über wl-copy (Paket wl-clipboard). So ruft der "
             u"Kontextmenü-Eintrag „Dateiliste kopieren“ der Dateimanager lirabel auf. Nicht mit pdf.",
     .formats = ~Paper, // a PDF is no text to paste; --drucken prints it
     .excludes = u"ausgabe,speichern",
     .stage = ReadStage::Target,
     .read =
         [](const OptionInput &in) {
             in.list.toClipboard = true;
             return fine();
         }},
    {.name = u"drucken",
     .help = u"Die Liste als Tabelle mit Kopfzeile und Summen auf dem Standarddrucker von CUPS drucken; schließt "
             u"--format, -o, --speichern und --zwischenablage aus.",
     .excludes = NotWithPrinting,
     .stage = ReadStage::Format,
     .read = [](const OptionInput &in) { return printTo(in, QString()); }},
    {.name = u"drucker",
     .valueName = u"NAME",
     .help = u"Wie --drucken, auf der Druckerwarteschlange NAME.",
     .once = true,
     .excludes = NotWithPrinting,
     .stage = ReadStage::Format,
     .read = [](const OptionInput &in) { return printTo(in, in.values.last()); }},
    {.name = u"druckdialog",
     .help = u"Wie --drucken, doch Schrift und Drucker erst in den Dialogen des Fensters wählen (braucht eine "
             u"Anzeige). So ruft der Kontextmenü-Eintrag „Dateiliste drucken …“ der Dateimanager lirabel auf.",
     .excludes = NotWithPrinting,
     .stage = ReadStage::Format,
     .read =
         [](const OptionInput &in) {
             in.list.paper.askPrinter = true;
             return printTo(in, QString());
         }},
    {.name = u"schrift",
     .valueName = u"FAMILIE",
     .help = u"Die Schrift des PDFs und des Drucks (Vorgabe: Liberation Sans); fehlt sie, nennt lirabel die "
             u"nächstliegende, die fontconfig wählt.",
     .formats = Paper,
     .once = true,
     .stage = ReadStage::Layout,
     .read =
         [](const OptionInput &in) {
             in.list.paper.fontFamily = in.values.last();
             in.list.paper.fontChosen = true;
             return fine();
         }},
    {.name = u"schriftgroesse",
     .valueName = u"PUNKTE",
     .help = u"Die Schriftgröße in Punkt, 6 bis 14 (Vorgabe: 9).",
     .formats = Paper,
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         QString text = in.values.last().trimmed();
         text.replace(QLatin1Char(','), QLatin1Char('.'));
         bool number = false;
         const double points = text.toDouble(&number);
         if (!number || !(points >= 6 && points <= 14))
             return QStringLiteral("Keine gültige Schriftgröße „%1“; möglich sind 6 bis 14 Punkt.")
                 .arg(in.values.last());
         in.list.paper.fontPoints = points;
         return fine();
     }},
    {.name = u"querformat",
     .help = u"Die Seiten quer; sonst nur, wenn die übrigen Spalten dem Namen weniger als ein Drittel der "
             u"Breite lassen.",
     .formats = Paper,
     .stage = ReadStage::Layout,
     .read =
         [](const OptionInput &in) {
             in.list.paper.landscape = true;
             return fine();
         }},
    {.name = u"groessen",
     .valueName = u"ART",
     .help = u"Die Größen im PDF und im Druck: bytes (Vorgabe, „1.234.567“) oder lesbar (dezimal, „1,2 MB“).",
     .formats = Paper,
     .once = true,
     .stage = ReadStage::Layout,
     .read = [](const OptionInput &in) -> std::optional<QString> {
         const QString &kind = in.values.last();
         if (kind != QLatin1String("bytes") && kind != QLatin1String("lesbar"))
             return QStringLiteral("Unbekannte Art „%1“ für --groessen; möglich sind bytes und lesbar.").arg(kind);
         in.list.paper.readableSizes = kind == QLatin1String("lesbar");
         return fine();
     }},
};

// Standard output without a path.
bool isTerminal(const std::optional<QByteArray> &path)
{
    if (!path)
        return ::isatty(STDOUT_FILENO) == 1;
    struct stat status = {};
    if (::stat(path->constData(), &status) != 0 || !S_ISCHR(status.st_mode))
        return false;
    const int descriptor = ::open(path->constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool terminal = descriptor >= 0 && ::isatty(descriptor) == 1;
    if (descriptor >= 0)
        ::close(descriptor);
    return terminal;
}

QString longName(const ListOption &option)
{
    return QStringLiteral("--") + option.name.toString();
}

// "--leerzeile gilt nur für das Format text.", or for an option most formats
// take, "--nummern gilt nicht für das Format m3u."
QString notForFormat(const ListOption &option)
{
    QStringList taking, refusing;
    for (const ListFormat format : ListFormats)
        (option.formats & formatBit(format) ? taking : refusing).append(formatName(format));
    const bool only = taking.size() <= refusing.size();
    const QStringList &named = only ? taking : refusing;
    return QStringLiteral("%1 gilt %2 für %3 %4.")
        .arg(longName(option), only ? QStringLiteral("nur") : QStringLiteral("nicht"),
             named.size() == 1 ? QStringLiteral("das Format") : QStringLiteral("die Formate"), spokenList(named));
}

QString helpOf(const ListOption &option)
{
    QStringList names, defaults;
    for (const ListColumn &column : listColumns()) {
        if (column.needs != ColumnNeeds::Comparison)
            names.append(column.name.toString());
    }
    for (const ListColumn *column : ListRequest::defaultColumns())
        defaults.append(column->name.toString());
    return option.help.toString()
        .replace(QLatin1String("{spalten}"), names.join(QStringLiteral(", ")))
        .replace(QLatin1String("{vorgabe}"), defaults.join(QLatin1Char(',')));
}

} // namespace

std::span<const ListOption> listOptions()
{
    return Options;
}

ListOptions::ListOptions()
{
    for (const ListOption &option : Options) {
        QStringList names{option.name.toString()};
        if (!option.shortName.isEmpty())
            names.prepend(option.shortName.toString());
        mOptions.emplace_back(names, helpOf(option), option.valueName.toString());
    }
}

void ListOptions::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption &option : mOptions)
        parser.addOption(option);
}

std::optional<QString> ListOptions::read(const QCommandLineParser &parser, const std::vector<QByteArray> &folders,
                                         const std::function<QByteArray(const QCommandLineOption &option)> &valueBytes,
                                         std::optional<ListRequest> &request, QStringList &hints) const
{
    const auto isSet = [this, &parser](QStringView name) {
        const auto *option = std::find_if(std::cbegin(Options), std::cend(Options),
                                          [name](const ListOption &row) { return row.name == name; });
        return option != std::cend(Options) && parser.isSet(mOptions[size_t(option - std::cbegin(Options))]);
    };
    if (!parser.isSet(mOptions.front())) {
        for (size_t i = 1; i < mOptions.size(); ++i) {
            if (parser.isSet(mOptions[i]))
                return QStringLiteral("%1 gilt nur mit --liste.").arg(longName(Options[i]));
        }
        return std::nullopt;
    }
    for (size_t i = 0; i < mOptions.size(); ++i) {
        if (Options[i].once && parser.values(mOptions[i]).size() > 1)
            return QStringLiteral("%1 ist nur einmal möglich.").arg(longName(Options[i]));
    }
    if (folders.empty())
        return QStringLiteral("--liste braucht einen ORDNER.");

    ListRequest list;
    list.folders = folders;
    for (const ReadStage stage : {ReadStage::Format, ReadStage::Entries, ReadStage::Layout, ReadStage::Target}) {
        for (size_t i = 0; i < mOptions.size(); ++i) {
            const ListOption &option = Options[i];
            if (option.stage != stage || !parser.isSet(mOptions[i]))
                continue;
            for (const QStringView excluded : option.excludes.split(u',', Qt::SkipEmptyParts)) {
                if (isSet(excluded))
                    return QStringLiteral("%1 und --%2 schließen einander aus.").arg(longName(option), excluded);
            }
            if (!(option.formats & formatBit(list.format)))
                return notForFormat(option);
            if (!option.read)
                continue;
            const QStringList values = parser.values(mOptions[i]);
            const QByteArray bytes = values.isEmpty() ? QByteArray() : valueBytes(mOptions[i]);
            if (std::optional<QString> wrong = option.read({values, bytes, list, hints}))
                return wrong;
        }
    }
    // A checksum list's paths and a comparison's are relative to one folder.
    if (list.severalFolders() && list.compareWith)
        return QStringLiteral("--vergleichen vergleicht einen einzigen ORDNER, nicht mehrere.");
    if (list.severalFolders() && list.format == ListFormat::Sha256)
        return QStringLiteral("Das Format sha256 gilt für einen einzigen ORDNER, nicht für mehrere.");
    if (list.compareWith) {
        // The saved list says what is listed; only where the result goes is chosen here.
        static constexpr QStringView Beside[] = {u"liste",      u"vergleichen", u"format",   u"trenner",
                                                 u"zeilenende", u"ausgabe",     u"speichern"};
        for (size_t i = 0; i < mOptions.size(); ++i) {
            if (parser.isSet(mOptions[i])
                && std::find(std::cbegin(Beside), std::cend(Beside), Options[i].name) == std::cend(Beside))
                return QStringLiteral("--vergleichen nimmt die Optionen der gespeicherten Liste; %1 passt nicht dazu.")
                    .arg(longName(Options[i]));
        }
        if (list.compareWith->isEmpty() && !list.askForFile)
            return QStringLiteral("--vergleichen braucht eine gespeicherte Liste ALT.");
    }
    if (list.format == ListFormat::Pdf && !list.paper.printer && !list.askForFile && isTerminal(list.output))
        return QStringLiteral("Ein PDF gehört nicht auf ein Terminal: -o DATEI nennt die Datei.");
    // A playlist holds what plays, unless a filter says otherwise.
    if (list.format == ListFormat::M3u && !list.patternChosen)
        list.pattern = playableFilesPattern();
    request = std::move(list);
    return std::nullopt;
}

} // namespace Lirabel

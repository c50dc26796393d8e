// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/listoptions.h"

#include "core/entryformat.h"

#include <QCommandLineParser>

namespace Lirabel {

ListOptions::ListOptions()
    : mList(QStringLiteral("liste"),
            QStringLiteral("Schreibt die Liste des ORDNERs auf die Standardausgabe, ohne Fenster und ohne Anzeige."))
    , mMp3(QStringLiteral("mp3"), QStringLiteral("Nur MP3-Dateien (*.mp3), wie der Filter „mp3“ des Fensters."))
    , mExtension(QStringLiteral("endung"),
                 QStringLiteral("Nur Dateien mit dieser Endung (Muster *.ENDUNG, den Punkt setzt lirabel davor), wie "
                                "der Filter „eigene“. Ohne --mp3 und --endung: alle Dateien."),
                 QStringLiteral("ENDUNG"))
    , mStrip(QStringLiteral("ohne-endungen"), QStringLiteral("Dateiendungen nicht ausgeben."))
    , mNumbers(QStringLiteral("nummern"),
               QStringLiteral(
                   "Die Einträge nummerieren: „001.) “ vor jedem Eintrag im Text, eine Spalte „Nr.“ in csv und html."))
    , mSpacing(QStringLiteral("leerzeile"),
               QStringLiteral("Nach jedem N-ten Eintrag eine Leerzeile (nur Format text)."), QStringLiteral("N"))
    , mSubfolders(QStringLiteral("unterordner"),
                  QStringLiteral("Die Unterordner mit auflisten; versteckte und verlinkte Ordner nicht."))
    , mFormat(QStringLiteral("format"), QStringLiteral("Das Format: text (Vorgabe), csv, html oder m3u."),
              QStringLiteral("FORMAT"))
    , mColumns(QStringLiteral("spalten"),
               QStringLiteral("Die Spalten für csv und html, mit Kommas getrennt, jede einmal, aus name, ordner, pfad, "
                              "groesse, datum, interpret, titel, album, titelnr, jahr, genre, dauer. Vorgabe: "
                              "name,ordner,groesse,datum."),
               QStringLiteral("LISTE"))
    , mOrder(QStringLiteral("sortierung"),
             QStringLiteral("Die Dateien jedes Ordners nach name (natürliche Reihenfolge, Vorgabe), groesse oder "
                            "datum ordnen; Gleiches nach Namen. Die Ordner behalten ihre Reihenfolge."),
             QStringLiteral("NACH"))
    , mReverse(QStringLiteral("umgekehrt"),
               QStringLiteral("Die Sortierung umkehren: die größten oder neuesten Dateien zuerst."))
    , mExclude(QStringLiteral("ohne"),
               QStringLiteral("Dateien und Ordner, deren Name auf MUSTER passt, auslassen (Platzhalter wie im Fenster, "
                              "* und ?); ein solcher Ordner wird nicht betreten. Mehrfach möglich."),
               QStringLiteral("MUSTER"))
    , mSeparator(QStringLiteral("trenner"), QStringLiteral("Das Trennzeichen für csv: „;“ (Vorgabe), „,“ oder tab."),
                 QStringLiteral("ZEICHEN"))
    , mDepth(QStringLiteral("tiefe"),
             QStringLiteral("Nur N Ebenen von Unterordnern auflisten (0: nur den ORDNER); mit --unterordner."),
             QStringLiteral("N"))
    , mOneFileSystem(QStringLiteral("ein-dateisystem"),
                     QStringLiteral("Keinen Ordner auf einem anderen Dateisystem als dem des ORDNERs betreten; mit "
                                    "--unterordner."))
    , mOutput({QStringLiteral("o"), QStringLiteral("ausgabe")},
              QStringLiteral("Die Liste in DATEI schreiben statt auf die Standardausgabe: eine Datei ganz oder gar "
                             "nicht, ein Gerät, eine FIFO oder ein Terminal direkt; „-“ ist die Standardausgabe."),
              QStringLiteral("DATEI"))
    , mSave(QStringLiteral("speichern"),
            QStringLiteral("Die Datei im Dialog „Speichern unter“ wählen, wie im Fenster (braucht eine Anzeige): "
                           "vorgeschlagen ist der Name des ORDNERs mit der Endung des Formats; Fehler und "
                           "ausgelassene Ordner zeigt ein Meldungsfenster. So rufen die Kontextmenü-Einträge "
                           "„Dateiliste speichern“ der Dateimanager lirabel auf. Abbrechen schreibt nichts, "
                           "Rückgabewert 1."))
{
}

void ListOptions::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption *option :
         {&mList, &mMp3, &mExtension, &mStrip, &mNumbers, &mSpacing, &mSubfolders, &mFormat, &mColumns, &mOrder,
          &mReverse, &mExclude, &mSeparator, &mDepth, &mOneFileSystem, &mOutput, &mSave})
        parser.addOption(*option);
}

std::optional<QString> ListOptions::read(const QCommandLineParser &parser, const std::optional<QByteArray> &folder,
                                         const std::function<QByteArray(const QString &)> &bytesOf,
                                         std::optional<ListRequest> &request, QStringList &hints) const
{
    const auto name = [](const QCommandLineOption &option) { return QStringLiteral("--") + option.names().last(); };
    if (!parser.isSet(mList)) {
        for (const QCommandLineOption *option :
             {&mMp3, &mExtension, &mStrip, &mNumbers, &mSpacing, &mSubfolders, &mFormat, &mColumns, &mOrder, &mReverse,
              &mExclude, &mSeparator, &mDepth, &mOneFileSystem, &mOutput, &mSave}) {
            if (parser.isSet(*option))
                return QStringLiteral("%1 gilt nur mit --liste.").arg(name(*option));
        }
        return std::nullopt;
    }
    for (const QCommandLineOption *option :
         {&mExtension, &mSpacing, &mColumns, &mOrder, &mSeparator, &mDepth, &mOutput}) {
        if (parser.values(*option).size() > 1)
            return QStringLiteral("%1 ist nur einmal möglich.").arg(name(*option));
    }
    if (!folder)
        return QStringLiteral("--liste braucht einen ORDNER.");

    ListRequest list;
    list.folder = *folder;
    const QStringList formats = parser.values(mFormat);
    if (formats.size() > 1)
        return QStringLiteral("Nur ein Format ist möglich.");
    if (!formats.isEmpty()) {
        const std::optional<ListFormat> format = formatNamed(formats.first());
        if (!format)
            return QStringLiteral("Unbekanntes Format „%1“; möglich sind text, csv, html und m3u.")
                .arg(formats.first());
        list.format = *format;
    }
    if (parser.isSet(mMp3) && parser.isSet(mExtension))
        return QStringLiteral("--mp3 und --endung schließen einander aus.");
    if (parser.isSet(mMp3))
        list.pattern = QStringLiteral("*.mp3");
    else if (parser.isSet(mExtension)) {
        // As in the window's box, the dot is the program's; one typed as well
        // stays, but the user hears why nothing may match.
        const QString extension = parser.value(mExtension);
        list.pattern = QStringLiteral("*.") + extension;
        if (extension.startsWith(QLatin1Char('.')))
            hints.append(QStringLiteral("Hinweis: --endung setzt den Punkt selbst davor; „%1“ ergibt das Muster "
                                        "„%2“. Gemeint ist wohl --endung %3.")
                             .arg(extension, list.pattern, extension.mid(1)));
    }
    list.stripExtensions = parser.isSet(mStrip);
    list.numberEntries = parser.isSet(mNumbers);
    if (list.numberEntries && list.format == ListFormat::M3u)
        return QStringLiteral("--nummern gilt nicht für das Format m3u.");
    list.subfolders = parser.isSet(mSubfolders) || parser.isSet(mDepth) || parser.isSet(mOneFileSystem);
    if (parser.isSet(mDepth)) {
        bool number = false;
        list.depth = parser.value(mDepth).toInt(&number);
        if (!number || list.depth < 0)
            return QStringLiteral("Keine gültige Tiefe „%1“ für --tiefe; möglich sind 0, 1, 2 …")
                .arg(parser.value(mDepth));
    }
    list.oneFileSystem = parser.isSet(mOneFileSystem);
    if (parser.isSet(mSpacing)) {
        if (list.format != ListFormat::Text)
            return QStringLiteral("--leerzeile gilt nur für das Format text.");
        if (!SpacingFromText(parser.value(mSpacing)))
            return QStringLiteral("Keine gültige Zahl für die Leerzeilen !");
        list.spacing = parser.value(mSpacing);
    }
    if (parser.isSet(mColumns)) {
        if (list.format != ListFormat::Csv && list.format != ListFormat::Html)
            return QStringLiteral("--spalten gilt nur für die Formate csv und html.");
        QString unknown, twice;
        const std::optional<std::vector<const ListColumn *>> columns =
            columnsNamed(parser.value(mColumns), &unknown, &twice);
        if (!twice.isEmpty())
            return QStringLiteral("Die Spalte „%1“ steht zweimal in --spalten.").arg(twice);
        if (!columns)
            return QStringLiteral("Unbekannte Spalte „%1“; möglich sind %2.").arg(unknown, columnNamesText());
        list.columns = *columns;
    }
    if (parser.isSet(mOrder)) {
        const QString order = parser.value(mOrder);
        if (order == QLatin1String("groesse"))
            list.order = ListOrder::Size;
        else if (order == QLatin1String("datum"))
            list.order = ListOrder::Modified;
        else if (order != QLatin1String("name"))
            return QStringLiteral("Unbekannte Sortierung „%1“; möglich sind name, groesse und datum.").arg(order);
    }
    list.reverse = parser.isSet(mReverse);
    list.excluded = parser.values(mExclude);
    if (parser.isSet(mSeparator)) {
        if (list.format != ListFormat::Csv)
            return QStringLiteral("--trenner gilt nur für das Format csv.");
        const QString separator = parser.value(mSeparator);
        if (separator == QLatin1String("tab") || separator == QLatin1String("\t"))
            list.separator = '\t';
        else if (separator == QLatin1String(";") || separator == QLatin1String(","))
            list.separator = char(separator.front().unicode());
        else
            return QStringLiteral("Unbekannter Trenner „%1“; möglich sind „;“, „,“ und tab.").arg(separator);
    }
    if (parser.isSet(mSave) && parser.isSet(mOutput))
        return QStringLiteral("--speichern und --ausgabe schließen einander aus.");
    list.askForFile = parser.isSet(mSave);
    if (parser.isSet(mOutput) && parser.value(mOutput) != QLatin1String("-"))
        list.output = bytesOf(parser.value(mOutput));
    request = std::move(list);
    return std::nullopt;
}

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What `lirabel --liste` is asked to write: the folders, the window's filter
// and settings options, the format, its columns and where it goes.

#include "lists/listcolumn.h"
#include "lists/paperrequest.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace Lirabel {

enum class ListFormat { Text, Csv, Html, M3u, Json, Jsonl, Markdown, Pdf, Sha256 };

// Every format, in the order the help and the messages name them.
inline constexpr ListFormat ListFormats[] = {ListFormat::Text,     ListFormat::Csv,  ListFormat::Html,
                                             ListFormat::M3u,      ListFormat::Json, ListFormat::Jsonl,
                                             ListFormat::Markdown, ListFormat::Pdf,  ListFormat::Sha256};

// The order of a folder's files; folders keep theirs (depth first, natural).
enum class ListOrder { Name, Size, Modified };

struct ListRequest
{
    std::vector<QByteArray> folders;         // ORDNER…, in order, as the system passed them
    QString pattern = QStringLiteral("*.*"); // the file list's pattern
    bool patternChosen = false;              // --mp3 or --endung; else m3u lists what plays
    bool stripExtensions = false;            // --ohne-endungen
    bool numberEntries = false;              // --nummern
    std::optional<QString> spacing;          // --leerzeile, as typed
    bool subfolders = false;                 // --unterordner, also with --tiefe and --ein-dateisystem
    int depth = -1;                          // --tiefe: levels below the folder; -1: all
    bool oneFileSystem = false;              // --ein-dateisystem
    bool hidden = false;                     // --versteckte
    ListOrder order = ListOrder::Name;       // --sortierung; size and time ties by name
    bool reverse = false;                    // --umgekehrt
    QStringList excluded;                    // --ohne: patterns, against names
    char separator = ';';                    // --trenner, csv only
    ListFormat format = ListFormat::Text;
    std::vector<const ListColumn *> columns = defaultColumns(); // rows of listColumns()
    std::optional<QByteArray> output;                           // --ausgabe; standard output without
    bool askForFile = false;                                    // --speichern: output from the save-file dialog
    bool toClipboard = false;                                   // --zwischenablage: no output, the clipboard
    std::optional<bool> crLf;                                   // --zeilenende; see crLfLines()
    // --vergleichen: the saved list, as the system passed its name; empty
    // with --speichern, where the open-file dialog asks for it.
    std::optional<QByteArray> compareWith;
    PaperRequest paper; // pdf and --drucken

    // Text ends its lines with CR LF in a file, as the window's save does, and
    // with LF on standard output, as Unix tools expect; --zeilenende rules.
    [[nodiscard]] bool crLfLines() const { return crLf.value_or(output.has_value() || askForFile); }

    // Several ORDNER: each its own section, its path in the folder column.
    [[nodiscard]] bool severalFolders() const { return folders.size() > 1; }

    [[nodiscard]] static std::vector<const ListColumn *> defaultColumns();
};

// "text", "csv", "html", "m3u", "json", "jsonl" or "md"; nothing for any other text.
[[nodiscard]] std::optional<ListFormat> formatNamed(QStringView name);

// The format's name on the command line: "csv".
[[nodiscard]] QString formatName(ListFormat format);

// Names as a person reads a list of them: "a, b und c".
[[nodiscard]] QString spokenList(QStringList names);

// A comma-separated list of column names ("name,ordner,dauer"); nothing when
// it names an unknown column or none at all. unknown gets the first unknown
// name, twice the first name that stands twice.
[[nodiscard]] std::optional<std::vector<const ListColumn *>> columnsNamed(QStringView list, QString *unknown = nullptr,
                                                                          QString *twice = nullptr);

// Every column's name, as a person reads a list of them: "name, ordner, … und dauer".
[[nodiscard]] QString columnNamesText();

// Every format's name, as a person reads a list of them: "text, csv, … und md".
[[nodiscard]] QString formatNamesText();

} // namespace Lirabel

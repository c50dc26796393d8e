// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// A list written before by lirabel, read back to compare it with its folder
// now: a sha256 list (paths and checksums, nothing else known), or a JSON
// list, whose `optionen` say how it was written.

#include "lists/listcomparison.h"
#include "lists/listrequest.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace Lirabel {

struct SavedList
{
    ListRequest options; // what to list now: filter, subfolders, columns as then
    ComparedBy by;       // what the list holds beside the paths
    std::vector<ComparedFile> files;
    PathStore paths; // what the files' paths point into
    // Folders and files the list names as left out, by their relative
    // paths' bytes: they are not compared.
    std::vector<QByteArray> leftOut;
    bool complete = true; // false where only the options were read
};

// The list in bytes; nothing, and in wrong why in German, where they are no
// list lirabel can compare. With optionsOnly a JSON list stops after its
// options (not complete), so the folder can be listed while the files are
// read; a sha256 list, whose options are its paths, is read whole.
[[nodiscard]] std::optional<SavedList> readSavedList(const QByteArray &bytes, QString &wrong, bool optionsOnly = false);

// How many lines the list has: about as many as its files, for a list
// lirabel wrote.
[[nodiscard]] size_t lineCount(QByteArrayView bytes);

// The path of a sha256 list's line, without its escapes; nothing where an
// escape is not one sha256sum writes.
[[nodiscard]] std::optional<QByteArray> unescapedPath(QByteArrayView escaped);

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "fs/folderscan.h"

#include <QString>

namespace LirabelBench {

// What the window does with a folder it has read in the background: the
// file list takes its files.
template<typename Model>
void readInto(Model &model, const QString &folder)
{
    if (const std::optional<Lirabel::FolderEntries> scanned = Lirabel::scanFolder(folder, Lirabel::ScanFor::Files))
        model.showFiles(folder, scanned->files);
    else
        model.markUnread(folder);
}

} // namespace LirabelBench

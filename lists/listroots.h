// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Lirabel {

// One ORDNER of a list.
struct ListRoot
{
    QByteArray folder;  // as the system passed it
    QString shown;      // as a person reads it
    QByteArray real;    // links and ".." resolved; empty where it cannot be resolved
    quint64 device = 0; // of its file system
    // Earlier ORDNER that lie below this one, as the names of the folders
    // leading there: their files are listed already, at least as deep as
    // this one's walk would list them, so they are not again.
    std::vector<QStringList> listedBefore;
};

// Whether the walk of an ORDNER enters the folder below it by those names;
// sameDevice tells whether both lie on one file system.
using EnteredBelow = std::function<bool(const QStringList &names, bool sameDevice)>;

// The ORDNER in the order given, without one that is an earlier one or lies
// inside it where the earlier one's walk enters it, by their real paths: a
// folder reached by a link is the folder it leads to. note is told of each
// one left out, in German. Files are never compared: two hard links of one
// file in two ORDNER are both listed.
[[nodiscard]] std::vector<ListRoot> listRoots(const std::vector<QByteArray> &folders, const EnteredBelow &entered,
                                              const std::function<void(const QString &note)> &note);

// True when the folder lies below one of the ORDNER listed before.
[[nodiscard]] bool isListedBefore(const ListRoot &root, const QStringList &relativePath);

} // namespace Lirabel

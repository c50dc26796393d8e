// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace Lirabel {

// A folder as the kernel finds it: links and ".." resolved, and the file
// system it lies on.
struct RealFolder
{
    QByteArray path; // empty where it cannot be resolved, or did not answer in time
    quint64 device = 0;
};

// Asked on a worker to the file-system deadline (deadlinecall.h), so that a
// folder on a mount that does not answer holds nobody up: it stays
// unresolved, and whoever reads it next says why.
[[nodiscard]] RealFolder realFolder(const QByteArray &folder);

} // namespace Lirabel

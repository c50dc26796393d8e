// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/filelistview.h"

namespace Lirabel {

FileListView::FileListView(QWidget *parent)
    : QListView(parent)
    , mModel(new FileListModel(this))
{
    setObjectName(QStringLiteral("File1"));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(mModel);
    // Empty until the window's first read answers.
}

FileListView::~FileListView() = default;

} // namespace Lirabel

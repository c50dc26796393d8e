// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/filelistbox.h"

namespace Lirabel {

FileListBox::FileListBox(QWidget *parent)
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

FileListBox::~FileListBox() = default;

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/controls/filelistbox.h"

#include "platform/lirabelerror.h"

#include <QDir>

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
    // At first the working directory; one that cannot be read lists nothing.
    try {
        mModel->setPath(QDir::currentPath());
    } catch (const LirabelError &) {
    }
}

FileListBox::~FileListBox() = default;

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The file list: shows a FileListModel, one row per file, all rows the same
// height so a hundred thousand of them scroll without measuring each one.

#include "ui/filelistmodel.h"

#include <QListView>

namespace Lirabel {

class FileListView : public QListView
{
    Q_OBJECT

public:
    explicit FileListView(QWidget *parent = nullptr);
    ~FileListView() override;

    [[nodiscard]] FileListModel &entries() { return *mModel; }
    [[nodiscard]] const FileListModel &entries() const { return *mModel; }

    [[nodiscard]] QString path() const { return mModel->path(); }
    [[nodiscard]] QString pattern() const { return mModel->pattern(); }
    void setPattern(const QString &pattern) { mModel->setPattern(pattern); }
    [[nodiscard]] qsizetype count() const { return mModel->count(); }

private:
    FileListModel *const mModel;
};

} // namespace Lirabel

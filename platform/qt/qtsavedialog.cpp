// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/deadlinecall.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/widgetwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace Lirabel {

namespace {

// The folder asked for where the user may write there. Otherwise, as for the
// program's own folder once it is installed (/usr/bin), the user's documents
// folder, or the home folder where there is none: a dialog that opens where
// nothing can be saved would fail on the name it offers. Asked to the
// deadline, as any folder may lie on a mount that does not answer.
QString saveDialogFolder(const QString &initDir)
{
    return callWithDeadline<QString>(initDir,
                                     [initDir] {
                                         const QFileInfo asked(initDir);
                                         if (asked.isDir() && asked.isWritable())
                                             return initDir;
                                         const QString documents =
                                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
                                         if (!documents.isEmpty() && QFileInfo(documents).isDir())
                                             return documents;
                                         return QDir::homePath();
                                     })
        .value_or(QDir::homePath());
}

// Qt's own dialog rather than the desktop's, so that it speaks German with
// the rest of the program whatever the desktop's language: its default
// title, its default "every file" filter, no default extension, and its
// question before an existing file is replaced.
//
// It fills its list on a thread of its own that asks every entry of the
// folder shown, a mount point that does not answer among them, and
// destroying the dialog waits for that thread. So one dialog serves the
// program's whole life and is never destroyed: its thread may hang as long
// as it likes, and nothing waits for it.
QFileDialog &saveDialog()
{
    static QFileDialog *const dialog = [] {
        auto *created = new QFileDialog;
        created->setObjectName(QStringLiteral("SaveFileDialog"));
        created->setOption(QFileDialog::DontUseNativeDialog);
        created->setAcceptMode(QFileDialog::AcceptSave);
        created->setFileMode(QFileDialog::AnyFile);
        return created;
    }();
    return *dialog;
}

// Over the settings dialog while it is shown, and taken back from it before
// it is unloaded, which would destroy it too.
class Borrowed
{
public:
    Borrowed(QFileDialog &dialog, QWidget *owner)
        : mDialog(dialog)
    {
        mDialog.setParent(owner, mDialog.windowFlags());
    }
    ~Borrowed() { mDialog.setParent(nullptr, mDialog.windowFlags()); }
    Borrowed(const Borrowed &) = delete;
    Borrowed &operator=(const Borrowed &) = delete;

private:
    QFileDialog &mDialog;
};

} // namespace

std::optional<QString> QtDialogs::saveFileName(const QString &initDir, const QString &fileName, int)
{
    QFileDialog &dialog = saveDialog();
    const Borrowed borrowed(dialog, windowOnTop());
    dialog.setDirectory(saveDialogFolder(initDir));
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

} // namespace Lirabel

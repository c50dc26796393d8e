// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/deadlinecall.h"
#include "ui/qtdialogs.h"
#include "ui/widgetwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace Lirabel {

namespace {

// How long the folder's check may take on the window's thread.
constexpr std::chrono::milliseconds FolderCheckWait{250};

// The folder asked for where it answers and can be read, else the documents
// folder (or home): a folder on a mount that does not answer would hold the
// dialog's own thread.
QString openDialogFolder(const QString &initialFolder)
{
    const std::optional<bool> readable = callWithDeadline<bool>(
        initialFolder,
        [initialFolder] {
            const QFileInfo asked(initialFolder);
            return asked.isDir() && asked.isReadable();
        },
        FolderCheckWait);
    if (readable.value_or(false))
        return initialFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

std::optional<QString> QtDialogs::openFileName(const QString &initialFolder, const QString &title)
{
    const QString folder = openDialogFolder(initialFolder);
    // Qt's own dialog, in German with the program. Destroying it would wait
    // for its thread, which may be held by a mount: it is made once and kept.
    static QFileDialog *const dialog = [&folder] {
        auto *created = new QFileDialog(nullptr, QString(), folder);
        created->setObjectName(QStringLiteral("OpenFileDialog"));
        created->setOption(QFileDialog::DontUseNativeDialog);
        created->setAcceptMode(QFileDialog::AcceptOpen);
        created->setFileMode(QFileDialog::ExistingFile);
        created->setNameFilters({QStringLiteral("Listen (*.json *.sha256)"), QStringLiteral("Alle Dateien (*)")});
        return created;
    }();
    dialog->setParent(windowOnTop(), dialog->windowFlags());
    dialog->setWindowTitle(title);
    dialog->setDirectory(folder);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    dialog->setParent(nullptr, dialog->windowFlags());
    const QStringList chosen = dialog->selectedFiles();
    if (!accepted || chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

} // namespace Lirabel

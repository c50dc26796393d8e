// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/bytenames.h"
#include "fs/deadlinecall.h"
#include "fs/handover.h"
#include "ui/qtdialogs.h"
#include "ui/widgetwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace Lirabel {

namespace {

// How long the folder's check may take on the window's thread. The program's
// folder answers in microseconds; one on a mount that stops answering gives
// way to the documents folder after this, and its mount counts as stuck.
constexpr std::chrono::milliseconds FolderCheckWait{250};

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

// The folder asked for where the user may write there. Otherwise, as for the
// program's own folder once it is installed (/usr/bin), the user's documents
// folder, or the home folder where there is none: a dialog that opens where
// nothing can be saved would fail on the name it offers.
QString saveDialogFolder(const QString &initialFolder)
{
    const std::optional<bool> writable = callWithDeadline<bool>(
        initialFolder,
        [initialFolder] {
            const QFileInfo asked(initialFolder);
            return asked.isDir() && asked.isWritable();
        },
        FolderCheckWait);
    return writable.value_or(false) ? initialFolder : documentsFolder();
}

// Qt's own dialog rather than the desktop's, so that it speaks German with
// the rest of the program whatever the desktop's language: its default
// title, its default "every file" filter, no default extension, and its
// question before an existing file is replaced.
// Made in the folder it first shows: made elsewhere, it would first read the
// working folder and those above it, where a mount may not answer.
QFileDialog *newSaveDialog(const QString &folder)
{
    auto *created = new QFileDialog(nullptr, QString(), folder);
    created->setObjectName(QStringLiteral("SaveFileDialog"));
    created->setOption(QFileDialog::DontUseNativeDialog);
    created->setAcceptMode(QFileDialog::AcceptSave);
    created->setFileMode(QFileDialog::AnyFile);
    return created;
}

// The dialog fills its list on a thread of its own that asks every entry of
// the folder shown, a mount point that does not answer among them, and
// destroying the dialog waits for that thread. So a dialog is never
// destroyed. Each time it is shown, the mount points in its folder are asked
// on the shared workers; one that has not answered by the next save has
// left the dialog's thread stuck as well. That dialog is then hidden for
// good, one per stuck mount, and a new one serves: in a folder that holds a
// mount with a stuck dialog of its own, it opens in the documents folder,
// so that no second dialog sticks on the same mount.
class SaveDialogs
{
public:
    QFileDialog &forFolder(QString &folder)
    {
        // A probe of the last showing that has not answered by now is left
        // behind here, and its mount counts as stuck: a mount point that
        // answers does so in a moment, and the dialog was open far longer.
        for (Handover &probe : mProbes)
            probe.giveUp();
        for (const QString &mount : std::as_const(mProbed)) {
            if (mCurrent && isStuck(mount) && !mStuck.contains(mount)) {
                mCurrent->hide();
                mStuck.insert(mount, std::exchange(mCurrent, nullptr));
            }
        }
        mProbes.clear();
        mProbed.clear();
        const QStringList inside = mountsInside(folder);
        if (std::any_of(inside.cbegin(), inside.cend(),
                        [this](const QString &mount) { return isStuck(mount) && mStuck.contains(mount); }))
            folder = documentsFolder();
        if (!mCurrent)
            mCurrent = newSaveDialog(folder);
        for (const QString &mount : mountsInside(folder)) {
            mProbes.push_back(Handover::start(mount, [path = nameBytes(mount)] {
                struct stat info;
                [[maybe_unused]] const int answered = ::stat(path.constData(), &info);
            }));
            mProbed.append(mount);
        }
        return *mCurrent;
    }

private:
    // The mount points directly in the folder, from the mount table alone:
    // the dialog asks each of them, and nothing else is asked here.
    static QStringList mountsInside(const QString &folder)
    {
        QStringList inside;
        const QString clean = absolutePath(folder);
        for (const QString &point : browsableMountPoints()) {
            if (point != clean && QFileInfo(point).path() == clean)
                inside.append(point);
        }
        return inside;
    }

    QFileDialog *mCurrent = nullptr;
    QHash<QString, QFileDialog *> mStuck; // hidden for good, by the mount it stuck on
    std::vector<Handover> mProbes;        // of the mount points in the folder last shown
    QStringList mProbed;
};

SaveDialogs &saveDialogs()
{
    static SaveDialogs *const dialogs = new SaveDialogs;
    return *dialogs;
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

std::optional<QString> QtDialogs::saveFileName(const QString &initialFolder, const QString &fileName, int)
{
    QString folder = saveDialogFolder(initialFolder);
    QFileDialog &dialog = saveDialogs().forFolder(folder);
    const Borrowed borrowed(dialog, windowOnTop());
    dialog.setDirectory(folder);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

} // namespace Lirabel

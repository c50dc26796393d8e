// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The main window's requests, their answers and what a failure does: the
// drive message and its fall-back, the folder message, the start-up drives.

#include "app/mainwindow.h"

#include "core/lirabelerror.h"
#include "fs/drives.h"
#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "ui/systemcolour.h"

#include <QDir>
#include <QScopeGuard>

#include <utility>

namespace Lirabel {

// A read that chooses a drive: neither a folder chosen in the folder list nor the files again.
bool MainWindow::isDriveRead() const
{
    return mPurpose != Purpose::Folder && mPurpose != Purpose::Files;
}

void MainWindow::showStartFolder()
{
    setPatternEditColour(SystemColourInactiveBorder);
    if (mStartPath) {
        request({FolderRequest::Kind::Path, {}, std::nullopt, *mStartPath}, Purpose::OpenAtStart);
        return;
    }
    startOn(0);
}

void MainWindow::openFolder(const QByteArray &localPath)
{
    request({FolderRequest::Kind::Path, {}, std::nullopt, localPath}, Purpose::Open);
}

bool MainWindow::isLoading() const
{
    return mLoader->isPending();
}

// The drive of the program's folder; when it cannot be read, the drive of
// the working directory, then the root; no message.
void MainWindow::startOn(int candidate)
{
    tryDrives({platform().program->programFolder(), QDir::currentPath(), QDir::rootPath()}, candidate, Purpose::Start);
}

// Chooses the first of the drives from candidate on that a volume holds;
// the read that answers decides whether the next is tried.
void MainWindow::tryDrives(const QStringList &candidates, int candidate, Purpose purpose)
{
    for (; candidate < candidates.size(); ++candidate) {
        mCandidate = candidate;
        mDrivePurpose = purpose;
        try {
            // The remembered drive itself, never the drive that holds its old mount point.
            chooseDrive(candidates.at(candidate), purpose == Purpose::FallBack && candidate == 0);
            return;
        } catch (const LirabelError &) {
        }
    }
}

// Sets the drive list, which asks for the drive through driveChosen(); where
// the drive stays as it was, the drive is asked for all the same.
void MainWindow::chooseDrive(const QString &pathOrDriveText, bool listedOnly)
{
    const QString before = mDriveList->drive();
    const auto reset = qScopeGuard([this] { mDrivePurpose = Purpose::Drive; });
    if (listedOnly)
        mDriveList->setListedDrive(pathOrDriveText);
    else
        mDriveList->setDrive(pathOrDriveText);
    if (mDriveList->drive() == before)
        requestDrive(before);
}

void MainWindow::rememberFallBackDrive()
{
    // Not a drive still being checked: once it has settled.
    if (mLoader->isPending() && isDriveRead()) {
        mFocusWaiting = true;
        return;
    }
    mFallBackDrive = mDriveList->drive();
}

void MainWindow::driveChosen()
{
    requestDrive(mDriveList->drive());
}

void MainWindow::requestDrive(const QString &driveText)
{
    const std::optional<Volume> volume = volumeNamed(platform().volumes->mountedVolumes(), driveText);
    FolderRequest asked{FolderRequest::Kind::Drive, {}, volume, {}};
    if (volume)
        asked.folder = mFolderList->currentFolderOf(*volume);
    request(std::move(asked), mDrivePurpose);
}

void MainWindow::folderChosen(const QString &folder)
{
    request({FolderRequest::Kind::Folder, folder, std::nullopt, {}}, Purpose::Folder);
}

// A pattern reads the folder's files again. A read pending answers with
// files read after the pattern was set, so it is not asked twice.
void MainWindow::requestFiles()
{
    if (mLoader->isPending() || mFolderList->path().isEmpty())
        return;
    FolderRequest asked{FolderRequest::Kind::Folder, mFolderList->path(), std::nullopt, {}};
    asked.filesOnly = true;
    request(asked, Purpose::Files);
}

// Every read the window asks for. The loader delivers the answer to the
// newest request only; an answer waiting for a message box to close is
// overtaken here, so it is dropped as well.
void MainWindow::request(FolderRequest asked, Purpose purpose)
{
    mPurpose = purpose;
    mWaitingAnswer.reset();
    // A drive unmounted since the list was filled is not ready, also where
    // its mount point is left behind as a folder of another drive.
    if (asked.kind == FolderRequest::Kind::Drive && !asked.drive)
        mLoader->refuse(std::move(asked));
    else
        mLoader->load(std::move(asked));
}

void MainWindow::answered(const FolderAnswer &answer)
{
    // A handler waits in a message box: the answer is shown once it has ended.
    if (mBoxes > 0) {
        mWaitingAnswer = answer;
        return;
    }
    if (answer.ok)
        apply(answer);
    else
        failed(answer);
    settled();
}

void MainWindow::apply(const FolderAnswer &answer)
{
    if (answer.request.filesOnly) {
        mFileList->entries().showFiles(answer.folder, answer.entries.files);
        return;
    }
    const std::optional<Volume> volume = volumeFor(platform().volumes->mountedVolumes(), answer.folder);
    if (!volume) {
        failed(answer);
        return;
    }
    // The folder and its files together. A folder on another mount, its
    // root say, makes that mount the chosen drive, so the drive list shows
    // where the folder list is, and an unmount of it is noticed.
    mFolderList->showFolder(answer.folder, *volume, answer.entries.folders);
    mDriveList->showDrive(mFolderList->path());
    mFileList->entries().showFiles(mFolderList->path(), answer.entries.files);
    if (mPurpose == Purpose::OpenAtStart)
        mFallBackDrive = mDriveList->drive(); // the drive to go back to should a drive not be ready
}

void MainWindow::failed(const FolderAnswer &answer)
{
    switch (mPurpose) {
    case Purpose::Start:
        startOn(mCandidate + 1);
        break;
    case Purpose::Drive:
        driveNotReady();
        break;
    case Purpose::FallBack:
        fallBackTo(mCandidate + 1);
        break;
    case Purpose::Folder:
    case Purpose::Open:
        reportUnreadableFolder();
        break;
    case Purpose::Files:
        // Nothing may be listed of a folder that could not be read.
        mFileList->entries().markUnread(answer.request.folder);
        reportUnreadableFolder();
        break;
    case Purpose::OpenAtStart:
        if (isVisible())
            reportUnreadableFolder();
        else
            mStartFolderUnreadable = true;
        startOn(0);
        break;
    }
}

// The message, then back to the remembered drive; should that be unmounted or
// fail too, or none be remembered yet, the program's drive and then the root,
// without repeating the message.
void MainWindow::driveNotReady()
{
    reportError(QStringLiteral("Laufwerk nicht bereit !"), QStringLiteral("Laufwerksfehler"));
    fallBackTo(0);
}

void MainWindow::fallBackTo(int candidate)
{
    tryDrives({mFallBackDrive, platform().program->programFolder(), QDir::rootPath()}, candidate, Purpose::FallBack);
}

// Once no read is pending: what waited for it.
void MainWindow::settled()
{
    if (mLoader->isPending())
        return;
    if (std::exchange(mFocusWaiting, false))
        rememberFallBackDrive();
    if (mDriveGonePending && isVisible()) {
        mDriveGonePending = false;
        followMounts(); // the drive may have come back meanwhile
    }
    if (void(MainWindow::*output)() = std::exchange(mOutputWaiting, nullptr))
        (this->*output)();
}

void MainWindow::followMounts()
{
    if (mBoxes > 0) {
        mMountsChanged = true;
        return;
    }
    mDriveList->followMounts(); // driveGone when the chosen drive went
}

// The chosen drive was unmounted: as if it had been chosen and was not ready.
// Not while a settings dialog is open, whose listing reads the file list as
// it is shown, nor while a drive is being tried.
void MainWindow::driveGone()
{
    if (!isVisible() || (mLoader->isPending() && isDriveRead())) {
        mDriveGonePending = true;
        return;
    }
    mDriveGonePending = false;
    driveNotReady();
    mDriveList->refreshVolumes();
}

void MainWindow::reportUnreadableFolder()
{
    reportError(QStringLiteral("Verzeichnis nicht lesbar !"), QStringLiteral("Verzeichnisfehler"));
}

// Answers and mount changes that arrive while the box is open are taken once
// the handler that opened it has ended.
void MainWindow::reportError(const QString &text, const QString &title)
{
    ++mBoxes;
    showErrorBox(text, title);
    if (--mBoxes > 0)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (mBoxes > 0)
                return;
            if (std::optional<FolderAnswer> answer = std::exchange(mWaitingAnswer, std::nullopt))
                answered(*answer);
            if (std::exchange(mMountsChanged, false))
                followMounts();
        },
        Qt::QueuedConnection);
}

} // namespace Lirabel

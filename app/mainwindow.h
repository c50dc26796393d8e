// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The main window: the user picks a drive in the drive list and a folder in
// the folder list, narrows the file list with the filter options, and starts
// an output with the print or the save button. A change of drive moves the
// folder list to that drive's current folder, a change of folder moves the
// file list there; the file list is what every listing reads. The buttons
// hide this window and show a settings dialog, which brings it back when it
// is unloaded. A folder handed over on the command line or dropped on the
// window is shown as if the user had chosen its drive and then the folder.
//
// The window never waits for the file system. Each choice (a drive, a
// folder, a pattern) asks for the window's whole wanted state anew
// (request()), and one read in the background (FolderLoader) answers both
// lists. The loader hands over the answer to the newest request only, and
// apply() shows it in one step: the folder, its drive and its files. An
// overtaken answer is dropped without a word. Meanwhile the drive list shows
// the drive chosen, the folder and file lists keep what they show, and the
// window takes every click and key. An output asked for meanwhile starts
// once the read has answered, on the settled list.

#include "fs/folderloader.h"
#include "ui/widgetwindow.h"

#include <QByteArray>
#include <QMainWindow>

#include <functional>
#include <optional>

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Lirabel {

class FolderListView;
class DriveComboBox;
class EntrySource;
class FileListView;

class MainWindow : public WidgetWindow<QMainWindow>
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // Starts on the folder a path from the command line names, given by its
    // bytes as the system passed them; where there is none that can be read,
    // starts as without it and says so once the window is up.
    explicit MainWindow(std::optional<QByteArray> startPath, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the folder a path names (a file names the folder that holds it),
    // once read: the drive list on its drive, that drive's current folder set
    // to it, the folder and file lists on it. Where there is no such folder or
    // it cannot be read, the lists stay and "Verzeichnis nicht lesbar !" says so.
    void openFolder(const QByteArray &localPath);

    // True while a read the window asked for has not answered.
    [[nodiscard]] bool isLoading() const;

    // The drive to go back to should a drive chosen not be ready: the drive
    // shown when the drive list last got the focus; empty before that.
    [[nodiscard]] QString fallBackDrive() const { return mFallBackDrive; }

    // The file list as the listing reads it.
    [[nodiscard]] const EntrySource &fileList() const;

    // Event handlers.
    void showStartFolder(); // once, as the window is made
    // The drive list got the focus: its drive is the one to fall back to.
    void rememberFallBackDrive();
    void driveChosen();
    void folderChosen(const QString &folder);
    void showAllFiles();
    void showMp3Files();
    void showOwnPattern(); // the files with the extension typed in the pattern box
    void patternEdited();
    void startPrint(); // the print settings dialog, once the file list is read
    void startSave();  // the save settings dialog, once the file list is read

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // What a read was asked for, which decides what its failure does.
    enum class Purpose {
        Start,    // the start-up drives, tried in turn without a message
        Drive,    // a drive chosen: the message, then the fall-back drives
        FallBack, // a fall-back drive, tried in turn without a message
        Folder,   // a folder chosen in the folder list
        Files,    // the files again, for a pattern
        Open,     // a folder from outside (a drop)
        OpenAtStart,
    };

    void reportUnreadableFolder();
    void driveGone();
    void driveNotReady();
    void setPatternEditColour(quint32 colour);
    void startOn(int candidate);
    void fallBackTo(int candidate);
    void tryDrives(const QStringList &candidates, int candidate, Purpose purpose);
    void chooseDrive(const QString &pathOrDriveText, bool listedOnly);
    void requestDrive(const QString &driveText);
    void requestFiles();
    void request(FolderRequest request, Purpose purpose);
    void answered(const FolderAnswer &answer);
    void apply(const FolderAnswer &answer);
    void failed(const FolderAnswer &answer);
    void settled();
    void followMounts();
    void reportError(const QString &text, const QString &title);
    [[nodiscard]] bool isDriveRead() const;
    [[nodiscard]] bool readyForOutput(void (MainWindow::*output)());

    QWidget *const mClientArea;
    QAction *const mSettingsAction;
    DriveComboBox *const mDriveList;
    FileListView *const mFileList;
    FolderListView *const mFolderList;
    QGroupBox *const mFilterGroup;
    QRadioButton *const mMp3Option;
    QRadioButton *const mAllFilesOption;
    QRadioButton *const mOwnPatternOption;
    QLineEdit *const mPatternEdit;
    QPushButton *const mPrintButton;
    QPushButton *const mSaveButton;

    FolderLoader *const mLoader;
    const std::optional<QByteArray> mStartPath;
    bool mCentred = false;
    quint32 mPatternEditColour = 0;
    QString mFallBackDrive; // see fallBackDrive()
    // The read pending, what it is for and, for the start-up and fall-back
    // drives, which one is being tried.
    Purpose mPurpose = Purpose::Start;
    int mCandidate = 0;
    // The purpose the next change of the drive list asks with.
    Purpose mDrivePurpose = Purpose::Drive;
    // Message boxes open; answers and mount changes wait for them.
    int mBoxes = 0;
    std::optional<FolderAnswer> mWaitingAnswer;
    bool mMountsChanged = false;
    // Waiting for the read pending to settle.
    bool mFocusWaiting = false;
    void (MainWindow::*mOutputWaiting)() = nullptr;
    // The start folder could not be read: said once the window is up.
    bool mStartFolderUnreadable = false;
    // The chosen drive was unmounted at a time it could not be replaced.
    bool mDriveGonePending = false;
};

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The main window: the user picks a drive in Drive1 and a folder in Dir1,
// narrows File1 with the filter in frame1, and starts an output with
// cmd_drucken or cmd_save. A change of drive moves Dir1 to that drive's
// current folder, a change of folder moves File1 there; File1 is what every
// listing reads. The buttons hide this window and show a settings dialog,
// which brings it back when it is unloaded. A folder handed over on the
// command line or dropped on the window is shown as if the user had chosen
// its drive and then the folder.
//
// The window never waits for the file system. Each choice (a drive, a
// folder, a pattern) asks for the window's whole wanted state anew, and one
// read in the background (FolderLoader) answers both lists; only the answer
// to the newest request is shown, and an overtaken one is dropped without a
// word. Meanwhile Drive1 shows the drive chosen, Dir1 and File1 keep what
// they show, and the window takes every click and key. An output asked for
// meanwhile starts once the read has answered, on the settled list.

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

class DirListBox;
class DriveListBox;
class EntrySource;
class FileListBox;

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
    // once read: Drive1 on its drive, that drive's current folder set to it,
    // Dir1 and File1 on it. Where there is no such folder or it cannot be
    // read, the lists stay and "Verzeichnis nicht lesbar !" says so.
    void openFolder(const QByteArray &localPath);

    // True while a read the window asked for has not answered.
    [[nodiscard]] bool isLoading() const;

    // The drive to go back to should a drive chosen not be ready: the drive
    // shown when the drive list last got the focus; empty before that.
    [[nodiscard]] QString fallBackDrive() const { return mFallBackDrive; }

    // The file list as the listing reads it.
    [[nodiscard]] const EntrySource &fileList() const;

    // Event handlers.
    void Form_Load();
    void Drive1_GotFocus();
    void Drive1_Change();
    void opt_alle_Click();
    void opt_mp3_Click();
    void opt_eigene_Click();
    void txt_eigene_KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void cmd_drucken_Click();
    void cmd_save_Click();

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
        Folder,   // a folder chosen in Dir1
        Files,    // the files again, for a pattern
        Open,     // a folder from outside (a drop)
        OpenAtStart,
    };

    void Dir1_UnreadableFolder();
    void Drive1_Gone();
    void driveNotReady();
    void setTextBoxColour(quint32 colour);
    void startOn(int candidate);
    void fallBackTo(int candidate);
    void tryDrives(const QStringList &candidates, int candidate, Purpose purpose);
    void chooseDrive(const QString &pathOrDriveText, bool listedOnly);
    void requestDrive(const QString &driveText);
    void requestFolder(const QString &folder, Purpose purpose);
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
    QAction *const Einstellungen;
    DriveListBox *const Drive1;
    FileListBox *const File1;
    DirListBox *const Dir1;
    QGroupBox *const frame1;
    QRadioButton *const opt_mp3;
    QRadioButton *const opt_alle;
    QRadioButton *const opt_eigene;
    QLineEdit *const txt_eigene;
    QPushButton *const cmd_drucken;
    QPushButton *const cmd_save;

    FolderLoader *const mLoader;
    const std::optional<QByteArray> mStartPath;
    bool mCentred = false;
    quint32 mTextBoxColour = 0;
    // The read pending, what it is for and, for the start-up and fall-back
    // drives, which one is being tried.
    Purpose mPurpose = Purpose::Start;
    int mCandidate = 0;
    QString mFallBackDrive;
    // The purpose the next change of Drive1 asks with.
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

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

#include "platform/qt/widgetwindow.h"

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

class PrintDir : public WidgetWindow<QMainWindow>
{
    Q_OBJECT

public:
    explicit PrintDir(QWidget *parent = nullptr);
    // Starts on the folder a path from the command line names, given by its
    // bytes as the system passed them; where there is none that can be read,
    // starts as without it and says so once the window is up.
    explicit PrintDir(std::optional<QByteArray> startPath, QWidget *parent = nullptr);
    ~PrintDir() override;

    // Shows the folder a path names (a file names the folder that holds it):
    // Drive1 on its drive, that drive's current folder set to it, Dir1 and
    // File1 on it. False, with the lists as they were, when there is no such
    // folder or it cannot be read.
    bool openFolder(const QByteArray &localPath);

    // The file list as the listing reads it.
    [[nodiscard]] const EntrySource &fileList() const;

    // Event handlers.
    void Form_Load();
    void Drive1_GotFocus();
    void Drive1_Change();
    void Dir1_Change();
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
    void Dir1_UnreadableFolder();
    void Drive1_Gone();
    void driveNotReady();
    void setTextBoxColour(quint32 colour);
    void startOnProgramDrive();
    void filterFiles(const std::function<void()> &change);
    [[nodiscard]] bool readyForOutput(void (PrintDir::*output)());

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

    const std::optional<QByteArray> mStartPath;
    bool mCentred = false;
    // The start folder could not be read: said once the window is up.
    bool mStartFolderUnreadable = false;
    quint32 mTextBoxColour = 0;
    // Set while the drive change's error path tries the fall-back drives: a
    // nested failure then only reports back instead of showing the message again.
    bool mRecoveringDrive = false;
    bool mRecoveryFailed = false;
    bool mInDriveError = false;
    // The chosen drive was unmounted at a time it could not be replaced.
    bool mDriveGonePending = false;
};

} // namespace Lirabel

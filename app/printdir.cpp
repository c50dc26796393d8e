// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/printdir.h"

#include "listing/listingstate.h"
#include "output/printoptionen.h"
#include "output/saveoptionen.h"
#include "platform/controls/dirlistbox.h"
#include "platform/controls/drivelistbox.h"
#include "platform/controls/filelistbox.h"
#include "platform/files/deadlinecall.h"
#include "platform/files/drives.h"
#include "platform/files/foldertoopen.h"
#include "platform/lirabelerror.h"
#include "platform/names/bytenames.h"
#include "platform/qt/systemcolour.h"
#include "platform/qt/widgetwindow.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

namespace Lirabel {

namespace {

template<typename Widget>
Widget *named(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

PrintDir::PrintDir(QWidget *parent)
    : PrintDir(std::nullopt, parent)
{
}

PrintDir::PrintDir(std::optional<QByteArray> startPath, QWidget *parent)
    : WidgetWindow(parent)
    , mClientArea(new QWidget(this))
    , Einstellungen(menuBar()->addAction(QStringLiteral("&Einstellungen")))
    , Drive1(named(new DriveListBox(mClientArea), "Drive1", fromTwips(120, 240, 3855, 315)))
    , File1(named(new FileListBox(mClientArea), "File1", fromTwips(4320, 240, 4695, 7110)))
    , Dir1(named(new DirListBox(mClientArea), "Dir1", fromTwips(120, 720, 3855, 5940)))
    , frame1(named(new QGroupBox(QStringLiteral("Filter"), mClientArea), "frame1", fromTwips(120, 6720, 3855, 735)))
    , opt_mp3(named(new QRadioButton(QStringLiteral("mp3"), frame1), "opt_mp3", fromTwips(120, 240, 735, 315)))
    , opt_alle(named(new QRadioButton(QStringLiteral("alle"), frame1), "opt_alle", fromTwips(840, 210, 615, 375)))
    , opt_eigene(
          named(new QRadioButton(QStringLiteral("eigene"), frame1), "opt_eigene", fromTwips(1800, 270, 855, 255)))
    , txt_eigene(named(new QLineEdit(frame1), "txt_eigene", fromTwips(2760, 255, 975, 285)))
    , cmd_drucken(named(new QPushButton(QStringLiteral("&Drucken"), mClientArea), "cmd_drucken",
                        fromTwips(1080, 7680, 1935, 375)))
    , cmd_save(named(new QPushButton(QStringLiteral("&Als Textdatei Speichern"), mClientArea), "cmd_save",
                     fromTwips(5760, 7680, 2295, 375)))
    , mStartPath(std::move(startPath))
{
    setObjectName(QStringLiteral("PrintDir"));
    setWindowTitle(QStringLiteral("Lirabel"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    Einstellungen->setObjectName(QStringLiteral("Einstellungen"));

    // The caption sits in the frame's top line, and the option buttons are
    // placed from the frame's outer corner, as the layout was drawn.
    frame1->setStyleSheet(QStringLiteral("QGroupBox#frame1 { border: 1px solid palette(mid); border-radius: 2px;"
                                         " margin-top: 6px; }"
                                         "QGroupBox#frame1::title { subcontrol-origin: margin; left: 6px;"
                                         " padding: 0 2px; }"));
    mClientArea->setObjectName(QStringLiteral("clientArea"));
    mClientArea->setFixedSize(609, 541);
    setCentralWidget(mClientArea);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // What a screen reader says for the controls without a caption of their own.
    // Qt on Linux names a combo box by its value, so the description says it too.
    Drive1->setAccessibleName(QStringLiteral("Laufwerk"));
    Drive1->setAccessibleDescription(QStringLiteral("Laufwerk"));
    Dir1->setAccessibleName(QStringLiteral("Verzeichnisse"));
    File1->setAccessibleName(QStringLiteral("Dateien"));
    txt_eigene->setAccessibleName(QStringLiteral("eigene Dateiendung"));

    // Initial values; none of them is an event.
    opt_alle->setChecked(true);
    txt_eigene->setEnabled(false);

    setTabOrder(Drive1, File1);
    setTabOrder(File1, Dir1);
    setTabOrder(Dir1, opt_mp3);
    setTabOrder(opt_mp3, opt_alle);
    setTabOrder(opt_alle, opt_eigene);
    setTabOrder(opt_eigene, txt_eigene);
    setTabOrder(txt_eigene, cmd_drucken);
    setTabOrder(cmd_drucken, cmd_save);
    Drive1->setFocus(Qt::OtherFocusReason);

    connect(Drive1, &DriveListBox::gotFocus, this, &PrintDir::Drive1_GotFocus);
    connect(Drive1, &DriveListBox::driveChanged, this, &PrintDir::Drive1_Change);
    connect(Drive1, &DriveListBox::currentDriveGone, this, &PrintDir::Drive1_Gone);
    connect(Dir1, &DirListBox::pathChanged, this, &PrintDir::Dir1_Change);
    connect(Dir1, &DirListBox::unreadableFolderChosen, this, &PrintDir::Dir1_UnreadableFolder);
    connect(opt_alle, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_alle_Click();
    });
    connect(opt_mp3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_mp3_Click();
    });
    connect(opt_eigene, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_eigene_Click();
    });
    txt_eigene->installEventFilter(this);
    connect(cmd_drucken, &QPushButton::clicked, this, &PrintDir::cmd_drucken_Click);
    connect(cmd_save, &QPushButton::clicked, this, &PrintDir::cmd_save_Click);
    setAcceptDrops(true);

    Form_Load();
}

PrintDir::~PrintDir() = default;

const EntrySource &PrintDir::fileList() const
{
    return File1->entries();
}

void PrintDir::showEvent(QShowEvent *event)
{
    if (!mCentred) {
        mCentred = true;
        centreOnScreen(*this);
    }
    if (std::exchange(mStartFolderUnreadable, false))
        whenSettled(this, [this] { Dir1_UnreadableFolder(); });
    QMainWindow::showEvent(event);
    if (mDriveGonePending)
        whenSettled(Drive1, [drive = Drive1] { drive->followMounts(); });
}

// Only the background is the text box's own: the rest of its palette, the
// text colour too, follows the application's, also when the colour scheme
// changes while the program runs.
void PrintDir::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        setTextBoxColour(mTextBoxColour);
    QMainWindow::changeEvent(event);
}

void PrintDir::setTextBoxColour(quint32 colour)
{
    mTextBoxColour = colour;
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, systemColour(colour, group));
    txt_eigene->setPalette(palette);
}

void PrintDir::Form_Load()
{
    setTextBoxColour(SystemColourInactiveBorder);
    if (mStartPath) {
        if (openFolder(*mStartPath)) {
            // The drive to go back to should a drive not be ready.
            ListingState.LastGoodDrive = Drive1->drive();
            return;
        }
        mStartFolderUnreadable = true;
    }
    startOnProgramDrive();
}

bool PrintDir::openFolder(const QByteArray &localPath)
{
    // The path may lie on a mount that no longer answers.
    const std::optional<std::optional<QString>> answered = callWithDeadline<std::optional<QString>>(
        nameFromBytes(localPath), [localPath] { return folderToOpen(localPath); });
    if (!answered || !*answered)
        return false;
    const std::optional<QString> &folder = *answered;
    const QString before = Dir1->path();
    try {
        // Dir1 first, which makes the folder its drive's current one: the
        // change of drive then finds Dir1 there already and reads nothing again.
        Dir1->setFolder(*folder);
        // Overtaken while the folder was read: the newer request has its way.
        if (Dir1->path() != QDir::cleanPath(*folder))
            return true;
        Drive1->setDrive(*folder);
        return true;
    } catch (const LirabelError &) {
    }
    // The folder could be read but not its drive: Dir1 goes back.
    try {
        if (!before.isEmpty())
            Dir1->setFolder(before);
    } catch (const LirabelError &) {
    }
    return false;
}

// The drive of the program's folder; when no drive can be chosen for it, the
// drive of the working directory, then the root.
void PrintDir::startOnProgramDrive()
{
    const QStringList candidates{platform().program->programFolder(), QDir::currentPath(), QDir::rootPath()};
    for (const QString &candidate : candidates) {
        try {
            Drive1->setDrive(candidate);
            return;
        } catch (const LirabelError &) {
        }
    }
}

void PrintDir::Drive1_GotFocus()
{
    ListingState.LastGoodDrive = Drive1->drive();
}

void PrintDir::Drive1_Change()
{
    try {
        // A drive unmounted since the list was filled is not ready, also
        // where its mount point is left behind as a folder of another drive.
        const QString drive = Drive1->drive();
        const QList<Volume> mounted = platform().volumes->mountedVolumes();
        if (std::none_of(mounted.cbegin(), mounted.cend(),
                         [&drive](const Volume &v) { return v.driveText() == drive; }))
            throw LirabelError(QStringLiteral("Laufwerk nicht bereit: %1").arg(drive));
        Dir1->setPath(drive);
        return;
    } catch (const LirabelError &) {
    }

    if (mRecoveringDrive) {
        // A fall-back drive failed as well; the error path below tries the next.
        mRecoveryFailed = true;
        return;
    }
    driveNotReady();
}

// The message, then back to the remembered drive; should that be unmounted or
// fail too, or none be remembered yet, the program's drive and then the root,
// without repeating the message.
void PrintDir::driveNotReady()
{
    mInDriveError = true;
    ReportError(QStringLiteral("Laufwerk nicht bereit !"), QStringLiteral("Laufwerksfehler"));

    mRecoveringDrive = true;
    const QString remembered = ListingState.LastGoodDrive;
    const QString programFolder = platform().program->programFolder();
    const std::function<void()> fallbacks[] = {
        // The remembered drive itself, never the drive that holds its old mount point.
        [&] { Drive1->setListedDrive(remembered); },
        [&] { Drive1->setDrive(programFolder); },
        [&] { Drive1->setDrive(QDir::rootPath()); },
    };
    for (const std::function<void()> &fallback : fallbacks) {
        mRecoveryFailed = false;
        try {
            const QString before = Drive1->drive();
            fallback(); // a nested Drive1_Change when the drive changes
            if (Drive1->drive() == before)
                Dir1->setPath(Drive1->drive());
        } catch (const LirabelError &) {
            mRecoveryFailed = true;
        }
        if (!mRecoveryFailed)
            break;
    }
    mRecoveringDrive = false;
    mInDriveError = false;
}

// The chosen drive was unmounted: as if it had been chosen and was not ready.
// Not while a settings dialog is open, whose listing reads the file list as
// it is shown, nor within the drive error path, which is choosing a drive.
void PrintDir::Drive1_Gone()
{
    if (!isVisible() || mInDriveError) {
        mDriveGonePending = true;
        return;
    }
    mDriveGonePending = false;
    driveNotReady();
    Drive1->refreshVolumes();
}

void PrintDir::Dir1_Change()
{
    // A folder on another mount, its root say, makes that mount the chosen
    // drive, so the drive list shows where the folder list is, and an
    // unmount of it is noticed.
    const QString folder = Dir1->path();
    const std::optional<Volume> volume = volumeFor(platform().volumes->mountedVolumes(), folder);
    if (volume && volume->driveText() != Drive1->drive()) {
        try {
            Drive1->setDrive(folder);
        } catch (const LirabelError &) {
        }
    }
    filterFiles([this] { File1->setPath(Dir1->path()); });
}

// A folder that can no longer be read, or that does not answer in time,
// leaves the file list empty and unread: the user is told at once.
void PrintDir::filterFiles(const std::function<void()> &change)
{
    try {
        change();
    } catch (const LirabelError &) {
        Dir1_UnreadableFolder();
    }
}

void PrintDir::Dir1_UnreadableFolder()
{
    ReportError(QStringLiteral("Verzeichnis nicht lesbar !"), QStringLiteral("Verzeichnisfehler"));
}

void PrintDir::opt_alle_Click()
{
    setTextBoxColour(SystemColourInactiveBorder);
    txt_eigene->setEnabled(false);
    filterFiles([this] { File1->setPattern(QStringLiteral("*.*")); });
}

void PrintDir::opt_mp3_Click()
{
    setTextBoxColour(SystemColourInactiveBorder);
    txt_eigene->setEnabled(false);
    filterFiles([this] { File1->setPattern(QStringLiteral("*.mp3")); });
}

void PrintDir::opt_eigene_Click()
{
    setTextBoxColour(SystemColourCaptionText);
    txt_eigene->setEnabled(true);
    filterFiles([this] {
        File1->setPattern(QStringLiteral("*.") + txt_eigene->text());
        File1->refresh();
    });
}

void PrintDir::txt_eigene_KeyUp(int keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(keyCode)
    Q_UNUSED(shift)
    filterFiles([this] {
        File1->setPattern(QStringLiteral("*.") + txt_eigene->text());
        File1->refresh();
    });
}

bool PrintDir::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txt_eigene && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            txt_eigene_KeyUp(key->key(), key->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {

// The path of the first URL dropped, by its bytes; nothing unless it is a
// local file.
std::optional<QByteArray> droppedPath(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return std::nullopt;
    // Through the percent-encoding, so a name that is not UTF-8 keeps its bytes.
    return QByteArray::fromPercentEncoding(urls.first().path(QUrl::FullyEncoded).toLatin1());
}

} // namespace

void PrintDir::dragEnterEvent(QDragEnterEvent *event)
{
    // Left unaccepted, anything else shows the no-drop cursor.
    if (droppedPath(event->mimeData()))
        event->acceptProposedAction();
}

void PrintDir::dropEvent(QDropEvent *event)
{
    const std::optional<QByteArray> path = droppedPath(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    // After the drop has returned, so the program the drag came from is not
    // kept waiting by the folder read or the message box, and after any call
    // still pending, which goes on with the folder it started with.
    whenSettled(this, [this, path = *path] {
        if (!openFolder(path))
            Dir1_UnreadableFolder();
    });
}

// An output starts on the list as the window shows it once every read asked
// for has answered; a list whose folder could not be read gives no listing.
bool PrintDir::readyForOutput(void (PrintDir::*output)())
{
    if (waitingForWorker()) {
        whenSettled(this, [this, output] { (this->*output)(); });
        return false;
    }
    if (!File1->entries().isRead()) {
        Dir1_UnreadableFolder();
        return false;
    }
    return true;
}

void PrintDir::cmd_drucken_Click()
{
    if (!readyForOutput(&PrintDir::cmd_drucken_Click))
        return;
    hideWindow();
    auto *dialog = new PrintOptionen(*this, File1->entries());
    dialog->showWindow();
}

void PrintDir::cmd_save_Click()
{
    if (!readyForOutput(&PrintDir::cmd_save_Click))
        return;
    hideWindow();
    auto *dialog = new SaveOptionen(*this, File1->entries());
    dialog->showWindow();
}

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/mainwindow.h"

#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "ui/printsettingsdialog.h"
#include "ui/savesettingsdialog.h"
#include "ui/systemcolour.h"
#include "ui/widgetwindow.h"

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

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(std::nullopt, parent)
{
}

MainWindow::MainWindow(std::optional<QByteArray> startPath, QWidget *parent)
    : WidgetWindow(parent)
    , mClientArea(new QWidget(this))
    , mSettingsAction(menuBar()->addAction(QStringLiteral("&Einstellungen")))
    , mDriveList(named(new DriveComboBox(mClientArea), "Drive1", fromTwips(120, 240, 3855, 315)))
    , mFileList(named(new FileListView(mClientArea), "File1", fromTwips(4320, 240, 4695, 7110)))
    , mFolderList(named(new FolderListView(mClientArea), "Dir1", fromTwips(120, 720, 3855, 5940)))
    , mFilterGroup(
          named(new QGroupBox(QStringLiteral("Filter"), mClientArea), "frame1", fromTwips(120, 6720, 3855, 735)))
    , mMp3Option(named(new QRadioButton(QStringLiteral("mp3"), mFilterGroup), "opt_mp3", fromTwips(120, 240, 735, 315)))
    , mAllFilesOption(
          named(new QRadioButton(QStringLiteral("alle"), mFilterGroup), "opt_alle", fromTwips(840, 210, 615, 375)))
    , mOwnPatternOption(
          named(new QRadioButton(QStringLiteral("eigene"), mFilterGroup), "opt_eigene", fromTwips(1800, 270, 855, 255)))
    , mPatternEdit(named(new QLineEdit(mFilterGroup), "txt_eigene", fromTwips(2760, 255, 975, 285)))
    , mPrintButton(named(new QPushButton(QStringLiteral("&Drucken"), mClientArea), "cmd_drucken",
                         fromTwips(1080, 7680, 1935, 375)))
    , mSaveButton(named(new QPushButton(QStringLiteral("&Als Textdatei Speichern"), mClientArea), "cmd_save",
                        fromTwips(5760, 7680, 2295, 375)))
    , mLoader(new FolderLoader(this))
    , mStartPath(std::move(startPath))
{
    setObjectName(QStringLiteral("PrintDir"));
    setWindowTitle(QStringLiteral("Lirabel"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    mSettingsAction->setObjectName(QStringLiteral("Einstellungen"));

    // The caption sits in the frame's top line, and the option buttons are
    // placed from the frame's outer corner, as the layout was drawn.
    mFilterGroup->setStyleSheet(QStringLiteral("QGroupBox#frame1 { border: 1px solid palette(mid); border-radius: 2px;"
                                               " margin-top: 6px; }"
                                               "QGroupBox#frame1::title { subcontrol-origin: margin; left: 6px;"
                                               " padding: 0 2px; }"));
    mClientArea->setObjectName(QStringLiteral("clientArea"));
    mClientArea->setFixedSize(609, 541);
    setCentralWidget(mClientArea);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // What a screen reader says for the controls without a caption of their own.
    // Qt on Linux names a combo box by its value, so the description says it too.
    mDriveList->setAccessibleName(QStringLiteral("Laufwerk"));
    mDriveList->setAccessibleDescription(QStringLiteral("Laufwerk"));
    mFolderList->setAccessibleName(QStringLiteral("Verzeichnisse"));
    mFileList->setAccessibleName(QStringLiteral("Dateien"));
    mPatternEdit->setAccessibleName(QStringLiteral("eigene Dateiendung"));

    // Initial values; none of them is an event.
    mAllFilesOption->setChecked(true);
    mPatternEdit->setEnabled(false);

    setTabOrder(mDriveList, mFileList);
    setTabOrder(mFileList, mFolderList);
    setTabOrder(mFolderList, mMp3Option);
    setTabOrder(mMp3Option, mAllFilesOption);
    setTabOrder(mAllFilesOption, mOwnPatternOption);
    setTabOrder(mOwnPatternOption, mPatternEdit);
    setTabOrder(mPatternEdit, mPrintButton);
    setTabOrder(mPrintButton, mSaveButton);
    mDriveList->setFocus(Qt::OtherFocusReason);

    connect(mDriveList, &DriveComboBox::gotFocus, this, &MainWindow::rememberFallBackDrive);
    connect(mDriveList, &DriveComboBox::driveChanged, this, &MainWindow::driveChosen);
    connect(mDriveList, &DriveComboBox::currentDriveGone, this, &MainWindow::driveGone);
    connect(mFolderList, &FolderListView::folderChosen, this, &MainWindow::folderChosen);
    connect(mLoader, &FolderLoader::answered, this, &MainWindow::answered);
    connect(platform().volumes, &VolumeService::volumesChanged, this, &MainWindow::followMounts);
    connect(mAllFilesOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showAllFiles();
    });
    connect(mMp3Option, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showMp3Files();
    });
    connect(mOwnPatternOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showOwnPattern();
    });
    mPatternEdit->installEventFilter(this);
    connect(mPrintButton, &QPushButton::clicked, this, &MainWindow::startPrint);
    connect(mSaveButton, &QPushButton::clicked, this, &MainWindow::startSave);
    setAcceptDrops(true);

    showStartFolder();
}

MainWindow::~MainWindow() = default;

const EntrySource &MainWindow::fileList() const
{
    return mFileList->entries();
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!mCentred) {
        mCentred = true;
        centreOnScreen(*this);
    }
    // After the window is up, each in turn.
    if (std::exchange(mStartFolderUnreadable, false))
        QMetaObject::invokeMethod(this, &MainWindow::reportUnreadableFolder, Qt::QueuedConnection);
    QMainWindow::showEvent(event);
    if (mDriveGonePending)
        QMetaObject::invokeMethod(this, &MainWindow::followMounts, Qt::QueuedConnection);
}

// Only the background is the pattern box's own: the rest of its palette, the
// text colour too, follows the application's, also when the colour scheme
// changes while the program runs.
void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        setPatternEditColour(mPatternEditColour);
    QMainWindow::changeEvent(event);
}

void MainWindow::setPatternEditColour(quint32 colour)
{
    mPatternEditColour = colour;
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, systemColour(colour, group));
    mPatternEdit->setPalette(palette);
}

void MainWindow::showAllFiles()
{
    setPatternEditColour(SystemColourInactiveBorder);
    mPatternEdit->setEnabled(false);
    mFileList->setPattern(QStringLiteral("*.*"));
    requestFiles();
}

void MainWindow::showMp3Files()
{
    setPatternEditColour(SystemColourInactiveBorder);
    mPatternEdit->setEnabled(false);
    mFileList->setPattern(QStringLiteral("*.mp3"));
    requestFiles();
}

void MainWindow::showOwnPattern()
{
    setPatternEditColour(SystemColourCaptionText);
    mPatternEdit->setEnabled(true);
    mFileList->setPattern(QStringLiteral("*.") + mPatternEdit->text());
    requestFiles(); // also where the pattern stays
}

void MainWindow::patternEdited()
{
    mFileList->setPattern(QStringLiteral("*.") + mPatternEdit->text());
    requestFiles(); // also where the pattern stays
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mPatternEdit && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            patternEdited();
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

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    // Left unaccepted, anything else shows the no-drop cursor.
    if (droppedPath(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const std::optional<QByteArray> path = droppedPath(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    openFolder(*path); // read in the background: the drop returns at once
}

// An output starts on the list as the window shows it once every read asked
// for has answered; a list whose folder could not be read gives no listing.
bool MainWindow::readyForOutput(void (MainWindow::*output)())
{
    if (mLoader->isPending()) {
        mOutputWaiting = output;
        return false;
    }
    if (!mFileList->entries().isRead()) {
        reportUnreadableFolder();
        return false;
    }
    return true;
}

void MainWindow::startPrint()
{
    if (!readyForOutput(&MainWindow::startPrint))
        return;
    hideWindow();
    auto *dialog = new PrintSettingsDialog(*this, mFileList->entries());
    dialog->showWindow();
}

void MainWindow::startSave()
{
    if (!readyForOutput(&MainWindow::startSave))
        return;
    hideWindow();
    auto *dialog = new SaveSettingsDialog(*this, mFileList->entries());
    dialog->showWindow();
}

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/mainwindow.h"

#include "ui/dirlistbox.h"
#include "ui/drivelistbox.h"
#include "ui/filelistbox.h"
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
    , mLoader(new FolderLoader(this))
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

    connect(Drive1, &DriveListBox::gotFocus, this, &MainWindow::Drive1_GotFocus);
    connect(Drive1, &DriveListBox::driveChanged, this, &MainWindow::Drive1_Change);
    connect(Drive1, &DriveListBox::currentDriveGone, this, &MainWindow::Drive1_Gone);
    connect(Dir1, &DirListBox::folderChosen, this,
            [this](const QString &folder) { requestFolder(folder, Purpose::Folder); });
    connect(mLoader, &FolderLoader::answered, this, &MainWindow::answered);
    connect(platform().volumes, &VolumeService::volumesChanged, this, &MainWindow::followMounts);
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
    connect(cmd_drucken, &QPushButton::clicked, this, &MainWindow::cmd_drucken_Click);
    connect(cmd_save, &QPushButton::clicked, this, &MainWindow::cmd_save_Click);
    setAcceptDrops(true);

    Form_Load();
}

MainWindow::~MainWindow() = default;

const EntrySource &MainWindow::fileList() const
{
    return File1->entries();
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!mCentred) {
        mCentred = true;
        centreOnScreen(*this);
    }
    // After the window is up, each in turn.
    if (std::exchange(mStartFolderUnreadable, false))
        QMetaObject::invokeMethod(this, &MainWindow::Dir1_UnreadableFolder, Qt::QueuedConnection);
    QMainWindow::showEvent(event);
    if (mDriveGonePending)
        QMetaObject::invokeMethod(this, &MainWindow::followMounts, Qt::QueuedConnection);
}

// Only the background is the text box's own: the rest of its palette, the
// text colour too, follows the application's, also when the colour scheme
// changes while the program runs.
void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        setTextBoxColour(mTextBoxColour);
    QMainWindow::changeEvent(event);
}

void MainWindow::setTextBoxColour(quint32 colour)
{
    mTextBoxColour = colour;
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, systemColour(colour, group));
    txt_eigene->setPalette(palette);
}

void MainWindow::opt_alle_Click()
{
    setTextBoxColour(SystemColourInactiveBorder);
    txt_eigene->setEnabled(false);
    File1->setPattern(QStringLiteral("*.*"));
    requestFiles();
}

void MainWindow::opt_mp3_Click()
{
    setTextBoxColour(SystemColourInactiveBorder);
    txt_eigene->setEnabled(false);
    File1->setPattern(QStringLiteral("*.mp3"));
    requestFiles();
}

void MainWindow::opt_eigene_Click()
{
    setTextBoxColour(SystemColourCaptionText);
    txt_eigene->setEnabled(true);
    File1->setPattern(QStringLiteral("*.") + txt_eigene->text());
    requestFiles(); // also where the pattern stays
}

void MainWindow::txt_eigene_KeyUp(int keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(keyCode)
    Q_UNUSED(shift)
    File1->setPattern(QStringLiteral("*.") + txt_eigene->text());
    requestFiles(); // also where the pattern stays
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
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
    if (!File1->entries().isRead()) {
        Dir1_UnreadableFolder();
        return false;
    }
    return true;
}

void MainWindow::cmd_drucken_Click()
{
    if (!readyForOutput(&MainWindow::cmd_drucken_Click))
        return;
    hideWindow();
    auto *dialog = new PrintSettingsDialog(*this, File1->entries());
    dialog->showWindow();
}

void MainWindow::cmd_save_Click()
{
    if (!readyForOutput(&MainWindow::cmd_save_Click))
        return;
    hideWindow();
    auto *dialog = new SaveSettingsDialog(*this, File1->entries());
    dialog->showWindow();
}

} // namespace Lirabel

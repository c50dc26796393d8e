// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/qt/qtplatform.h"

#include "platform/files/deadlinecall.h"
#include "platform/files/handover.h"
#include "platform/qt/widgetwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

// Qt's own way of giving a key to the shortcuts first, as a key from the
// window system gets it; Qt Test uses it too.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text = QString(), bool autorep = false, ushort count = 1);
QT_END_NAMESPACE

namespace Lirabel {

int QtMessageBox::critical(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, windowOnTop());
    box.exec();
    return ButtonOk;
}

bool QtMessageBox::question(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, windowOnTop());
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtProgram::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

namespace {

// At once: no close events, no unload handlers, no destructors. A thread
// stuck in a call on a FUSE mount outlives the others until that mount
// answers, and with it the connection to the window system; so the windows
// are taken off the screen first.
[[noreturn]] void endAtOnce(int exitCode)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            window->hide();
        QGuiApplication::sync();
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace

void QtProgram::endProgram()
{
    endAtOnce(0);
}

int leaveProgram(int exitCode)
{
    if (busyWorkers() > 0)
        endAtOnce(exitCode);
    return exitCode;
}

namespace {

// The windows open when a wait starts keep their input back; a window opened
// during the wait, a message box say, takes it.
std::function<bool(QObject *)> heldBackNow()
{
    QSet<const QObject *> open;
    for (QWindow *window : QGuiApplication::topLevelWindows())
        open.insert(window);
    for (QWidget *widget : QApplication::topLevelWidgets())
        open.insert(widget);
    return [open](QObject *receiver) {
        if (receiver->isWidgetType())
            return open.contains(static_cast<QWidget *>(receiver)->window());
        if (receiver->isWindowType()) {
            const QWindow *window = static_cast<QWindow *>(receiver);
            while (window->parent())
                window = window->parent();
            return open.contains(window);
        }
        return true;
    };
}

// A held key reaches the shortcuts and mnemonics first, then its receiver; a
// held shortcut its action or button.
void replayKey(QObject *receiver, std::unique_ptr<QEvent> event)
{
    QMetaObject::invokeMethod(
        receiver,
        [receiver = QPointer<QObject>(receiver), event = std::shared_ptr<QEvent>(std::move(event))] {
            if (!receiver)
                return;
            if (event->type() == QEvent::Shortcut) {
                QCoreApplication::sendEvent(receiver, event.get());
                return;
            }
            auto *key = static_cast<QKeyEvent *>(event.get());
            if (key->type() == QEvent::KeyPress
                && qt_sendShortcutOverrideEvent(receiver, key->timestamp(), key->key(), key->modifiers(), key->text(),
                                                key->isAutoRepeat(), key->count()))
                return;
            QCoreApplication::sendEvent(receiver, key);
        },
        Qt::QueuedConnection);
}

} // namespace

void installWaitInputRules()
{
    setInputRules({heldBackNow, replayKey});
}

QtPlatform::QtPlatform()
    : mPrevious(platform())
{
    dialogs.setPrinter(&printer);
    installPlatform({&messageBox, &program, &volumes, &dialogs, &printer, &textFiles});
    installWaitInputRules();
}

QtPlatform::~QtPlatform()
{
    setInputRules({});
    installPlatform(mPrevious);
}

} // namespace Lirabel

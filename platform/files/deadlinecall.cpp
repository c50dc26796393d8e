// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/deadlinecall.h"

#include "platform/files/handover.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace Lirabel {

namespace {

// A wait this short is not seen; most calls answer within it, and the
// caller goes on as if the call had run on its own thread.
constexpr std::chrono::milliseconds Moment{100};

// How the wait's event loop ends; anything else is the application quitting.
constexpr int Answered = 0x4c01;
constexpr int TimedOut = 0x4c02;

int gWaiting = 0; // on the user-interface thread only

struct Call
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    QEventLoop *waiter = nullptr; // while the caller waits with its events running
};

InputRules &inputRules()
{
    static InputRules rules;
    return rules;
}

struct SettledAction
{
    QPointer<QObject> context;
    std::function<void()> action;
};

// Put off while a call was pending; on the user-interface thread only.
std::vector<SettledAction> &settledActions()
{
    static std::vector<SettledAction> actions;
    return actions;
}

// Counts a wait for as long as it lasts, however it ends. When the last wait
// ends, what was put off meanwhile is queued in order behind the handler
// that waited.
class WaitScope
{
public:
    WaitScope() { ++gWaiting; }
    ~WaitScope()
    {
        if (--gWaiting > 0)
            return;
        // Each checks again when it runs: the handler may have started another wait.
        std::vector<SettledAction> actions = std::exchange(settledActions(), {});
        for (SettledAction &settled : actions) {
            if (QObject *context = settled.context)
                whenSettled(context, std::move(settled.action));
        }
    }
    WaitScope(const WaitScope &) = delete;
    WaitScope &operator=(const WaitScope &) = delete;
};

// Holds back the user's input to the windows that were open when a call
// started, so that nothing new starts in the middle of the handler that
// waits. Clicks, wheel turns and drops are dropped; keys are handed on in
// order once the wait is over, so no character or shortcut typed meanwhile
// is lost. Painting, timers, the close box and windows opened during the
// wait go on.
class InputBlocker : public QObject
{
public:
    InputBlocker()
        : mHeldBack(inputRules().heldBack ? inputRules().heldBack() : std::function<bool(QObject *)>())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputBlocker() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto &[receiver, event] : mKeys) {
            if (!receiver)
                continue;
            if (inputRules().replayKey)
                inputRules().replayKey(receiver, std::move(event));
            else
                QCoreApplication::postEvent(receiver, event.release());
        }
    }
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!isInput(event->type()) || (mHeldBack && !mHeldBack(watched)))
            return QObject::eventFilter(watched, event);
        // A shortcut is a key the shortcut map has already matched.
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease
            || event->type() == QEvent::Shortcut)
            mKeys.emplace_back(watched, event->clone());
        return true;
    }

private:
    static bool isInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

    const std::function<bool(QObject *)> mHeldBack;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> mKeys;
};

// Clears the worker's way to the caller's loop before the loop goes away,
// however the wait ends.
class WaiterScope
{
public:
    WaiterScope(Call &call, QEventLoop &loop)
        : mCall(call)
    {
        const std::lock_guard lock(mCall.mutex);
        mCall.waiter = &loop;
        // The worker may have finished before it could see the loop.
        if (mCall.done)
            QMetaObject::invokeMethod(
                &loop, [&loop] { loop.exit(Answered); }, Qt::QueuedConnection);
    }
    ~WaiterScope()
    {
        const std::lock_guard lock(mCall.mutex);
        mCall.waiter = nullptr;
    }
    WaiterScope(const WaiterScope &) = delete;
    WaiterScope &operator=(const WaiterScope &) = delete;

private:
    Call &mCall;
};

} // namespace

int leaveWithoutWindow(int exitCode)
{
    if (busyWorkers() == 0)
        return exitCode;
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(Q_OS_UNIX)
    ::close(STDOUT_FILENO);
    ::close(STDERR_FILENO);
#endif
    std::_Exit(exitCode);
}

bool waitingForWorker()
{
    return gWaiting > 0;
}

void whenSettled(QObject *context, std::function<void()> action)
{
    QMetaObject::invokeMethod(
        context,
        [context, action = std::move(action)]() mutable {
            if (waitingForWorker())
                settledActions().push_back({context, std::move(action)});
            else
                action();
        },
        Qt::QueuedConnection);
}

void setInputRules(InputRules rules)
{
    inputRules() = std::move(rules);
}

bool runWithDeadline(const QString &path, std::function<void()> work, std::chrono::milliseconds deadline)
{
    const auto started = std::chrono::steady_clock::now();
    const auto call = std::make_shared<Call>();
    Handover handover = Handover::start(mountOf(path), [call, work = std::move(work)] {
        work();
        const std::lock_guard lock(call->mutex);
        call->done = true;
        call->finished.notify_all();
        // The waiter clears this under the lock before its loop goes away.
        if (QEventLoop *loop = call->waiter)
            QMetaObject::invokeMethod(
                loop, [loop] { loop->exit(Answered); }, Qt::QueuedConnection);
    });
    if (!handover.started())
        return false;
    // However the wait ends, a call that has not finished is given up on.
    const auto givingUp = qScopeGuard([&handover, &call] {
        const std::lock_guard lock(call->mutex);
        if (!call->done)
            handover.giveUp();
    });

    std::unique_lock lock(call->mutex);
    const auto done = [&call] { return call->done; };
    if (call->finished.wait_for(lock, std::min(deadline, Moment), done))
        return true;
    const QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return call->finished.wait_until(lock, started + deadline, done);

    lock.unlock();
    QEventLoop loop;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(started + deadline - std::chrono::steady_clock::now());
    QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), &loop, [&loop] { loop.exit(TimedOut); });
    int how = 0;
    {
        const WaitScope waiting;
        const WaiterScope waiter(*call, loop);
        const InputBlocker blocker;
        how = loop.exec();
    }
    lock.lock();
    const bool answered = call->done;
    lock.unlock();

    if (how != Answered && how != TimedOut) {
        // The window was closed while the call hung. Nothing may wait for its
        // thread, and the handler that asked must not go on with a closed window.
        if (ProgramService *program = platform().program)
            program->endProgram();
    }
    return answered;
}

} // namespace Lirabel

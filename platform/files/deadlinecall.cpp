#include "platform/files/deadlinecall.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace Lirabel {

namespace {

// A wait this short is not seen; most calls answer within it, and the
// caller goes on as if the call had run on its own thread.
constexpr std::chrono::milliseconds Moment{100};

// How the wait's event loop ends; anything else is the application quitting.
constexpr int Answered = 0x4c01;
constexpr int TimedOut = 0x4c02;

std::atomic<int> gRunning{0};
int gWaiting = 0; // on the user-interface thread only

struct Call
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    QEventLoop *waiter = nullptr; // while the caller waits with its events running
};

// Holds back the user's input while a call is pending, so that nothing new
// starts in the middle of the handler that waits. Clicks, wheel turns and
// drops are dropped; keys are handed on in order once the wait is over, so no
// character typed meanwhile is lost. Painting, timers and the close box are
// no input and go on.
class InputBlocker : public QObject
{
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto &[receiver, event] : mKeys) {
            if (receiver)
                QCoreApplication::postEvent(receiver, event.release());
        }
    }
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            mKeys.emplace_back(watched, event->clone());
            return true;
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
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> mKeys;
};

} // namespace

bool runDetached(std::function<void()> work)
{
    ++gRunning;
    try {
        std::thread([work = std::move(work)] {
            try {
                work();
            } catch (...) {
                // A failed call gives no result; the thread must not take the program down.
            }
            --gRunning;
        }).detach();
    } catch (const std::system_error &) {
        --gRunning;
        return false;
    }
    return true;
}

int runningWorkers()
{
    return gRunning;
}

bool waitingForWorker()
{
    return gWaiting > 0;
}

bool runWithDeadline(std::function<void()> work, std::chrono::milliseconds deadline)
{
    const auto started = std::chrono::steady_clock::now();
    const auto call = std::make_shared<Call>();
    const bool running = runDetached([call, work = std::move(work)] {
        work();
        const std::lock_guard lock(call->mutex);
        call->done = true;
        call->finished.notify_all();
        // The waiter clears this under the lock before its loop goes away.
        if (QEventLoop *loop = call->waiter)
            QMetaObject::invokeMethod(
                loop, [loop] { loop->exit(Answered); }, Qt::QueuedConnection);
    });
    if (!running)
        return false;

    std::unique_lock lock(call->mutex);
    const auto done = [&call] { return call->done; };
    if (call->finished.wait_for(lock, std::min(deadline, Moment), done))
        return true;
    const QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return call->finished.wait_until(lock, started + deadline, done);

    QEventLoop loop;
    call->waiter = &loop;
    lock.unlock();
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(started + deadline - std::chrono::steady_clock::now());
    QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), &loop, [&loop] { loop.exit(TimedOut); });
    int how = 0;
    {
        const InputBlocker blocker;
        ++gWaiting;
        how = loop.exec();
        --gWaiting;
    }
    lock.lock();
    call->waiter = nullptr;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/handover.h"

#include "fs/drives.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace Lirabel {

enum class CallState { Queued, Running, Finished, LeftBehind, Failed };

struct HandedOverCall
{
    QString mount; // what it touches now
    std::function<void()> work;
    CallState state = CallState::Queued;
    size_t level = 0; // 0 when handed over from outside the workers, one more from within a call
    std::chrono::steady_clock::time_point queued;
    std::chrono::steady_clock::time_point began;
};

namespace {

// The threads of one depth of hand-over, and the calls queued for them.
struct Level
{
    std::condition_variable forWorker; // work queued, or a thread too many
    std::deque<std::shared_ptr<HandedOverCall>> queue;
    int threads = 0;    // started and not ended
    int idle = 0;       // waiting for work
    int leftBehind = 0; // threads in a call past its deadline
};

// Shared by every caller and worker. Never destroyed: a worker left behind
// may return after main() has.
struct Workers
{
    std::mutex mutex;
    std::condition_variable forWaiter; // a call finished or failed
    // A worker that waits for a call it handed over holds its thread all the
    // while; were that call queued for the same threads, a few such waits
    // would hold every one of them, and the calls they wait for would only
    // leave the queue at their deadline. So each depth of hand-over has
    // threads of its own, and the deepest never waits. A level is added when
    // calls first nest that deep and stays: its threads hold on to it.
    std::deque<Level> levels;
    int threads = 0;           // started and not ended, waiters' too
    int busy = 0;              // calls running, those left behind among them
    QHash<QString, int> stuck; // calls left behind, by mount
};

Workers &workers()
{
    static Workers *const shared = new Workers;
    return *shared;
}

// Most of the time no call waits for one inside it: the threads of the
// deeper levels end when idle this long.
constexpr std::chrono::milliseconds NestedIdle{1000};

thread_local HandedOverCall *tCurrent = nullptr;

// Threads that serve the level's queue: not idle, not left behind.
int serving(const Level &level)
{
    return level.threads - level.leftBehind;
}

void serve(size_t index)
{
    Workers &w = workers();
    std::unique_lock lock(w.mutex);
    Level &level = w.levels[index];
    for (;;) {
        if (serving(level) > SharedWorkers)
            break; // a thread left behind came back, and its place was taken
        if (level.queue.empty()) {
            ++level.idle;
            bool woken = true;
            if (index == 0)
                level.forWorker.wait(lock);
            else
                woken = level.forWorker.wait_for(lock, NestedIdle) == std::cv_status::no_timeout;
            --level.idle;
            if (!woken && level.queue.empty())
                break;
            continue;
        }
        const std::shared_ptr<HandedOverCall> call = std::move(level.queue.front());
        level.queue.pop_front();
        call->state = CallState::Running;
        call->began = std::chrono::steady_clock::now();
        ++w.busy;
        std::function<void()> work = std::move(call->work);
        lock.unlock();
        tCurrent = call.get();
        try {
            work();
        } catch (...) {
            // A failed call gives no result; the thread must not take the program down.
        }
        // Destroyed before the call counts as returned: what it holds may
        // hold what the program checks for at its end.
        work = nullptr;
        tCurrent = nullptr;
        lock.lock();
        --w.busy;
        if (call->state == CallState::LeftBehind) {
            --level.leftBehind;
            if (--w.stuck[call->mount] <= 0)
                w.stuck.remove(call->mount);
        } else {
            call->state = CallState::Finished;
        }
        w.forWaiter.notify_all();
    }
    --level.threads;
    --w.threads;
}

// A thread more for the level when its idle ones cannot take all it has
// queued and fewer than the shared number serve. Under the lock.
bool addThreadIfNeeded(Workers &w, size_t index)
{
    Level &level = w.levels[index];
    if (level.queue.size() <= size_t(level.idle) || serving(level) >= SharedWorkers)
        return true;
    try {
        std::thread(serve, index).detach();
    } catch (const std::system_error &) {
        return serving(level) > 0;
    }
    ++level.threads;
    ++w.threads;
    return true;
}

// A call that will not run. Under the lock.
void failed(HandedOverCall &call)
{
    call.state = CallState::Failed;
    call.work = nullptr;
}

// The call runs past its deadline: its mount is stuck, and what is queued
// for that mount fails at once. Under the lock.
void leaveBehind(Workers &w, HandedOverCall &call)
{
    call.state = CallState::LeftBehind;
    ++w.levels[call.level].leftBehind;
    ++w.stuck[call.mount];
    for (size_t index = 0; index < w.levels.size(); ++index) {
        std::erase_if(w.levels[index].queue, [&call](const std::shared_ptr<HandedOverCall> &queued) {
            if (queued->mount != call.mount)
                return false;
            failed(*queued);
            return true;
        });
        if (!w.levels[index].queue.empty())
            addThreadIfNeeded(w, index);
    }
    w.forWaiter.notify_all();
}

// A queued call taken out of the queue. Under the lock.
void drop(Workers &w, const std::shared_ptr<HandedOverCall> &call)
{
    failed(*call);
    std::deque<std::shared_ptr<HandedOverCall>> &queue = w.levels[call->level].queue;
    queue.erase(std::find(queue.begin(), queue.end(), call));
}

} // namespace

Handover Handover::start(const QString &mount, std::function<void()> work)
{
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    if (w.stuck.contains(mount))
        return {};
    auto call = std::make_shared<HandedOverCall>();
    call->mount = mount;
    call->work = std::move(work);
    call->level = tCurrent ? tCurrent->level + 1 : 0;
    call->queued = std::chrono::steady_clock::now();
    if (call->level == w.levels.size())
        w.levels.emplace_back();
    Level &level = w.levels[call->level];
    level.queue.push_back(call);
    if (!addThreadIfNeeded(w, call->level)) {
        level.queue.pop_back();
        return {};
    }
    level.forWorker.notify_one();
    Handover handover;
    handover.mCall = std::move(call);
    return handover;
}

bool Handover::wait(std::chrono::milliseconds deadline)
{
    if (!mCall)
        return false;
    Workers &w = workers();
    std::unique_lock lock(w.mutex);
    for (;;) {
        switch (mCall->state) {
        case CallState::Finished:
            return true;
        case CallState::Failed:
        case CallState::LeftBehind:
            return false;
        case CallState::Queued:
        case CallState::Running:
            break;
        }
        const bool queued = mCall->state == CallState::Queued;
        const auto until = (queued ? mCall->queued : mCall->began) + deadline;
        if (std::chrono::steady_clock::now() >= until) {
            if (queued) {
                // Every thread was busy with calls still within their deadline.
                drop(w, mCall);
            } else {
                leaveBehind(w, *mCall);
            }
            return false;
        }
        w.forWaiter.wait_until(lock, until);
    }
}

bool Handover::giveUp()
{
    if (!mCall)
        return false;
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    switch (mCall->state) {
    case CallState::Finished:
        return true;
    case CallState::Running:
        leaveBehind(w, *mCall);
        break;
    case CallState::Queued:
        drop(w, mCall);
        break;
    case CallState::Failed:
    case CallState::LeftBehind:
        break;
    }
    return false;
}

bool Handover::hasFailed() const
{
    if (!mCall)
        return true;
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    return mCall->state == CallState::Failed;
}

bool runWaiter(std::function<void()> work)
{
    Workers &w = workers();
    {
        const std::lock_guard lock(w.mutex);
        ++w.threads; // serves no level
        ++w.busy;
    }
    const auto ended = [&w] {
        const std::lock_guard lock(w.mutex);
        --w.threads;
        --w.busy;
    };
    try {
        std::thread([work = std::move(work), ended]() mutable {
            {
                const std::function<void()> job = std::move(work);
                try {
                    job();
                } catch (...) {
                    // The thread must not take the program down.
                }
            }
            ended();
        }).detach();
    } catch (const std::system_error &) {
        ended();
        return false;
    }
    return true;
}

bool nowTouching(const QString &mount)
{
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    // A call left behind keeps the mount it was left behind on: that mount
    // stays stuck until the call returns.
    if (!tCurrent || tCurrent->state == CallState::LeftBehind || w.stuck.contains(mount))
        return false;
    tCurrent->mount = mount;
    return true;
}

bool isStuck(const QString &mount)
{
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    return w.stuck.contains(mount);
}

int workerThreads()
{
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    return w.threads;
}

int busyWorkers()
{
    Workers &w = workers();
    const std::lock_guard lock(w.mutex);
    return w.busy;
}

namespace {

// Mount points, longest first, read again once they may have changed:
// reading the table touches no mount.
struct MountPoints
{
    std::mutex mutex;
    std::chrono::steady_clock::time_point read;
    QStringList points;
    QSet<QString> set;
    QStringList browsable; // as drivesOf lists them: no kernel file system
};

constexpr std::chrono::milliseconds MountTableAge{200};

// Under the table's lock.
MountPoints &mountPoints(std::unique_lock<std::mutex> &lock)
{
    static MountPoints *const table = new MountPoints;
    lock = std::unique_lock(table->mutex);
    const auto now = std::chrono::steady_clock::now();
    if (table->points.isEmpty() || now - table->read > MountTableAge) {
        QFile file(QStringLiteral("/proc/self/mountinfo"));
        table->points.clear();
        if (file.open(QIODevice::ReadOnly)) {
            table->browsable.clear();
            for (const MountEntry &mount : parseMountTable(file.readAll())) {
                table->points.append(QDir::cleanPath(mount.mountPoint));
                if (isBrowsable(mount))
                    table->browsable.append(QDir::cleanPath(mount.mountPoint));
            }
        }
        std::sort(table->points.begin(), table->points.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
        table->set = QSet<QString>(table->points.cbegin(), table->points.cend());
        table->read = now;
    }
    return *table;
}

} // namespace

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString mountOf(const QString &path)
{
    const QString absolute = absolutePath(path);
    std::unique_lock<std::mutex> lock;
    const MountPoints &table = mountPoints(lock);
    for (const QString &point : table.points) {
        if (isSameOrBelow(absolute, point))
            return point;
    }
    return QStringLiteral("/");
}

QStringList browsableMountPoints()
{
    std::unique_lock<std::mutex> lock;
    return mountPoints(lock).browsable;
}

bool isMountPoint(const QString &absolute)
{
    std::unique_lock<std::mutex> lock;
    return mountPoints(lock).set.contains(absolute);
}

} // namespace Lirabel

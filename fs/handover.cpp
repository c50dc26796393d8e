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
    std::chrono::steady_clock::time_point queued;
    std::chrono::steady_clock::time_point began;
};

namespace {

// Shared by every caller and worker. Never destroyed: a worker left behind
// may return after main() has.
struct Workers
{
    std::mutex mutex;
    std::condition_variable forWorker; // work queued, or a thread too many
    std::condition_variable forWaiter; // a call finished or failed
    std::deque<std::shared_ptr<HandedOverCall>> queue;
    int threads = 0;           // started and not ended
    int idle = 0;              // waiting for work
    int leftBehind = 0;        // threads in a call past its deadline
    int busy = 0;              // calls running, those left behind among them
    QHash<QString, int> stuck; // calls left behind, by mount
};

Workers &workers()
{
    static Workers *const shared = new Workers;
    return *shared;
}

thread_local HandedOverCall *tCurrent = nullptr;

// Threads that serve the queue: not idle, not left behind.
int serving(const Workers &w)
{
    return w.threads - w.leftBehind;
}

void serve()
{
    Workers &w = workers();
    std::unique_lock lock(w.mutex);
    for (;;) {
        if (serving(w) > SharedWorkers)
            break; // a thread left behind came back, and its place was taken
        if (w.queue.empty()) {
            ++w.idle;
            w.forWorker.wait(lock);
            --w.idle;
            continue;
        }
        const std::shared_ptr<HandedOverCall> call = std::move(w.queue.front());
        w.queue.pop_front();
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
            --w.leftBehind;
            if (--w.stuck[call->mount] <= 0)
                w.stuck.remove(call->mount);
        } else {
            call->state = CallState::Finished;
        }
        w.forWaiter.notify_all();
    }
    --w.threads;
}

// A thread more when none is idle and fewer than the shared number serve.
// Under the lock.
bool addThreadIfNeeded(Workers &w)
{
    if (w.idle > 0 || serving(w) >= SharedWorkers)
        return true;
    try {
        std::thread(serve).detach();
    } catch (const std::system_error &) {
        return serving(w) > 0;
    }
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
    ++w.leftBehind;
    ++w.stuck[call.mount];
    std::erase_if(w.queue, [&call](const std::shared_ptr<HandedOverCall> &queued) {
        if (queued->mount != call.mount)
            return false;
        failed(*queued);
        return true;
    });
    if (!w.queue.empty())
        addThreadIfNeeded(w);
    w.forWaiter.notify_all();
}

// A queued call taken out of the queue. Under the lock.
void drop(Workers &w, const std::shared_ptr<HandedOverCall> &call)
{
    failed(*call);
    w.queue.erase(std::find(w.queue.begin(), w.queue.end(), call));
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
    call->queued = std::chrono::steady_clock::now();
    w.queue.push_back(call);
    if (!addThreadIfNeeded(w)) {
        w.queue.pop_back();
        return {};
    }
    w.forWorker.notify_one();
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

bool runWaiter(std::function<void()> work)
{
    Workers &w = workers();
    {
        const std::lock_guard lock(w.mutex);
        ++w.threads;
        ++w.leftBehind; // serves no queue
        ++w.busy;
    }
    const auto ended = [&w] {
        const std::lock_guard lock(w.mutex);
        --w.threads;
        --w.leftBehind;
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

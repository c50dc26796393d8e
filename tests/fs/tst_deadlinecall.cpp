// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/deadlinecall.h"
#include "fs/handover.h"

#include <QTest>

#include <condition_variable>
#include <mutex>
#include <vector>

using namespace Lirabel;

namespace {

// Holds a worker as a mount that does not answer holds a file-system call.
struct Gate
{
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;

    void pass()
    {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    void openUp()
    {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

} // namespace

class TestDeadlineCall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answerInTime();
    void stuckMountCostsNoThread();
};

void TestDeadlineCall::answerInTime()
{
    QCOMPARE(callWithDeadline<int>(QStringLiteral("/"), [] { return 42; }), std::optional<int>(42));
}

// While a call on a mount is past its deadline, new calls on that mount fail
// at once without a thread, and calls queued for it fail too; other mounts
// go on, and the mount answers again once its call has returned.
void TestDeadlineCall::stuckMountCostsNoThread()
{
    const QString dead = QStringLiteral("/mnt/tot");
    const auto gate = std::make_shared<Gate>();
    std::vector<Handover> hung;
    for (int i = 0; i < SharedWorkers + 2; ++i)
        hung.push_back(Handover::start(dead, [gate] { gate->pass(); }));
    QVERIFY(!hung.front().wait(std::chrono::milliseconds(100)));
    QVERIFY(isStuck(dead));
    const int threads = workerThreads();
    for (Handover &call : hung)
        QCOMPARE(call.wait(std::chrono::milliseconds(100)), false);
    for (int i = 0; i < 10; ++i)
        QVERIFY(!Handover::start(dead, [] {}).started());
    QVERIFY(Handover::start(QStringLiteral("/"), [] {}).wait(std::chrono::milliseconds(1000)));
    QVERIFY(workerThreads() <= threads + 1);

    gate->openUp();
    QTRY_VERIFY(!isStuck(dead));
    QVERIFY(Handover::start(dead, [] {}).wait(std::chrono::milliseconds(1000)));
    QTRY_VERIFY(workerThreads() <= SharedWorkers);
}

QTEST_MAIN(TestDeadlineCall)
#include "tst_deadlinecall.moc"

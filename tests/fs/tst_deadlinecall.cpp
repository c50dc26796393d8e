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

// As the folder loader's job asks whether its folder is readable: each call
// waits for one it hands over itself, depth calls deep.
int nestedAnswer(int depth)
{
    if (depth == 0)
        return 42;
    return callWithDeadline<int>(QStringLiteral("/"), [depth] { return nestedAnswer(depth - 1); }).value_or(-1);
}

} // namespace

class TestDeadlineCall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answerInTime_data();
    void answerInTime();
    void stuckMountCostsNoThread();
};

void TestDeadlineCall::answerInTime_data()
{
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("depth");
    QTest::newRow("one call") << 1 << 0;
    QTest::newRow("16 calls, each waiting for one inside it") << 16 << 1;
    QTest::newRow("16 calls, two deep") << 16 << 2;
}

// A call that waits for one it handed over itself never waits for a thread
// it holds: all answer, none at its deadline.
void TestDeadlineCall::answerInTime()
{
    QFETCH(int, calls);
    QFETCH(int, depth);
    const auto answers = std::make_shared<std::vector<std::optional<int>>>(calls);
    std::vector<Handover> outer;
    for (int i = 0; i < calls; ++i)
        outer.push_back(Handover::start(mountOf(QStringLiteral("/")),
                                        [answers, i, depth] { (*answers)[i] = nestedAnswer(depth); }));
    for (Handover &call : outer)
        QVERIFY(call.wait(FileSystemDeadline));
    QCOMPARE(*answers, std::vector<std::optional<int>>(calls, 42));
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

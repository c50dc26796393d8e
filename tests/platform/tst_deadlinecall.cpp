// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/deadlinecall.h"
#include "platform/files/handover.h"
#include "platform/qt/qtplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>

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
    void initTestCase() { installWaitInputRules(); }
    void answerInTime();
    void hungCallIsLeftBehind();
    void boxOpenedWhileHungIsAnswered();
    void stuckMountCostsNoThread();
};

void TestDeadlineCall::answerInTime()
{
    QCOMPARE(callWithDeadline<int>(QStringLiteral("/"), [] { return 42; }), std::optional<int>(42));
}

// While the call hangs, timers run, a click is dropped and typed keys and
// shortcuts wait; at the deadline the caller goes on without its thread,
// which ends whenever it can, and the keys and the shortcut arrive.
void TestDeadlineCall::hungCallIsLeftBehind()
{
    QPushButton button(QStringLiteral("&Drucken"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTimer ticker;
    QSignalSpy ticks(&ticker, &QTimer::timeout);
    ticker.start(20);
    QLineEdit edit;
    QTimer::singleShot(50, &button, [&button, &edit] {
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClicks(&edit, QStringLiteral("mp3"));
        QTest::keyClick(&button, Qt::Key_D, Qt::AltModifier);
    });
    const auto gate = std::make_shared<Gate>();
    const int before = busyWorkers();

    const std::optional<int> answer = callWithDeadline<int>(
        QStringLiteral("/"),
        [gate] {
            gate->pass();
            return 1;
        },
        std::chrono::milliseconds(400));
    QCOMPARE(answer, std::nullopt);
    QVERIFY(ticks.count() > 0);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(edit.text(), QString());
    QCOMPARE(busyWorkers(), before + 1);
    QTRY_COMPARE(edit.text(), QStringLiteral("mp3"));
    QTRY_COMPARE(clicked.count(), 1);

    gate->openUp();
    QTRY_COMPARE(busyWorkers(), before);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
}

// A message box that opens while a call is pending takes its keys, so it can
// be answered, and the wait goes on to its end.
void TestDeadlineCall::boxOpenedWhileHungIsAnswered()
{
    QtMessageBox boxes;
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QElapsedTimer clock;
    clock.start();
    qint64 answeredAt = -1;
    QTimer::singleShot(50, &window, [&boxes, &clock, &answeredAt] {
        [[maybe_unused]] const int button =
            boxes.critical(QStringLiteral("Laufwerk nicht bereit !"), QStringLiteral("Laufwerksfehler"));
        answeredAt = clock.elapsed();
    });
    QTimer::singleShot(300, &window, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    // Where the box takes no keys, it is closed here, so the test ends.
    QTimer::singleShot(1500, &window, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    const auto gate = std::make_shared<Gate>();
    QVERIFY(!runWithDeadline(
        QStringLiteral("/"), [gate] { gate->pass(); }, std::chrono::milliseconds(2000)));
    gate->openUp();
    QVERIFY2(answeredAt >= 0 && answeredAt < 1500, qPrintable(QString::number(answeredAt)));
}

QTEST_MAIN(TestDeadlineCall)
#include "tst_deadlinecall.moc"

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
    QVERIFY(handOver(
        QStringLiteral("/"), [] {}, std::chrono::milliseconds(1000)));
    QVERIFY(workerThreads() <= threads + 1);

    gate->openUp();
    QTRY_VERIFY(!isStuck(dead));
    QVERIFY(handOver(
        dead, [] {}, std::chrono::milliseconds(1000)));
    QTRY_VERIFY(workerThreads() <= SharedWorkers);
}

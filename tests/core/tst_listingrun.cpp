// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/entryformat.h"
#include "core/lirabelerror.h"
#include "core/listingrun.h"
#include "standins.h"
#include "testsupport.h"

#include <QTest>

using namespace Lirabel;

namespace {

// Records the listing as the text a file would hold: "" stands for a blank line.
class RecordingTarget : public LineTarget
{
public:
    QStringList lines;
    int finished = 0;
    void writeLine(const QString &text) override { lines.append(text); }
    void writeBlankLine() override { lines.append(QString()); }
    void finish() override { ++finished; }
};

QStringList names(int n)
{
    QStringList list;
    for (int i = 1; i <= n; ++i)
        list.append(QStringLiteral("e%1").arg(i));
    return list;
}

RunSettings withSpacing(const QString &text)
{
    RunSettings settings;
    settings.blankLines = true;
    settings.readSpacing = [text](RunState &run) { readSaveSpacing(run, text); };
    return settings;
}

// A run on a state of its own, as the targets start one.
void runFresh(const RunSettings &settings, const EntrySource &source, LineTarget &target)
{
    RunState run;
    runListing(run, settings, source, target);
}

} // namespace

class TestListingRun : public QObject
{
    Q_OBJECT

private slots:
    void emptyList();
    void spacing_data();
    void spacing();
    void runWithoutSpacingAfterOneWithIt();
    void leftOverStateChangesNothing();
    void bothOptions();
    void badSpacingLeavesWithoutFinish();
    void limit_data();
    void limit();
    void runRefusesTooManyEvenWithoutCheck();
};

void TestListingRun::emptyList()
{
    ListSource source({});
    RecordingTarget target;
    runFresh(withSpacing(QStringLiteral("1")), source, target);
    QVERIFY(target.lines.isEmpty());
    QCOMPARE(target.finished, 1);
}

void TestListingRun::spacing_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("spacingText");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("every entry") << 3 << "1" << QStringList{"e1", "", "e2", "", "e3", ""};
    QTest::newRow("3 with 7") << 7 << "3" << QStringList{"e1", "e2", "e3", "", "e4", "e5", "e6", "", "e7"};
    QTest::newRow("3 with 6") << 6 << "3" << QStringList{"e1", "e2", "e3", "", "e4", "e5", "e6", ""};
    QTest::newRow("more than entries") << 3 << "5" << QStringList{"e1", "e2", "e3"};
    QTest::newRow("zero") << 3 << "0" << QStringList{"e1", "e2", "e3"};
    QTest::newRow("negative") << 3 << "-4" << QStringList{"e1", "e2", "e3"};
    QTest::newRow("two and a half") << 5 << "2,5" << QStringList{"e1", "e2", "", "e3", "e4", "", "e5"};
}

void TestListingRun::spacing()
{
    QFETCH(int, entries);
    QFETCH(QString, spacingText);
    QFETCH(QStringList, expected);
    ListSource source(names(entries));
    RecordingTarget target;
    runFresh(withSpacing(spacingText), source, target);
    QCOMPARE(target.lines, expected);
    QCOMPARE(target.finished, 1);
}

void TestListingRun::runWithoutSpacingAfterOneWithIt()
{
    ListSource source(names(4));
    RecordingTarget first;
    RunState run;
    runListing(run, withSpacing(QStringLiteral("2")), source, first);
    QCOMPARE(first.lines, QStringList({"e1", "e2", "", "e3", "e4", ""}));

    RunSettings plain;
    plain.readSpacing = [](RunState &) { QFAIL("the spacing must not be read when blank lines are off"); };
    RecordingTarget second;
    runListing(run, plain, source, second);
    QCOMPARE(second.lines, QStringList({"e1", "e2", "e3", "e4"}));
    QCOMPARE(run.spacingInterval, 0);
}

void TestListingRun::leftOverStateChangesNothing()
{
    ListSource source(names(3));
    RunState run{77, 2, 5, QStringLiteral("alt")};
    RecordingTarget target;
    runListing(run, withSpacing(QStringLiteral("2")), source, target);
    QCOMPARE(target.lines, QStringList({"e1", "e2", "", "e3"}));
}

void TestListingRun::bothOptions()
{
    QStringList list = names(11);
    list.append(QStringLiteral("lied.mp3"));
    list.append(QStringLiteral("a.b"));
    ListSource source(list);
    RunSettings settings;
    settings.stripExtensions = true;
    settings.numberEntries = true;
    RecordingTarget target;
    runFresh(settings, source, target);
    QCOMPARE(target.lines.size(), 13);
    QCOMPARE(target.lines.at(0), QStringLiteral("001.) e1"));
    QCOMPARE(target.lines.at(11), QStringLiteral("012.) lied"));
    QCOMPARE(target.lines.at(12), QStringLiteral("013.) a.b"));
}

void TestListingRun::badSpacingLeavesWithoutFinish()
{
    ListSource source(names(3));
    RecordingTarget target;
    QVERIFY_THROWS_EXCEPTION(LirabelError, runFresh(withSpacing(QStringLiteral("drei")), source, target));
    QVERIFY(target.lines.isEmpty());
    QCOMPARE(target.finished, 0);
}

void TestListingRun::limit_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("refused");
    QTest::newRow("9999 pass") << 9999 << false;
    QTest::newRow("10000 refused") << 10000 << true;
    // A 16-bit count would wrap to a negative number and list nothing.
    QTest::newRow("40000 refused") << 40000 << true;
    QTest::newRow("65536 refused") << 65536 << true;
}

void TestListingRun::limit()
{
    QFETCH(int, count);
    QFETCH(bool, refused);
    StandInPlatform stand;
    CountingSource source(count);
    RecordingTarget target;
    try {
        checkEntryLimit(source);
        RunSettings settings;
        settings.numberEntries = true;
        runFresh(settings, source, target);
    } catch (const ProgramEnded &) {
    }
    if (refused) {
        QCOMPARE(stand.messageBox.shown.size(), 1);
        QCOMPARE(stand.messageBox.shown.at(0).kind, QStringLiteral("critical"));
        QCOMPARE(stand.messageBox.shown.at(0).text,
                 QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"));
        QCOMPARE(stand.messageBox.shown.at(0).title, QStringLiteral("Zu viele Files !"));
        QCOMPARE(stand.program.endRequests, 1);
        QVERIFY(target.lines.isEmpty());
        QCOMPARE(target.finished, 0);
    } else {
        QVERIFY(stand.messageBox.shown.isEmpty());
        QCOMPARE(stand.program.endRequests, 0);
        QCOMPARE(target.lines.size(), count);
        QCOMPARE(target.lines.last(), QStringLiteral("9999.) f9999.txt"));
        QCOMPARE(target.finished, 1);
    }
}

void TestListingRun::runRefusesTooManyEvenWithoutCheck()
{
    CountingSource source(40000);
    RecordingTarget target;
    QVERIFY_THROWS_EXCEPTION(LirabelError, runFresh(RunSettings{}, source, target));
    QVERIFY(target.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestListingRun)
#include "tst_listingrun.moc"

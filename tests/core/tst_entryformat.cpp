// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/entryformat.h"
#include "core/lirabelerror.h"
#include "core/listingrun.h"

#include <QTest>

using namespace Lirabel;

class TestEntryFormat : public QObject
{
    Q_OBJECT

private slots:
    void numberEntry_data();
    void numberEntry();
    void stripExtension_data();
    void stripExtension();
    void stripThenNumber();
    void spacingFromText_data();
    void spacingFromText();
    void failingReaderKeepsSpacing_data();
    void failingReaderKeepsSpacing();
};

void TestEntryFormat::numberEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1") << "lied.mp3" << 1 << "001.) lied.mp3";
    QTest::newRow("9") << "x" << 9 << "009.) x";
    QTest::newRow("10") << "lied.mp3" << 10 << "010.) lied.mp3";
    QTest::newRow("99") << "x" << 99 << "099.) x";
    QTest::newRow("100") << "lied.mp3" << 100 << "100.) lied.mp3";
    QTest::newRow("999") << "x" << 999 << "999.) x";
    QTest::newRow("1000") << "lied.mp3" << 1000 << "1000.) lied.mp3";
    QTest::newRow("9999") << "x" << 9999 << "9999.) x";
    QTest::newRow("empty entry") << "" << 1 << "001.) ";
}

void TestEntryFormat::numberEntry()
{
    QFETCH(QString, entry);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(numberedEntry(entry, index), expected);
    QCOMPARE(numberPrefix(index), expected.left(expected.indexOf(QLatin1String(".) ")) + 3));
}

void TestEntryFormat::stripExtension_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("dotPosition");
    QTest::newRow("no dot") << "abc" << "abc" << 0;
    QTest::newRow("dot at 1") << ".x" << ".x" << 1;
    QTest::newRow("dot at 2") << "a.b" << "a.b" << 2;
    QTest::newRow("dot at 3") << "ab.c" << "ab" << 3;
    QTest::newRow("trailing dot") << "ab." << "ab" << 3;
    QTest::newRow("mp3") << "lied.mp3" << "lied" << 5;
    QTest::newRow("last dot only") << "name.tar.gz" << "name.tar" << 9;
    QTest::newRow("empty") << "" << "" << 0;
    QTest::newRow("umlaut, dot at 2") << QString::fromUtf8("Ä.b") << QString::fromUtf8("Ä.b") << 2;
    // One emoji is one character, though two UTF-16 units.
    QTest::newRow("emoji, dot at 2") << QString::fromUtf8("😀.b") << QString::fromUtf8("😀.b") << 2;
    QTest::newRow("two emoji, dot at 3") << QString::fromUtf8("😀😀.b") << QString::fromUtf8("😀😀") << 3;
    QTest::newRow("emoji after dot") << QString::fromUtf8("ab.😀") << "ab" << 3;
    QTest::newRow("dots only") << "..." << ".." << 3;
    // clang-format on
}

void TestEntryFormat::stripExtension()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    QFETCH(int, dotPosition);
    QCOMPARE(withoutExtension(entry), expected);
    QCOMPARE(lastDotPosition(entry), dotPosition);
}

void TestEntryFormat::stripThenNumber()
{
    QCOMPARE(numberedEntry(withoutExtension(QStringLiteral("lied.mp3")), 12), QStringLiteral("012.) lied"));
}

void TestEntryFormat::spacingFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("initial 0") << "0" << true << 0;
    QTest::newRow("3") << "3" << true << 3;
    QTest::newRow("negative") << "-2" << true << 0;
    QTest::newRow("plus sign") << "+7" << true << 7;
    QTest::newRow("blanks around") << "  12 " << true << 12;
    QTest::newRow("tab around") << "\t5\t" << true << 5;
    QTest::newRow("comma half to even down") << "2,5" << true << 2;
    QTest::newRow("point half to even down") << "2.5" << true << 2;
    QTest::newRow("half to even up") << "3,5" << true << 4;
    QTest::newRow("just over half") << "2,5000000001" << true << 3;
    QTest::newRow("below half") << "2,49999" << true << 2;
    QTest::newRow("half of zero") << "0,5" << true << 0;
    QTest::newRow("fraction only") << ",7" << true << 1;
    QTest::newRow("trailing separator") << "4," << true << 4;
    QTest::newRow("leading zeros") << "0000000000000000000042" << true << 42;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("max, fraction below half") << "2147483647,4999999999" << true << 2147483647;
    QTest::newRow("rounds to max") << "2147483646,5000001" << true << 2147483647;
    QTest::newRow("max plus half") << "2147483647,5" << false << 0;
    QTest::newRow("max plus one") << "2147483648" << false << 0;
    QTest::newRow("eleven digits") << "10000000000" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("min") << "-2147483648" << true << 0;
    QTest::newRow("min, half to even stays") << "-2147483648,5" << true << 0;
    QTest::newRow("below min") << "-2147483649" << false << 0;
    QTest::newRow("small negative fraction") << "-0,4" << true << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("number then letters") << "3a" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("separator only") << "," << false << 0;
    QTest::newRow("two separators") << "1,2,3" << false << 0;
    QTest::newRow("thousands separator") << "1.000,5" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("blank inside") << "1 0" << false << 0;
    QTest::newRow("two signs") << "--1" << false << 0;
    QTest::newRow("blank after sign") << "- 1" << false << 0;
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("\u0663") << false << 0;
}

void TestEntryFormat::spacingFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto result = Lirabel::spacingFromText(text);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
}

void TestEntryFormat::failingReaderKeepsSpacing_data()
{
    QTest::addColumn<bool>("printReader");
    QTest::newRow("print") << true;
    QTest::newRow("save") << false;
}

void TestEntryFormat::failingReaderKeepsSpacing()
{
    QFETCH(bool, printReader);
    const auto read = printReader ? &readPrintSpacing : &readSaveSpacing;
    RunState run;
    read(run, QStringLiteral("3"));
    QCOMPARE(run.spacingInterval, 3);
    for (const char *bad : {"", "abc", "2147483648"})
        QVERIFY_THROWS_EXCEPTION(LirabelError, read(run, QString::fromLatin1(bad)));
    QCOMPARE(run.spacingInterval, 3);
    read(run, QStringLiteral("-2"));
    QCOMPARE(run.spacingInterval, 0);
}

QTEST_GUILESS_MAIN(TestEntryFormat)
#include "tst_entryformat.moc"

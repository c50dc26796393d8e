// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/bytenames.h"
#include "core/wildcard.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Lirabel;

class TestWildcard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void pathologicalPatternReturns();
};

void TestWildcard::matching_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    // "*.*" and "*" take every name, with or without a dot.
    QTest::newRow("*.* with extension") << "*.*" << "lied.mp3" << true;
    QTest::newRow("*.* without dot") << "*.*" << "README" << true;
    QTest::newRow("*.* several dots") << "*.*" << "a.b.c" << true;
    QTest::newRow("* without dot") << "*" << "Makefile" << true;
    QTest::newRow("**.** like *.*") << "**.**" << "Makefile" << true;

    // Case-insensitive over the whole name.
    QTest::newRow("*.mp3 upper") << "*.mp3" << "LIED.MP3" << true;
    QTest::newRow("*.MP3 lower") << "*.MP3" << "lied.mp3" << true;
    QTest::newRow("umlaut case") << "ÄPFEL.*" << "äpfel.txt" << true;
    QTest::newRow("*.mp3 other") << "*.mp3" << "lied.mp4" << false;
    QTest::newRow("*.mp3 longer extension") << "*.mp3" << "lied.mp3.bak" << false;
    QTest::newRow("*.mp3 without dot") << "*.mp3" << "mp3" << false;
    QTest::newRow("whole name, not a part") << "lied" << "lied.mp3" << false;

    // "*" crosses dots; "?" is one character but a dot, or nothing at a dot
    // or at the end of the name.
    QTest::newRow("star crosses dots") << "a*z" << "a.b.z" << true;
    QTest::newRow("? one") << "?.txt" << "a.txt" << true;
    QTest::newRow("? nothing at a leading dot") << "?.txt" << ".txt" << true;
    QTest::newRow("? not two") << "?.txt" << "ab.txt" << false;
    QTest::newRow("? nothing before a dot") << "lied?.mp3" << "lied.mp3" << true;
    QTest::newRow("? nothing at the end") << "lied.mp?" << "lied.mp" << true;
    QTest::newRow("? not a dot") << "a?b" << "a.b" << false;
    QTest::newRow("? is one emoji") << "?.txt" << QStringLiteral("\U0001F600.txt") << true;
    QTest::newRow("?? one emoji, then nothing") << "??.txt" << QStringLiteral("\U0001F600.txt") << true;
    QTest::newRow("two raw bytes are two") << "f?.mp3" << nameFromBytes("f\xfc\xe4.mp3") << false;
    QTest::newRow("*.mp? typed mp3") << "*.mp?" << "lied.mp3" << true;
    QTest::newRow("*.mp? ends in .mp") << "*.mp?" << "lied.mp" << true;
    QTest::newRow("??. one character") << "??." << "a" << true;
    QTest::newRow("??. three characters") << "??." << "abc" << false;

    // A "." before "?" or "*", or at the end, is a dot or the name's end.
    QTest::newRow("?.??. bare") << "?.??." << "a" << true;
    QTest::newRow("?.??. short extension") << "?.??." << "a.a" << true;
    QTest::newRow("?.??. longer extension") << "?.??." << "a.bc" << true;

    // "*." at the end: names without a dot only. A "*" before "." does not
    // take the name's last dot.
    QTest::newRow("*. no dot") << "*." << "Makefile" << true;
    QTest::newRow("*. with dot") << "*." << "a.txt" << false;
    QTest::newRow("*. trailing dot") << "*." << "name." << false;
    QTest::newRow("abc. exact") << "abc." << "ABC" << true;
    QTest::newRow("abc. other") << "abc." << "abcd" << false;
    QTest::newRow("a*. no dot") << "a*." << "Anna" << true;
    QTest::newRow("a*. with dot") << "a*." << "a.b" << false;
    QTest::newRow("*.? one character") << "*.?" << "a.b" << true;
    QTest::newRow("*.? no dot") << "*.?" << "Makefile" << true;
    QTest::newRow("*.? two characters") << "*.?" << "a.bc" << false;
    QTest::newRow("**. takes dots") << "**." << "a.txt" << true;

    // "x.*" : also the name "x" alone.
    QTest::newRow("x.* bare") << "lied.*" << "lied" << true;
    QTest::newRow("x.* extension") << "lied.*" << "lied.mp3" << true;
    QTest::newRow("x.* other") << "lied.*" << "lieder" << false;

    // The endings combine.
    QTest::newRow("*.*. no dot") << "*.*." << "Makefile" << true;
    QTest::newRow("*.*. with dot") << "*.*." << "a.txt" << true;
    QTest::newRow("*.. no dot") << "*.." << "Makefile" << true;
    QTest::newRow("*.. with dot") << "*.." << "a.txt" << false;
    QTest::newRow("*.*.* no dot") << "*.*.*" << "Makefile" << true;
    QTest::newRow("*.*.* one dot") << "*.*.*" << "a.txt" << true;
    QTest::newRow("*..* no dot") << "*..*" << "Makefile" << false;
    QTest::newRow("*..* one dot") << "*..*" << "a.txt" << false;
    QTest::newRow("*..* two dots") << "*..*" << "a..txt" << true;
    QTest::newRow("x.*. bare") << "lied.*." << "lied" << true;
    QTest::newRow("x.*. extension") << "lied.*." << "lied.mp3" << true;

    // Blanks and dots at the end: dropped when the last is a blank, one
    // final dot when it is a dot.
    QTest::newRow("trailing blank") << "*.mp3 " << "lied.mp3" << true;
    QTest::newRow("mp3 is mp3") << "mp3 " << "MP3" << true;
    QTest::newRow("*. blank is *") << "*. " << "a.txt" << true;
    QTest::newRow("*.*. blank is *") << "*.*. " << "a.txt" << true;
    QTest::newRow("*. . is *.") << "*. ." << "a.txt" << false;
    QTest::newRow("trailing blank in a list") << "*.mp3 ;*.wav" << "lied.mp3" << true;
    QTest::newRow("leading blank counts") << "*.mp3; *.wav" << "a.wav" << false;
    QTest::newRow("* . no dot") << "* ." << "Makefile" << true;
    QTest::newRow("* . with dot") << "* ." << "a.txt" << false;
    QTest::newRow("* .. no dot") << "* .." << "Makefile" << true;
    QTest::newRow("*. blank no dot") << "*. " << "Makefile" << true;
    QTest::newRow("x.* blank bare") << "lied.* " << "lied" << true;
    QTest::newRow("only blanks") << "  " << " " << false;

    // Characters that are special elsewhere stand for themselves.
    QTest::newRow("[ literal") << "[a].txt" << "[a].txt" << true;
    QTest::newRow("[ no class") << "[ab].txt" << "a.txt" << false;
    QTest::newRow("backslash literal") << "a\\b" << "a\\b" << true;
    QTest::newRow("backslash before star") << "\\*" << "\\x" << true;
    QTest::newRow("backslash escapes nothing") << "\\*" << "*" << false;
    QTest::newRow("plus literal") << "a+.txt" << "a+.txt" << true;
    QTest::newRow("plus not repeat") << "a+.txt" << "aa.txt" << false;

    // Several patterns, ";" between them; empty ones ignored.
    QTest::newRow("list first") << "*.mp3;*.ogg" << "a.mp3" << true;
    QTest::newRow("list second") << "*.mp3;*.ogg" << "a.ogg" << true;
    QTest::newRow("list none") << "*.mp3;*.ogg" << "a.wav" << false;
    QTest::newRow("list empty parts") << ";;*.ogg;" << "a.ogg" << true;
    QTest::newRow("only separators") << ";;" << "a.ogg" << false;
    QTest::newRow("empty pattern") << "" << "a.ogg" << false;

    // A "/" in a pattern matches nothing.
    QTest::newRow("slash") << "*/*" << "a" << false;
    QTest::newRow("slash alone") << "/" << "a" << false;
    QTest::newRow("slash in list, other part") << "a/b;*.txt" << "x.txt" << true;

    // The pattern "*." followed by the typed extension.
    QTest::newRow("typed mp3") << "*.mp3" << "x.Mp3" << true;
    QTest::newRow("typed with blank") << "*. txt" << "a. txt" << true;
    QTest::newRow("typed with blank, plain name") << "*. txt" << "a.txt" << false;
    QTest::newRow("typed umlauts") << "*.ÄÖ" << "a.äö" << true;
    QTest::newRow("typed emoji") << QStringLiteral("*.\U0001F600") << QStringLiteral("a.\U0001F600") << true;
    QTest::newRow("typed, name as long as the ending") << "*.mp3" << ".mp3" << true;
    QTest::newRow("typed, name shorter") << "*.mp3" << "mp3" << false;
    // clang-format on
}

void TestWildcard::matching()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(matchesPatternList(name, pattern), expected);
    QCOMPARE(WildcardMatcher(pattern).matches(name), expected);
}

void TestWildcard::pathologicalPatternReturns()
{
    // Backtracking matchers take exponential time on this; ours takes
    // length times length steps. A hang here fails by the test timeout.
    const QString pattern = QString(QStringLiteral("a*")).repeated(60) + QStringLiteral("b");
    const QString name = QString(200, QLatin1Char('a'));
    QVERIFY(!matchesPatternList(name, pattern));
    QVERIFY(matchesPatternList(name + QLatin1Char('b'), pattern));
}

QTEST_GUILESS_MAIN(TestWildcard)
#include "tst_wildcard.moc"

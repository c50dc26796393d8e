// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/bytenames.h"
#include "core/naturalkey.h"
#include "core/naturalorder.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <optional>
#include <thread>

using namespace Lirabel;

class TestNaturalOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void weightsReadBeside(); // first: before any sort has read the weights
    void sorted_data();
    void sorted();
    void compareAgreesWithSort();
    void largeListSortsLikeTheComparison();
    void keysWithoutCollator();
};

void TestNaturalOrder::weightsReadBeside()
{
    // Started from two threads, the weights are read once, on a thread of
    // their own, and in place once the reading has been let go.
    QVERIFY(!naturalKeyWeightsRead());
    {
        NaturalKeyWeightsReading reading;
        std::thread other([&reading] { reading.start(); });
        reading.start();
        other.join();
    }
    QVERIFY(naturalKeyWeightsRead());
}

void TestNaturalOrder::sorted_data()
{
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("numbers by value") << QStringList{"Titel 2", "Titel 10", "Titel 100"};
    QTest::newRow("numbers inside") << QStringList{"a9", "a10b2", "a10b10"};
    QTest::newRow("case-insensitive") << QStringList{"apfel", "Birne", "kirsche", "Zitrone"};
    QTest::newRow("umlaut with its letter") << QStringList{"Apfel", "Äpfel", "Birne", "Ofen", "Öl", "Pfanne"};
    QTest::newRow("ties by exact name") << QStringList{"Lied", "lied"};
    QTest::newRow("tracks") << QStringList{"track 1.mp3", "track 2.mp3", "track 10.mp3", "track 11.mp3"};
    QTest::newRow("equal values, ties by exact name") << QStringList{"file007", "file07", "file7", "file8"};
    // Keys of hundreds of bytes, which differ only near their ends.
    const QString umlauts(100, u'ä');
    const QString plain(100, u'a');
    QTest::newRow("long keys") << QStringList{umlauts + "1", umlauts + "2", plain + "5", umlauts + "10"};
    // Window and lists alike: by the name as it reads, "f\xfcr" as "für".
    QTest::newRow("foreign bytes as shown") << QStringList{"fa", nameFromBytes("f\xfcr"), "fz"};
}

void TestNaturalOrder::sorted()
{
    QFETCH(QStringList, expected);
    // Every order of the input gives the same result.
    QStringList shuffled = expected;
    for (int round = 0; round < 5; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
        QStringList names = shuffled;
        sortNaturalAsShown(names);
        QCOMPARE(names, expected);
    }
}

void TestNaturalOrder::compareAgreesWithSort()
{
    QStringList names{"b", "B", "a10", "a2", "Ä", "a", "x.txt", "x", "Titel 2", "Titel 10", "ß", "ss"};
    sortNatural(names);
    for (qsizetype i = 0; i + 1 < names.size(); ++i)
        QVERIFY2(naturalCompare(names.at(i), names.at(i + 1)) < 0, qPrintable(names.at(i) + " / " + names.at(i + 1)));
    QCOMPARE(naturalCompare(QStringLiteral("abc"), QStringLiteral("abc")), 0);
}

void TestNaturalOrder::largeListSortsLikeTheComparison()
{
    // Most names are sorted by keys built without the collator, the others
    // by the collator's keys, in two halves merged afterwards; the result must
    // be the order of the comparison itself. Names differ in case only, in
    // umlauts, ß against ss, leading zeros and punctuation; "ł" and "€" have
    // no key of their own.
    const QStringList pieces{"Titel ", "titel ", "Äpfel", "apfel", "ÄPFEL", "ss", "ß", "SS", "x",  "X.", "a10b", "-",
                             "_",      "(",      " ",     "é",     "è",     "e",  "ł", "€",  "Öl", "ol", "ü",    "u"};
    QRandomGenerator random(42);
    const auto piece = [&] { return pieces.at(random.bounded(int(pieces.size()))); };
    QStringList names;
    for (int i = 0; i < 20000; ++i)
        names.append(piece() + piece() + QString(random.bounded(3), u'0') + QString::number(random.bounded(20))
                     + piece() + (random.bounded(2) ? ".mp3" : ".MP3"));
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(),
              [](const QString &a, const QString &b) { return naturalCompare(a, b) < 0; });

    // Sorted in parts of uneven length, short ones sorted by the collator
    // alone, merged one after the other as a large folder's parts are read.
    std::optional<NaturalRun> inParts;
    for (qsizetype from = 0, length = 1; from < names.size(); from += length, length = length * 3 + 5) {
        std::vector<QStringView> part;
        for (qsizetype i = from; i < std::min(names.size(), from + length); ++i)
            part.push_back(names.at(i));
        if (inParts)
            inParts->merge(NaturalRun(std::move(part)));
        else
            inParts.emplace(std::move(part));
    }
    QStringList mergedInParts;
    for (const quint32 place : inParts->order())
        mergedInParts.append(names.at(place));
    QCOMPARE(mergedInParts, expected);

    sortNatural(names);
    QCOMPARE(names, expected);
}

void TestNaturalOrder::keysWithoutCollator()
{
    // The weights read from the collator hold for the names most folders
    // have, so these sort without the collator's own keys.
    std::string key;
    QVERIFY(appendNaturalKey(u"Äpfel, Öl & Soße (007).mp3", key));
    QVERIFY(!appendNaturalKey(u"Grüße €", key));
}

QTEST_GUILESS_MAIN(TestNaturalOrder)
#include "tst_naturalorder.moc"

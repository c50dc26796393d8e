// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/naturalkey.h"

#include "core/fewbytes.h"

#include <atomic>

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <vector>

namespace Lirabel {

// The collator compares at the secondary level: base letters first (the
// primary weights), accents only between names equal in their letters (the
// secondary weights). Case is not compared. So a key has two parts:
//
//   - the primary weights, one byte per character, and per run of digits a
//     number byte, the count of its digits without leading zeros and the
//     digits, so that longer numbers sort after shorter ones;
//   - a separator below every primary weight, then one entry per accent: the
//     count of primary weights before it, stored falling (an accent that
//     comes earlier weighs more, as in the collator's sequence of secondary
//     weights), and the accent's weight.
//
// ß has the primary weights of "ss" and a secondary weight of its own after
// the first s, as the collator's table gives it. Which accent an umlaut
// carries and how heavy it is, ß's spelling, and where digits sort among the
// other characters are all read from the collator below.

namespace {

constexpr uchar Separator = 1;
constexpr uchar FirstPrimary = 2;
// The collator splits runs of digits into numbers of at most this many digits.
constexpr qsizetype MaxNumberDigits = 254;

struct Weight
{
    uchar primary = 0; // 0: no known weight
    uchar second = 0;  // a second primary weight (ß), or none
    uchar accent = 0;  // the secondary weight after the first primary, or none
};

struct Weights
{
    std::array<Weight, 256> latin1{};
    uchar number = 0; // the primary weight of a number; 0: no key for any name
};

QCollator makeCollator()
{
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    collator.setIgnorePunctuation(false);
    // The collator sets itself up at its first use; done here, before any
    // other thread can see it.
    (void)collator.compare(QStringLiteral("a"), QStringLiteral("b"));
    return collator;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int collate(const QString &a, const QString &b)
{
    return naturalCollator().compare(a, b);
}

// Printable ASCII apart from the digits, one primary weight each, in the
// collator's order; where the numbers go among them.
bool derivePrimaries(Weights &w)
{
    std::vector<QString> atoms;
    for (char16_t c = 0x20; c < 0x7f; ++c) {
        if (!isDigit(c))
            atoms.emplace_back(QChar(c));
    }
    std::stable_sort(atoms.begin(), atoms.end(), [](const QString &a, const QString &b) { return collate(a, b) < 0; });
    // Every number must fall into the same gap between the characters.
    const auto gapOf = [&atoms](const QString &number) {
        const auto it = std::partition_point(atoms.begin(), atoms.end(),
                                             [&number](const QString &atom) { return collate(atom, number) < 0; });
        if (it != atoms.end() && collate(*it, number) == 0)
            return qsizetype(-1);
        return qsizetype(it - atoms.begin());
    };
    const qsizetype gap = gapOf(QStringLiteral("0"));
    for (const QString &number : {QStringLiteral("9"), QStringLiteral("10"), QString(60, u'9')}) {
        if (gap < 0 || gapOf(number) != gap)
            return false;
    }
    int next = FirstPrimary;
    for (qsizetype i = 0; i <= qsizetype(atoms.size()); ++i) {
        if (i == gap)
            w.number = uchar(next++);
        if (i == qsizetype(atoms.size()))
            break;
        const bool sameAsBefore = i > 0 && i != gap && collate(atoms[size_t(i - 1)], atoms[size_t(i)]) == 0;
        w.latin1[atoms[size_t(i)].at(0).unicode()].primary =
            sameAsBefore ? w.latin1[atoms[size_t(i - 1)].at(0).unicode()].primary : uchar(next++);
    }
    return next <= 256;
}

// The Latin-1 letters made of an ASCII letter and one accent (the umlauts),
// and those spelt with two ASCII letters and an accent of their own (ß).
void deriveAccents(Weights &w)
{
    struct Accented
    {
        char16_t letter;
        QString spelling; // the letters it has the primary weights of
    };
    std::vector<Accented> letters;
    std::vector<QChar> marks; // the combining accents
    const auto known = [&w](QChar c) { return c.unicode() < 0x80 && c.isLetter() && w.latin1[c.unicode()].primary; };
    const auto onA = [](QChar mark) { return QLatin1Char('a') + QString(mark); };
    for (char16_t c = 0xc0; c <= 0xff; ++c) {
        const QString letter(QChar{c});
        const QString nfd = letter.normalized(QString::NormalizationForm_D);
        const QString folded = letter.toUpper().toLower(); // "ß" folds to itself, "SS" is its capital
        if (nfd.size() == 2 && known(nfd.at(0)) && nfd.at(1).unicode() >= 0x300 && nfd.at(1).unicode() < 0x370) {
            // The accent must weigh more than none: "äa" after "aä".
            if (collate(letter, nfd) != 0
                || collate(onA(nfd.at(1)) + QLatin1Char('a'), QStringLiteral("aa") + nfd.at(1)) <= 0)
                continue;
            letters.push_back({c, nfd.left(1)});
            marks.push_back(nfd.at(1));
        } else if (nfd == letter && folded.size() == 2 && known(folded.at(0)) && known(folded.at(1))) {
            // The primary weights of its folded form: the next character
            // decides against that spelling. And it weighs more than it.
            if (collate(letter + QLatin1Char('a'), folded + QLatin1Char('z')) >= 0
                || collate(letter + QLatin1Char('z'), folded + QLatin1Char('a')) <= 0 || collate(letter, folded) <= 0)
                continue;
            letters.push_back({c, folded});
        }
    }
    // The combining accents get even weights in their order, equal ones the
    // same; a letter with an accent of its own goes into the gap it falls in.
    const auto lighter = [&onA](QChar a, QChar b) { return collate(onA(a), onA(b)) < 0; };
    std::sort(marks.begin(), marks.end(), lighter);
    marks.erase(
        std::unique(marks.begin(), marks.end(), [&onA](QChar a, QChar b) { return collate(onA(a), onA(b)) == 0; }),
        marks.end());
    if (2 * marks.size() + 2 > 255)
        return;
    for (const Accented &letter : letters) {
        const QString alone(QChar{letter.letter});
        const QString &spelling = letter.spelling;
        const auto spelt = [&spelling](QChar mark) { return spelling.left(1) + mark + spelling.mid(1); };
        const auto below = std::partition_point(marks.begin(), marks.end(),
                                                [&](QChar mark) { return collate(spelt(mark), alone) < 0; });
        const bool equal = below != marks.end() && collate(spelt(*below), alone) == 0;
        Weight &weight = w.latin1[letter.letter];
        weight.primary = w.latin1[spelling.at(0).unicode()].primary;
        weight.second = spelling.size() > 1 ? w.latin1[spelling.at(1).unicode()].primary : uchar(0);
        weight.accent = uchar(2 * (below - marks.begin()) + (equal ? 2 : 1));
    }
}

qsizetype buildKey(const Weights &w, QStringView name, char *key)
{
    QVarLengthArray<char, 96> accents;
    char *out = key;
    qsizetype primaries = 0;
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t c = name[i].unicode();
        if (isDigit(c)) {
            qsizetype end = i + 1;
            while (end < size && isDigit(name[end].unicode()))
                ++end;
            // As the collator: leading zeros do not count, and a long run is
            // read as several numbers, each again without leading zeros.
            do {
                while (i < end - 1 && name[i] == u'0')
                    ++i;
                const qsizetype digits = std::min(MaxNumberDigits, end - i);
                *out++ = char(w.number);
                *out++ = char(digits);
                for (const qsizetype last = i + digits; i < last; ++i)
                    *out++ = char(name[i].unicode());
                ++primaries;
            } while (i < end);
            continue;
        }
        const Weight weight = c < 0x100 ? w.latin1[c] : Weight{};
        if (!weight.primary)
            return -1;
        *out++ = char(weight.primary);
        ++primaries;
        if (weight.accent) {
            if (primaries > 0xffff)
                return -1;
            const uint falling = 0xffff - uint(primaries);
            accents.append(char(falling >> 8));
            accents.append(char(falling & 0xff));
            accents.append(char(weight.accent));
        }
        if (weight.second) {
            *out++ = char(weight.second);
            ++primaries;
        }
        ++i;
    }
    *out++ = char(Separator);
    copyFewBytes(out, accents.constData(), size_t(accents.size()));
    return out + accents.size() - key;
}

bool buildKey(const Weights &w, QStringView name, std::string &key)
{
    const size_t start = key.size();
    key.resize(start + size_t(naturalKeyBound(name)));
    const qsizetype length = buildKey(w, name, key.data() + start);
    key.resize(length < 0 ? start : start + size_t(length));
    return length >= 0;
}

// Sorts probes by their keys and checks that the collator agrees between
// each neighbour and the next: then it agrees on every pair of them.
bool agreesWithCollator(const Weights &w)
{
    QStringList singles;
    for (char16_t c = 0x20; c <= 0xff; ++c) {
        if (w.latin1[c].primary)
            singles.append(QString(QChar{c}));
    }
    singles << QStringLiteral("0") << QStringLiteral("7") << QStringLiteral("007") << QStringLiteral("10")
            << QStringLiteral("0000") << QString(MaxNumberDigits + 3, u'1');
    const QStringList partners{QStringLiteral(" "),     QStringLiteral("."),      QStringLiteral("a"),
                               QStringLiteral("Z"),     QStringLiteral("s"),      QStringLiteral("5"),
                               QStringLiteral("05"),    QStringLiteral("\u00e4"), QStringLiteral("\u00df"),
                               QStringLiteral("\u00e9")};
    QStringList probes = singles;
    for (const QString &single : std::as_const(singles)) {
        for (const QString &partner : partners)
            probes << single + partner << partner + single;
    }
    std::vector<std::pair<std::string, QString>> keyed;
    for (const QString &probe : std::as_const(probes)) {
        std::string key;
        if (buildKey(w, probe, key))
            keyed.emplace_back(std::move(key), probe);
    }
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 1; i < keyed.size(); ++i) {
        const int byCollator = collate(keyed[i - 1].second, keyed[i].second);
        if (keyed[i - 1].first == keyed[i].first ? byCollator != 0 : byCollator >= 0)
            return false;
    }
    return true;
}

Weights deriveWeights()
{
    Weights w;
    if (!derivePrimaries(w))
        return {};
    deriveAccents(w);
    if (!agreesWithCollator(w))
        return {};
    return w;
}

std::atomic<bool> gWeightsRead{false};

const Weights &weights()
{
    static const Weights instance = deriveWeights();
    gWeightsRead.store(true, std::memory_order_relaxed);
    return instance;
}

} // namespace

const QCollator &naturalCollator()
{
    static const QCollator instance = makeCollator();
    return instance;
}

void readNaturalKeyWeights()
{
    (void)weights();
}

bool naturalKeyWeightsRead()
{
    return gWeightsRead.load(std::memory_order_relaxed);
}

NaturalKeyWeightsReading::~NaturalKeyWeightsReading()
{
    // start() may still be starting the thread on another thread.
    std::call_once(mStarted, [] {});
    if (mThread.joinable())
        mThread.join();
}

void NaturalKeyWeightsReading::start()
{
    std::call_once(mStarted, [this] {
        if (!naturalKeyWeightsRead())
            mThread = std::thread(readNaturalKeyWeights);
    });
}

qsizetype writeNaturalKey(QStringView name, char *key)
{
    const Weights &w = weights();
    return w.number ? buildKey(w, name, key) : -1;
}

bool appendNaturalKey(QStringView name, std::string &key)
{
    const Weights &w = weights();
    return w.number && buildKey(w, name, key);
}

} // namespace Lirabel

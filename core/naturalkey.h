// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Sort keys for natural order built without the collator, for the names most
// folders hold. The collator (ICU) costs about a microsecond a name for its
// key; most names are made of printable ASCII, the umlauts and ß, whose
// collation weights do not depend on their neighbours. For those the key is a
// table look-up per character.
//
// The weights are not written down here: the first key asks the collator for
// them, by comparing short strings, and checks them against it on a few
// thousand probes. Should the collator ever order them differently from what
// the key can express, no name gets a key and every name goes to the collator.

#include <QCollator>
#include <QStringView>

#include <mutex>
#include <string>
#include <thread>

namespace Lirabel {

// German, case-insensitive, digit runs by their value: the order of
// naturalCompare before its tie-break on the exact name. Ready for use from
// several threads at once.
[[nodiscard]] const QCollator &naturalCollator();

// The most bytes the key of name can take: ß has two primary weights and an
// accent of three bytes; then comes a separator.
[[nodiscard]] inline qsizetype naturalKeyBound(QStringView name)
{
    return 5 * name.size() + 1;
}

// Writes the name's key to key, which has room for naturalKeyBound(name)
// bytes, and returns its length; -1 when a character of the name has no
// known weight. Two keys compare as naturalCollator() compares their names:
// byte by byte, unsigned, a key that is the start of a longer one first.
qsizetype writeNaturalKey(QStringView name, char *key);

// Reading the weights from the collator costs as much as sorting a few
// thousand names by the collator; once they are read, a key is cheaper than
// the collator for every list. A caller about to sort many short lists (the
// folders of a tree) reads them first.
void readNaturalKeyWeights();
[[nodiscard]] bool naturalKeyWeightsRead();

// The weights read on a thread of its own, beside other work (the reading of
// folders), from the first call of start() on; a sort that needs them first
// waits for them. Destroyed, it waits for that thread.
class NaturalKeyWeightsReading
{
public:
    NaturalKeyWeightsReading() = default;
    ~NaturalKeyWeightsReading();
    NaturalKeyWeightsReading(const NaturalKeyWeightsReading &) = delete;
    NaturalKeyWeightsReading &operator=(const NaturalKeyWeightsReading &) = delete;

    // From any thread, as often as it comes.
    void start();

private:
    std::once_flag mStarted;
    std::thread mThread;
};

// The same, appended to key; false, with key unchanged, for no key.
bool appendNaturalKey(QStringView name, std::string &key);

} // namespace Lirabel

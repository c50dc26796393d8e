// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"

#include <QCommandLineOption>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QCommandLineParser;

namespace Lirabel {

// The formats an option applies to, one bit each.
[[nodiscard]] constexpr unsigned formatBit(ListFormat format)
{
    return 1u << unsigned(format);
}
inline constexpr unsigned AllFormats = ~0u;

// Options are read stage by stage, in the table's order within a stage: the
// format first, as the others are checked against it, then what is listed,
// then how the list is laid out, then where it goes. So with several mistakes
// the one named is always the same.
enum class ReadStage { Format, Entries, Layout, Target };

// What an option's reader is given.
struct OptionInput
{
    const QStringList &values;   // every value given, in order; empty for a switch
    const QByteArray &lastBytes; // the last value as the system passed it
    ListRequest &list;           // what it fills in
    QStringList &hints;          // what the user may have meant otherwise
};

// One option of `lirabel --liste`. Its help may name the columns as
// "{spalten}" and the default columns as "{vorgabe}".
struct ListOption
{
    QStringView name;              // the long name, which the messages use: "ausgabe"
    QStringView shortName = {};    // "o"; empty for none
    QStringView valueName = {};    // its argument, as the help shows it; empty for a switch
    QStringView help;              // in German
    unsigned formats = AllFormats; // the formats it applies to (formatBit)
    bool once = false;             // refused when given more than once
    QStringView excludes = {};     // the long names of options that cannot stand with it, "a,b"
    ReadStage stage = ReadStage::Entries;
    // What is wrong with its values, as a German sentence; nothing when they are good.
    std::optional<QString> (*read)(const OptionInput &input) = nullptr;
};

// Every option, in the order the help shows them; the first is --liste.
[[nodiscard]] std::span<const ListOption> listOptions();

// The options of `lirabel --liste`, as the parser knows them.
class ListOptions
{
public:
    ListOptions();
    void addTo(QCommandLineParser &parser) const;

    // What is wrong with the options, as a German sentence; nothing when they
    // are good. With --liste, request is what to list, and hints what the
    // user may have meant otherwise. valueBytes gives the last value of an
    // option as the system passed it.
    [[nodiscard]] std::optional<QString>
    read(const QCommandLineParser &parser, const std::vector<QByteArray> &folders,
         const std::function<QByteArray(const QCommandLineOption &option)> &valueBytes,
         std::optional<ListRequest> &request, QStringList &hints) const;

private:
    std::vector<QCommandLineOption> mOptions; // one for each row of listOptions()
};

} // namespace Lirabel

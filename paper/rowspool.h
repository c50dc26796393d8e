// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QDataStream>
#include <QString>
#include <QTemporaryFile>

#include <vector>

namespace Lirabel {

// The rows of a list on paper, between the walk and the pages: written once
// as the folders come, read twice (to measure, then to draw), from a
// temporary file, so a list of a million files does not sit in memory.
// Failures rise as LirabelError.
class RowSpool
{
public:
    enum class Kind : quint8 { Heading, Row, Total };

    // One record: a heading or a total has one cell spanning the page.
    struct Record
    {
        Kind kind = Kind::Row;
        std::vector<QString> texts;
        std::vector<float> widths; // each cell's text on one line, in device pixels
    };

    RowSpool();
    void append(const Record &record);
    // Reading starts again from the first record.
    void rewind();
    // The next record; false after the last.
    [[nodiscard]] bool next(Record &record);
    [[nodiscard]] qint64 count() const { return mCount; }

private:
    [[noreturn]] void fail() const;

    QTemporaryFile mFile;
    QDataStream mStream;
    qint64 mCount = 0;
    qint64 mRead = 0;
};

} // namespace Lirabel

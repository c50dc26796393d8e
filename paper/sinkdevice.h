// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QIODevice>
#include <QString>

#include <optional>

namespace Lirabel {

class ListSink;

// The list's sink as a device that QPdfWriter writes into, so a PDF goes
// where every other list goes: standard output, or a file written whole or
// not at all. A failed write is kept, not thrown through Qt's PDF engine;
// the writer asks for it once the painter has ended.
class SinkDevice : public QIODevice
{
public:
    explicit SinkDevice(ListSink &sink);
    [[nodiscard]] bool isSequential() const override { return true; }
    // Why a write failed, in German; nothing when none did.
    [[nodiscard]] const std::optional<QString> &failure() const { return mFailure; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    ListSink &mSink;
    std::optional<QString> mFailure;
};

} // namespace Lirabel

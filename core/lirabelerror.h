// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

#include <stdexcept>

namespace Lirabel {

// A failure that rises to the caller, which decides whether to catch it.
class LirabelError : public std::runtime_error
{
public:
    explicit LirabelError(const QString &message)
        : std::runtime_error(message.toStdString())
        , mMessage(message)
    {
    }

    [[nodiscard]] QString message() const { return mMessage; }

private:
    QString mMessage;
};

// Raised by a standard dialog whose raiseOnCancel is set when the user cancels.
class DialogCancelled : public LirabelError
{
public:
    DialogCancelled()
        : LirabelError(QStringLiteral("Abbruch"))
    {
    }
};

// Raised after the program end has been requested. The real program end never
// returns; this unwinds the stand-in's caller so that nothing more happens.
class ProgramEnded : public std::exception
{
public:
    const char *what() const noexcept override { return "program ended"; }
};

} // namespace Lirabel

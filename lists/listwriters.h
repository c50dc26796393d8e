// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listwriter.h"

#include <memory>

namespace Lirabel {

// Two formats of one walk: each folder is handed to both, so the folders are
// read once for both lists.
class ListWriters : public ListWriter
{
public:
    ListWriters(std::unique_ptr<ListWriter> first, std::unique_ptr<ListWriter> second)
        : mFirst(std::move(first))
        , mSecond(std::move(second))
    {
    }
    void folder(const ListedFolder &folder) override
    {
        mFirst->folder(folder);
        mSecond->folder(folder);
    }
    void leftOut(const LeftOutEntry &entry) override
    {
        mFirst->leftOut(entry);
        mSecond->leftOut(entry);
    }
    void beginFolder(const QByteArray &absoluteFolder) override
    {
        mFirst->beginFolder(absoluteFolder);
        mSecond->beginFolder(absoluteFolder);
    }
    void finish() override
    {
        mFirst->finish();
        mSecond->finish();
    }

private:
    std::unique_ptr<ListWriter> mFirst;
    std::unique_ptr<ListWriter> mSecond;
};

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"

#include <QCommandLineOption>

#include <functional>
#include <optional>

class QCommandLineParser;

namespace Lirabel {

// The options of `lirabel --liste`: the window's filters, the settings
// dialogs' options, the subfolders, the format, its columns, the order, the
// names left out, the csv separator and the output file, or the save-file
// dialog.
class ListOptions
{
public:
    ListOptions();
    void addTo(QCommandLineParser &parser) const;

    // What is wrong with the options, as a German sentence; nothing when they
    // are good. With --liste, request is what to list, and hints what the
    // user may have meant otherwise. bytesOf gives an argument's bytes as the
    // system passed them.
    [[nodiscard]] std::optional<QString> read(const QCommandLineParser &parser, const std::optional<QByteArray> &folder,
                                              const std::function<QByteArray(const QString &)> &bytesOf,
                                              std::optional<ListRequest> &request, QStringList &hints) const;

private:
    QCommandLineOption mList;
    QCommandLineOption mMp3;
    QCommandLineOption mExtension;
    QCommandLineOption mStrip;
    QCommandLineOption mNumbers;
    QCommandLineOption mSpacing;
    QCommandLineOption mSubfolders;
    QCommandLineOption mFormat;
    QCommandLineOption mColumns;
    QCommandLineOption mOrder;
    QCommandLineOption mReverse;
    QCommandLineOption mExclude;
    QCommandLineOption mSeparator;
    QCommandLineOption mDepth;
    QCommandLineOption mOneFileSystem;
    QCommandLineOption mOutput;
    QCommandLineOption mSave;
};

} // namespace Lirabel

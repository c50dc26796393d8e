// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Folder to file list: how long the file list takes to read a folder (scan,
// pattern, natural order, model), next to `ls -1` on the same folder in the
// same locale (run.sh sets it for both). One row per folder, then how the time
// per file grows from the smallest folder to the largest.
//
//   bench_filelist ROUNDS FOLDER...

#include "bench/benchsupport.h"
#include "bench/readinto.h"
#include "core/naturalorder.h"
#include "fs/folderscan.h"
#include "ui/filelistmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <memory>

using namespace Lirabel;
using namespace LirabelBench;

namespace {

constexpr double GoalRatio = 1.5;
// Linear growth: from the smallest folder to the largest, the time per file
// grows at most 1.5 times as much as that of `ls -1`, which sorts too (n log n)
// and meets the same caches; a read that grew worse than linearly (a
// quadratic step) would grow tens of times more.
constexpr double GoalGrowth = 1.5;
// Every key typed in the filter reads the folder again with a new pattern:
// well within one frame at 60 Hz.
constexpr double FrameMs = 1000.0 / 60;
constexpr double GoalFrames = 0.5;

struct Measured
{
    qsizetype files = 0;
    double program = 0;
    double reference = 0;
};

// The whole read of a fresh list, as when the folder is chosen; the list is
// thrown away after the clock stops. The folder scan remembers the last
// folder it read: another folder read first makes this one read in full.
double readList(const QString &folder, const QString &pattern, qsizetype *count)
{
    (void)scanFolder(QDir::rootPath());
    const auto start = std::chrono::steady_clock::now();
    auto model = std::make_unique<FileListModel>();
    model->setPattern(pattern);
    readInto(*model, folder);
    const double ms = msSince(start);
    *count = model->count();
    return ms;
}

double ls(const QString &folder)
{
    return runChild({"ls", "-1", QFile::encodeName(folder).toStdString()}).ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_filelist ROUNDS FOLDER...\n");
        return 2;
    }
    const int rounds = std::max(1, args.at(1).toInt());

    std::vector<Measured> all;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString folder = args.at(i);
        Measured m;
        const auto [program, reference] = alternate(
            rounds, [&] { return readList(folder, QStringLiteral("*.*"), &m.files); }, [&] { return ls(folder); });
        m.program = program;
        m.reference = reference;
        all.push_back(m);
        const double ratio = m.program / m.reference;
        const auto perFile = [&m](double ms) { return fixed(ms * 1000 / double(m.files), 2) + " µs/file"; };
        printRow("Folder to file list, " + std::to_string(m.files) + " files",
                 fixed(m.program, 1) + " ms (" + perFile(m.program) + ")",
                 "`ls -1` " + fixed(m.reference, 1) + " ms (" + perFile(m.reference) + ")", fixed(ratio, 2) + "×",
                 "≤ " + fixed(GoalRatio, 1) + "×", ratio <= GoalRatio);
    }

    if (all.size() >= 2) {
        const Measured &first = all.front();
        const Measured &last = all.back();
        const auto growth = [&](double Measured::*time) {
            return (last.*time / double(last.files)) / (first.*time / double(first.files));
        };
        const double programGrowth = growth(&Measured::program);
        const double referenceGrowth = growth(&Measured::reference);
        const double ratio = programGrowth / referenceGrowth;
        printRow("Growth of the time per file, " + std::to_string(first.files) + " → " + std::to_string(last.files)
                     + " files",
                 fixed(programGrowth, 2) + "×", "`ls -1` " + fixed(referenceGrowth, 2) + "×", fixed(ratio, 2) + "×",
                 "≤ " + fixed(GoalGrowth, 1) + "× (linear)", ratio <= GoalGrowth);
    }

    // The filter at work, and the read at every key typed in the filter
    // that finds nothing changed, on the middle folder.
    const QString middle = args.at(2 + qsizetype(all.size()) / 2);
    qsizetype mp3 = 0;
    const auto [filtered, reference] = alternate(
        rounds, [&] { return readList(middle, QStringLiteral("*.mp3"), &mp3); }, [&] { return ls(middle); });
    printInfoRow("Folder to file list, filter `*.mp3` (" + std::to_string(mp3) + " of "
                     + std::to_string(all[all.size() / 2].files) + " files)",
                 fixed(filtered, 1) + " ms", "`ls -1` " + fixed(reference, 1) + " ms",
                 fixed(filtered / reference, 2) + "×");

    FileListModel kept;
    readInto(kept, middle);
    std::vector<double> again;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        readInto(kept, middle);
        again.push_back(msSince(start));
    }
    // The list is sorted in runs that are then merged: check the largest
    // list is in natural order from end to end.
    FileListModel largest;
    readInto(largest, args.last());
    for (qsizetype i = 1; i < largest.count(); ++i) {
        if (naturalCompare(largest.entry(i - 1), largest.entry(i)) >= 0) {
            std::fprintf(stderr, "bench_filelist: entries %lld and %lld out of order\n", qlonglong(i - 1),
                         qlonglong(i));
            return 1;
        }
    }

    // Keys typed in the filter: the pattern changes at every key.
    const QStringList typed{"*.mp3", "*.m", "*.txt", "*.", "*.*"};
    std::vector<double> typing;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &pattern : typed) {
            const auto start = std::chrono::steady_clock::now();
            kept.setPattern(pattern);
            readInto(kept, middle);
            typing.push_back(msSince(start));
        }
    }
    const double perKey = median(typing);
    printRow("Key typed in the filter, " + std::to_string(all[all.size() / 2].files)
                 + " files (new pattern, read again)",
             fixed(perKey, 1) + " ms", "one frame at 60 Hz " + fixed(FrameMs, 1) + " ms",
             fixed(perKey / FrameMs, 2) + "×", "≤ " + fixed(GoalFrames, 1) + "×", perKey <= GoalFrames * FrameMs);

    printNote("Reading " + std::to_string(kept.count())
              + " files again with folder and pattern unchanged "
                "(every key typed in the filter box): "
              + fixed(median(again), 1) + " ms.");
    return 0;
}

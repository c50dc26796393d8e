// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Start-up and peak memory: the program, from its start to its main window
// on the screen, next to the floor of any Qt Widgets program, a bare main
// window shown (minimal.cpp). Both are built with firstshow.cpp, which ends
// them as soon as the first window has been exposed and painted; the program
// is otherwise its own main() unchanged. Start-up is measured in a small
// folder, peak memory (maximum resident set of the whole process) with a
// folder of many files shown. The bare window draws no text; a second floor,
// the same window with one label, pays the font set-up as every window with
// text does, so the start-up is held to it more closely.
//
// In the large folder, what the program adds to the bare window is set
// against `ls -1` there, in the C locale (a byte sort, the cheapest sorted
// listing) and in German. In a folder ten times larger, the window must
// appear within ten times the time, with its peak memory bounded.
//
//   bench_startup ROUNDS PROGRAM MINIMAL MINIMAL_TEXT SMALL_FOLDER LARGE_FOLDER WORKDIR [HUGE_FOLDER]

#include "bench/benchsupport.h"

#include <fstream>

using namespace LirabelBench;

namespace {

constexpr double GoalRatio = 1.3;
constexpr double GoalTextRatio = 1.1;
constexpr double GoalExtraMiB = 25;
constexpr double GoalAddedToLs = 1.0;
constexpr double GoalHugeRatio = 10;
constexpr double GoalHugeExtraMiB = 250;

struct Started
{
    std::vector<double> rssMiB;
    std::vector<double> cpuMs;
    int rows = -1;

    // Of the counted rounds: the first start only fills the caches.
    [[nodiscard]] double medianRssMiB() const
    {
        return median(std::vector<double>(rssMiB.begin() + (rssMiB.size() > 1 ? 1 : 0), rssMiB.end()));
    }
};

double start(const std::string &program, const std::string &folder, const std::string &output, Started &into)
{
    const ChildRun run = runChild({program}, {}, output, folder);
    into.rssMiB.push_back(double(run.maxRssKb) / 1024);
    into.cpuMs.push_back(run.cpuMs);
    std::ifstream shown(output);
    std::string word;
    shown >> word >> into.rows;
    return run.ms;
}

double ls(const std::string &folder, const std::string &locale, std::vector<double> &cpuMs)
{
    const ChildRun run = runChild({"ls", "-1", folder}, {"LC_ALL=" + locale});
    cpuMs.push_back(run.cpuMs);
    return run.ms;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 8 && argc != 9) {
        std::fprintf(stderr,
                     "usage: bench_startup ROUNDS PROGRAM MINIMAL MINIMAL_TEXT SMALL_FOLDER LARGE_FOLDER WORKDIR "
                     "[HUGE_FOLDER]\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string program = argv[2];
    const std::string minimal = argv[3];
    const std::string minimalText = argv[4];
    const std::string small = argv[5];
    const std::string large = argv[6];
    const std::string out = std::string(argv[7]) + "/shown.txt";
    const std::string huge = argc > 8 ? argv[8] : "";
    const char *german = std::getenv("LC_ALL");

    try {
        Started programSmall;
        Started minimalSmall;
        const auto [p, r] = alternate(
            rounds, [&] { return start(program, small, out, programSmall); },
            [&] { return start(minimal, small, out, minimalSmall); });
        const double ratio = p / r;
        printRow("Start-up to main window shown, " + std::to_string(programSmall.rows) + " files", fixed(p, 1) + " ms",
                 "minimal Qt program " + fixed(r, 1) + " ms", fixed(ratio, 2) + "×", "≤ " + fixed(GoalRatio, 1) + "×",
                 ratio <= GoalRatio);

        Started programAgain;
        Started minimalWithText;
        const auto [pt, rt] = alternate(
            rounds, [&] { return start(program, small, out, programAgain); },
            [&] { return start(minimalText, small, out, minimalWithText); });
        const double textRatio = pt / rt;
        printRow("Start-up to main window shown, " + std::to_string(programAgain.rows) + " files", fixed(pt, 1) + " ms",
                 "minimal Qt program with one label " + fixed(rt, 1) + " ms", fixed(textRatio, 2) + "×",
                 "≤ " + fixed(GoalTextRatio, 1) + "×", textRatio <= GoalTextRatio);

        Started programLarge;
        Started minimalLarge;
        const auto [pl, rl] = alternate(
            rounds, [&] { return start(program, large, out, programLarge); },
            [&] { return start(minimal, large, out, minimalLarge); });
        const double rssProgram = programLarge.medianRssMiB();
        const double rssMinimal = minimalLarge.medianRssMiB();
        const double extra = rssProgram - rssMinimal;
        printRow("Peak memory, " + std::to_string(programLarge.rows) + " files shown", fixed(rssProgram, 1) + " MiB",
                 "minimal Qt program " + fixed(rssMinimal, 1) + " MiB", "+" + fixed(extra, 1) + " MiB",
                 "≤ +" + fixed(GoalExtraMiB, 0) + " MiB", extra <= GoalExtraMiB);
        printInfoRow("Start-up to main window shown, " + std::to_string(programLarge.rows) + " files",
                     fixed(pl, 1) + " ms", "minimal Qt program " + fixed(rl, 1) + " ms", fixed(pl / rl, 2) + "×");

        const std::string locale = german && *german ? german : "de_DE.UTF-8";
        std::vector<double> lsCpu;
        std::vector<double> lsGermanCpu;
        const auto [lsC, lsGerman] = alternate(
            rounds, [&] { return ls(large, "C", lsCpu); }, [&] { return ls(large, locale, lsGermanCpu); });
        const double added = pl - rl;
        const std::string addedRow =
            "Start-up the program adds to the minimal Qt program, " + std::to_string(programLarge.rows) + " files";
        printRow(addedRow, fixed(added, 1) + " ms", "`ls -1` in C " + fixed(lsC, 1) + " ms",
                 fixed(added / lsC, 2) + "×", "≤ " + fixed(GoalAddedToLs, 1) + "×", added <= GoalAddedToLs * lsC);
        printInfoRow(addedRow, fixed(added, 1) + " ms", "`ls -1` in " + locale + " " + fixed(lsGerman, 1) + " ms",
                     fixed(added / lsGerman, 2) + "×");
        // Processor time, user and system: what other work on the machine
        // does not stretch. The window's drawing in the X server is not in it.
        const double addedCpu = median(programLarge.cpuMs) - median(minimalLarge.cpuMs);
        const double lsCCpu = median(lsCpu);
        printInfoRow("Processor time the program adds to the minimal Qt program, " + std::to_string(programLarge.rows)
                         + " files",
                     fixed(addedCpu, 1) + " ms", "`ls -1` in C " + fixed(lsCCpu, 1) + " ms",
                     fixed(addedCpu / lsCCpu, 2) + "×");

        if (!huge.empty()) {
            // Few rounds: each start reads a million names.
            const int hugeRounds = std::max(1, rounds / 3);
            Started programHuge;
            Started minimalHuge;
            const auto [ph, rh] = alternate(
                hugeRounds, [&] { return start(program, huge, out, programHuge); },
                [&] { return start(minimal, huge, out, minimalHuge); });
            const std::string files = std::to_string(programHuge.rows) + " files";
            printRow("Start-up to main window shown, " + files, fixed(ph, 1) + " ms",
                     std::to_string(programLarge.rows) + " files " + fixed(pl, 1) + " ms", fixed(ph / pl, 2) + "×",
                     "≤ " + fixed(GoalHugeRatio, 0) + "×", ph <= GoalHugeRatio * pl);
            const double hugeExtra = programHuge.medianRssMiB() - minimalHuge.medianRssMiB();
            printRow("Peak memory, " + files + " shown", fixed(programHuge.medianRssMiB(), 1) + " MiB",
                     "minimal Qt program " + fixed(minimalHuge.medianRssMiB(), 1) + " MiB",
                     "+" + fixed(hugeExtra, 1) + " MiB", "≤ +" + fixed(GoalHugeExtraMiB, 0) + " MiB",
                     hugeExtra <= GoalHugeExtraMiB);
            printInfoRow("Start-up to main window shown, " + files, fixed(ph, 1) + " ms",
                         "minimal Qt program " + fixed(rh, 1) + " ms", fixed(ph / rh, 2) + "×");
        }
        printNote("Peak memory at start-up in the small folder: program " + fixed(programSmall.medianRssMiB(), 1)
                  + " MiB, minimal Qt program " + fixed(minimalSmall.medianRssMiB(), 1) + " MiB.");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_startup: %s\n", e.what());
        return 1;
    }
    return 0;
}

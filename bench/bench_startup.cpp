// Start-up and peak memory: the program, from its start to its main window
// on the screen, next to the floor of any Qt Widgets program, a bare main
// window shown (minimal.cpp). Both are built with firstshow.cpp, which ends
// them as soon as the first window has been exposed and painted; the program
// is otherwise its own main() unchanged. Start-up is measured in a small
// folder, peak memory (maximum resident set of the whole process) with a
// folder of many files shown. The bare window draws no text; a second floor,
// the same window with one label, shows what the font set-up costs.
//
//   bench_startup ROUNDS PROGRAM MINIMAL MINIMAL_TEXT SMALL_FOLDER LARGE_FOLDER WORKDIR

#include "bench/benchsupport.h"

#include <fstream>

using namespace LirabelBench;

namespace {

constexpr double GoalRatio = 1.3;
constexpr double GoalExtraMiB = 25;

struct Started
{
    std::vector<double> rssMiB;
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
    std::ifstream shown(output);
    std::string word;
    shown >> word >> into.rows;
    return run.ms;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: bench_startup ROUNDS PROGRAM MINIMAL MINIMAL_TEXT SMALL_FOLDER LARGE_FOLDER WORKDIR\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string program = argv[2];
    const std::string minimal = argv[3];
    const std::string minimalText = argv[4];
    const std::string small = argv[5];
    const std::string large = argv[6];
    const std::string out = std::string(argv[7]) + "/shown.txt";

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
        printInfoRow("Start-up to main window shown, " + std::to_string(programAgain.rows) + " files",
                     fixed(pt, 1) + " ms", "minimal Qt program with one label " + fixed(rt, 1) + " ms",
                     fixed(pt / rt, 2) + "×");

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
        printNote("Peak memory at start-up in the small folder: program " + fixed(programSmall.medianRssMiB(), 1)
                  + " MiB, minimal Qt program " + fixed(minimalSmall.medianRssMiB(), 1) + " MiB.");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_startup: %s\n", e.what());
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The lists' walk against a fast general file finder, bfs, and `ls -1U`,
// which does not sort: the time of a whole process, and for sizes and
// dates also its user and system time, the work the walk does.
//
//   bench_walk ROUNDS LIRABEL FOLDER TREE
//
// FOLDER holds 100000 files; TREE 200000 files in 2000 folders.

#include "bench/benchsupport.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace LirabelBench;

namespace {

struct Medians
{
    double ms = 0;
    double cpuMs = 0;
};

// Program and reference alternately, as alternate() does, with the medians
// of their times and of their user and system times.
std::pair<Medians, Medians> compare(int rounds, const std::vector<std::string> &program,
                                    const std::vector<std::string> &reference)
{
    std::vector<double> programCpu;
    std::vector<double> referenceCpu;
    const auto [p, r] = alternate(
        rounds,
        [&] {
            const ChildRun run = runChild(program);
            programCpu.push_back(run.cpuMs);
            return run.ms;
        },
        [&] {
            const ChildRun run = runChild(reference);
            referenceCpu.push_back(run.cpuMs);
            return run.ms;
        });
    return {{p, median(programCpu)}, {r, median(referenceCpu)}};
}

std::string ms(double value)
{
    return fixed(value, 1) + " ms";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_walk ROUNDS LIRABEL FOLDER TREE\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string lirabel = argv[2];
    const std::string folder = argv[3];
    const std::string tree = argv[4];

    const auto [names, bfs] =
        compare(rounds, {lirabel, "--liste", "--unterordner", "--format", "csv", "--spalten", "name,ordner", tree},
                {"bfs", tree, "-type", "f"});
    printRow("`--unterordner --format csv --spalten name,ordner`, 200000 files in 2000 folders", ms(names.ms),
             "`bfs -type f` " + ms(bfs.ms), fixed(names.ms / bfs.ms, 2) + "×", "≤ 0.6×", names.ms <= 0.6 * bfs.ms);

    const auto [dated, bfsDated] = compare(rounds, {lirabel, "--liste", "--unterordner", "--format", "csv", tree},
                                           {"bfs", tree, "-type", "f", "-printf", "%P;%s;%T@\\n"});
    printRow("`--unterordner --format csv` (sizes and dates), 200000 files in 2000 folders", ms(dated.ms),
             "`bfs -type f -printf '%P;%s;%T@\\n'` " + ms(bfsDated.ms), fixed(dated.ms / bfsDated.ms, 2) + "×",
             "≤ 0.5×", dated.ms <= 0.5 * bfsDated.ms);
    printRow("The same, user and system time", ms(dated.cpuMs), "bfs " + ms(bfsDated.cpuMs),
             fixed(dated.cpuMs / bfsDated.cpuMs, 2) + "×", "≤ 0.8×", dated.cpuMs <= 0.8 * bfsDated.cpuMs);

    const auto [one, unsorted] =
        compare(rounds, {lirabel, "--liste", "--format", "csv", "--spalten", "name", folder}, {"ls", "-1U", folder});
    printRow("`--liste --format csv --spalten name`, 100000 files in one folder, sorted", ms(one.ms),
             "`ls -1U` (unsorted) " + ms(unsorted.ms), fixed(one.ms / unsorted.ms, 2) + "×", "≤ 1.2×",
             one.ms <= 1.2 * unsorted.ms);
    const auto [oneDated, unsortedDated] = compare(rounds, {lirabel, "--liste", "--format", "csv", folder},
                                                   {"bfs", folder, "-type", "f", "-printf", "%P;%s;%T@\\n"});
    printInfoRow("`--liste --format csv` (sizes and dates), 100000 files in one folder", ms(oneDated.ms),
                 "`bfs -type f -printf '%P;%s;%T@\\n'` " + ms(unsortedDated.ms),
                 fixed(oneDated.ms / unsortedDated.ms, 2) + "×");
    return 0;
}

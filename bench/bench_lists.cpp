// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// `lirabel --liste` as a whole process against the tools a user would
// otherwise reach for: `ls -1` for one large folder, `find -type f` for a
// tree, a python3-mutagen script for music tags.
//
//   bench_lists ROUNDS LIRABEL FOLDER TREE LARGEST MUSIC TAGSCRIPT MILLION MILLION_LARGEST
//
// FOLDER holds 100000 files; TREE 200000 files in 2000 folders, of which
// LARGEST is the largest; MUSIC 1000 tagged MP3 files; TAGSCRIPT reads the
// same tags with mutagen and prints them as the list does; MILLION 1000000
// files in 10000 folders, of which MILLION_LARGEST is the largest. The list
// for programs (json) is measured against the spreadsheet's list (csv) of
// the same columns, the program against itself.

#include "bench/benchsupport.h"

#include <string>
#include <vector>

using namespace LirabelBench;

namespace {

struct Measured
{
    double ms = 0;
    long maxRssKb = 0;
};

// Program and reference alternately, as alternate() does; the peak memory is the largest of the rounds.
std::pair<Measured, Measured> compare(int rounds, const std::vector<std::string> &program,
                                      const std::vector<std::string> &reference,
                                      const std::vector<std::string> &referenceEnv = {})
{
    long programPeak = 0;
    long referencePeak = 0;
    const auto [p, r] = alternate(
        rounds,
        [&] {
            const ChildRun run = runChild(program);
            programPeak = std::max(programPeak, run.maxRssKb);
            return run.ms;
        },
        [&] {
            const ChildRun run = runChild(reference, referenceEnv);
            referencePeak = std::max(referencePeak, run.maxRssKb);
            return run.ms;
        });
    return {{p, programPeak}, {r, referencePeak}};
}

std::string mib(long kb)
{
    return fixed(double(kb) / 1024.0, 1) + " MiB";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 10) {
        std::fprintf(stderr,
                     "usage: bench_lists ROUNDS LIRABEL FOLDER TREE LARGEST MUSIC TAGSCRIPT MILLION MILLION_LARGEST\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string lirabel = argv[2];
    const std::string folder = argv[3];
    const std::string tree = argv[4];
    const std::string largest = argv[5];
    const std::string music = argv[6];
    const std::string tagScript = argv[7];
    const std::string million = argv[8];
    const std::string millionLargest = argv[9];
    constexpr double Goal = 0.8;
    const std::string goal = "≤ " + fixed(Goal, 1) + "×";

    const auto [one, ls] = compare(rounds, {lirabel, "--liste", "--format", "csv", "--spalten", "name", folder},
                                   {"ls", "-1", folder}, {"LC_ALL=C"});
    printRow("`--liste --format csv --spalten name`, 100000 files in one folder", fixed(one.ms, 1) + " ms",
             "`ls -1` in C " + fixed(ls.ms, 1) + " ms", fixed(one.ms / ls.ms, 2) + "×", goal, one.ms <= Goal * ls.ms);
    // The kernel's floor: the same folder read and written unsorted.
    const auto [oneAgain, unsorted] =
        compare(rounds, {lirabel, "--liste", "--format", "csv", "--spalten", "name", folder}, {"ls", "-1U", folder},
                {"LC_ALL=C"});
    printInfoRow("The same against the unsorted floor", fixed(oneAgain.ms, 1) + " ms",
                 "`ls -1U` " + fixed(unsorted.ms, 1) + " ms", fixed(oneAgain.ms / unsorted.ms, 2) + "×");

    const auto [walk, find] =
        compare(rounds, {lirabel, "--liste", "--unterordner", "--format", "csv", "--spalten", "name,ordner", tree},
                {"find", tree, "-type", "f"});
    printRow("`--unterordner --format csv --spalten name,ordner`, 200000 files in 2000 folders",
             fixed(walk.ms, 1) + " ms", "`find -type f` " + fixed(find.ms, 1) + " ms",
             fixed(walk.ms / find.ms, 2) + "×", goal, walk.ms <= Goal * find.ms);
    const auto [walkAgain, bare] =
        compare(rounds, {lirabel, "--liste", "--unterordner", "--format", "csv", "--spalten", "name,ordner", tree},
                {"find", tree, "-printf", ""});
    printInfoRow("The same against a bare walk", fixed(walkAgain.ms, 1) + " ms",
                 "`find -printf ''` " + fixed(bare.ms, 1) + " ms", fixed(walkAgain.ms / bare.ms, 2) + "×");
    const auto [dated, findDated] = compare(rounds, {lirabel, "--liste", "--unterordner", "--format", "csv", tree},
                                            {"find", tree, "-type", "f", "-printf", "%P;%s;%T@\n"});
    printRow("`--unterordner --format csv` (sizes and dates), 200000 files in 2000 folders", fixed(dated.ms, 1) + " ms",
             "`find -type f -printf '%P;%s;%T@\\n'` " + fixed(findDated.ms, 1) + " ms",
             fixed(dated.ms / findDated.ms, 2) + "×", goal, dated.ms <= Goal * findDated.ms);
    long singlePeak = 0;
    for (int round = 0; round < rounds; ++round)
        singlePeak =
            std::max(singlePeak,
                     runChild({lirabel, "--liste", "--format", "csv", "--spalten", "name,ordner", largest}).maxRssKb);
    printRow("Peak memory, the tree of 200000 files", mib(walk.maxRssKb), "its largest folder alone " + mib(singlePeak),
             "+" + mib(walk.maxRssKb - singlePeak), "≤ +10 MiB", walk.maxRssKb - singlePeak <= 10 * 1024);

    const auto [tags, mutagen] =
        compare(rounds, {lirabel, "--liste", "--format", "csv", "--spalten", "name,interpret,titel,dauer", music},
                {"/usr/bin/python3", tagScript, music});
    printRow("`--format csv --spalten name,interpret,titel,dauer`, 1000 tagged MP3 files", fixed(tags.ms, 1) + " ms",
             "python3-mutagen " + fixed(mutagen.ms, 1) + " ms", fixed(tags.ms / mutagen.ms, 2) + "×", "≤ 1.0×",
             tags.ms <= mutagen.ms);

    // The list for programs costs little more than the spreadsheet's list of the same columns.
    constexpr int FormatRounds = 15;
    const auto [json, csv] = compare(FormatRounds, {lirabel, "--liste", "--unterordner", "--format", "json", tree},
                                     {lirabel, "--liste", "--unterordner", "--format", "csv", tree});
    printRow("`--unterordner --format json` (name, ordner, groesse, datum), 200000 files in 2000 folders",
             fixed(json.ms, 1) + " ms", "`--format csv` of the same columns " + fixed(csv.ms, 1) + " ms",
             fixed(json.ms / csv.ms, 2) + "×", "≤ 1.1×", json.ms <= 1.1 * csv.ms);
    // jsonl for trees of millions: memory grows with the largest folder, not with the tree.
    constexpr int MillionRounds = 3;
    const auto [lines, largestLines] =
        compare(MillionRounds, {lirabel, "--liste", "--unterordner", "--format", "jsonl", million},
                {lirabel, "--liste", "--format", "jsonl", millionLargest});
    printRow("Peak memory of `--unterordner --format jsonl`, 1000000 files in 10000 folders", mib(lines.maxRssKb),
             "its largest folder alone " + mib(largestLines.maxRssKb),
             "+" + mib(lines.maxRssKb - largestLines.maxRssKb), "≤ +10 MiB",
             lines.maxRssKb - largestLines.maxRssKb <= 10 * 1024);
    printNote("Peak memory of `--liste` on 100000 files in one folder: " + mib(one.maxRssKb)
              + " (`ls -1`: " + mib(ls.maxRssKb) + ").");
    return 0;
}

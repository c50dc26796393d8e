// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// `lirabel --liste --format pdf` as a whole process, its walk included,
// against what a user would do otherwise: enscript and ghostscript over a
// CSV of the same rows, written beforehand and not timed, and LibreOffice
// Calc turning that CSV into a PDF.
//
//   bench_pdflist ROUNDS LIRABEL TREE CSV SMALL WORK
//
// TREE holds 100000 files in 1000 folders, CSV its rows (name, size, date),
// SMALL 1000 files; the PDFs are written into WORK.

#include "bench/benchsupport.h"

#include <string>
#include <vector>

using namespace LirabelBench;

namespace {

std::string mib(long kb)
{
    return fixed(double(kb) / 1024.0, 1) + " MiB";
}

std::vector<std::string> pdfList(const std::string &lirabel, const std::string &folder, const std::string &pdf)
{
    return {lirabel, "--liste", "--unterordner", "--format", "pdf", "--spalten", "name,groesse,datum",
            "-o",    pdf,       folder};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: bench_pdflist ROUNDS LIRABEL TREE CSV SMALL WORK\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string lirabel = argv[2];
    const std::string tree = argv[3];
    const std::string csv = argv[4];
    const std::string small = argv[5];
    const std::string work = argv[6];
    constexpr double Goal = 0.8;

    long peak = 0;
    const auto [program, reference] = alternate(
        rounds,
        [&] {
            const ChildRun run = runChild(pdfList(lirabel, tree, work + "/liste.pdf"));
            peak = std::max(peak, run.maxRssKb);
            return run.ms;
        },
        [&] {
            return runChild({"sh", "-c", "enscript -q -B -M A4 -f Helvetica9 -o - \"$0\" | ps2pdf - \"$1\"", csv,
                             work + "/enscript.pdf"})
                .ms;
        });
    printRow("`--unterordner --format pdf --spalten name,groesse,datum`, 100000 files in 1000 folders",
             fixed(program, 1) + " ms",
             "`enscript -B -M A4 -f Helvetica9 | ps2pdf` over its CSV " + fixed(reference, 1) + " ms",
             fixed(program / reference, 2) + "×", "≤ " + fixed(Goal, 1) + "×", program <= Goal * reference);

    long smallPeak = 0;
    for (int round = 0; round < rounds; ++round)
        smallPeak = std::max(smallPeak, runChild(pdfList(lirabel, small, work + "/klein.pdf")).maxRssKb);
    printRow("Peak memory, the PDF of 100000 files", mib(peak), "the PDF of 1000 files " + mib(smallPeak),
             "+" + mib(peak - smallPeak), "≤ +64 MiB", peak - smallPeak <= 64 * 1024);

    // What a user does today; slow to start, so a few rounds only.
    bool office = true;
    try {
        runChild({"sh", "-c", "command -v soffice"});
    } catch (const std::exception &) {
        office = false;
        printNote("LibreOffice Calc (soffice, packages.txt [bench]) is not installed: no figure for it.");
    }
    if (office) {
        // A profile of its own, made by the round that is not counted.
        const std::vector<std::string> convert{"soffice",    "-env:UserInstallation=file://" + work + "/office",
                                               "--headless", "--convert-to",
                                               "pdf",        "--outdir",
                                               work,         csv};
        std::vector<double> times;
        try {
            runChild(convert);
            for (int round = 0; round < std::max(1, rounds / 4); ++round)
                times.push_back(runChild(convert).ms);
            printInfoRow("LibreOffice Calc over the same CSV, as a user does today", fixed(program, 1) + " ms",
                         "`soffice --headless --convert-to pdf` " + fixed(median(times), 1) + " ms",
                         fixed(program / median(times), 2) + "×");
        } catch (const std::exception &error) {
            printNote(std::string("LibreOffice Calc could not convert the CSV: ") + error.what());
        }
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Checksums and the comparison, as whole processes: the column pruefsumme
// and the format sha256 against one `openssl dgst -sha256` process over the
// same files (the same libcrypto, on one core), and `--vergleichen` against
// writing the JSON list it reads.
//
//   bench_checksums ROUNDS LIRABEL FILES BIGFOLDER TREE WORK
//
// FILES holds 1000 files of 1 MiB, BIGFOLDER one file of 2 GiB, TREE 200000
// files in 2000 folders; WORK takes the saved list.

#include "bench/benchsupport.h"

#include <dirent.h>

#include <string>
#include <vector>

using namespace LirabelBench;

namespace {

std::vector<std::string> filesIn(const std::string &folder)
{
    std::vector<std::string> files;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                files.push_back(folder + '/' + entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::pair<double, double> compare(int rounds, const std::vector<std::string> &program,
                                  const std::vector<std::string> &reference)
{
    return alternate(
        rounds, [&] { return runChild(program).ms; }, [&] { return runChild(reference).ms; });
}

void row(const std::string &name, std::pair<double, double> times, const std::string &reference, double goal)
{
    const auto [program, ref] = times;
    printRow(name, fixed(program, 1) + " ms", reference + " " + fixed(ref, 1) + " ms", fixed(program / ref, 2) + "×",
             "≤ " + fixed(goal, 2) + "×", program <= goal * ref);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: bench_checksums ROUNDS LIRABEL FILES BIGFOLDER TREE WORK\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::string lirabel = argv[2];
    const std::string files = argv[3];
    const std::string big = argv[4];
    const std::string tree = argv[5];
    const std::string saved = std::string(argv[6]) + "/alt.json";

    std::vector<std::string> openssl{"openssl", "dgst", "-sha256"};
    for (const std::string &file : filesIn(files))
        openssl.push_back(file);
    row("`--format csv --spalten name,pruefsumme`, 1000 files of 1 MiB",
        compare(rounds, {lirabel, "--liste", "--format", "csv", "--spalten", "name,pruefsumme", files}, openssl),
        "`openssl dgst -sha256`", 0.6);

    std::vector<std::string> opensslBig{"openssl", "dgst", "-sha256"};
    for (const std::string &file : filesIn(big))
        opensslBig.push_back(file);
    row("`--format sha256`, one file of 2 GiB",
        compare(rounds, {lirabel, "--liste", "--format", "sha256", big}, opensslBig), "`openssl dgst -sha256`", 1.05);

    runChild({lirabel, "--liste", "--unterordner", "--format", "json", "-o", saved, tree});
    row("`--vergleichen` (a JSON list without checksums), 200000 files in 2000 folders",
        compare(rounds, {lirabel, "--liste", "--vergleichen", saved, tree},
                {lirabel, "--liste", "--unterordner", "--format", "json", tree}),
        "writing its JSON list", 1.5);
    printNote("Checksums: Debian's sha256sum does not use libcrypto and is about 4× slower than openssl; the file "
              "of 2 GiB is sparse, read as zeros by both.");
    return 0;
}

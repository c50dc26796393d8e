// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What every benchmark shares: running a reference command as a child
// process, with its wall time and peak memory, and the medians of several
// rounds. Each benchmark alternates the program's work and its reference
// round by round, so a slow moment of the machine falls on both.
//
// Each benchmark prints rows of the results table ("| name | Lirabel |
// reference | ratio | goal | met |") and notes ("- ..."); bench/run.sh
// gathers them into bench/RESULTS.md.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace LirabelBench {

struct ChildRun
{
    double ms = 0;     // from the start of the child to its end
    long maxRssKb = 0; // peak resident memory of the child
    double cpuMs = 0;  // user and system time of the child
};

// Runs argv[0] (looked up on PATH) with the given extra environment
// ("NAME=value"), standard output to stdoutPath, in workDir when one is given.
// Throws when the command cannot run or does not exit with 0.
inline ChildRun runChild(const std::vector<std::string> &argv, const std::vector<std::string> &extraEnv = {},
                         const std::string &stdoutPath = "/dev/null", const std::string &workDir = {})
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        const bool replaced = std::any_of(extraEnv.begin(), extraEnv.end(), [&name](const std::string &extra) {
            return extra.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());

    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!workDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("cannot wait for " + argv[0]);
    }
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0] + " failed");
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000 + double(t.tv_usec) / 1000; };
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss,
            ms(usage.ru_utime) + ms(usage.ru_stime)};
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs program and reference alternately, rounds times, after one round of
// each that is not counted (it fills the caches); who goes first swaps every
// round. Returns the medians of the times each returns.
template<typename Program, typename Reference>
std::pair<double, double> alternate(int rounds, Program program, Reference reference)
{
    program();
    reference();
    std::vector<double> p;
    std::vector<double> r;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2) {
            r.push_back(reference());
            p.push_back(program());
        } else {
            p.push_back(program());
            r.push_back(reference());
        }
    }
    return {median(p), median(r)};
}

// With a decimal point whatever the locale (the benchmarks run in German).
inline std::string fixed(double value, int decimals)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

// One row of the results table.
inline void printRow(const std::string &name, const std::string &program, const std::string &reference,
                     const std::string &ratio, const std::string &goal, bool met)
{
    std::printf("| %s | %s | %s | %s | %s | %s |\n", name.c_str(), program.c_str(), reference.c_str(), ratio.c_str(),
                goal.c_str(), met ? "yes" : "**no**");
    std::fflush(stdout);
}

// A row with no goal of its own.
inline void printInfoRow(const std::string &name, const std::string &program, const std::string &reference,
                         const std::string &ratio)
{
    std::printf("| %s | %s | %s | %s | – | – |\n", name.c_str(), program.c_str(), reference.c_str(), ratio.c_str());
    std::fflush(stdout);
}

inline void printNote(const std::string &note)
{
    std::printf("- %s\n", note.c_str());
    std::fflush(stdout);
}

} // namespace LirabelBench

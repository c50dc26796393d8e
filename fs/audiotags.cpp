// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/audiotags.h"

#include "core/bytenames.h"
#include "fs/contentreaders.h"
#include "fs/deadlinecall.h"
#include "fs/handover.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace Lirabel {

namespace {

// Shared by the caller and the calls, which may outlive it.
struct Job
{
    int folder = -1; // a descriptor of the job's own
    std::vector<QByteArray> names;
    std::mutex mutex;
    std::vector<AudioTags> results;

    ~Job()
    {
        if (folder >= 0)
            ::close(folder);
    }
};

// Calls handed over at a time: enough to keep every shared worker busy.
constexpr size_t InFlight = 2 * SharedWorkers;

} // namespace

std::vector<AudioTags> readAudioTags(int folderDescriptor, const QString &mount, const QStringList &names)
{
    const ContentReaders *readers = contentReaders();
    auto job = std::make_shared<Job>();
    job->folder = ::fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0);
    const size_t count = size_t(names.size());
    job->results.resize(count);
    if (!readers || job->folder < 0 || count == 0)
        return std::move(job->results);
    job->names.reserve(count);
    for (const QString &name : names)
        job->names.push_back(nameBytes(name));

    std::vector<bool> answered(count, false);
    std::deque<std::pair<size_t, Handover>> calls;
    size_t next = 0;
    while (next < count || !calls.empty()) {
        while (next < count && calls.size() < InFlight) {
            const size_t i = next++;
            calls.emplace_back(i, Handover::start(mount, [job, i, readers] {
                                   AudioTags tags = readers->readTags(job->folder, job->names[i].constData());
                                   const std::lock_guard lock(job->mutex);
                                   job->results[i] = std::move(tags);
                               }));
        }
        answered[calls.front().first] = calls.front().second.wait(FileSystemDeadline);
        calls.pop_front();
    }
    const std::lock_guard lock(job->mutex);
    std::vector<AudioTags> results = job->results;
    for (size_t i = 0; i < count; ++i) {
        if (!answered[i]) {
            results[i] = AudioTags();
            results[i].answered = false;
        }
    }
    return results;
}

} // namespace Lirabel

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/audiotags.h"

#include "fs/contentreaders.h"
#include "fs/deadlinecall.h"
#include "fs/folderfilesjob.h"
#include "fs/handover.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

namespace Lirabel {

std::vector<AudioTags> readAudioTags(int folderDescriptor, const QString &mount, const QStringList &names)
{
    const ContentReaders *readers = contentReaders();
    const auto job = folderFilesJob<AudioTags>(folderDescriptor, names);
    const size_t count = job->results.size();
    if (!readers || job->folder < 0 || count == 0)
        return std::move(job->results);

    std::vector<bool> answered(count, false);
    std::deque<std::pair<size_t, Handover>> calls;
    size_t next = 0;
    while (next < count || !calls.empty()) {
        while (next < count && calls.size() < FilesInFlight) {
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What the readers of files' contents (tags, checksums) share with the calls
// they hand over for each file of a folder, which may outlive the reader.

#include "core/bytenames.h"
#include "fs/handover.h"

#include <QByteArray>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace Lirabel {

// Calls handed over at a time: enough to keep every shared worker busy.
constexpr size_t FilesInFlight = 2 * SharedWorkers;

template<typename Result>
struct FolderFilesJob
{
    int folder = -1; // a descriptor of the job's own
    std::vector<QByteArray> names;
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<Result> results; // one for each name, written under the mutex

    ~FolderFilesJob()
    {
        if (folder >= 0)
            ::close(folder);
    }
};

// The job for the files named (as nameFromBytes gives them) in the folder
// open as folderDescriptor, with an empty result for each; its folder is
// below 0 where it could not take a descriptor of its own.
template<typename Result>
std::shared_ptr<FolderFilesJob<Result>> folderFilesJob(int folderDescriptor, const QStringList &names)
{
    auto job = std::make_shared<FolderFilesJob<Result>>();
    job->folder = ::fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0);
    job->results.resize(size_t(names.size()));
    job->names.reserve(size_t(names.size()));
    for (const QString &name : names)
        job->names.push_back(nameBytes(name));
    return job;
}

} // namespace Lirabel

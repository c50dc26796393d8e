// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/audiotags.h"

#include "core/bytenames.h"
#include "fs/deadlinecall.h"
#include "fs/handover.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace Lirabel {

namespace {

// TagLib tells of every odd frame on standard error, which holds the
// program's own messages only.
class Silent : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String &) override {}
};

QString text(const TagLib::String &value)
{
    return QString::fromStdWString(value.toWString()).trimmed();
}

AudioTags readOne(int folder, const QByteArray &name)
{
    AudioTags tags;
#if defined(Q_OS_LINUX)
    // The file by its folder's descriptor: no path to grow past the system's limit.
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(folder) + '/' + name;
    const TagLib::FileRef file(path.constData(), true, TagLib::AudioProperties::Average);
#else
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return tags;
    TagLib::FileStream stream(fd, true);
    const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Average);
#endif
    if (file.isNull())
        return tags;
    if (const TagLib::Tag *tag = file.tag()) {
        tags.artist = text(tag->artist());
        tags.title = text(tag->title());
        tags.album = text(tag->album());
        tags.genre = text(tag->genre());
        tags.track = tag->track();
        tags.year = tag->year();
    }
    // A file that holds no sound (an empty one, say) plays 0 milliseconds: its time is unknown.
    if (const TagLib::AudioProperties *properties = file.audioProperties()) {
        if (const int milliseconds = properties->lengthInMilliseconds(); milliseconds > 0)
            tags.seconds = (milliseconds + 500) / 1000;
    }
#if !defined(Q_OS_LINUX)
    ::close(fd);
#endif
    return tags;
}

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
    static Silent silent;
    static std::once_flag quiet;
    std::call_once(quiet, [] { TagLib::setDebugListener(&silent); });

    auto job = std::make_shared<Job>();
    job->folder = ::fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0);
    const size_t count = size_t(names.size());
    job->results.resize(count);
    if (job->folder < 0 || count == 0)
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
            calls.emplace_back(i, Handover::start(mount, [job, i] {
                                   AudioTags tags = readOne(job->folder, job->names[i]);
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

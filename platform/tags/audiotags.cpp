// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/tags/audiotags.h"

#include "platform/files/bytenames.h"
#include "platform/files/deadlinecall.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

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

enum class State : char { Waiting, Running, Done };

// Shared by the caller and its workers, which may outlive the call.
struct Job
{
    int folder = -1; // a descriptor of the job's own
    std::vector<QByteArray> names;
    std::vector<AudioTags> results;
    std::vector<State> states;
    std::vector<std::chrono::steady_clock::time_point> started;
    size_t next = 0;
    size_t done = 0;
    std::mutex mutex;
    std::condition_variable changed;

    ~Job()
    {
        if (folder >= 0)
            ::close(folder);
    }
};

void work(const std::shared_ptr<Job> &job)
{
    std::unique_lock lock(job->mutex);
    while (job->next < job->names.size()) {
        const size_t i = job->next++;
        job->states[i] = State::Running;
        job->started[i] = std::chrono::steady_clock::now();
        lock.unlock();
        AudioTags tags = readOne(job->folder, job->names[i]);
        lock.lock();
        if (job->states[i] != State::Running)
            return; // given up at the deadline; another worker took over
        job->results[i] = std::move(tags);
        job->states[i] = State::Done;
        ++job->done;
        job->changed.notify_all();
    }
}

bool startWorker(const std::shared_ptr<Job> &job)
{
    return runDetached([job] { work(job); });
}

} // namespace

std::vector<AudioTags> readAudioTags(int folderDescriptor, const QStringList &names)
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
    job->states.assign(count, State::Waiting);
    job->started.resize(count);

    const size_t workers = std::min<size_t>(count, std::max(2U, std::thread::hardware_concurrency()));
    size_t started = 0;
    for (size_t i = 0; i < workers; ++i)
        started += startWorker(job) ? 1 : 0;
    if (started == 0)
        work(job);

    std::unique_lock lock(job->mutex);
    while (job->done < count) {
        const auto now = std::chrono::steady_clock::now();
        auto wake = now + FileSystemDeadline;
        for (size_t i = 0; i < count; ++i) {
            if (job->states[i] != State::Running)
                continue;
            const auto deadline = job->started[i] + FileSystemDeadline;
            if (deadline > now) {
                wake = std::min(wake, deadline);
                continue;
            }
            // Left behind: the file counts as unreadable, a new worker takes the rest.
            job->states[i] = State::Done;
            job->results[i].answered = false;
            ++job->done;
            if (!startWorker(job)) {
                lock.unlock();
                work(job);
                lock.lock();
            }
        }
        job->changed.wait_until(lock, wake);
    }
    return job->results;
}

} // namespace Lirabel

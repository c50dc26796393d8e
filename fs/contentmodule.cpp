// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The module lirabel-inhalte.so: TagLib and libcrypto behind the readers of
// contentreaders.h.

#include "fs/contentreaders.h"

#include <QByteArray>
#include <QtGlobal>

#include <openssl/evp.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>

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

AudioTags readTags(int folder, const char *name)
{
    AudioTags tags;
#if defined(Q_OS_LINUX)
    // The file by its folder's descriptor: no path to grow past the system's limit.
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(folder) + '/' + name;
    const TagLib::FileRef file(path.constData(), true, TagLib::AudioProperties::Average);
#else
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC);
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

const EVP_MD *sha256()
{
    // Fetched once: a digest named at every file would be looked up again each time.
    static const EVP_MD *const digest = [] {
        const EVP_MD *fetched = EVP_MD_fetch(nullptr, "SHA256", nullptr);
        return fetched ? fetched : EVP_sha256();
    }();
    return digest;
}

void *beginSha256()
{
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    if (context && EVP_DigestInit_ex(context, sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(context);
        return nullptr;
    }
    return context;
}

bool addToSha256(void *state, const unsigned char *bytes, size_t size)
{
    return EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(state), bytes, size) == 1;
}

bool endSha256(void *state, std::array<unsigned char, 32> &digest)
{
    auto *context = static_cast<EVP_MD_CTX *>(state);
    unsigned int length = 0;
    const bool good = EVP_DigestFinal_ex(context, digest.data(), &length) == 1 && length == digest.size();
    EVP_MD_CTX_free(context);
    return good;
}

} // namespace

} // namespace Lirabel

extern "C" Q_DECL_EXPORT const Lirabel::ContentReaders *lirabelContentReaders()
{
    static Lirabel::Silent silent;
    TagLib::setDebugListener(&silent);
    static const Lirabel::ContentReaders readers{Lirabel::readTags, Lirabel::beginSha256, Lirabel::addToSha256,
                                                 Lirabel::endSha256};
    return &readers;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/folderwalk.h"

#include "core/bytenames.h"
#include "fs/deadlinecall.h"
#include "fs/handover.h"

#include <QScopeGuard>

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include "fs/walkstate.h"
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

using namespace Walking;

bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const WalkFailure &failure)> &failed)
{
    if (settings.subfolders)
        allowManyOpenFolders();
    auto walk = std::make_shared<Walk>();
    walk->topPath = absolutePath(nameFromBytes(top));
    walk->settings = settings;
    // However the walk ends, its readers stop at their next look.
    const auto ending = qScopeGuard([&walk] {
        const std::lock_guard lock(walk->mutex);
        walk->ended = true;
        walk->forReader.notify_all();
    });

    auto topNode = std::make_shared<Node>();
    topNode->name = top;
    topNode->where = walk->topPath;
    topNode->mount = mountOf(walk->topPath);

    std::unique_lock lock(walk->mutex);
    walk->pending.insert(topNode);
    // Two readers on more than one processor: the system's work for a
    // folder is most of the walk's.
    const int readerCount = settings.subfolders && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    std::map<int, Handover> readers;
    int lastReader = 0;
    const auto addReader = [&] {
        const int reader = ++lastReader;
        walk->wanted.insert(reader);
        Handover started = startReader(walk, reader);
        if (!started.started()) {
            walk->wanted.erase(reader);
            return false;
        }
        readers.emplace(reader, std::move(started));
        return true;
    };
    for (int i = 0; i < readerCount; ++i) {
        if (!addReader() && readers.empty()) {
            lock.unlock();
            failed({{}, WalkProblem::Unreadable});
            return false;
        }
    }

    // Depth first: the folders still to hand out, level by level.
    std::vector<std::pair<std::vector<std::shared_ptr<Node>>, size_t>> levels;
    levels.push_back({{topNode}, 0});
    for (;;) {
        while (!levels.empty() && levels.back().second >= levels.back().first.size())
            levels.pop_back();
        if (levels.empty())
            return true;
        auto &[nodes, next] = levels.back();
        const std::shared_ptr<Node> node = std::move(nodes[next++]);
        const bool isTop = node == topNode;
        walk->awaited = node;
        if (node->state == Node::State::Pending && walk->readersForRoom > 0)
            walk->forReader.notify_all();
        // Waits for it, and gives up on any reader past its deadline.
        while (node->state != Node::State::Read) {
            std::shared_ptr<Node> oldest;
            Clock::time_point oldestSign;
            for (const std::shared_ptr<Node> &being : walk->reading) {
                const Clock::time_point sign = being->lastSign();
                if (!oldest || sign < oldestSign) {
                    oldest = being;
                    oldestSign = sign;
                }
            }
            if (!oldest) {
                walk->walkerIdle = true;
                walk->forWalker.wait(lock);
                walk->walkerIdle = false;
                continue;
            }
            const auto deadline = oldestSign + FileSystemDeadline;
            if (Clock::now() < deadline) {
                walk->forWalker.wait_until(lock, deadline);
                continue;
            }
            // Its reader is left behind with the folder; a new one takes its place.
            walk->reading.erase(oldest);
            walk->wanted.erase(oldest->reader);
            oldest->problem = WalkProblem::NoAnswer;
            oldest->state = Node::State::Read;
            ++walk->aheadFolders;
            Handover given = std::move(readers.at(oldest->reader));
            readers.erase(oldest->reader);
            lock.unlock();
            given.giveUp();
            lock.lock();
            if (oldest != topNode && !addReader() && readers.empty()) {
                // No reader can be had: what is left does not answer either.
                walk->awaited = nullptr;
                lock.unlock();
                failed({oldest->relativePath, WalkProblem::NoAnswer});
                return true;
            }
        }
        walk->awaited = nullptr;
        if (!node->silent) {
            --walk->aheadFolders;
            walk->aheadFiles -= node->files;
        }
        if (walk->readersForRoom > 0 && roomAgain(*walk))
            walk->forReader.notify_all();
        if (!node->subfolders.empty())
            levels.push_back({std::move(node->subfolders), 0});
        if (node->silent)
            continue;
        std::optional<WalkedFolder> walked = std::move(node->walked);
        lock.unlock();
        if (node->problem) {
            failed({node->relativePath, *node->problem, node->error});
            if (isTop)
                return false;
        } else {
            visit(*walked);
        }
        lock.lock();
    }
}

#else

bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const WalkFailure &failure)> &failed)
{
    // Without descriptors: paths, as the system allows them.
    const QString root = QString::fromUtf8(top);
    if (!QFileInfo(root).isDir())
        return false;
    std::vector<QStringList> pending{{}};
    while (!pending.empty()) {
        const QStringList relative = pending.back();
        pending.pop_back();
        const QString path = relative.isEmpty() ? root : root + QLatin1Char('/') + relative.join(QLatin1Char('/'));
        if (!QFileInfo(path).isReadable()) {
            failed({relative, WalkProblem::Unreadable});
            continue;
        }
        WalkedFolder folder;
        folder.relativePath = relative;
        QStringList subfolders;
        QDirIterator it(
            path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | (settings.hidden ? QDir::Hidden : QDir::Filters()));
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (!settings.hidden && info.fileName().startsWith(QLatin1Char('.')))
                continue;
            if (info.isDir() && !info.isSymLink())
                subfolders.append(info.fileName());
            else if (info.isFile()) {
                folder.files.push_back({folder.names.size(), info.fileName().size(),
                                        settings.sizesAndTimes ? info.size() : -1,
                                        info.lastModified().toSecsSinceEpoch()});
                folder.names.append(info.fileName());
            }
        }
        if (settings.prepare)
            settings.prepare(folder);
        visit(folder);
        if (!settings.subfolders)
            break;
        if (settings.sortFolders)
            settings.sortFolders(subfolders);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            pending.push_back(relative + QStringList{*it});
    }
    return true;
}

#endif

} // namespace Lirabel

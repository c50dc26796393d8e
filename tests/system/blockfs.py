#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

"""A small FUSE file system for the tests of mounts that stop answering.

    blockfs.py MODE MOUNT_POINT

It holds the file liesmich.txt and the folders ordner/, haengt/ (with
drin.txt) and langsam/ (with titel.mp3 and notiz.txt). MODE says which calls answer:

    answers      every call
    hangs        no call: each one sleeps for an hour, as on a hard NFS or SMB
                 mount whose server is gone
    hangs-below  the root answers, but every call on haengt/ or below sleeps
    slow         every call answers, but listing langsam/ takes 1.2 s, and 2.5 s
                 once the file named by BLOCKFS_SLOWER exists
    reads-hang   every call answers but reading titel.mp3, which sleeps; files
                 have a size, so a tag reader reads them
    stats-hang   it also holds viele/ with 2000 files, d0.txt to d1999.txt;
                 asking one from d1500.txt on sleeps, listing them answers

It runs in the foreground until it is unmounted or killed. With
BLOCKFS_WATCH_PID set it also unmounts itself (lazily) and ends once that
process is gone, so a test killed before its clean-up leaves no mount behind
that hangs. Needs fusepy (Debian: python3-fusepy) and /dev/fuse.
"""

import errno
import os
import stat
import subprocess
import sys
import threading
import time

import fusepy

HANG_SECONDS = 3600
FOLDER = stat.S_IFDIR | 0o755
FILE = stat.S_IFREG | 0o644
TREE = {
    "/": FOLDER,
    "/liesmich.txt": FILE,
    "/ordner": FOLDER,
    "/haengt": FOLDER,
    "/haengt/drin.txt": FILE,
    "/langsam": FOLDER,
    "/langsam/titel.mp3": FILE,
    "/langsam/notiz.txt": FILE,
}


class BlockFS(fusepy.Operations):
    def __init__(self, mode):
        self.mode = mode
        self.tree = dict(TREE)
        if mode == "stats-hang":
            self.tree["/viele"] = FOLDER
            self.tree.update({f"/viele/d{i}.txt": FILE for i in range(2000)})

    def _maybe_hang(self, path):
        below = path == "/haengt" or path.startswith("/haengt/")
        late = path.startswith("/viele/d") and int(path[8:].split(".")[0]) >= 1500
        if self.mode == "hangs" or (self.mode == "hangs-below" and below) or (self.mode == "stats-hang" and late):
            time.sleep(HANG_SECONDS)

    def getattr(self, path, fh=None):
        self._maybe_hang(path)
        if path not in self.tree:
            raise fusepy.FuseOSError(errno.ENOENT)
        mode = self.tree[path]
        size = 4096 if self.mode == "reads-hang" and mode == FILE else 0
        return {"st_mode": mode, "st_nlink": 2 if mode == FOLDER else 1, "st_size": size}

    def readdir(self, path, fh):
        self._maybe_hang(path)
        if self.mode == "slow" and (path == "/langsam" or path.startswith("/langsam/")):
            time.sleep(2.5 if os.path.exists(os.environ.get("BLOCKFS_SLOWER", "/nicht/da")) else 1.2)
        prefix = path.rstrip("/") + "/"
        names = [".", ".."]
        for entry, mode in self.tree.items():
            rest = entry[len(prefix):]
            if entry != path and entry.startswith(prefix) and "/" not in rest:
                # With the type, so listing a folder asks nothing of its entries.
                names.append((rest, {"st_mode": mode}, 0))
        return names

    def statfs(self, path):
        self._maybe_hang(path)
        return {"f_bsize": 4096, "f_frsize": 4096, "f_blocks": 1024, "f_bfree": 512, "f_bavail": 512,
                "f_namemax": 255}

    def open(self, path, flags):
        self._maybe_hang(path)
        return 0

    def read(self, path, size, offset, fh):
        if self.mode == "reads-hang" and path.endswith(".mp3"):
            time.sleep(HANG_SECONDS)
        return b"\0" * max(0, min(size, 4096 - offset)) if self.mode == "reads-hang" else b""


def unmount_when_gone(pid, mount_point):
    while True:
        time.sleep(0.5)
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            break
        except PermissionError:
            pass
    subprocess.run(["fusermount3", "-uz", mount_point], check=False)
    os._exit(0)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("answers", "hangs", "hangs-below", "slow", "reads-hang",
                                                  "stats-hang"):
        sys.exit(__doc__)
    watched = os.environ.get("BLOCKFS_WATCH_PID")
    if watched:
        threading.Thread(target=unmount_when_gone, args=(int(watched), sys.argv[2]), daemon=True).start()
    fusepy.FUSE(BlockFS(sys.argv[1]), sys.argv[2], foreground=True, fsname="blockfs")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""A share that stalls: a read-only FUSE view of a folder in which every call
waits (up to a number of seconds, checked every 50 ms) while a control file
exists, the way a share that is slow or gone answers late.

Calls made by Wine's server answer at once: the server serves every Wine
thread, so a stall of its own calls would stall all of them together, which
Windows never does. FUSE tells each call's process id.

    stalling_share.py BACKING MOUNTPOINT CONTROL SECONDS
"""
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations, fuse_get_context


def is_wineserver(pid):
    try:
        with open(f"/proc/{pid}/comm") as comm:
            return comm.read().strip().startswith("wineserver")
    except OSError:
        return False


class StallingShare(Operations):
    def __init__(self, backing, control, seconds):
        self.backing = backing
        self.control = control
        self.seconds = seconds

    def stall(self):
        if is_wineserver(fuse_get_context()[2]):
            return
        deadline = time.monotonic() + self.seconds
        while os.path.exists(self.control) and time.monotonic() < deadline:
            time.sleep(0.05)

    def real(self, path):
        return os.path.join(self.backing, path.lstrip("/"))

    def call(self, fn, *args):
        self.stall()
        try:
            return fn(*args)
        except OSError as error:
            raise FuseOSError(error.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = self.call(os.lstat, self.real(path))
        keys = ("st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size", "st_uid")
        return {key: getattr(st, key) for key in keys}

    def access(self, path, mode):
        if not self.call(os.access, self.real(path), mode):
            raise FuseOSError(errno.EACCES)

    def readdir(self, path, fh):
        return [".", ".."] + self.call(os.listdir, self.real(path))

    def statfs(self, path):
        st = self.call(os.statvfs, self.real(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
                "f_frsize", "f_namemax")
        return {key: getattr(st, key) for key in keys}

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return self.call(os.open, self.real(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        def pread():
            return os.pread(fh, size, offset)
        return self.call(pread)

    def release(self, path, fh):
        os.close(fh)
        return 0


def main():
    backing, mountpoint, control, seconds = sys.argv[1:5]
    FUSE(StallingShare(backing, control, float(seconds)), mountpoint, foreground=True, ro=True,
         nothreads=False, direct_io=True, attr_timeout=0, entry_timeout=0, negative_timeout=0)


if __name__ == "__main__":
    main()

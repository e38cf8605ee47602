#include "framework/File.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Descriptor(intptr_t handle) {
    return static_cast<int>(handle);
}

constexpr unsigned kShareMask = CFile::shareExclusive | CFile::shareDenyWrite | CFile::shareDenyNone;

// Sharing is emulated with whole-file locks that the other opens of this library honour: an exclusive
// open takes an exclusive lock, every other open a shared one, and neither waits. File systems without
// locks simply get no sharing rules.
bool TakeShareLock(int fd, unsigned flags, long& osError) {
    // shareDenyWrite gets a shared lock too: advisory locks cannot keep a writer out while readers stay.
    int operation = (flags & kShareMask) == CFile::shareExclusive ? LOCK_EX : LOCK_SH;
    while (flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) return true;
        osError = errno;
        return false;
    }
    return true;
}

} // namespace

long CFile::LastOsError() {
    return errno;
}

std::string CFile::OsErrorText(long osError) {
    if (osError == EWOULDBLOCK) return "The file is in use by another process";
    const char* text = std::strerror(static_cast<int>(osError));
    return text ? text : "Unknown error " + std::to_string(osError);
}

void CFile::CheckOpen() const {
    if (m_hFile == kNoHandle) ThrowOsError(EBADF);
}

intptr_t CFile::OpenOsHandle(const std::string& path, unsigned flags, long& osError) {
    int oflags = O_CLOEXEC;
    switch (flags & 0x3) {
    case modeRead: oflags |= O_RDONLY; break;
    case modeWrite: oflags |= O_WRONLY; break;
    case modeReadWrite: oflags |= O_RDWR; break;
    default: osError = EINVAL; return kNoHandle;
    }
    // Truncation waits until the sharing lock is held, so that a refused open changes nothing.
    bool truncate = (flags & modeCreate) && !(flags & modeNoTruncate);
    if (flags & modeCreate) oflags |= O_CREAT;
    int fd;
    do {
        fd = ::open(path.c_str(), oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        osError = errno;
        return kNoHandle;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        osError = errno;
        ::close(fd);
        return kNoHandle;
    }
    if (S_ISDIR(info.st_mode)) {
        osError = EISDIR;
        ::close(fd);
        return kNoHandle;
    }
    if (!TakeShareLock(fd, flags, osError)) {
        ::close(fd);
        return kNoHandle;
    }
    if (truncate && ftruncate(fd, 0) != 0) {
        osError = errno;
        ::close(fd);
        return kNoHandle;
    }
    return fd;
}

long CFile::CloseOsHandle(intptr_t handle) {
    // The descriptor is released even when close reports an error; it must not be closed again.
    if (::close(Descriptor(handle)) != 0 && errno != EINTR) return errno;
    return 0;
}

size_t CFile::Read(void* buffer, size_t count) {
    CheckOpen();
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t total = 0;
    while (total < count) {
        size_t chunk = count - total < static_cast<size_t>(SSIZE_MAX) ? count - total : SSIZE_MAX;
        ssize_t n = ::read(Descriptor(m_hFile), bytes + total, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowLastError();
        }
        if (n == 0) break;
        total += static_cast<size_t>(n);
    }
    return total;
}

void CFile::Write(const void* buffer, size_t count) {
    CheckOpen();
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    size_t total = 0;
    while (total < count) {
        size_t chunk = count - total < static_cast<size_t>(SSIZE_MAX) ? count - total : SSIZE_MAX;
        ssize_t n = ::write(Descriptor(m_hFile), bytes + total, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowLastError();
        }
        if (n == 0) ThrowOsError(ENOSPC);
        total += static_cast<size_t>(n);
    }
}

uint64_t CFile::Seek(int64_t offset, SeekPosition from) {
    CheckOpen();
    int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    off_t position = ::lseek(Descriptor(m_hFile), static_cast<off_t>(offset), whence);
    if (position < 0) ThrowLastError();
    return static_cast<uint64_t>(position);
}

uint64_t CFile::GetPosition() const {
    CheckOpen();
    off_t position = ::lseek(Descriptor(m_hFile), 0, SEEK_CUR);
    if (position < 0) ThrowLastError();
    return static_cast<uint64_t>(position);
}

uint64_t CFile::GetLength() const {
    CheckOpen();
    struct stat info;
    if (fstat(Descriptor(m_hFile), &info) != 0) ThrowLastError();
    return static_cast<uint64_t>(info.st_size);
}

void CFile::Flush() {
    CheckOpen();
    // Files that cannot be synchronised (special files, read-only media) have nothing to hand on.
    if (fsync(Descriptor(m_hFile)) != 0 && errno != EINVAL && errno != EROFS) ThrowLastError();
}

bool ReplaceFileWith(const std::string& target, const std::string& source, std::string* error) {
    auto fail = [error](long osError) {
        if (error) *error = CFile::OsErrorText(osError);
        return false;
    };
    // rename() would replace a file whose write permission is gone (and root may write anything); the
    // read-only mark of a saved file is honoured as Windows does.
    struct stat info;
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return fail(EISDIR);
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
            return fail(EACCES);
    }
    if (::rename(source.c_str(), target.c_str()) != 0) return fail(errno);
    // The new directory entry reaches the disk only with the directory itself. The file is already in
    // place, so a folder that cannot be synchronised does not undo the replacement.
    std::string::size_type slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

bool PathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

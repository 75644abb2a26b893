#include "casefile/FileIO.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIO {

namespace {

void describe(std::string* error, const std::string& what, int err)
{
    if (error)
        *error = what + ": " + std::strerror(err);
}

// Writes all bytes, retrying short writes; false with errno set on failure.
bool writeAll(int fd, const std::string& bytes, WriteFunction write)
{
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Makes sure a completed rename survives a crash; failures only weaken that.
void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::atomic<unsigned> tempCounter{0};

// An exclusive advisory lock on the whole file, waiting for other writers.
// A file system that keeps no locks (some network shares) is written
// without one, as before locks were taken, rather than not at all.
int lockFile(int fd)
{
    int rc = 0;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0 && (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL))
        return 0;
    return rc;
}

} // namespace

ReadStatus readWhole(const std::string& path, std::string& bytes, std::string* error,
                     size_t maxBytes)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return ReadStatus::Missing;
        describe(error, "cannot open " + path, err);
        return ReadStatus::Failed;
    }
    auto fail = [&](const std::string& why) {
        ::close(fd);
        if (error)
            *error = "cannot read " + path + ": " + why;
        return ReadStatus::Failed;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(std::strerror(errno));
    // A device such as /dev/zero never ends; only plain files are case files.
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return fail("larger than " + std::to_string(maxBytes) + " bytes");
    bytes.clear();
    char buffer[65536];
    // The file may grow while it is read; one byte beyond the bound is enough to know.
    while (bytes.size() <= maxBytes) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(std::strerror(errno));
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    if (bytes.size() > maxBytes)
        return fail("larger than " + std::to_string(maxBytes) + " bytes");
    ::close(fd);
    return ReadStatus::Ok;
}

bool replaceWhole(const std::string& path, const std::string& bytes, std::string* error)
{
    // The new file takes the permissions of the one it replaces.
    struct stat old {};
    bool hadOld = ::stat(path.c_str(), &old) == 0;
    // A rename would replace a file the user made read-only; writing it in
    // place would have been refused, so this is refused too.
    if (hadOld && ::access(path.c_str(), W_OK) != 0) {
        describe(error, "cannot replace " + path, errno);
        return false;
    }

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        describe(error, "cannot create a file in " + folderOf(path), errno);
        return false;
    }

    auto fail = [&](const std::string& what) {
        int err = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        describe(error, what, err);
        return false;
    };
    if (hadOld && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail("cannot set the permissions of " + path);
    if (!writeAll(fd, bytes, ::write))
        return fail("cannot write " + path);
    if (::fsync(fd) != 0)
        return fail("cannot write " + path);
    int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail("cannot write " + path);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail("cannot replace " + path);
    syncFolder(folderOf(path));
    return true;
}

bool appendWhole(const std::string& path, const std::string& bytes, std::string* error,
                 WriteFunction write)
{
    if (!write)
        write = ::write;
    bool created = false;
    int fd = -1;
    struct stat st {};
    for (;;) {
        created = false;
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST)
                continue;
        }
        if (fd < 0) {
            describe(error, "cannot open " + path, errno);
            return false;
        }
        if (lockFile(fd) != 0 || ::fstat(fd, &st) != 0) {
            int err = errno;
            ::close(fd);
            describe(error, "cannot open " + path, err);
            return false;
        }
        // A writer that failed on a file it had created removed it while we
        // waited: what we hold is no longer the report, so open it again.
        struct stat named {};
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == st.st_dev &&
            named.st_ino == st.st_ino)
            break;
        ::close(fd);
    }
    // Measured under the lock: nobody else appends until this call is done.
    const off_t oldSize = st.st_size;
    created = created && oldSize == 0;

    // fsync brings delayed write errors of a network drive to light while
    // the lock is still held and the record can still be taken back.
    bool written = writeAll(fd, bytes, write) && (!S_ISREG(st.st_mode) || ::fsync(fd) == 0);
    int err = errno;
    if (!written) {
        // Take back whatever part of the record reached the file.
        if (created)
            ::unlink(path.c_str());
        else if (S_ISREG(st.st_mode))
            (void)!::ftruncate(fd, oldSize);
    }
    // Closing releases the lock; after a successful fsync it cannot lose data.
    ::close(fd);
    if (written)
        return true;
    describe(error, "cannot write " + path, err);
    return false;
}

} // namespace FileIO

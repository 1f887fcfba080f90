#include "platform/SingleInstance.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::string TemporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? std::string(tmp) : std::string("/tmp");
}

namespace {

using Clock = std::chrono::steady_clock;

// How long a start sleeps between tries of a lock that another holds.
constexpr int kRetryMs = 15;

// 0 when `folder` is a real folder (no symbolic link) of this user's that
// nobody else may enter, else the error that refuses it.
int CheckPrivateFolder(const std::string& folder)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    if (info.st_uid != ::geteuid() || (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return EACCES;
    return 0;
}

// Opens a lock file, making it when missing; -1 with `error` set when it
// cannot be opened or is no regular file (a FIFO, a link, a folder...).
int OpenLockFile(const std::string& path, int& error)
{
    // Read-only is enough for flock; no open waits (a FIFO would).
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat info {};
    const int refused = ::fstat(fd, &info) != 0 ? errno : !S_ISREG(info.st_mode) ? EINVAL : 0;
    if (refused != 0) {
        error = refused;
        ::close(fd);
        return -1;
    }
    return fd;
}

// One try at `operation` without waiting: 0, EWOULDBLOCK when another holds
// a conflicting lock, or another error.
int TryLock(int fd, int operation)
{
    int result;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// Tries `operation` until `deadline`: 0, ETIMEDOUT when the lock stayed held
// by another, or another error.
int LockBefore(int fd, int operation, Clock::time_point deadline)
{
    for (;;) {
        const int error = TryLock(fd, operation);
        if (error != EWOULDBLOCK)
            return error;
        if (Clock::now() >= deadline)
            return ETIMEDOUT;
        ::poll(nullptr, 0, kRetryMs);
    }
}

} // namespace

std::string SingleInstanceFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && CheckPrivateFolder(runtime) == 0)
        return runtime;
    const std::string folder = TemporaryFolder() + "/quorin-" + std::to_string(::geteuid());
    // An existing folder, or one that cannot be made, is judged when used.
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

CSingleInstanceMutex::CSingleInstanceMutex(const std::string& name, const std::string& folder,
                                           std::chrono::milliseconds patience)
    : m_path(folder + "/" + name + ".lock")
{
    m_lastError = CheckPrivateFolder(folder);
    if (m_lastError != 0)
        return;
    const Clock::time_point deadline = Clock::now() + patience;

    // The exclusive test and the shared hold are not one step; a second,
    // short lock keeps two starts from slipping between them.
    const int guard = OpenLockFile(folder + "/" + name + ".guard", m_lastError);
    if (guard < 0)
        return;
    m_lastError = LockBefore(guard, LOCK_EX, deadline);
    if (m_lastError == 0) {
        m_fd = OpenLockFile(m_path, m_lastError);
        if (m_fd >= 0) {
            // Instances hold the mark shared: an exclusive lock is free only
            // when none runs.
            const int tried = TryLock(m_fd, LOCK_EX);
            m_lastError = tried == EWOULDBLOCK ? 0 : tried;
            if (m_lastError == 0)
                m_lastError = LockBefore(m_fd, LOCK_SH, deadline);
            if (m_lastError != 0) {
                ::close(m_fd);
                m_fd = -1;
            } else if (tried == EWOULDBLOCK) {
                m_lastError = kErrorAlreadyExists;
            }
        }
    }
    ::close(guard);
}

CSingleInstanceMutex::~CSingleInstanceMutex()
{
    Close();
}

void CSingleInstanceMutex::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

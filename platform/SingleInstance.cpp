#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string TemporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? std::string(tmp) : std::string("/tmp");
}

namespace {

int OpenLockFile(const std::string& path)
{
    // Read-only is enough for flock and lets other users share a file that
    // the first user created.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int Lock(int fd, int operation)
{
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

CSingleInstanceMutex::CSingleInstanceMutex(const std::string& name, const std::string& folder)
    : m_path(folder + "/" + name + ".lock")
{
    // The exclusive test and the shared hold are not one step; a second,
    // short lock keeps two starts from slipping between them.
    const int guard = OpenLockFile(folder + "/" + name + ".guard");
    if (guard < 0) {
        m_lastError = errno;
        return;
    }
    if (const int error = Lock(guard, LOCK_EX); error != 0) {
        m_lastError = error;
        ::close(guard);
        return;
    }
    m_fd = OpenLockFile(m_path);
    if (m_fd < 0) {
        m_lastError = errno;
    } else {
        const int tried = Lock(m_fd, LOCK_EX | LOCK_NB);
        if (tried == EWOULDBLOCK)
            m_lastError = kErrorAlreadyExists;
        else if (tried != 0)
            m_lastError = tried;
        if (const int error = Lock(m_fd, LOCK_SH); error != 0) {
            m_lastError = m_lastError != 0 ? m_lastError : error;
            ::close(m_fd);
            m_fd = -1;
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

#include "platform/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

int CreateNewFile(const std::string& path, int& error)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    error = fd < 0 ? errno : 0;
    return fd;
}

bool RenameNoReplace(const std::string& from, const std::string& to, int& error)
{
    error = 0;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error = errno;
        return false;
    }
    // link() fails with EEXIST on a taken name, so it never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    if (::unlink(from.c_str()) != 0) {
        // Leave the file under its old name only, as a failed rename would.
        error = errno;
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

bool WriteAllAt(int fd, uint64_t offset, const uint8_t* data, std::size_t size, int& error)
{
    error = 0;
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (written == 0) {
            // No progress and no reason given: do not spin.
            error = EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<uint64_t>(written);
    }
    return true;
}

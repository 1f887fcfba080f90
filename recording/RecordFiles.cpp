#include "recording/RecordFiles.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

#include "platform/SafeFile.h"

namespace {

class CPosixRecordFile final : public IRecordFile {
public:
    // The lock tells a recovery at another program's start that this file
    // is still being written; the system drops it however the program ends.
    CPosixRecordFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path))
    {
        (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    }
    ~CPosixRecordFile() override { ::close(m_fd); }
    CPosixRecordFile(const CPosixRecordFile&) = delete;
    CPosixRecordFile& operator=(const CPosixRecordFile&) = delete;

    bool WriteAt(uint64_t offset, const uint8_t* data, std::size_t size, int& error) override
    {
        return WriteAllAt(m_fd, offset, data, size, error);
    }
    bool Sync(int& error) override
    {
        error = ::fdatasync(m_fd) == 0 ? 0 : errno;
        return error == 0;
    }
    const std::string& Path() const override { return m_path; }

private:
    int m_fd;
    std::string m_path;
};

class CPosixRecordFileSystem final : public IRecordFileSystem {
public:
    std::unique_ptr<IRecordFile> CreateNew(const std::string& path, int& error) override
    {
        const int fd = CreateNewFile(path, error);
        if (fd < 0)
            return nullptr;
        return std::make_unique<CPosixRecordFile>(fd, path);
    }
    bool RenameNoReplace(const std::string& from, const std::string& to, int& error) override
    {
        return ::RenameNoReplace(from, to, error);
    }
    bool Remove(const std::string& path, int& error) override
    {
        error = ::unlink(path.c_str()) == 0 ? 0 : errno;
        return error == 0;
    }
};

} // namespace

std::shared_ptr<IRecordFileSystem> PosixRecordFileSystem()
{
    return std::make_shared<CPosixRecordFileSystem>();
}

std::unique_ptr<IRecordFile> CreateNumbered(IRecordFileSystem& files, const std::string& path, int& error)
{
    // Beyond this many taken names something else is wrong.
    constexpr int kMaxNumberedName = 9999;
    for (int n = 1; n <= kMaxNumberedName; ++n) {
        std::unique_ptr<IRecordFile> file = files.CreateNew(n == 1 ? path : NumberedPath(path, n), error);
        if (file || error != EEXIST)
            return file;
    }
    return nullptr;
}

std::string JournalPathOf(const std::string& path)
{
    return path + ".journal";
}

std::string NumberedPath(const std::string& path, int n)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    // A dot in a folder name or leading a hidden name is no extension.
    if (dot == std::string::npos || dot <= nameStart)
        dot = path.size();
    return path.substr(0, dot) + "_" + std::to_string(n) + path.substr(dot);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int FileExceptionCause(int error)
{
    switch (error) {
    case ENOSPC:
        return 13;
    case EACCES:
    case EROFS:
        return 5;
    case EIO:
        return 10;
    default:
        return 1;
    }
}

const char* FileExceptionText(int cause)
{
    static const char* const kTexts[] = {
        "CFileException::none",
        "CFileException::genericException",
        nullptr, // file not found has no text of its own
        "CFileException::badPath",
        "CFileException::tooManyOpenFiles",
        "CFileException::accessDenied",
        "CFileException::invalidFile",
        "CFileException::removeCurrentDir",
        "CFileException::directoryFull",
        "CFileException::badSeek",
        "CFileException::hardIO",
        "CFileException::sharingViolation",
        "CFileException::lockViolation",
        "CFileException::diskFull",
        "CFileException::endOfFile",
    };
    constexpr int kCount = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    if (cause < 0 || cause >= kCount || kTexts[cause] == nullptr)
        return "Undefined CFileException";
    return kTexts[cause];
}

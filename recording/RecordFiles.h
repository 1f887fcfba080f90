#pragma once
// Where the recorder's bytes go: a file it created and the few things it does
// with names. The real one sits on the safe-file helpers; tests put a fake in
// its place to block, fail or watch the writes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class IRecordFile {
public:
    virtual ~IRecordFile() = default;
    // False with errno in `error` when the bytes could not all be written.
    virtual bool WriteAt(uint64_t offset, const uint8_t* data, std::size_t size, int& error) = 0;
    // What was written reaches the disk; false with errno in `error`.
    virtual bool Sync(int& error)
    {
        error = 0;
        return true;
    }
    virtual const std::string& Path() const = 0;
};

class IRecordFileSystem {
public:
    virtual ~IRecordFileSystem() = default;
    // A new, empty file; null with errno in `error` (EEXIST when the name is
    // taken: an existing file is never opened, let alone truncated).
    virtual std::unique_ptr<IRecordFile> CreateNew(const std::string& path, int& error) = 0;
    virtual bool RenameNoReplace(const std::string& from, const std::string& to, int& error) = 0;
    virtual bool Remove(const std::string& path, int& error) = 0;
};

std::shared_ptr<IRecordFileSystem> PosixRecordFileSystem();

// A new file at `path`, or at the first free "_2", "_3", ... beside it when
// the name is taken; null with errno in `error` for any other refusal.
std::unique_ptr<IRecordFile> CreateNumbered(IRecordFileSystem& files, const std::string& path, int& error);

// The journal an open episode keeps beside its file: its events as they
// happen, so that an interrupted episode can still be finished.
std::string JournalPathOf(const std::string& path);

// "folder/name.qre" with n = 2 gives "folder/name_2.qre"; a name without an
// extension gets the number at its end.
std::string NumberedPath(const std::string& path, int n);

// The part of a path after its last '/'.
std::string FileNameOf(const std::string& path);

// The file-exception cause an errno stands for: disk full 13, access denied
// 5, hard I/O 10, anything else generic 1.
int FileExceptionCause(int error);

// The text of a file-exception cause, as the status and the log show it.
const char* FileExceptionText(int cause);

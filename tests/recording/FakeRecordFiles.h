#pragma once
// A file system in memory for the recorder's tests: it keeps every write,
// can hold the worker inside a write until the test lets it go, can fail
// writes of one size with a chosen errno, and folders can refuse files.
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "recording/RecordFiles.h"

struct FakeWrite {
    std::string path;
    uint64_t offset;
    std::vector<uint8_t> bytes;
};

struct FakeDisk {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::string, bool> names; // existing names; true while open
    std::vector<FakeWrite> writes;
    std::vector<std::string> removed;
    int writeCalls = 0;
    int blockAtCall = 0; // 1-based; 0 blocks nothing
    bool blocked = false;
    bool released = false;
    std::size_t failSize = 0;
    int failErrno = 0; // -1: throw instead
    std::map<std::string, int> refusingFolders; // no file is made in them: errno

    template <class Pred>
    bool WaitFor(Pred done)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return done(); });
    }
    bool WaitBlocked()
    {
        return WaitFor([this] { return blocked; });
    }
    bool WaitClosed(const std::string& path)
    {
        return WaitFor([&] { return names.count(path) != 0 && !names[path]; });
    }
    void Release()
    {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    std::vector<FakeWrite> WritesTo(const std::string& path)
    {
        std::lock_guard lock(mutex);
        std::vector<FakeWrite> out;
        for (const FakeWrite& w : writes)
            if (w.path == path)
                out.push_back(w);
        return out;
    }
    // The file as the writes left it.
    std::vector<uint8_t> Image(const std::string& path)
    {
        std::vector<uint8_t> image;
        for (const FakeWrite& w : WritesTo(path)) {
            if (image.size() < w.offset + w.bytes.size())
                image.resize(w.offset + w.bytes.size());
            std::copy(w.bytes.begin(), w.bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(w.offset));
        }
        return image;
    }
};

class FakeFile final : public IRecordFile {
public:
    FakeFile(std::shared_ptr<FakeDisk> disk, std::string path) : m_disk(std::move(disk)), m_path(std::move(path)) {}
    ~FakeFile() override
    {
        std::lock_guard lock(m_disk->mutex);
        m_disk->names[m_path] = false;
        m_disk->changed.notify_all();
    }
    bool WriteAt(uint64_t offset, const uint8_t* data, std::size_t size, int& error) override
    {
        std::unique_lock lock(m_disk->mutex);
        if (++m_disk->writeCalls == m_disk->blockAtCall) {
            m_disk->blocked = true;
            m_disk->changed.notify_all();
            m_disk->changed.wait(lock, [this] { return m_disk->released; });
        }
        if (size == m_disk->failSize && m_disk->failErrno < 0)
            throw std::runtime_error("the sink broke");
        if (size == m_disk->failSize) {
            error = m_disk->failErrno;
            return false;
        }
        m_disk->writes.push_back({m_path, offset, std::vector<uint8_t>(data, data + size)});
        m_disk->changed.notify_all();
        return true;
    }
    const std::string& Path() const override { return m_path; }

private:
    std::shared_ptr<FakeDisk> m_disk;
    std::string m_path;
};

class FakeFileSystem final : public IRecordFileSystem {
public:
    explicit FakeFileSystem(std::shared_ptr<FakeDisk> disk) : m_disk(std::move(disk)) {}
    std::unique_ptr<IRecordFile> CreateNew(const std::string& path, int& error) override
    {
        std::lock_guard lock(m_disk->mutex);
        if (m_disk->names.count(path) != 0) {
            error = EEXIST;
            return nullptr;
        }
        const auto folder = m_disk->refusingFolders.find(path.substr(0, path.rfind('/')));
        if (folder != m_disk->refusingFolders.end()) {
            error = folder->second;
            return nullptr;
        }
        m_disk->names[path] = true;
        return std::make_unique<FakeFile>(m_disk, path);
    }
    bool RenameNoReplace(const std::string& from, const std::string& to, int& error) override
    {
        std::lock_guard lock(m_disk->mutex);
        error = m_disk->names.count(from) == 0 ? ENOENT : m_disk->names.count(to) != 0 ? EEXIST : 0;
        if (error == 0) {
            m_disk->names[to] = m_disk->names[from];
            m_disk->names.erase(from);
        }
        return error == 0;
    }
    bool Remove(const std::string& path, int& error) override
    {
        std::lock_guard lock(m_disk->mutex);
        error = m_disk->names.erase(path) != 0 ? 0 : ENOENT;
        m_disk->removed.push_back(path);
        m_disk->changed.notify_all();
        return error == 0;
    }

private:
    std::shared_ptr<FakeDisk> m_disk;
};

#pragma once
// Real files in a temporary folder, watched so that a test can wait for the
// recorder's worker with a time-out instead of sleeping, and made to fail
// on demand.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "recording/NorqFileRecorder.h"

class WatchedFiles : public IRecordFileSystem {
public:
    std::unique_ptr<IRecordFile> CreateNew(const std::string& path, int& error) override
    {
        auto file = m_disk->CreateNew(path, error);
        if (!file)
            return nullptr;
        Change([this] { ++m_open; });
        return std::make_unique<File>(*this, std::move(file));
    }
    bool RenameNoReplace(const std::string& from, const std::string& to, int& error) override
    {
        const bool done = m_disk->RenameNoReplace(from, to, error);
        Change([] {});
        return done;
    }
    bool Remove(const std::string& path, int& error) override
    {
        const bool done = m_disk->Remove(path, error);
        Change([] {});
        return done;
    }

    // Every write fails with this errno while it is nonzero.
    std::atomic<int> failWith{0};

    // Until no file is open and the recorder is idle; false after 5 s.
    bool WaitSaved(const CNorqFileRecorder& recorder)
    {
        std::unique_lock lock(m_mutex);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (m_open != 0 || recorder.State() != CNorqFileRecorder::kIdle) {
            // The state is set just after the file goes: look again shortly.
            if (m_changed.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() +
                                                                  std::chrono::milliseconds(20))) ==
                    std::cv_status::timeout &&
                std::chrono::steady_clock::now() >= deadline)
                return false;
        }
        return true;
    }

private:
    class File : public IRecordFile {
    public:
        File(WatchedFiles& owner, std::unique_ptr<IRecordFile> file) : m_owner(owner), m_file(std::move(file)) {}
        ~File() override
        {
            m_file.reset();
            m_owner.Change([this] { --m_owner.m_open; });
        }
        bool WriteAt(uint64_t offset, const uint8_t* data, std::size_t size, int& error) override
        {
            if (const int fail = m_owner.failWith.load()) {
                error = fail;
                return false;
            }
            return m_file->WriteAt(offset, data, size, error);
        }
        const std::string& Path() const override { return m_file->Path(); }

    private:
        WatchedFiles& m_owner;
        std::unique_ptr<IRecordFile> m_file;
    };

    template <class F>
    void Change(F&& f)
    {
        {
            std::lock_guard lock(m_mutex);
            f();
        }
        m_changed.notify_all();
    }

    std::shared_ptr<IRecordFileSystem> m_disk = PosixRecordFileSystem();
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_open = 0;
};

inline std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

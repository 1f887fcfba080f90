#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Event.h"
#include "platform/Folders.h"
#include "platform/Thread.h"
#include "platform/WindowMessages.h"

TEST(Event, AutomaticResetReleasesOneWaitAndResets)
{
    CEvent event(CEvent::Reset::Automatic);
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0)) << "an automatic event resets after one wait";
}

TEST(Event, ManualResetStaysSetUntilReset)
{
    CEvent event(CEvent::Reset::Manual);
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0));
    event.ResetEvent();
    EXPECT_FALSE(event.Wait(0));
}

TEST(Event, WakesAWaiterOnAnotherThread)
{
    CEvent started, go;
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        started.Set();
        woke = go.Wait(10000);
    });
    ASSERT_TRUE(started.Wait(10000));
    go.Set();
    waiter.join();
    EXPECT_TRUE(woke);
}

TEST(ThreadName, NamesWorkerCutTo15BytesAndLeavesMainThread)
{
    const std::string mainName = GetThreadName();
    SetThreadName("Main Thread");
    EXPECT_EQ(GetThreadName(), mainName) << "the main thread keeps the process name";

    std::string seen;
    std::thread worker([&] {
        SetThreadName("Bluetooth Packet Processor");
        seen = GetThreadName();
    });
    worker.join();
    EXPECT_EQ(seen, std::string("Bluetooth Packet Processor").substr(0, 15));
}

TEST(TickCount, IsMonotonic)
{
    const uint32_t first = GetTickCount();
    const uint32_t second = GetTickCount();
    EXPECT_LT(uint32_t(second - first), 1000u);
}

TEST(WindowMessages, SameNameSameIdFromC000)
{
    const uint32_t a = RegisterWindowMessage("test_platform_message_A");
    const uint32_t b = RegisterWindowMessage("test_platform_message_B");
    EXPECT_GE(a, 0xC000u);
    EXPECT_GE(b, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage("test_platform_message_A"), a);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(WindowMessages, QueuePosterKeepsOrderAndWaitsWithTimeout)
{
    QueuePoster poster;
    EXPECT_FALSE(poster.Take(0).has_value());
    std::thread sender([&] {
        for (uintptr_t i = 1; i <= 3; ++i)
            EXPECT_TRUE(poster.Post({7, 0xC001, i, -static_cast<intptr_t>(i)}));
    });
    for (uintptr_t i = 1; i <= 3; ++i) {
        auto message = poster.Take(10000);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->target, 7u);
        EXPECT_EQ(message->wParam, i);
        EXPECT_EQ(message->lParam, -static_cast<intptr_t>(i));
    }
    sender.join();
    EXPECT_EQ(poster.Size(), 0u);
}

class DocumentsFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() / ("quorin-docs-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_root);
        Save("HOME");
        Save("XDG_DOCUMENTS_DIR");
        Save("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DOCUMENTS_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override
    {
        for (auto& [name, value] : m_saved) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
        std::filesystem::remove_all(m_root);
    }
    void Save(const std::string& name)
    {
        const char* v = std::getenv(name.c_str());
        m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::filesystem::path m_root;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(DocumentsFolder, FallsBackToHomeDocumentsAndCreatesIt)
{
    ::setenv("HOME", (m_root / "home").c_str(), 1);
    std::string folder;
    ASSERT_TRUE(GetMyDocumentsFolder(folder));
    EXPECT_EQ(folder, (m_root / "home" / "Documents").string());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(DocumentsFolder, ReadsUserDirsFile)
{
    const auto home = m_root / "home";
    std::filesystem::create_directories(home / ".config");
    {
        std::ofstream dirs(home / ".config" / "user-dirs.dirs");
        dirs << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers/Work\"\n";
    }
    ::setenv("HOME", home.c_str(), 1);
    std::string folder;
    ASSERT_TRUE(GetMyDocumentsFolder(folder));
    EXPECT_EQ(folder, (home / "Papers" / "Work").string());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(DocumentsFolder, FailsWhenFolderCannotBeMade)
{
    const auto blocker = m_root / "file";
    std::filesystem::create_directories(m_root);
    { std::ofstream(blocker) << "x"; }
    ::setenv("XDG_DOCUMENTS_DIR", (blocker / "Documents").c_str(), 1);
    std::string folder = "unchanged";
    EXPECT_FALSE(GetMyDocumentsFolder(folder));
    EXPECT_EQ(folder, "unchanged");
}

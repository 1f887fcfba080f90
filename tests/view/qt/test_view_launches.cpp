// The Help launches and the settings files from the view's commands: the
// launch threads' boxes reach the UI thread through the poster, and the
// settings go out to a file and come back.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/MenuCommands.h"
#include "app/SettingsNames.h"
#include "platform/MemoryProfileStore.h"
#include "platform/qt/QtShellLauncher.h"
#include "tests/view/qt/ViewFixture.h"

namespace {

// Runs in a folder of its own and comes back to the one it left.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : m_before(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_before); }

private:
    std::filesystem::path m_before;
};

class ViewLaunches : public QuorinViewTest {
protected:
    std::string LogText()
    {
        CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
        if (logger == nullptr || !logger->WaitForWriter(5000))
            return {};
        std::ifstream file(logger->FullPath());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    bool WaitForPrompts(size_t count)
    {
        return QTest::qWaitFor([&] { return m_prompter.Prompts().size() >= count; }, 5000);
    }
    std::string Folder() const { return m_documents.path().toStdString(); }
};

}  // namespace

TEST_F(ViewLaunches, WithoutTheManualItsBoxAndLogLineComeFromTheRealShell)
{
    ViewServices services;
    services.shell = std::make_shared<CQtShellLauncher>();
    CQuorinView& view = Open(800, 600, std::move(services));
    const size_t before = m_prompter.Prompts().size();
    const std::string empty = Folder() + "/empty";
    std::filesystem::create_directory(empty);
    {
        const InFolder here(empty);
        view.OnCommand(menu::kManual);
    }
    ASSERT_TRUE(WaitForPrompts(before + 1));
    const auto prompt = m_prompter.Prompts().back();
    EXPECT_EQ(prompt.text, "The Quorin Manual page was not found.\n");
    EXPECT_EQ(prompt.caption, "Open Quorin Manual Error");
    EXPECT_EQ(prompt.type, uint32_t(kMbOk | kMbIconWarning));
    EXPECT_NE(LogText().find("CQuorinView::IeManThread"), std::string::npos);
    EXPECT_NE(LogText().find("Error launching the Quorin Manual page: The Quorin Manual page was not found."),
              std::string::npos);
}

TEST_F(ViewLaunches, TheRemoteSupportThreadGoesOnWhenTheViewIsGone)
{
    auto shell = std::make_shared<CScriptedShellLauncher>();
    shell->QueueDocumentResult(kShellFileNotFound);
    ViewServices services;
    services.shell = shell;
    Open(800, 600, std::move(services)).OnCommand(menu::kQuickSupport);
    m_view.reset();
    // Its first box never shows; it opens the download page all the same.
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->Documents().size() == 2; }, 5000));
    EXPECT_EQ(shell->Documents()[1], std::string(kNorqWebHost) + kQuickSupportPath);
}

TEST_F(ViewLaunches, SettingsGoOutToAFileAndComeBack)
{
    CMemorySettingsKeys keys;
    m_app.SetRegistryKey(keys, kCompanyKey);
    m_app.LoadSettings();
    ASSERT_TRUE(m_app.SaveSettings());
    CScriptedFileChooser chooser;
    ViewServices services;
    services.fileChooser = &chooser;
    CQuorinView& view = Open(800, 600, std::move(services));
    const size_t boxes = m_prompter.Prompts().size();
    const auto here = std::filesystem::current_path();
    const std::string file = Folder() + "/clinic.Quorin";
    const int32_t port = m_app.m_config.portNum;

    chooser.QueueAnswer(file);
    view.OnCommand(menu::kExportSettings);
    ASSERT_TRUE(std::filesystem::exists(file));
    m_app.m_storedConfig.portNum = port + 5;
    ASSERT_TRUE(m_app.SaveSettings());
    m_app.m_config.portNum = port + 5;

    view.OnCommand(menu::kImportSettings);  // cancelled
    EXPECT_EQ(m_app.m_config.portNum, port + 5);
    chooser.QueueAnswer(file);
    view.OnCommand(menu::kImportSettings);
    EXPECT_EQ(m_app.m_config.portNum, port);
    EXPECT_EQ(m_app.m_storedConfig.portNum, port);
    EXPECT_EQ(keys.Key(SettingsScope::User, kProgramKey)->GetProfileInt("Defaults\\Values", "PortNum", 99),
              uint32_t(port));
    EXPECT_EQ(m_prompter.Prompts().size(), boxes);
    EXPECT_EQ(std::filesystem::current_path(), here);

    // The second choice starts where the first one was.
    const auto requests = chooser.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].request.defaultSuffix, "Quorin");
    EXPECT_EQ(requests[0].request.types.front().pattern, "*.Quorin");
    EXPECT_EQ(requests[2].request.startFolder, Folder());
}

TEST_F(ViewLaunches, AFailedExportOrImportSaysSoAndChangesNothing)
{
    CMemorySettingsKeys keys;
    m_app.SetRegistryKey(keys, kCompanyKey);
    m_app.LoadSettings();
    ASSERT_TRUE(m_app.SaveSettings());
    CScriptedFileChooser chooser;
    ViewServices services;
    services.fileChooser = &chooser;
    CQuorinView& view = Open(800, 600, std::move(services));
    const std::string garbage = Folder() + "/garbage.Quorin";
    std::ofstream(garbage) << "\x01\x02 not settings\n[x\n";
    const struct {
        uint32_t command;
        std::string file;
        const char* caption;
        std::string log;
    } cases[] = {
        {menu::kExportSettings, Folder() + "/no-such-folder/out.Quorin", "Export Settings Error",
         "CQuorinView::OnExportSettings"},
        {menu::kImportSettings, garbage, "Import Settings Error", "CQuorinView::OnImportSettings"},
        {menu::kImportSettings, Folder() + "/missing.Quorin", "Import Settings Error",
         "The settings could not be imported from " + Folder() + "/missing.Quorin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto stored = keys.Key(SettingsScope::User, kProgramKey)->ReadAll();
        m_app.m_config.portNum = 77;  // in force, not stored: an import would replace it
        chooser.QueueAnswer(c.file);
        const size_t before = m_prompter.Prompts().size();
        view.OnCommand(c.command);
        ASSERT_EQ(m_prompter.Prompts().size(), before + 1);
        EXPECT_EQ(m_prompter.Prompts().back().caption, c.caption);
        EXPECT_NE(m_prompter.Prompts().back().text.find(c.file), std::string::npos);
        EXPECT_NE(LogText().find(c.log), std::string::npos);
        EXPECT_EQ(m_app.m_config.portNum, 77);
        EXPECT_EQ(keys.Key(SettingsScope::User, kProgramKey)->ReadAll(), stored);
    }
    EXPECT_FALSE(std::filesystem::exists(Folder() + "/no-such-folder"));
}

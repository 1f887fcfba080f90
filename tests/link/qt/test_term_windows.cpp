#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "link/LiveData.h"
#include "link/TermDlgTables.h"
#include "link/qt/Password.h"
#include "link/qt/ProgramFileChooser.h"
#include "link/qt/SelectDeviceDlg.h"
#include "link/qt/TermDlgWnd.h"
#include "platform/DynamicLibrary.h"
#include "tests/link/TermHarness.h"

namespace {

// The real support library, its device list in a file of the test's own.
class DeviceDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_library = m_loader.Load(ZELBEX_LIBRARY);
        ASSERT_NE(m_library, nullptr);
        m_api.buildDeviceList = reinterpret_cast<int (*)(const char*, int)>(m_loader.Symbol(m_library, "zlbBuildDeviceList"));
        m_api.getDeviceString =
            reinterpret_cast<int (*)(int, char*, int)>(m_loader.Symbol(m_library, "zlbGetDeviceString"));
        m_api.getDevicePort = reinterpret_cast<int (*)(int)>(m_loader.Symbol(m_library, "zlbGetDevicePort"));
        m_list = std::filesystem::temp_directory_path() / ("zelbex-" + std::to_string(::getpid()) + ".txt");
        if (const char* old = std::getenv("ZELBEX_DEVICE_LIST"))
            m_old = old;
        ::setenv("ZELBEX_DEVICE_LIST", m_list.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_old)
            ::setenv("ZELBEX_DEVICE_LIST", m_old->c_str(), 1);
        else
            ::unsetenv("ZELBEX_DEVICE_LIST");
        std::filesystem::remove(m_list);
        if (m_library != nullptr)
            m_loader.Free(m_library);
    }

    CDlopenLoader m_loader;
    void* m_library = nullptr;
    DeviceListApi m_api;
    std::filesystem::path m_list;
    std::optional<std::string> m_old;
};

TEST_F(DeviceDialog, TheRemoteOnThePortInUseIsPreselectedAndConnectGivesItsPort)
{
    std::ofstream(m_list) << "Norq-SL 0042,5\nOther phone,6\nNorq-TK 0007,7\n";
    struct Case {
        int port;
        int selected;
        int chosenPort;
    };
    for (const Case c : {Case{7, 1, 7}, Case{9, 0, 5}}) {
        CSelectDeviceDlg dialog(m_api, c.port);
        ASSERT_EQ(dialog.DeviceList()->count(), 2);
        EXPECT_EQ(dialog.DeviceList()->itemText(1).toStdString(), "Norq-TK 0007");
        EXPECT_EQ(dialog.DeviceList()->currentIndex(), c.selected);
        EXPECT_EQ(dialog.Message()->text().toStdString(), kSelectRemoteText);
        EXPECT_FALSE(dialog.ConnectButton()->isHidden());
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Position(), c.selected);
        EXPECT_EQ(dialog.Port(), c.chosenPort);
    }
}

TEST_F(DeviceDialog, WithoutRemoteOrRadioOnlyCancelIsLeft)
{
    struct Case {
        bool listFile;
        const char* message;
    };
    for (const Case c : {Case{true, kNoRemoteText}, Case{false, kNoRadioText}}) {
        if (c.listFile)
            std::ofstream(m_list) << "Headset,3\n";
        else
            std::filesystem::remove(m_list);
        CSelectDeviceDlg dialog(m_api, 3);
        EXPECT_EQ(dialog.Message()->text().toStdString(), c.message);
        EXPECT_TRUE(dialog.ConnectButton()->isHidden());
        EXPECT_FALSE(dialog.ConnectButton()->isEnabled());
        EXPECT_TRUE(dialog.DeviceList()->isHidden());
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
}

TEST(PasswordDialog, TheTypedCodeDecidesAndAWrongOneIsTold)
{
    struct Case {
        bool serviceMode;
        const char* typed;
        TermAccess access;
        std::size_t boxes;
    };
    for (const Case c : {Case{false, "TORNWHISK", TermAccess::kFull, 0}, Case{false, "guess", TermAccess::kRefused, 1},
                         Case{true, "", TermAccess::kFull, 0}}) {
        CScriptedPrompter prompter;
        CPassword dialog(c.serviceMode, 2024, 5, 6, prompter);
        EXPECT_EQ(dialog.DecidedWithoutAsking(), c.serviceMode);
        EXPECT_EQ(dialog.PasswordEdit()->maxLength(), 39);
        if (!c.serviceMode) {
            dialog.PasswordEdit()->setText(c.typed);
            dialog.accept();
        }
        EXPECT_EQ(dialog.Access(), c.access) << c.typed;
        ASSERT_EQ(prompter.Prompts().size(), c.boxes);
        if (c.boxes != 0) {
            EXPECT_EQ(prompter.Prompts()[0].caption, kAccessDeniedCaption);
        }
    }
}

TEST(TermWindow, MirrorsTheTerminalAndShowsPostedTextOnlyWhileShown)
{
    ResetLiveStore();
    g_liveData.deviceKind = kDeviceSelvo;
    CSerial port;
    FakeTermOwner owner(port);
    CTK_TermDlg terminal(owner);
    terminal.SetFullAuthority(false);
    CScriptedPrompter prompter;
    CQtMessagePoster poster;
    CTK_TermDlgWnd window(terminal, prompter, poster, RegisterWindowMessage("CTK_TERMDLG_NEWSTRING"));
    window.Open();
    window.show();
    EXPECT_EQ(window.windowTitle().toStdString(), kTermTitleProvisional);
    EXPECT_TRUE(window.Control(kTermProgram)->isVisible());
    EXPECT_FALSE(window.Control(kTermBpStart)->isVisible());
    EXPECT_EQ(static_cast<QComboBox*>(window.Control(kTermOutputList))->count(), 12);
    EXPECT_EQ(static_cast<QLineEdit*>(window.Control(kTermDeviceName))->text().toStdString(), "Norq-SL");

    terminal.AppendOutput("line one\n", 9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.OutputBox()->toPlainText() == "line one\n"; }, 5000));

    // Enter in the input line sends the line; the box follows the terminal.
    owner.live = true;
    QTest::keyClicks(window.Control(kTermInput), "he");
    QTest::keyClick(window.Control(kTermInput), Qt::Key_Return);
    EXPECT_EQ(owner.Drain(), (std::vector<std::string>{"\x06", "he\r"}));
    EXPECT_TRUE(static_cast<QLineEdit*>(window.Control(kTermInput))->text().isEmpty());

    // Escape quits as the button does; the window stays for late posts.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(terminal.IsShown());
    EXPECT_FALSE(window.isVisible());
    window.OnNewString(new std::string("late"), new TermSelection());
    EXPECT_EQ(window.OutputBox()->toPlainText(), "line one\n");
    ResetLiveStore();
}

TEST(ProgramFileChooser, TheInstructionIsReadInTheDialogAndOkGivesTheChosenFile)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorin-rmt-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "Selvo_1.2.rmt";
    std::ofstream(program) << "@4000\n0A 1B\nq\n";

    CProgramFileChooser chooser(QString::fromStdString(folder.string()));
    chooser.show();
    EXPECT_FALSE(chooser.windowTitle().contains(QLatin1Char('\r')));
    EXPECT_FALSE(chooser.windowTitle().contains(QStringLiteral("'.rmt'")));
    ASSERT_TRUE(chooser.Instruction()->isVisible());
    const QStringList lines = chooser.Instruction()->text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines, (QStringList{"Warning: This will program flash....Select 'Cancel' to exit.",
                                  "To program select a file with extension '.rmt' then 'OK'."}));
    EXPECT_TRUE(chooser.Files()->isVisible());

    chooser.Files()->selectFile(QString::fromStdString(program.string()));
    QMetaObject::invokeMethod(chooser.Files(), "accept");
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenFile(), program.string());
    std::filesystem::remove_all(folder);
}

}  // namespace

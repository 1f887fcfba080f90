// The switcher's forms offscreen, on quorin's settings file in a
// throwaway configuration folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "NorqRemoteSwitcher/qt/frmConfigure.h"
#include "NorqRemoteSwitcher/qt/frmMain.h"
#include "app/SettingsNames.h"
#include "platform/qt/QtProfileStore.h"

namespace {

// quorin's key, as quorin opens it.
std::shared_ptr<IProfileStore> OpenQuorinKey()
{
    CQtSettingsKeys keys;
    return keys.OpenKey(SettingsScope::User, kProgramKey, true);
}

class SwitcherForms : public ::testing::Test {
protected:
    void SetUp() override { Store({}); }

    // The file holds exactly `values`, and the forms get a store of their own.
    void Store(const IProfileStore::Values& values)
    {
        ASSERT_TRUE(OpenQuorinKey()->ReplaceAll(values));
        m_store = OpenQuorinKey();
        m_registry = CRegistryModule(m_store.get());
        m_services = {&m_registry, &m_prompter, &m_launcher, &m_probe, &SystemOsVersion(), "/opt/norq"};
    }
    // What a later reader of the file (quorin) finds.
    static IProfileStore::Values FileNow() { return OpenQuorinKey()->ReadAll(); }

    template <typename T> static T* Control(QWidget& form, const QString& name)
    {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    std::shared_ptr<IProfileStore> m_store;
    CRegistryModule m_registry{nullptr};
    CScriptedPrompter m_prompter;
    CScriptedShellLauncher m_launcher;
    CNoBluetoothStackProbe m_probe;
    SwitcherServices m_services;
    RemoteTable m_table;
};

const IProfileStore::Values kTwoRemotes = {
    {"Defaults/Values/WinBluetooth", "0"}, {"Defaults/Values/PortNum", "3"},
    {"Defaults/Remotes/RNum", "2"},
    {"Defaults/Remotes/RType1", "0"},      {"Defaults/Remotes/RName1", "Bay 1"}, {"Defaults/Remotes/RPort1", "5"},
    {"Defaults/Remotes/RType2", "2"},      {"Defaults/Remotes/RName2", "Bay 2"}, {"Defaults/Remotes/RPort2", "7"},
};

} // namespace

TEST_F(SwitcherForms, MainFormListsTheStoredRemotes)
{
    struct Row {
        IProfileStore::Values values;
        QStringList items;
        bool connect;
    };
    IProfileStore::Values eleven = kTwoRemotes;
    eleven["Defaults/Remotes/RNum"] = "11";
    const Row rows[] = {
        {kTwoRemotes, {"Moval    :   Bay 1", "Tarvik+  :   Bay 2"}, true},
        {eleven, {"No Remotes Configured"}, false},
        {{}, {"No Remotes Configured"}, false},
    };
    for (const Row& row : rows) {
        Store(row.values);
        frmMain form(m_services, m_table);
        ASSERT_TRUE(form.Load());
        auto* list = Control<QComboBox>(form, "cboRemote");
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        EXPECT_EQ(items, row.items);
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_EQ(Control<QPushButton>(form, "cmdConnect")->isEnabled(), row.connect);
        EXPECT_EQ(Control<QLabel>(form, "lblCaption")->text().toStdString(),
                  row.connect ? kRemotesCaption : kNoRemotesCaption);
    }
}

TEST_F(SwitcherForms, HiddenAreaRevealsTheSystemStackBox)
{
    frmMain form(m_services, m_table);
    ASSERT_TRUE(form.Load());
    form.show();
    auto* msbt = Control<QCheckBox>(form, "chkMSBT");
    auto* connect = Control<QPushButton>(form, "cmdConnect");
    EXPECT_FALSE(msbt->isVisible());
    QTest::mouseClick(Control<QLabel>(form, "lblHidden"), Qt::LeftButton);
    EXPECT_TRUE(msbt->isVisible());
    EXPECT_EQ(msbt->text(), "Switch to MS Bluetooth configuration");
    for (const bool ticked : {true, false}) {
        msbt->click();
        EXPECT_EQ(connect->isEnabled(), ticked);
    }
}

TEST_F(SwitcherForms, ConnectHandsTheChoiceToQuorinThroughTheFile)
{
    for (const bool ticked : {false, true}) {
        Store(kTwoRemotes);
        RemoteTable table;
        frmMain form(m_services, table);
        ASSERT_TRUE(form.Load());
        form.show();
        auto* list = Control<QComboBox>(form, "cboRemote");
        list->setCurrentIndex(1);
        emit list->activated(1);
        if (ticked) {
            QTest::mouseClick(Control<QLabel>(form, "lblHidden"), Qt::LeftButton);
            Control<QCheckBox>(form, "chkMSBT")->click();
        }
        Control<QPushButton>(form, "cmdConnect")->click();

        EXPECT_EQ(form.result(), QDialog::Accepted);
        const IProfileStore::Values file = FileNow();
        EXPECT_EQ(file.at("Defaults/Values/PortNum"), ticked ? "3" : "7");
        EXPECT_EQ(file.at("Defaults/Values/WinBluetooth"), ticked ? "1" : "0");
    }
    const auto requests = m_launcher.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].file, "/opt/norq/quorin");
    EXPECT_TRUE(requests[0].arguments.empty());
    EXPECT_EQ(requests[0].folder, "/opt/norq");
    EXPECT_TRUE(m_prompter.Prompts().empty());
}

TEST_F(SwitcherForms, ConnectStartsNothingWhenTheFileCannotBeWritten)
{
    Store(kTwoRemotes);
    QTemporaryDir folder;
    // A settings file below a plain file can never be made.
    QFile blocker(folder.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CQtProfileStore unwritable(folder.filePath("plain/quorin.conf"));
    CRegistryModule registry(&unwritable);
    m_services.registry = &registry;
    m_table.count = 1;
    m_table.entries[0] = {0, "Bay 1", 5, "Moval    :   Bay 1"};

    frmMain form(m_services, m_table);
    form.show();
    Control<QPushButton>(form, "cmdConnect")->click();
    EXPECT_TRUE(m_launcher.Requests().empty());
    ASSERT_EQ(m_prompter.Prompts().size(), 1u);
    EXPECT_EQ(m_prompter.Prompts()[0].text, "There was a problem loading Quorin.\nPlease call Norq Technology for support.");
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(SwitcherForms, ConfigureSavesTheRowsWithATypeAndMovesThemUp)
{
    IProfileStore::Values five = {{"Defaults/Remotes/RNum", "5"}};
    for (int n = 1; n <= 5; ++n) {
        five["Defaults/Remotes/RType" + std::to_string(n)] = "1";
        five["Defaults/Remotes/RName" + std::to_string(n)] = "R" + std::to_string(n);
        five["Defaults/Remotes/RPort" + std::to_string(n)] = std::to_string(10 + n);
    }
    five["Defaults/Remotes/RPort1"] = "1";
    Store(five);
    frmMain main(m_services, m_table);
    ASSERT_TRUE(main.Load());

    frmConfigure form(m_registry, m_prompter, m_table);
    form.show();
    // The stored port 1 loaded as 0; a typed 1 is kept.
    auto* port0 = Control<QLineEdit>(form, "txtRPort0");
    EXPECT_EQ(port0->text(), "0");
    port0->selectAll();
    QTest::keyClicks(port0, "1");
    auto* name0 = Control<QLineEdit>(form, "txtRName0");
    name0->selectAll();
    QTest::keyClicks(name0, "007");
    for (const char* dropped : {"cboRType1", "cboRType4"})
        Control<QComboBox>(form, dropped)->setCurrentIndex(0);
    auto* name1 = Control<QLineEdit>(form, "txtRName1");
    EXPECT_FALSE(name1->isEnabled());
    EXPECT_EQ(name1->palette().color(QPalette::Disabled, QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(Control<QLineEdit>(form, "txtRName2")->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    Control<QComboBox>(form, "cboRType2")->setCurrentIndex(5);

    m_prompter.QueueAnswer(kIdNo);
    Control<QPushButton>(form, "cmdOK")->click();
    EXPECT_EQ(FileNow(), five);
    m_prompter.QueueAnswer(kIdYes);
    Control<QPushButton>(form, "cmdOK")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);

    const IProfileStore::Values saved = {
        {"Defaults/Remotes/RNum", "3"},
        {"Defaults/Remotes/RType1", "1"}, {"Defaults/Remotes/RName1", "007"}, {"Defaults/Remotes/RPort1", "1"},
        {"Defaults/Remotes/RType2", "4"}, {"Defaults/Remotes/RName2", "R3"},  {"Defaults/Remotes/RPort2", "13"},
        {"Defaults/Remotes/RType3", "1"}, {"Defaults/Remotes/RName3", "R4"},  {"Defaults/Remotes/RPort3", "14"},
    };
    EXPECT_EQ(FileNow(), saved);
    ASSERT_EQ(m_prompter.Prompts().size(), 2u);
    EXPECT_EQ(m_prompter.Prompts()[1].text, "Do you want to save these values?");
    EXPECT_EQ(m_prompter.Prompts()[1].caption, "Save?");

    // The table holds the labels of an edit; the file reads back as saved.
    RemoteTable reloaded;
    ASSERT_TRUE(LoadRemotes(CRegistryModule(OpenQuorinKey().get()), reloaded));
    EXPECT_EQ(reloaded.entries[0].name, "007");
    EXPECT_EQ(reloaded.entries[0].port, 0);
    EXPECT_EQ(m_table.entries[1].label, "Brindle   :   R3");
}

TEST_F(SwitcherForms, PortBoxesTakeNumbersUpTo255)
{
    struct Row {
        const char* typed;
        const char* pasted;
        const char* box;
        bool refused;
    };
    const Row rows[] = {
        {"12a3", nullptr, "123", false}, {"25", nullptr, "25", false},  {"256", nullptr, "0", false},
        {"", "-1", "0", false},          {"", "abc", "abc", true},      {"", "7x", "7x", true},
    };
    for (const Row& row : rows) {
        CScriptedPrompter prompter;
        RemoteTable table;
        frmConfigure form(m_registry, prompter, table);
        form.show();
        Control<QComboBox>(form, "cboRType3")->setCurrentIndex(1);
        auto* port = Control<QLineEdit>(form, "txtRPort3");
        QTest::keyClicks(port, row.typed);
        if (row.pasted) {
            QGuiApplication::clipboard()->setText(row.pasted);
            port->paste();
        }
        EXPECT_EQ(port->text().toStdString(), row.box) << row.typed << row.pasted;
        ASSERT_EQ(prompter.Prompts().size(), row.refused ? 1u : 0u) << row.box;
        if (row.refused) {
            EXPECT_EQ(prompter.Prompts()[0].text, "That action is not allowed.\nPlease only input a number.");
        }
    }
    // Backspace erases; it types no digit.
    RemoteTable table;
    frmConfigure form(m_registry, m_prompter, table);
    form.show();
    Control<QComboBox>(form, "cboRType0")->setCurrentIndex(2);
    auto* port = Control<QLineEdit>(form, "txtRPort0");
    QTest::keyClicks(port, "12");
    QTest::keyClick(port, Qt::Key_Backspace);
    EXPECT_EQ(port->text(), "1");
    EXPECT_EQ(port->toolTip(), "Type the COM port number assigned to your remote during bluetooth discovery (0 - 255).");
}

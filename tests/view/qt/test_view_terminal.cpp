#include <QLineEdit>
#include <QPushButton>

#include "app/MenuCommands.h"
#include "link/TermDlgTables.h"
#include "link/qt/Password.h"
#include "link/qt/TermDlgWnd.h"
#include "tests/view/qt/ViewFixture.h"

namespace {

TEST_F(QuorinViewTest, TheServiceCommandOpensTheTerminalOnlyPastItsLock)
{
    struct Case {
        const char* typed;
        bool opened;
    };
    for (const Case c : {Case{"not it", false}, Case{"TornWhisk", true}}) {
        int dialogs = 0;
        bool shownInside = false;
        std::string title;
        ViewServices services;
        services.runServiceDialog = [&](QDialog& dialog) {
            ++dialogs;
            if (auto* password = qobject_cast<CPassword*>(&dialog)) {
                password->PasswordEdit()->setText(c.typed);
                password->accept();
                return int(dialog.result());
            }
            auto& window = dynamic_cast<CTK_TermDlgWnd&>(dialog);
            shownInside = window.Terminal().IsShown();
            title = window.windowTitle().toStdString();
            g_linkMode = kLinkTerminal;
            static_cast<QPushButton*>(window.Control(kTermQuit))->click();
            return int(dialog.result());
        };
        CQuorinView& view = Open(800, 600, services);
        m_prompter.QueueAnswer(kIdOk);
        view.RunCommand(menu::kService);
        EXPECT_EQ(dialogs, c.opened ? 2 : 1) << c.typed;
        EXPECT_EQ(shownInside, c.opened);
        EXPECT_EQ(title, c.opened ? kTermTitleFull : "");
        EXPECT_FALSE(view.TermDlg().IsShown());
        EXPECT_EQ(g_linkMode.load(), kLinkDecode);
        m_view.reset();
    }
}

}  // namespace

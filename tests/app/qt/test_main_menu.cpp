// The menu bar and the keys of the main window: every command where the
// menu shows it, and the keys reaching the view only while enabled.
#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

#include "app/FrameButtons.h"
#include "app/MenuCommands.h"
#include "app/qt/EXStatusBar.h"
#include "app/qt/MainFrame.h"
#include "app/qt/ToolBar24.h"

namespace {

struct FrameDeleter {
    void operator()(CMainFrame* frame) const { delete frame; }
};

std::unique_ptr<CMainFrame, FrameDeleter> ShownFrame(std::vector<std::uint32_t>& ran)
{
    std::unique_ptr<CMainFrame, FrameDeleter> frame(CreateMainFrame());
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->SetCommandHandlers([&ran](std::uint32_t id) { ran.push_back(id); }, [] {});
    frame->show();
    frame->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    return frame;
}

} // namespace

TEST(MainMenu, EveryCommandStandsInItsMenuWithItsTextAndTip)
{
    std::vector<std::uint32_t> ran;
    auto frame = ShownFrame(ran);
    const QList<QAction*> titles = frame->menuBar()->actions();
    ASSERT_EQ(titles.size(), 4);
    for (int m = 0; m < 4; ++m) {
        const MenuDef& def = MainMenu()[std::size_t(m)];
        EXPECT_EQ(titles[m]->text().toStdString(), def.title);
        const QList<QAction*> items = titles[m]->menu()->actions();
        ASSERT_EQ(items.size(), qsizetype(def.items.size())) << def.title;
        for (std::size_t i = 0; i < def.items.size(); ++i) {
            const std::uint32_t id = def.items[i].id;
            EXPECT_EQ(items[qsizetype(i)]->text().toStdString(), def.items[i].text);
            EXPECT_EQ(items[qsizetype(i)], frame->CommandAction(id));
            EXPECT_EQ(items[qsizetype(i)]->statusTip().toStdString(), GetCommandPrompt(id)) << id;
        }
    }
    // The tool bar's buttons are the same actions.
    EXPECT_EQ(frame->CommandAction(menu::kRecord), frame->GetToolBar()->FindButton(menu::kRecord));
}

TEST(MainMenu, KeysRunEnabledCommandsWithTheBarsHidden)
{
    std::vector<std::uint32_t> ran;
    auto frame = ShownFrame(ran);
    frame->CommandAction(menu::kToolBar)->trigger();
    EXPECT_FALSE(frame->GetToolBar()->isVisible());
    EXPECT_FALSE(frame->CommandAction(menu::kToolBar)->isChecked());

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::uint32_t id;
        bool enabled;
    };
    const Case cases[] = {
        {Qt::Key_S, Qt::AltModifier, menu::kSweepCycle, true},   // the cycle, not the dialog
        {Qt::Key_G, Qt::AltModifier, menu::kGainCycle, true},
        {Qt::Key_H, Qt::AltModifier, menu::kHrFromSpO2, true},   // over "&Help"
        {Qt::Key_R, Qt::ControlModifier, menu::kRecord, false},
        {Qt::Key_N, Qt::ControlModifier, menu::kNewPatient, true},
    };
    for (const Case& c : cases) {
        frame->SetCommandState(c.id, c.enabled, false);
        ran.clear();
        QTest::keyClick(frame.get(), c.key, c.modifiers);
        EXPECT_EQ(ran, c.enabled ? std::vector<std::uint32_t>{c.id} : std::vector<std::uint32_t>{}) << c.id;
    }
    // Exit closes the frame: the way to quit.
    frame->CommandAction(menu::kExit)->trigger();
    EXPECT_FALSE(frame->isVisible());
}

TEST(MainMenu, TheViewMenuFollowsTheBarsWhoeverHidesThem)
{
    std::vector<std::uint32_t> ran;
    auto frame = ShownFrame(ran);
    QMenu* view = frame->menuBar()->actions()[1]->menu();
    const struct {
        std::uint32_t id;
        QWidget* bar;
        std::function<void()> hideElsewhere;
    } cases[] = {
        // The tool bar's own context menu holds its toggle action.
        {menu::kToolBar, frame->GetToolBar(), [&frame] { frame->GetToolBar()->toggleViewAction()->trigger(); }},
        {menu::kStatusBar, frame->GetStatusBar(), [&frame] { frame->GetStatusBar()->hide(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        QAction* entry = frame->CommandAction(c.id);
        EXPECT_TRUE(entry->isChecked());
        c.hideElsewhere();
        ASSERT_TRUE(c.bar->isHidden());
        view->popup(QPoint(0, 0));
        EXPECT_FALSE(entry->isChecked());
        view->hide();
        // One choice brings the bar back.
        entry->trigger();
        EXPECT_FALSE(c.bar->isHidden());
        EXPECT_TRUE(entry->isChecked());
    }
}

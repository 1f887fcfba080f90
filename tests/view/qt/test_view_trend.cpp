// The view's trend window: one at a time, however it is asked for, and the
// view's flag follows it however it closes.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "ViewFixture.h"
#include "app/MenuCommands.h"
#include "link/DecodeState.h"
#include "platform/qt/PushPinButton.h"
#include "recording/qt/Trend.h"

namespace {

class ViewTrend : public QuorinViewTest {
protected:
    static void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

}  // namespace

TEST_F(ViewTrend, OneWindowAtATimeClosedByTheRemoteOrEscape)
{
    int made = 0;
    ViewServices services;
    services.makeTrendWindow = [&made](ITrendView& source, QWidget* parent) -> QDialog* {
        ++made;
        return new CTrend(source, parent);
    };
    CQuorinView& view = Open(800, 600, std::move(services));
    view.m_connection.live = 1;
    m_app.m_config.autoTrend = 60;
    view.UpdateCommandStates();

    view.OnCommand(menu::kTrend);
    ASSERT_EQ(made, 1);
    QPointer<CTrend> first = qobject_cast<CTrend*>(view.TrendWindow());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(view.m_trendState.trendOpen, 1);
    first->Pin().SetPinned(true);
    view.OnTimer(7);  // the periodic opener over a pinned window
    view.OnCommand(menu::kTrend);
    EXPECT_EQ(made, 1) << "a second opening is ignored";

    // The remote's trend button asks it to close; its next tick does.
    view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 12), 0);
    EXPECT_EQ(view.m_trendState.trendOpen, 0);
    first->OnTimer(CTrend::kCloseTimer);
    DeleteLater();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(view.TrendWindow(), nullptr);

    view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 12), 0);
    ASSERT_EQ(made, 2) << "closed, the button opens one";
    QTest::keyClick(view.TrendWindow(), Qt::Key_Escape);
    DeleteLater();
    EXPECT_EQ(view.m_trendState.trendOpen, 0) << "Escape leaves the view ready for the next";
    view.OnCommand(menu::kTrend);
    EXPECT_EQ(made, 3);
}

TEST_F(ViewTrend, AWindowAskedToCloseMakesWayForTheNext)
{
    std::vector<QPointer<QDialog>> made;
    ViewServices services;
    services.makeTrendWindow = [&made](ITrendView& source, QWidget* parent) -> QDialog* {
        made.emplace_back(new CTrend(source, parent));
        return made.back();
    };
    CQuorinView& view = Open(800, 600, std::move(services));
    view.m_connection.live = 1;
    view.UpdateCommandStates();
    view.OnCommand(menu::kTrend);
    view.m_trendState.trendOpen = 0;  // asked to close, its tick not yet come
    view.OnCommand(menu::kTrend);
    DeleteLater();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_TRUE(made[0].isNull());
    EXPECT_EQ(view.m_trendState.trendOpen, 1) << "the old one's end leaves the new one open";
    EXPECT_EQ(view.TrendWindow(), made[1]);
}

TEST_F(ViewTrend, TimesCountFromTheFirstConnectionAcrossRecordingsAndReturns)
{
    uint64_t now = 5'000'000;
    ITrendView* source = nullptr;
    ViewServices services;
    services.tickMs = [&now] { return now; };
    services.makeTrendWindow = [&source](ITrendView& view, QWidget* parent) -> QDialog* {
        source = &view;
        return new QDialog(parent);
    };
    CQuorinView& view = Open(800, 600, std::move(services));
    view.m_rec.startupPending = false;
    view.m_connection.live = 1;
    view.UpdateCommandStates();
    view.OnCommand(menu::kTrend);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->ElapsedSeconds(), 0) << "before any connection";

    g_liveData.deviceKind = kDeviceTarvik;
    view.SetConnectionStatus(2);
    now += 88'000;
    EXPECT_EQ(source->ElapsedSeconds(), 88);
    // A recording's end, a lost link and its return move nothing: the
    // store they follow is kept across them.
    view.RunCommand(menu::kRecord);
    now += 10'000;
    view.RunCommand(menu::kRecord);
    EXPECT_EQ(source->ElapsedSeconds(), 98);
    view.SetConnectionStatus(3);
    now += 5'000;
    g_liveData.deviceKind = kDeviceTarvik;
    view.SetConnectionStatus(2);
    EXPECT_EQ(source->ElapsedSeconds(), 103);
}

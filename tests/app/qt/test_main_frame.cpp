#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

#include "app/FrameButtons.h"
#include "app/MenuCommands.h"
#include "app/qt/EXStatusBar.h"
#include "app/qt/MainFrame.h"
#include "app/qt/ToolBar24.h"
#include "view/qt/ColorStatic.h"

namespace {

struct FrameDeleter {
    void operator()(CMainFrame* frame) const { delete frame; }
};
using FramePtr = std::unique_ptr<CMainFrame, FrameDeleter>;

FramePtr MakeFrame()
{
    FramePtr frame(CreateMainFrame());
    EXPECT_NE(frame, nullptr);
    return frame;
}

bool IsGrey(QRgb pixel)
{
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
}

} // namespace

TEST(MainFrame, EveryControlCarriesItsId)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->findChild<QToolBar*>("59392"), nullptr);
    EXPECT_NE(frame->findChild<QStatusBar*>("59393"), nullptr);
    EXPECT_NE(frame->findChild<CColorStatic*>("9080"), nullptr);
    for (const char* pane : {"59137", "59138", "59139"})
        EXPECT_NE(frame->findChild<QWidget*>(pane), nullptr) << pane;
    for (const ToolBarCommand& command : ToolBarCommands()) {
        const QString id = QString::number(command.id);
        EXPECT_NE(frame->findChild<QAction*>(id), nullptr) << command.id;
        EXPECT_NE(frame->findChild<QToolButton*>(id), nullptr) << command.id;
    }
}

TEST(MainFrame, ToolBarButtonsWaitForTheViewAndCarryTheirTexts)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    CMainToolBar* bar = frame->GetToolBar();
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
    ASSERT_EQ(bar->actions().size(), 11);
    for (QAction* action : bar->actions()) {
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    }
    QAction* bp = bar->FindButton(menu::kBloodPressure);
    ASSERT_NE(bp, nullptr);
    EXPECT_EQ(bp->toolTip(), "Start and Stop BP");
    EXPECT_EQ(bp->statusTip(), "Start and Stop BP");
    QAction* recording = bar->FindButton(menu::kRecord);
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(recording->toolTip(), "Toggle Continuous Recording");
    EXPECT_EQ(recording->statusTip(), "Start and Stop Continuous Recording");
    EXPECT_EQ(bar->FindButton(menu::kConnect), nullptr) << "connect lives in the menu only";
}

TEST(MainFrame, StatusBarPanesAndTheConnectionWindow)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    CEXStatusBar* bar = frame->GetStatusBar();
    ASSERT_EQ(bar->GetCount(), 5);
    const std::uint32_t order[] = {0, 9080, 0xE701, 0xE702, 0xE703};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bar->GetItemID(i), order[i]) << i;

    std::uint32_t id = 0, style = 0;
    int width = 0;
    ASSERT_TRUE(bar->GetPaneInfo(1, id, style, width));
    EXPECT_EQ(id, 9080u);
    EXPECT_EQ(width, QFontMetrics(bar->font()).horizontalAdvance("WIRELESS REMOTE DISCONNECTED"));
    EXPECT_GT(width, QFontMetrics(bar->font()).horizontalAdvance("COM88"));

    CColorStatic* connection = frame->GetConnectionWindow();
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->parentWidget(), bar);
    EXPECT_EQ(bar->GetPaneWindow(9080), connection);
    EXPECT_EQ(connection->font(), bar->font());
    EXPECT_TRUE(connection->text().isEmpty());
    EXPECT_EQ(connection->alignment(), Qt::AlignCenter);
}

TEST(MainFrame, ConnectionWindowFollowsItsPane)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(900, 500);
    frame->show();
    QCoreApplication::processEvents();
    CEXStatusBar* bar = frame->GetStatusBar();
    CColorStatic* connection = frame->GetConnectionWindow();

    auto expectInsidePane = [&] {
        const QRect pane = bar->GetItemRect(1);
        ASSERT_FALSE(pane.isEmpty());
        const QRect window = connection->geometry();
        EXPECT_TRUE(pane.contains(window)) << "window outside its pane";
        EXPECT_EQ(window.center().x(), pane.center().x());
        EXPECT_GE(window.width(), pane.width() - 4);
    };
    expectInsidePane();
    const QRect before = connection->geometry();
    frame->resize(700, 500);
    QCoreApplication::processEvents();
    expectInsidePane();
    EXPECT_NE(connection->geometry().left(), before.left()) << "the pane moved with the bar's right edge";

    bar->ResizePane(1, 40);
    QCoreApplication::processEvents();
    expectInsidePane();
    EXPECT_LT(connection->width(), before.width());
    EXPECT_NE(connection->geometry(), bar->GetItemRect(1)) << "a bordered pane insets its window";

    // A pane without borders gives its window the whole rectangle.
    bar->SetPaneInfo(1, 9080, kPaneNoBorders, 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(connection->geometry(), bar->GetItemRect(1));
}

TEST(MainFrame, SecondPaneWindowIsRefusedAndTheFirstKept)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    CEXStatusBar* bar = frame->GetStatusBar();
    QPointer<CColorStatic> first = frame->GetConnectionWindow();
    auto* second = new CColorStatic(bar);
    EXPECT_FALSE(bar->AttachPaneWindow(second));
    EXPECT_EQ(bar->GetPaneWindow(9080), first.data());
    EXPECT_FALSE(bar->AttachPaneWindow(nullptr));

    // Once the hosted window is gone the pane takes another.
    delete first.data();
    EXPECT_TRUE(bar->AttachPaneWindow(second));
    EXPECT_EQ(bar->GetPaneWindow(9080), second);

    QPointer<CColorStatic> watched = second;
    frame.reset();
    EXPECT_TRUE(watched.isNull()) << "the hosted window goes with its bar";
}

TEST(MainFrame, BarWithoutConnectionPaneRefusesWindows)
{
    CEXStatusBar bar;
    const std::uint32_t ids[] = {0, 0xE701};
    ASSERT_TRUE(bar.SetIndicators(ids, 2));
    CColorStatic window(&bar);
    EXPECT_FALSE(bar.AttachPaneWindow(&window));
    const std::uint32_t unknown[] = {0, 4242};
    EXPECT_FALSE(bar.SetIndicators(unknown, 2));
    EXPECT_EQ(bar.GetCount(), 2) << "a refused table leaves the panes";
}

TEST(MainFrame, EachSetterUpdatesFirstAndIgnoresARepeat)
{
    struct Setter {
        void (CMainFrame::*set)(bool);
        FrameButton button;
    };
    const Setter setters[] = {
        {&CMainFrame::SetRWaveMarkerButton, FrameButton::RWaveMarker},
        {&CMainFrame::SetQrsToneButton, FrameButton::QrsTone},
        {&CMainFrame::SetSilenceAlarmButton, FrameButton::SilenceAlarm},
        {&CMainFrame::SetAlarmsButton, FrameButton::Alarms},
        {&CMainFrame::SetRecordingButton, FrameButton::Recording},
        {&CMainFrame::SetTracingsButton, FrameButton::Tracings},
    };
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    CMainToolBar* bar = frame->GetToolBar();
    for (int i = 0; i < CFrameButtonStates::kCount; ++i)
        EXPECT_EQ(frame->CachedButtonState(i), -1);

    for (const Setter& setter : setters) {
        const FrameButtonInfo& info = GetFrameButtonInfo(setter.button);
        // The resting image is the "on" image: the first call must still act.
        (frame.get()->*setter.set)(true);
        EXPECT_EQ(bar->GetButtonImage(info.commandId), info.imageOn);
        (frame.get()->*setter.set)(false);
        EXPECT_EQ(bar->GetButtonImage(info.commandId), info.imageOff);

        ASSERT_TRUE(bar->SetButtonImage(info.commandId, 0));
        (frame.get()->*setter.set)(false);
        EXPECT_EQ(bar->GetButtonImage(info.commandId), 0) << "a repeated state leaves the button alone";
    }
    // A command whose rule names its image (the blood-pressure button).
    for (const int image : {22, 15}) {
        frame->SetCommandImage(menu::kBloodPressure, image);
        EXPECT_EQ(bar->GetButtonImage(menu::kBloodPressure), image);
    }
}

TEST(MainFrame, ShownMaximisedAndClosedWithoutAPrompt)
{
    QPointer<CMainFrame> frame = CreateMainFrame();
    ASSERT_FALSE(frame.isNull());
    frame->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(frame->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull()) << "closing destroys the frame";
}

TEST(ToolBarImages, ThreeListsFromTheStrip)
{
    FramePtr frame = MakeFrame();
    ASSERT_TRUE(frame);
    CMainToolBar* bar = frame->GetToolBar();
    using List = CToolBar24::ImageList;
    ASSERT_EQ(bar->ImageCount(List::Hot), kToolBarImageCount);
    ASSERT_EQ(bar->ImageCount(List::Disabled), kToolBarImageCount);
    ASSERT_EQ(bar->ImageCount(List::Normal), kToolBarImageCount);

    const QRgb magenta = qRgb(255, 0, 255);
    for (int index : {3, 10, 15, 25}) {
        const QImage hot = bar->ListImage(List::Hot, index);
        const QImage disabled = bar->ListImage(List::Disabled, index);
        const QImage normal = bar->ListImage(List::Normal, index);
        ASSERT_EQ(hot.size(), QSize(32, 32));
        int coloured = 0, lighter = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb plain = hot.pixel(x, y);
                const QRgb off = disabled.pixel(x, y);
                const QRgb lit = normal.pixel(x, y);
                if (plain == magenta) {
                    EXPECT_EQ(off, magenta);
                    EXPECT_EQ(lit, magenta);
                    continue;
                }
                EXPECT_TRUE(IsGrey(off)) << index << " at " << x << "," << y;
                if (!IsGrey(plain))
                    ++coloured;
                if (qGray(lit) >= qGray(plain))
                    ++lighter;
                if (plain == qRgb(255, 255, 255)) {
                    EXPECT_EQ(lit, plain);
                }
            }
        EXPECT_GT(coloured, 0) << "image " << index << " has colour to grey";
        EXPECT_GT(lighter, 0);
    }
}

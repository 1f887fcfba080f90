#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "ViewFixture.h"


TEST_F(QuorinViewTest, AResizeRefreshesTheLayersOnceAndASameSizePaintNever)
{
    CQuorinView& view = Open(1200, 700);
    const int refreshes = view.LayerRefreshCount();
    ASSERT_GT(refreshes, 0);
    Paint();
    Paint();
    EXPECT_EQ(view.LayerRefreshCount(), refreshes);

    view.resize(1000, 600);
    Paint();
    Paint();
    EXPECT_EQ(view.LayerRefreshCount(), refreshes + 1);
    EXPECT_EQ(view.Metrics().paneWidth, view.Layout().groups.front().rect.Width()) << "the pane follows the size";

    // The fonts scale with the height: a window with none keeps its layout.
    const BoxMetrics before = view.Metrics();
    view.OnSize(1000, 0);
    EXPECT_EQ(view.Metrics().paneWidth, before.paneWidth);
    EXPECT_EQ(view.Metrics().largeValueHeight, before.largeValueHeight);
}

TEST_F(QuorinViewTest, EveryModelDrawsIntoFourLayersAtLeastStripSized)
{
    CQuorinView& view = Open(1200, 700);
    for (const int32_t kind : {kDeviceBrindle, kDeviceTarvik}) {
        g_liveData.deviceKind = kind;
        view.ResetWaveformStrips();
        Paint();
        EXPECT_EQ(view.Roles().stripCount, kind == kDeviceBrindle ? 2 : 4);
        EXPECT_EQ(view.LayerCount(), 4) << "kind " << kind;
        const StripLayout strips = PlanStrips(view.width(), view.height(), view.Metrics(),
                                              view.Layout().bandHeight, view.Roles().stripCount);
        EXPECT_GE(view.StripLayerSize().width(), strips.strips[0].Width());
        EXPECT_GE(view.StripLayerSize().height(), strips.strips[0].Height());
    }
}

TEST_F(QuorinViewTest, ThePaneShowsTheRemotesGroupsWithTheirValues)
{
    CQuorinView& view = Open(1600, 900);
    ASSERT_NE(view.ValueBox(kParamHeartRate), nullptr);
    EXPECT_EQ(view.ValueBox(kParamHeartRate)->text(), QStringLiteral("---"));
    EXPECT_TRUE(view.ValueBox(kParamHeartRate)->isVisible() || !view.isVisible());
    EXPECT_EQ(view.CaptionBox(kGroupHeartRate)->text(), QStringLiteral("  HR (bpm) - ECG"));
    EXPECT_EQ(view.ValueBox(kParamSpO2), nullptr) << "the start state has ECG and temperature only";

    g_liveData.featureBits = uint16_t(kFeatureEcg | kFeatureSpO2 | kFeatureTemp);
    view.LayoutNumerics();
    ASSERT_NE(view.ValueBox(kParamSpO2), nullptr);
    EXPECT_EQ(view.CaptionBox(kGroupSpO2)->text(), QStringLiteral("  SpO2 (%)"));
}

TEST_F(QuorinViewTest, APostToAClosedViewFailsAndFreesNothingTwice)
{
    static int freed = 0;
    freed = 0;
    const uint32_t message = RegisterWindowMessage("QuorinViewTest_Payload");
    m_poster.SetPayloadDeleter(message, [](const PostedMessage& posted) {
        delete reinterpret_cast<std::string*>(posted.lParam);
        ++freed;
    });
    const WindowHandle handle = Open(800, 600).GetSafeHwnd();
    ASSERT_NE(handle, 0u);
    PostedMessage post{handle, message, 0, reinterpret_cast<std::intptr_t>(new std::string("queued"))};
    ASSERT_TRUE(m_poster.Post(post));

    m_view.reset();  // closes with the post still queued
    EXPECT_EQ(freed, 1) << "the queued payload went with the view";
    auto* late = new std::string("late");
    post.lParam = reinterpret_cast<std::intptr_t>(late);
    EXPECT_FALSE(m_poster.Post(post));
    delete late;  // refused: still the sender's
    QCoreApplication::processEvents();
    EXPECT_EQ(freed, 1);
}

TEST_F(QuorinViewTest, TheViewStartsAndEndsTheSessionLog)
{
    CQuorinView& view = Open(800, 600);
    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr);
    const std::string path = logger->FullPath();
    EXPECT_TRUE(view.Link().IsProcessorRunning());
    m_view.reset();
    EXPECT_EQ(CNorqEventLogger::GetInstance(), nullptr) << "the view shut the logger down";
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string text(1 << 16, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    EXPECT_NE(text.find("Session Started at"), std::string::npos);
    EXPECT_NE(text.find("Session ended at"), std::string::npos);
}

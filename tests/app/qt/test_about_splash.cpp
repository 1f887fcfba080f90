// The splash screen and the about box, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include "app/qt/AboutDlg.h"
#include "app/qt/BitmapResources.h"
#include "app/qt/SplashBitmap.h"
#include "app/qt/SplashWnd.h"

namespace {

std::string Text(const QDialog& dialog, const char* id)
{
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(id));
    return label != nullptr ? label->text().toStdString() : "(no control)";
}

void DeleteClosedSplash()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(AboutDlg, ShowsTheThreeTextsAsPlainText)
{
    CAboutDlg about(AboutInputs{"v2.5.0", "(C) <b>Norq</b>", false, true, 3, "Model\r\nSoftware: <i>1.2</i>. v> "});
    EXPECT_EQ(about.objectName(), QStringLiteral("190"));
    EXPECT_EQ(Text(about, "1037"), "Norq Quorin v2.5.0");
    EXPECT_EQ(Text(about, "1050"), "Connected to Moval\r\n\r\nSoftware: <i>1.2</i>.");
    EXPECT_EQ(Text(about, "1353"), "(C) <b>Norq</b>");
    for (const char* id : {"1037", "1050", "1353"})
        EXPECT_EQ(about.findChild<QLabel*>(QString::fromLatin1(id))->textFormat(), Qt::PlainText) << id;

    CAboutDlg idle(AboutInputs{"vX.X.X", "", false, false, 0, ""});
    EXPECT_EQ(Text(idle, "1050"), "No Remote Connection");
    EXPECT_EQ(Text(idle, "1353"), "");
}

TEST(SplashWnd, OneAtATimeCentredAtTheBitmapsSize)
{
    ASSERT_EQ(CSplashWnd::Instance(), nullptr);
    ASSERT_TRUE(CSplashWnd::CreateAndShow());
    EXPECT_FALSE(CSplashWnd::CreateAndShow());
    CSplashWnd* splash = CSplashWnd::Instance();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), LoadFrameBitmap(kSplashBitmap).size());
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::SplashScreen));
    EXPECT_FALSE(splash->Version().GetString("FileVersion").empty());

    splash->OnTimer();
    DeleteClosedSplash();
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
}

// Start-up's pause may run the splash's timer before there is a main window.
TEST(SplashWnd, TheTimerRefreshesOnlyAMainWindowThatExists)
{
    int asked = 0;
    QWidget* mainWindow = nullptr;
    ASSERT_TRUE(CSplashWnd::CreateAndShow([&] {
        ++asked;
        return mainWindow;
    }));
    CSplashWnd::Instance()->OnTimer();
    DeleteClosedSplash();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);

    QWidget window;
    window.show();
    mainWindow = &window;
    ASSERT_TRUE(CSplashWnd::CreateAndShow([&] {
        ++asked;
        return mainWindow;
    }));
    CSplashWnd::Instance()->OnTimer();
    DeleteClosedSplash();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
}

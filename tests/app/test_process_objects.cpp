#include <gtest/gtest.h>

#include <set>

#include "app/ProcessObjects.h"
#include "platform/WindowMessages.h"

TEST(ProcessObjects, TheTenMessagesAreRegisteredUnderTheirNames)
{
    const std::pair<uint32_t, const char*> messages[] = {
        {g_wmUpdateConnectionStatus, "CDispView_UpdateConnectionStatus"},
        {g_wmDisplayPar, "CDispView_DisplayPar"},
        {g_wmResetWaveforms, "CDispView_ResetWaveforms"},
        {g_wmInvalidate, "CDispView_Invalidate"},
        {g_wmEnableAlarmTone, "CDispView_EnableAlarmTone"},
        {g_wmSetDocumentTitle, "CDispView_SetDocumentTitle"},
        {g_wmSetWindowText, "CDispView_SetWindowText"},
        {g_wmCloseRecording, "CDispView_CloseRecording"},
        {g_wmDefaultComMsg, "CSerialMoval_DefaultComMsg"},
        {g_wmTermDlgNewString, "CTK_TERMDLG_NEWSTRING"},
    };
    std::set<uint32_t> ids;
    for (const auto& [id, name] : messages) {
        EXPECT_GE(id, 0xC000u) << name;
        EXPECT_EQ(RegisterWindowMessage(name), id) << name;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 10u);
}

TEST(ProcessObjects, FileNameFilterRemovesEverythingButLettersDigitsBlanksHyphensAndUnderscores)
{
    EXPECT_EQ(std::regex_replace(std::string("Rex/Max: \"Bo\" O'Neil-2_b.qre*?"), g_fileNameFilter, ""),
              "RexMax Bo ONeil-2_bqre");
    EXPECT_EQ(std::regex_replace(std::string("plain name_1-2"), g_fileNameFilter, ""), "plain name_1-2");
}

TEST(ProcessObjects, ThereIsNoVisualStyleLibrary)
{
    EXPECT_EQ(g_themeApi.library, nullptr);
    EXPECT_EQ(g_themeApi.openThemeData, nullptr);
    EXPECT_EQ(g_themeApi.closeThemeData, nullptr);
    EXPECT_EQ(g_themeApi.drawThemeBackground, nullptr);
    EXPECT_EQ(g_themeApi.isAppThemed, nullptr);
    EXPECT_EQ(g_themeApi.getThemeBackgroundContentRect, nullptr);
}

// The update check's rules: the version file's form, what an answer means,
// the boxes, the weekly check's date; the version block and the about texts.
#include <gtest/gtest.h>

#include "app/AboutTexts.h"
#include "app/ModuleVersion.h"
#include "app/QuorinAppCore.h"
#include "app/QuorinVersion.h"
#include "app/SettingsNames.h"
#include "app/UpdateCheck.h"
#include "platform/MemoryProfileStore.h"

namespace {

constexpr int kOwn[3] = {2, 5, 0};

} // namespace

TEST(UpdateRules, VersionTextMustBeEightCharactersOfTheForm)
{
    struct Case {
        const char* text;
        bool ok;
        int major, minor, build;
    };
    const Case cases[] = {
        {"2.05.123", true, 2, 5, 123},
        {"  2.05.123  ", true, 2, 5, 123},   // blanks at both ends go
        {"2.05.123\n", false, 0, 0, 0},      // a line end is no blank
        {"\t2.05.123", false, 0, 0, 0},
        {"10.00.000", false, 0, 0, 0},       // nine characters
        {"2.5.123", false, 0, 0, 0},
        {"2.05.12a", false, 0, 0, 0},
        {"2x05.123", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int major = -1, minor = -1, build = -1;
        EXPECT_EQ(ParseVersionText(c.text, major, minor, build), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(major, c.major);
            EXPECT_EQ(minor, c.minor);
            EXPECT_EQ(build, c.build);
        }
    }
}

TEST(UpdateRules, AnAnswerCountsOnlyWhenReadWithStatus200)
{
    struct Case {
        bool transferred;
        int status;
        const char* body;
        UpdateOutcome outcome;
    };
    const Case cases[] = {
        {true, 200, "2.05.123", UpdateOutcome::newer},
        {true, 200, "3.00.000", UpdateOutcome::newer},
        {true, 200, "2.06.000", UpdateOutcome::newer},
        {true, 200, "2.05.000", UpdateOutcome::upToDate},
        {true, 200, "1.09.999", UpdateOutcome::upToDate},
        {true, 200, "<html>", UpdateOutcome::upToDate},
        {true, 404, "9.99.999", UpdateOutcome::failed},
        {true, 500, "9.99.999", UpdateOutcome::failed},
        {false, 0, "", UpdateOutcome::failed},
    };
    for (const Case& c : cases) {
        HttpResult answer;
        answer.transferred = c.transferred;
        answer.status = c.status;
        answer.body = c.body;
        int published[3] = {};
        EXPECT_EQ(JudgeVersionAnswer(answer, kOwn, published), c.outcome) << c.status << " " << c.body;
    }
}

TEST(UpdateRules, TheQuestionNamesThePageAndBothVersions)
{
    const int published[3] = {2, 5, 123};
    EXPECT_EQ(NewerVersionText("http://n.example/d.htm", published, kOwn),
              "A newer version of Quorin is available at http://n.example/d.htm.\n\n"
              "Current version:\t 2.5.123\nYour version:\t 2.5.0\n\n\n Do you want to open the website now?");
}

// A check whose owner drops it before the answer shows nothing; a silent
// failure shows nothing either.
TEST(UpdateRules, ADroppedOrSilentCheckShowsNoBox)
{
    CScriptedHttpClient http;
    CScriptedPrompter prompter;
    CScriptedShellLauncher launcher;
    const CUpdateCheck::Services services{http, prompter, launcher};
    UpdateCheckSettings settings{"http://n.example/v.txt", "http://n.example/d.htm", 300};

    auto dropped = CheckForUpdates(services, settings, kOwn, false);
    dropped.reset();
    EXPECT_FALSE(http.Complete(0, HttpResult{true, 200, "2.05.000", {}}));

    auto silent = CheckForUpdates(services, settings, kOwn, true);
    ASSERT_EQ(http.Requests().size(), 2u);
    EXPECT_EQ(http.Requests()[1].options.userAgent, "My Session");
    EXPECT_EQ(http.Requests()[1].options.maxBytes, 1024u);
    EXPECT_EQ(http.Requests()[1].options.timeoutMs, 300u);
    EXPECT_TRUE(http.Complete(1, HttpResult{false, 0, {}, "refused"}));
    EXPECT_TRUE(silent->Finished());
    EXPECT_TRUE(prompter.Prompts().empty());
    EXPECT_TRUE(launcher.Requests().empty());
}

TEST(UpdateRules, TheWeeklyCheckRunsFromSevenDaysOnAndStoresTheDate)
{
    const COleDate now = COleDate::FromDate(2024, 3, 31, 10, 30, 0);  // a DST night behind it
    struct Case {
        const char* name;
        std::optional<std::string> stored;
        bool runs;
    };
    const Case cases[] = {
        {"no date", std::nullopt, true},
        {"six days", now.AddDays(-6).Format(kLastCheckDateFormat), false},
        {"seven days", now.AddDays(-7).Format(kLastCheckDateFormat), true},
        {"a future date", now.AddDays(3).Format(kLastCheckDateFormat), false},
        {"garbage", std::string("31/03/2024 10:30"), false},
        {"no such day", std::string("2024-02-30 10:00:00"), false},
    };
    for (const Case& c : cases) {
        CMemoryProfileStore store;
        if (c.stored) {
            ASSERT_TRUE(store.WriteProfileString(kSectionSettings, kValueLastCheckForUpdates, *c.stored));
        }
        int checks = 0;
        EXPECT_EQ(AutoCheckForUpdates(&store, now, [&] { ++checks; }), c.runs) << c.name;
        EXPECT_EQ(checks, c.runs ? 1 : 0) << c.name;
        const std::string after = store.GetProfileString(kSectionSettings, kValueLastCheckForUpdates, "(none)");
        EXPECT_EQ(after, c.runs ? "2024-03-31 10:30:00" : c.stored.value_or("(none)")) << c.name;
    }
}

// The date is stored when the check starts, whatever its outcome.
TEST(UpdateRules, AFailedWeeklyCheckStillStoresTheDate)
{
    CMemoryProfileStore store;
    CScriptedHttpClient http;
    CScriptedPrompter prompter;
    CScriptedShellLauncher launcher;
    std::unique_ptr<CUpdateCheck> check;
    const COleDate now = COleDate::FromDate(2024, 6, 1, 8, 0, 0);
    ASSERT_TRUE(AutoCheckForUpdates(&store, now, [&] {
        check = CheckForUpdates({http, prompter, launcher}, UpdateCheckSettings{"u", "d", 300}, kOwn, true);
    }));
    EXPECT_TRUE(http.Complete(0, HttpResult{true, 404, "9.99.999", {}}));
    EXPECT_TRUE(prompter.Prompts().empty());
    EXPECT_EQ(ParseLastCheckDate(store.GetProfileString(kSectionSettings, kValueLastCheckForUpdates)), now);
}

TEST(ModuleVersion, OnlyTheOwnFileHasTheBuiltInBlock)
{
    std::string own;
    ASSERT_TRUE(ReadModuleFileName(own));
    CModuleVersion version;
    ASSERT_TRUE(version.Load(own));
    EXPECT_EQ(version.GetString("FileVersion"), QUORIN_FILE_VERSION);
    EXPECT_EQ(version.GetString("LegalCopyright"), QUORIN_LEGAL_COPYRIGHT);
    EXPECT_EQ(version.GetString("ProductName"), "");
    EXPECT_EQ(version.CodePage(), 1252);
    int numbers[4] = {};
    ASSERT_TRUE(ParseFileVersion(version.GetString("FileVersion"), numbers));
    EXPECT_EQ(version.dwFileVersionMS, uint32_t(numbers[0] << 16 | numbers[1]));
    EXPECT_EQ(version.dwFileVersionLS, uint32_t(numbers[2] << 16 | numbers[3]));

    for (const char* other : {"/bin/sh", "/no/such/file", ""}) {
        EXPECT_FALSE(version.Load(other)) << other;
        EXPECT_EQ(version.GetString("FileVersion"), "") << other;
    }
    CModuleVersion splashCopy;
    EXPECT_TRUE(splashCopy.LoadOwnModule());
    EXPECT_EQ(splashCopy.GetString("FileVersion"), QUORIN_FILE_VERSION);
}

// Strings are looked up under the block's own translation; a block without
// the signature does not load.
TEST(ModuleVersion, ReadsUnderTheTranslationAndNeedsTheSignature)
{
    VersionBlockValues block = BuiltInVersionBlockValues();
    block["\\VarFileInfo\\Translation"] = std::string("\x07\x04\xb0\x04", 4);  // German, Unicode
    block["\\StringFileInfo\\040704b0\\FileVersion"] = "1, 2, 3, 4";
    CModuleVersion version([&](const std::string&) { return block; });
    ASSERT_TRUE(version.Load("x"));
    EXPECT_EQ(version.Language(), 0x0407);
    EXPECT_EQ(version.CodePage(), 1200);
    EXPECT_EQ(version.GetString("FileVersion"), "1, 2, 3, 4");

    block["\\"][0] = 0;
    EXPECT_FALSE(version.Load("x"));
}

TEST(AboutTexts, RemoteTextByModelAndState)
{
    const std::string remote = "Model: M-2\r\nSoftware: 1.23\r\nv> ";
    struct Case {
        int kind;
        bool connected, demo;
        std::string buffer, expected;
    };
    const Case cases[] = {
        {3, true, false, remote, "Connected to Moval\r\n\r\nSoftware: 1.23\r\n"},
        {2, true, false, "Build 7 rev", "Connected to Tarvik+\r\n\r\nBuild 7 re"},   // a trailing v goes too
        {1, true, false, "Software: 4.5\r\nv> \r\n", "Connected to Tarvik\r\n\r\nSoftware: 4.5"},
        {4, true, false, "Software: 9 ", "Connected to Selvo\r\n\r\nSoftware: 9"},
        {5, true, false, "vv> ", "Connected to BP-Brindle\r\n\r\n"},
        {0, true, false, remote, "Software: 1.23\r\nv> "},  // no model: nothing stripped
        {2, true, true, remote, "Connected to Tarvik+\r\n\r\nDemo Simulation"},
        {3, false, false, remote, "No Remote Connection"},
    };
    for (const Case& c : cases) {
        AboutInputs inputs{"v2.5.0", "(C) Norq", c.demo, c.connected, c.kind, c.buffer};
        const AboutTexts texts = MakeAboutTexts(inputs);
        EXPECT_EQ(texts.remoteText, c.expected) << c.kind << " " << c.buffer;
        EXPECT_EQ(texts.productLine, "Norq Quorin v2.5.0");
        EXPECT_EQ(texts.legalNotice, "(C) Norq");
    }
}

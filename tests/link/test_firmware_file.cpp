#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "link/FirmwareChecks.h"
#include "link/FirmwareFile.h"
#include "link/LiveData.h"

namespace {

std::string Words(const std::string& word, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += word + (i % 16 == 15 ? "\n" : " ");
    return text;
}

TEST(FirmwareFile, AcceptedFilesBecomeTheirLines)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string full(512, 'A');
    std::string tail;
    for (int i = 0; i < 44; ++i)
        tail += "0b";
    const Case cases[] = {
        {"address, two bytes, end", "@4000\n0A 1B\nq\n", {"4000\r", "0A1B\r", "q\r"}},
        {"300 bytes wrap after 256", "@4000\n" + Words("AA", 256) + Words("0b", 44) + "q", {"4000\r", full + "\r", tail + "\r", "q\r"}},
        {"a later address keeps its @", "@4000 01\r\n@FFE0 02 03\r\nq", {"4000\r", "01\r", "@FFE0\r", "0203\r", "q\r"}},
        {"address right after address", "@1 @2 q", {"1\r", "@2\r", "q\r"}},
        {"nothing after the end mark is read", "@1 01 q zz", {"1\r", "01\r", "q\r"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        const FirmwareResult result = ParseFirmwareText(c.text, lines);
        EXPECT_TRUE(result.Ok()) << c.name << ": " << FirmwareErrorText("f.rmt", result);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(FirmwareFile, DamagedFilesAreRefusedWithTheirLine)
{
    struct Case {
        const char* name;
        std::string text;
        FirmwareFault fault;
        int line;
    };
    const Case cases[] = {
        {"data first", "0A @4000 q", FirmwareFault::kNoAddressFirst, 1},
        {"end mark first", "q", FirmwareFault::kNoAddressFirst, 1},
        {"a long word", "@4000\n0A\n0A1B2C3D q", FirmwareFault::kBadWord, 3},
        {"a single digit", "@4000\n\n\n 1 q", FirmwareFault::kBadWord, 4},
        {"not hex", "@4000 0G q", FirmwareFault::kBadWord, 1},
        {"a long address", "@123456789 q", FirmwareFault::kNoAddressFirst, 1},
        {"an address without digits", "@4000\n@\nq", FirmwareFault::kBadWord, 2},
        {"a word beginning with q", "@4000 quit", FirmwareFault::kBadWord, 1},
        {"no end mark", "@4000\n0A\n", FirmwareFault::kNoEnd, 3},
        {"empty", "", FirmwareFault::kNoEnd, 1},
        {"binary", std::string("@4000 0A\0\x01 q", 13), FirmwareFault::kBadWord, 1},
        {"2000 lines and the end mark", Words("@1", 2000) + "q", FirmwareFault::kTooManyLines, 125},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines{"untouched"};
        const FirmwareResult result = ParseFirmwareText(c.text, lines);
        EXPECT_EQ(result.fault, c.fault) << c.name;
        EXPECT_EQ(result.line, c.line) << c.name;
        EXPECT_EQ(lines, std::vector<std::string>{"untouched"}) << c.name;
        const std::string message = FirmwareErrorText("/x/Selvo_1.rmt", result);
        EXPECT_NE(message.find("/x/Selvo_1.rmt"), std::string::npos) << message;
        EXPECT_NE(message.find("Nothing has been sent"), std::string::npos) << message;
    }
    // 1999 lines and the end mark fill the table exactly.
    std::vector<std::string> lines;
    EXPECT_TRUE(ParseFirmwareText(Words("@1", 1999) + "q", lines).Ok());
    EXPECT_EQ(lines.size(), kFirmwareMaxLines);
}

TEST(FirmwareFile, FilesOnDiskAreReadWholeOrRefused)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("fw-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "Selvo_1.rmt");
    std::ofstream(folder / "Selvo_2.rmt") << "@4000\r\n0A 1B\r\nq\r\n";
    struct Case {
        std::filesystem::path path;
        FirmwareFault fault;
    };
    for (const Case& c : {Case{folder / "Selvo_2.rmt", FirmwareFault::kNone},
                          Case{folder / "Selvo_1.rmt", FirmwareFault::kNotAFile},
                          Case{folder / "missing.rmt", FirmwareFault::kUnreadable}}) {
        std::vector<std::string> lines;
        EXPECT_EQ(ReadFirmwareFile(c.path.string(), lines).fault, c.fault) << c.path;
    }
    std::filesystem::remove_all(folder);
}

TEST(FirmwareFile, TheFeedGivesEachLineOnceAndStopsAtTheEnd)
{
    CFirmwareFeed feed;
    EXPECT_TRUE(feed.CurrentLine().empty());
    feed.Install({"4000\r", "q\r"});
    std::vector<std::string> fed;
    for (int i = 0; i < 4; ++i) {
        fed.emplace_back(feed.CurrentLine());
        feed.AdvanceLine();
    }
    EXPECT_EQ(fed, (std::vector<std::string>{"4000\r", "q\r", "", ""}));
    feed.Install({"1\r"});
    EXPECT_EQ(feed.CurrentLine(), "1\r");
}

TEST(FirmwareChecks, FileNamesFitTheirModel)
{
    struct Case {
        std::string path;
        int32_t kind;
        bool oldRadio;
        bool accepted;
    };
    const Case cases[] = {
        {"/home/s/Tarvik+_1.23.rmt", kDeviceTarvikPlus, false, true},
        {"tarvik+_.rmt", kDeviceTarvikPlus, false, true},
        {"Tarvik+_1.23.rmt", kDeviceTarvikPlus, true, false},
        {"Tarvik+Old_Radio_2.0.rmt", kDeviceTarvikPlus, true, true},
        {"Tarvik+Old_Radio_2.0.rmt", kDeviceTarvikPlus, false, false},
        {"Selvo_3.rmt", kDeviceSelvo, false, true},
        {"SELVO_3.1.RMT", kDeviceSelvo, false, true},
        {"Selvo_.rmt", kDeviceSelvo, false, false},
        {"Selvo_2.rmt.bak", kDeviceSelvo, false, false},
        {"/old/Selvo_2.rmt/notes.txt", kDeviceSelvo, false, false},
        {"Selvo_1..2.rmt", kDeviceSelvo, false, false},
        {"BPBrindle_4.rmt", kDeviceBrindle, false, true},
        {"Brindle_4.rmt", kDeviceBrindle, false, true},
        {"Brindle_4.rmt", kDeviceSelvo, false, false},
        {"Selvo_3.rmt", kDeviceTarvik, false, false},
        {"Selvo_3.rmt", kDeviceMoval, false, false},
        // A long run of digits that fails at its end is answered at once.
        {"Selvo_" + std::string(200, '1') + ".rm", kDeviceSelvo, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramFileNameMatches(c.path, c.kind, c.oldRadio), c.accepted) << c.path;
}

TEST(FirmwareChecks, VersionTextsAreRecognised)
{
    struct Case {
        const char* buffer;
        int32_t kind;
        bool known;
        bool oldRadio;
    };
    const Case cases[] = {
        {"", kDeviceTarvikPlus, false, false},
        {"Hardware: 3\r\nSoftware: Tarvik+_Rev_1.4\r\n", kDeviceTarvikPlus, true, false},
        {"Software:\tTarvik+_Rev_1.4-OR\r\n", kDeviceTarvikPlus, true, true},
        {"Software: Tarvik+_Rev_1.4-OR", kDeviceSelvo, true, false},
        {"software: selvo_rev_2.01", kDeviceSelvo, true, false},
        {"Software: Selvo_Rev_", kDeviceSelvo, false, false},
        {"Software: BPBrindle_Rev_7", kDeviceBrindle, true, false},
        {"Software: PatientMonitor_Rev_3.2", kDeviceTarvik, true, false},
        {"Software: Ecg_Rev_5", kDeviceMoval, true, false},
        {"Software Selvo_Rev_2", kDeviceSelvo, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoteVersionKnown(c.buffer), c.known) << c.buffer;
        EXPECT_EQ(ReportsOldRadio(c.kind, c.buffer), c.oldRadio) << c.buffer;
    }
}

}  // namespace

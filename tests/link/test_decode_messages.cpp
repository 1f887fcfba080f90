// Product, text and length handling of the id-tagged messages, and the
// start-up countdown of the data posts.
#include <gtest/gtest.h>

#include <cstring>

#include "DecodeFixture.h"
#include "link/MonitorMessages.h"
#include "link/TermTextModel.h"

using Messages = DecodeTest;

TEST_F(Messages, ProductCodeNamesTheModel)
{
    const struct {
        uint16_t code;
        int32_t kind;
    } cases[] = {{1, kDeviceMoval}, {2, kDeviceTarvik}, {3, kDeviceTarvikPlus}, {4, kDeviceSelvo},
                 {5, kDeviceBrindle}, {6, kDeviceUnknown}, {0x0104, kDeviceUnknown}};
    for (const auto& c : cases) {
        g_liveData.deviceKind = 99;
        g_liveData.packetReceived = 0;
        Send(ProcessMsgProductCode, EncodeProduct(c.code));
        EXPECT_EQ(g_liveData.deviceKind, c.kind) << "product code " << c.code;
        EXPECT_EQ(g_liveData.packetReceived, 1);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(Messages, WrongLengthsLogTheirLineAndChangeNothing)
{
    const struct {
        MessageCallback handler;
        std::size_t length;
        const char* tag;
        const char* text;
        bool clearsPacketReceived;
    } cases[] = {
        {ProcessMsgEcgZData, 79, "CSerialMoval::ProcessMsgEcgZData",
         "Bad EcgZData msg length!  Defined Msg Length 0x50, Received Data Size 0x4f.", false},
        {ProcessMsgProductCode, 73, "CSerialMoval::ProcessMsgProductCode",
         "Bad Product msg length!  Expected Msg Length 0x4a, Received Data Size 0x49.", true},
        {ProcessMsgSpO2Data, 13, "CSerialMoval::ProcessMsgSpO2Data",
         "Bad SpO2Data msg length!  Defined Msg Length 0xc, Received Data Size 0xd.", false},
        {ProcessMsgCO2Data, 45, "CSerialMoval::ProcessMsgCO2Data",
         "Bad CO2Data msg length!  Defined msg Length 0x2e, Received Data Size 0x2d.", false},
        {ProcessMsgTempData, 6, "CSerialMoval::ProcessMsgTempData",
         "Bad TempData msg length!  Defined Msg Length 0x4, Received Data Size 0x6.", false},
        {ProcessMsgNibpData, 30, "CSerialMoval::ProcessMsgNibpData",
         "Bad NibpData msg length!  Defined Msg Length 0x20, Received Data Size 0x1e.", true},
        {ProcessMsgDeviceState, 18, "CSerialMoval::ProcessMsgDeviceState",
         "Bad DeviceState msg length!  Expected Msg Length 0x10, Received Data Size 0x12.", true},
        {ProcessMsgSelvoData, 98, "CSerialMoval::ProcessMsgSelvoData",
         "Bad SelvoData msg length!  Defined Pkt Length 0x64, Received Data Size 0x62.", false},
    };
    g_liveData.startupCountdown = 0;
    for (const auto& c : cases) {
        log.clear();
        g_liveData.packetReceived = 1;
        g_liveData.lastPacketTick = 5;
        g_liveData.deviceKind = kDeviceTarvik;
        Bytes data(c.length, 0x33);
        Send(c.handler, data);
        ASSERT_EQ(log.size(), 1u) << c.text;
        EXPECT_EQ(log[0].tag, c.tag);
        EXPECT_EQ(log[0].text, c.text);
        EXPECT_EQ(g_liveData.packetReceived, c.clearsPacketReceived ? 0 : 1) << c.text;
        EXPECT_EQ(g_liveData.lastPacketTick, 5u);
        EXPECT_EQ(g_liveData.deviceKind, kDeviceTarvik);
    }
    EXPECT_EQ(RingWriteIndex(), 0);
    EXPECT_TRUE(TakeDefaultPosts().empty());
    for (int i = 0; i < kParameterCount; ++i)
        EXPECT_EQ(g_liveData.numerics[i], 0);
}

TEST_F(Messages, TextLengthIsTheTextPaddedToEvenPlusFour)
{
    EXPECT_EQ(TextMessageLength(5), 10);
    EXPECT_EQ(TextMessageLength(6), 10);
    EXPECT_EQ(TextMessageLength(0), 4);
    EXPECT_EQ(TextMessageLength(65535), 65540);

    // A version message of 5 characters is 10 bytes long, one of 6 too.
    for (const char* text : {"v1.23", "v1.234"}) {
        log.clear();
        Send(ProcessMsgVersionInfo, EncodeVersionInfo(text));
        EXPECT_EQ(EncodeVersionInfo(text).size(), 10u);
        ASSERT_EQ(log.size(), 2u) << text;
        EXPECT_EQ(log[0].tag, "CSerialMoval::ProcessMsgVersionInfo");
        EXPECT_EQ(log[0].text, "Remote Version Information.");
    }
}

TEST_F(Messages, HugeTextLengthCannotWrapIntoAShortMessage)
{
    // L = 65535 claims 65540 bytes; a 4-byte message must not pass.
    Bytes data{0, 0, 0xFF, 0xFF};
    terminal.SetShown(true);
    Send(ProcessMsgTerminalOutput, data);
    Send(ProcessMsgDebugOutput, Bytes{1, 0, 0xFF, 0xFF});
    Send(ProcessMsgVersionInfo, Bytes{0xFF, 0xFF, 0, 0});
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].text,
              "Bad TerminalOutput msg length!  Expected Msg Length 0x10004, Received Data Size 0x4.");
    EXPECT_EQ(log[1].text, "Bad DebugOutput msg length!  Expected Msg Length 0x10004, Received Data Size 0x4.");
    EXPECT_EQ(log[2].text, "Bad VersionInfo msg length!  Expected Msg Length 0x10004, Received Data Size 0x4.");
    EXPECT_TRUE(terminal.Chunks().empty());
    EXPECT_TRUE(terminal.GetReceiveBuffer().empty());

    // Too short to hold the head at all.
    log.clear();
    Send(ProcessMsgTerminalOutput, Bytes{0, 0});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "Bad TerminalOutput msg length!  Expected Msg Length 0x4, Received Data Size 0x2.");
}

TEST_F(Messages, TerminalOutputReachesTheShownTerminalByItsLength)
{
    terminal.SetShown(true);
    // Odd length: the pad byte is not text; a format sequence is plain text.
    Send(ProcessMsgTerminalOutput, EncodeTerminalOutput("ok %s%n"));
    const auto chunks = terminal.Chunks();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], "ok %s%n");

    // A nonzero first word, or no text, shows nothing.
    Send(ProcessMsgTerminalOutput, EncodeTerminalOutput("hidden", 1));
    Send(ProcessMsgTerminalOutput, EncodeTerminalOutput(""));
    EXPECT_EQ(terminal.Chunks().size(), 1u);

    // Not shown: the text does not reach the output.
    terminal.SetShown(false);
    Send(ProcessMsgTerminalOutput, EncodeTerminalOutput("later"));
    EXPECT_EQ(terminal.Chunks().size(), 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(Messages, TerminalTextFromAMovalInTextModeIsLoggedAsVersion)
{
    g_liveData.movalTextMode = 1;
    state.streamProtocol = 1;
    Send(ProcessMsgTerminalOutput, EncodeTerminalOutput("MV 2.1\r\n"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].tag, "CSerialMoval::OutputToTerminal");
    EXPECT_EQ(log[0].text, "Remote Version Information");
    EXPECT_EQ(log[1].text, "MV 2.1\r\n");
    EXPECT_EQ(terminal.GetReceiveBuffer(), "MV 2.1\r\n");
}

TEST_F(Messages, VersionTextCollectsInTheVersionBuffer)
{
    terminal.AppendReceiveBuffer("HW 3 ", 5);
    Send(ProcessMsgVersionInfo, EncodeVersionInfo("FW 7.1"));
    EXPECT_EQ(terminal.GetReceiveBuffer(), "HW 3 FW 7.1");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].text, "HW 3 FW 7.1");
    EXPECT_EQ(g_liveData.packetReceived, 1);
}

TEST_F(Messages, DebugOutputByKind)
{
    Send(ProcessMsgDebugOutput, EncodeDebugOutput(1, "to terminal"));
    EXPECT_EQ(terminal.GetReceiveBuffer(), "to terminal");

    Send(ProcessMsgDebugOutput, EncodeDebugOutput(2, "100% %s logged"));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "100% %s logged");

    Send(ProcessMsgDebugOutput, EncodeDebugOutput(3, "Cuff leak"));
    auto message = poster.Take(0);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->wParam & 0xFFFF, kComRemoteText);
    std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(message->lParam));
    EXPECT_EQ(*text, "Cuff leak");

    Send(ProcessMsgDebugOutput, EncodeDebugOutput(4, "ignored"));
    EXPECT_EQ(poster.Size(), 0u);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(terminal.GetReceiveBuffer(), "to terminal");
}

TEST_F(Messages, TextWithNulBytesIsTakenWhole)
{
    Bytes data = EncodeDebugOutput(2, std::string("a\0b", 3));
    Send(ProcessMsgDebugOutput, data);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, std::string("a\0b", 3));
}

TEST_F(Messages, FirstFourDataCyclesAfterAResetPostNothing)
{
    EXPECT_EQ(g_liveData.startupCountdown, 4);
    SpO2Data spo2;
    spo2.spo2 = 96;
    spo2.pulse = 110;
    for (int i = 0; i < 4; ++i)
        Send(ProcessMsgSpO2Data, EncodeSpO2Data(spo2));
    EXPECT_TRUE(TakeDefaultPosts().empty());
    EXPECT_EQ(g_liveData.startupCountdown, 0);
    Send(ProcessMsgSpO2Data, EncodeSpO2Data(spo2));
    const auto posts = TakeDefaultPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], std::make_pair(int(kComNewData), 0x20));
    EXPECT_EQ(RingWriteIndex(), 5 * 32);
}

TEST_F(Messages, IgnoredIdsAndTheRegistrationOrder)
{
    const struct {
        uint16_t id;
        MessageCallback callback;
    } order[] = {{0x10, ProcessMsgProductCode}, {0x11, ProcessMsgIgnored},     {0x12, ProcessMsgTerminalOutput},
                 {0x13, ProcessMsgSelvoData},   {0x14, ProcessMsgIgnored},     {0x15, ProcessMsgVersionInfo},
                 {0x16, ProcessMsgNibpData},    {0x17, ProcessMsgDeviceState}, {0x18, ProcessMsgDebugOutput},
                 {0x1c, ProcessMsgSpO2Data},    {0x1d, ProcessMsgCO2Data},     {0x1e, ProcessMsgEcgZData},
                 {0x1f, ProcessMsgTempData}};
    ASSERT_EQ(std::size(order), kMonitorHandlerCount);
    for (std::size_t i = 0; i < kMonitorHandlerCount; ++i) {
        EXPECT_EQ(kMonitorHandlers[i].id, order[i].id) << i;
        EXPECT_EQ(kMonitorHandlers[i].callback, order[i].callback) << "id 0x" << std::hex << order[i].id;
    }
    Send(kMonitorHandlers[1].callback, Bytes(20, 0xAB));
    Send(kMonitorHandlers[4].callback, Bytes(3, 0xAB));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g_liveData.packetReceived, 0);
    EXPECT_EQ(poster.Size(), 0u);
}

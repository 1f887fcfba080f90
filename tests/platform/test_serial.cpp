#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>
#include <optional>
#include <unistd.h>

#include "platform/Event.h"
#include "platform/PortMap.h"
#include "platform/Serial.h"
#include "sim/SimRemote.h"

namespace {

constexpr uint32_t kWaitMs = 10000;

class SerialPort : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(remote.Ok()); }

    // Reads until `count` bytes have come or the wait runs out.
    std::vector<uint8_t> ReadAtLeast(CSerial& port, std::size_t count)
    {
        std::vector<uint8_t> got;
        while (got.size() < count) {
            if (port.WaitEvent(nullptr, kWaitMs) != kSerialOk)
                break;
            uint8_t buffer[256];
            uint32_t n = 0;
            if (port.Read(buffer, sizeof buffer, &n, nullptr, kWaitMs) != kSerialOk)
                break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    SimRemote remote;
};

class MapOf : public IPortMap {
public:
    std::map<std::string, std::string> entries;
    std::optional<std::string> Lookup(const std::string& name) const override
    {
        auto found = entries.find(name);
        if (found == entries.end())
            return std::nullopt;
        return found->second;
    }
};

}  // namespace

TEST(PortMap, ComNamesResolveThroughTheMapElseToTtyS)
{
    MapOf map;
    map.entries["COM5"] = "/dev/rfcomm0";
    EXPECT_EQ(ResolveSerialDevice("\\\\.\\COM5", &map), "/dev/rfcomm0");
    EXPECT_EQ(ResolveSerialDevice("com5", &map), "/dev/rfcomm0");
    EXPECT_EQ(ResolveSerialDevice("\\\\.\\COM6", &map), "/dev/ttyS5");
    EXPECT_EQ(ResolveSerialDevice("\\\\.\\Com012", nullptr), "/dev/ttyS11");
    EXPECT_EQ(ResolveSerialDevice("COM1", nullptr), "/dev/ttyS0");
    // Not a COM port name: the text is the path.
    EXPECT_EQ(ResolveSerialDevice("COM0", nullptr), "COM0");
    EXPECT_EQ(ResolveSerialDevice("COMX", nullptr), "COMX");
    EXPECT_EQ(ResolveSerialDevice("/dev/pts/7", &map), "/dev/pts/7");
}

TEST_F(SerialPort, OpensAMappedComPortAndPassesEveryByteBothWaysUnchanged)
{
    MapOf map;
    map.entries["COM7"] = remote.DevicePath();
    CSerial port;
    port.SetPortMap(&map);
    ASSERT_EQ(port.Open("\\\\.\\COM7", 0, 0, true), kSerialOk);

    // Bytes a cooked line would echo, translate or swallow.
    std::vector<uint8_t> all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<uint8_t>(i));
    ASSERT_TRUE(remote.Send(all));
    EXPECT_EQ(ReadAtLeast(port, all.size()), all);

    uint32_t written = 0;
    ASSERT_EQ(port.Write(all.data(), all.size(), &written, nullptr, kWaitMs), kSerialOk);
    EXPECT_EQ(written, all.size());
    ASSERT_TRUE(remote.WaitForBytes(all.size(), kWaitMs));
    EXPECT_EQ(remote.Received(), all) << "the PC's port must not echo or translate";
}

TEST_F(SerialPort, OpenRefusals)
{
    CSerial missing;
    EXPECT_EQ(missing.Open("/dev/no-such-quorin-port"), kSerialNotFound);
    EXPECT_EQ(missing.GetLastError(), kSerialNotFound);
    EXPECT_FALSE(missing.IsOpen());

    CSerial first;
    ASSERT_EQ(first.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    EXPECT_EQ(first.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialAlreadyOpen);
    EXPECT_TRUE(first.IsOpen()) << "a refused second Open leaves the port as it was";
    EXPECT_EQ(first.WriteString("ok", nullptr, nullptr, kWaitMs), kSerialOk);
    ASSERT_TRUE(remote.WaitForBytes(2, kWaitMs));

    CSerial second;
    EXPECT_EQ(second.Open(remote.DevicePath().c_str()), kSerialAccessDenied) << "the port is held exclusively";
    ASSERT_EQ(first.Close(), kSerialOk);
    EXPECT_EQ(second.Open(remote.DevicePath().c_str()), kSerialOk) << "closing releases the port";
}

TEST_F(SerialPort, EveryCallOnAClosedPortGivesInvalidHandle)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    EXPECT_EQ(port.Close(), kSerialOk);
    uint8_t byte = 0;
    uint32_t n = 99;
    EXPECT_EQ(port.Write("x", 1, &n), kSerialInvalidHandle);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(port.Read(&byte, 1, &n), kSerialInvalidHandle);
    EXPECT_EQ(port.Setup(115200, 8, 0, 0), kSerialInvalidHandle);
    EXPECT_EQ(port.SetMask(CSerial::kDefaultMask), kSerialInvalidHandle);
    EXPECT_EQ(port.WaitEvent(), kSerialInvalidHandle);
    EXPECT_EQ(port.SetupHandshaking(0), kSerialInvalidHandle);
    EXPECT_EQ(port.GetBaudrate(), -1);
    EXPECT_EQ(port.GetDataBits(), -1);
    EXPECT_EQ(port.GetParity(), -1);
    EXPECT_EQ(port.GetStopBits(), -1);
    EXPECT_EQ(port.GetHandshaking(), -1);
    EXPECT_EQ(port.GetLastError(), kSerialInvalidHandle);
    EXPECT_EQ(port.Close(), kSerialOk) << "closing twice is harmless";
}

TEST_F(SerialPort, LineSettingsRoundTripAndBadValuesChangeNothing)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    EXPECT_EQ(port.GetEventMask(), CSerial::kDefaultMask);

    ASSERT_EQ(port.Setup(115200, 8, CSerial::kParityNone, CSerial::kStop1), kSerialOk);
    EXPECT_EQ(port.GetBaudrate(), 115200);
    EXPECT_EQ(port.GetDataBits(), 8);
    EXPECT_EQ(port.GetParity(), CSerial::kParityNone);
    EXPECT_EQ(port.GetStopBits(), CSerial::kStop1);

    ASSERT_EQ(port.Setup(9600, 8, CSerial::kParityNone, CSerial::kStop2), kSerialOk);
    EXPECT_EQ(port.GetBaudrate(), 9600);
    EXPECT_EQ(port.GetStopBits(), CSerial::kStop2);
    // A pseudo-terminal is always 8 bits without parity: a setting the
    // device does not take is refused, never reported as done.
    EXPECT_EQ(port.Setup(19200, 7, CSerial::kParityEven, CSerial::kStop1), kSerialInvalidParameter);
    EXPECT_EQ(port.GetBaudrate(), 9600);
    EXPECT_EQ(port.GetDataBits(), 8);
    EXPECT_EQ(port.GetParity(), CSerial::kParityNone);

    EXPECT_EQ(port.Setup(12345, 8, 0, 0), kSerialInvalidParameter);
    EXPECT_EQ(port.Setup(115200, 9, 0, 0), kSerialInvalidParameter);
    EXPECT_EQ(port.Setup(115200, 8, 7, 0), kSerialInvalidParameter);
    EXPECT_EQ(port.Setup(115200, 8, 0, CSerial::kStop1_5), kSerialInvalidParameter);
    EXPECT_EQ(port.GetBaudrate(), 9600) << "a refused setup leaves the line as it was";
    EXPECT_EQ(port.GetStopBits(), CSerial::kStop2);
}

TEST_F(SerialPort, HandshakingModesAndRefusedModes)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    ASSERT_EQ(port.SetupHandshaking(CSerial::kHandshakeHardware), kSerialOk);
    EXPECT_EQ(port.GetHandshaking(), CSerial::kHandshakeHardware);
    EXPECT_EQ(port.SetupHandshaking(3), kSerialInvalidArg);
    EXPECT_EQ(port.GetHandshaking(), CSerial::kHandshakeHardware) << "a refused mode changes nothing";
    ASSERT_EQ(port.SetupHandshaking(CSerial::kHandshakeSoftware), kSerialOk);
    EXPECT_EQ(port.GetHandshaking(), CSerial::kHandshakeSoftware);
    ASSERT_EQ(port.SetupHandshaking(CSerial::kHandshakeOff), kSerialOk);
    EXPECT_EQ(port.GetHandshaking(), CSerial::kHandshakeOff);

    EXPECT_EQ(port.SetupReadTimeouts(2), kSerialInvalidArg);
    // A pseudo-terminal has no modem lines: no error, no status.
    EXPECT_EQ(port.SetDTR(false), kSerialOk);
    uint32_t status = 0xFF;
    EXPECT_FALSE(port.GetModemStatus(status));
    EXPECT_EQ(status, 0u);
}

TEST_F(SerialPort, EventCharacterAddsItsEventToTheMask)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    ASSERT_EQ(port.SetEventChar('\r', true), kSerialOk);
    EXPECT_EQ(port.GetEventChar(), '\r');
    EXPECT_EQ(port.GetEventMask(), CSerial::kDefaultMask | CSerial::kEventRxFlag);
    ASSERT_EQ(port.SetEventChar('>', false), kSerialOk);
    EXPECT_EQ(port.GetEventChar(), '>');
    ASSERT_EQ(port.SetMask(CSerial::kEventRxChar), kSerialOk);
    EXPECT_EQ(port.GetEventMask(), CSerial::kEventRxChar);
}

TEST_F(SerialPort, PlainPortRefusesOverlappedFormsAndTimeouts)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, false), kSerialOk);
    uint8_t buffer[8];
    uint32_t n = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n, nullptr, 100), kSerialInvalidFunction);
    CEvent done;
    SerialOverlapped overlapped {&done};
    EXPECT_EQ(port.Write("x", 1, &n, &overlapped), kSerialInvalidFunction);
    EXPECT_EQ(port.WaitEvent(nullptr, 100), kSerialInvalidFunction);
    // Without a time limit the plain forms work.
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n), kSerialOk);
    EXPECT_EQ(n, 0u) << "non-blocking reads return at once with what is there";
    EXPECT_EQ(port.Write("x", 1, &n), kSerialOk);
    EXPECT_EQ(n, 1u);
}

TEST_F(SerialPort, OverlappedCallsCompleteAndSetTheCallersEvent)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    CEvent done(CEvent::Reset::Manual);
    SerialOverlapped overlapped {&done};
    uint32_t n = 0;
    ASSERT_EQ(port.Write("abc", 3, &n, &overlapped, kWaitMs), kSerialOk) << "never left pending";
    EXPECT_EQ(n, 3u);
    EXPECT_TRUE(done.IsSet());

    done.ResetEvent();
    ASSERT_TRUE(remote.Send(std::string("xy")));
    ASSERT_EQ(port.WaitEvent(&overlapped, kWaitMs), kSerialOk);
    EXPECT_TRUE(done.IsSet());
    EXPECT_EQ(port.GetEventsReceived() & CSerial::kEventRxChar, CSerial::kEventRxChar);
}

TEST_F(SerialPort, WaitAndBlockingReadTimeOut)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    EXPECT_EQ(port.WaitEvent(nullptr, 20), kSerialTimeout);

    ASSERT_EQ(port.SetupReadTimeouts(CSerial::kReadBlocking), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("1234")));
    uint8_t buffer[10];
    uint32_t n = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n, nullptr, 200), kSerialTimeout);
    EXPECT_EQ(n, 4u) << "what arrived before the time-out is kept";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), n), "1234");
}

TEST_F(SerialPort, WriteToAStalledRemoteTimesOut)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    remote.Stall();
    std::vector<uint8_t> lots(1 << 20, 0x55);
    uint32_t written = 0;
    EXPECT_EQ(port.Write(lots.data(), lots.size(), &written, nullptr, 100), kSerialTimeout);
    EXPECT_LT(written, lots.size());
    EXPECT_EQ(port.GetLastError(), kSerialTimeout);
}

TEST_F(SerialPort, CloseDuringABlockedWriteReturnsAtOnce)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    remote.Stall();
    std::vector<uint8_t> lots(1 << 20, 0x55);
    uint32_t written = 0;
    // Fill the line first, so the next write blocks at once.
    ASSERT_EQ(port.Write(lots.data(), lots.size(), &written, nullptr, 50), kSerialTimeout);

    CEvent started, finished;
    std::atomic<int32_t> result {-1};
    std::thread writer([&] {
        started.Set();
        result = port.Write(lots.data(), lots.size(), nullptr, nullptr, 25000);
        finished.Set();
    });
    ASSERT_TRUE(started.Wait(kWaitMs));
    EXPECT_EQ(port.Close(), kSerialOk);
    EXPECT_TRUE(finished.Wait(5000)) << "Close must wake a write long before its 25 s time-out";
    writer.join();
    // Aborted in flight, or refused if Close came first: never a success.
    EXPECT_TRUE(result == kSerialAborted || result == kSerialInvalidHandle) << result;
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPort, WritesOfTwoThreadsNeverInterleave)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    constexpr int kBlocks = 200;
    constexpr std::size_t kBlock = 700;
    auto writer = [&](char letter) {
        const std::string block(kBlock, letter);
        for (int i = 0; i < kBlocks; ++i)
            ASSERT_EQ(port.Write(block.data(), block.size(), nullptr, nullptr, kWaitMs), kSerialOk);
    };
    std::thread a(writer, 'A');
    std::thread b(writer, 'B');
    a.join();
    b.join();
    ASSERT_TRUE(remote.WaitForBytes(2 * kBlocks * kBlock, kWaitMs));
    const std::vector<uint8_t> got = remote.Received();
    ASSERT_EQ(got.size(), 2 * kBlocks * kBlock);
    for (std::size_t at = 0; at < got.size(); at += kBlock)
        for (std::size_t i = 1; i < kBlock; ++i)
            ASSERT_EQ(got[at + i], got[at]) << "block at " << at << " is mixed";
}

TEST_F(SerialPort, HangUpEndsWritesAndReadsGiveNothing)
{
    CSerial port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, true), kSerialOk);
    remote.HangUp();
    ASSERT_EQ(port.WaitEvent(nullptr, kWaitMs), kSerialOk);
    EXPECT_EQ(port.GetEventsReceived() & CSerial::kEventError, CSerial::kEventError);
    uint32_t errors = 0;
    ASSERT_EQ(port.ClearCommErrors(errors), kSerialOk);
    EXPECT_NE(errors, 0u);
    EXPECT_TRUE(port.IsHungUp());
    EXPECT_EQ(port.Write("x", 1, nullptr, nullptr, kWaitMs), kSerialNotConnected);
    uint8_t buffer[8];
    uint32_t n = 7;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n, nullptr, kWaitMs), kSerialOk);
    EXPECT_EQ(n, 0u);
    // Reported once: the next wait has nothing to say.
    EXPECT_EQ(port.WaitEvent(nullptr, 20), kSerialTimeout);
    EXPECT_EQ(port.Close(), kSerialOk);
}

TEST(SerialDevice, ADirectoryOrPlainFileIsNoSerialPort)
{
    const auto folder = std::filesystem::temp_directory_path() / ("quorin_serial_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "not_a_port";
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    CSerial port;
    EXPECT_NE(port.Open(file.c_str()), kSerialOk);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(port.Open(folder.c_str()), kSerialOk);
    std::filesystem::remove_all(folder);
}

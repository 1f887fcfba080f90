#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/SerialEx.h"
#include "platform/Thread.h"
#include "sim/SimRemote.h"

namespace {

constexpr uint32_t kWaitMs = 10000;

// A port whose OnEvent reads what arrived and lets the test look on.
class RecordingPort : public CSerialEx {
public:
    ~RecordingPort() override { EXPECT_EQ(Close(), kSerialOk); }

    void OnEvent(uint32_t events, uint32_t errors) override
    {
        {
            std::lock_guard lock(mutex);
            eventLog.push_back(events);
            errorLog.push_back(errors);
            threadName = GetThreadName();
        }
        if (hook)
            hook(events);
        if (events & kEventRxChar) {
            uint8_t buffer[512];
            uint32_t n = 0;
            do {
                if (Read(buffer, sizeof buffer, &n) != kSerialOk)
                    break;
                std::lock_guard lock(mutex);
                bytes.insert(bytes.end(), buffer, buffer + n);
            } while (n > 0);
        }
        signalled.Set();
    }

    bool WaitForBytes(std::size_t count)
    {
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (bytes.size() >= count)
                    return true;
            }
            if (!signalled.Wait(kWaitMs))
                return false;
        }
    }

    std::size_t EventCount(uint32_t bit)
    {
        std::lock_guard lock(mutex);
        std::size_t count = 0;
        for (uint32_t e : eventLog)
            count += (e & bit) != 0;
        return count;
    }

    std::function<void(uint32_t)> hook;
    std::mutex mutex;
    std::vector<uint32_t> eventLog;
    std::vector<uint32_t> errorLog;
    std::vector<uint8_t> bytes;
    std::string threadName;
    CEvent signalled;
};

class SerialListener : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(remote.Ok()); }
    SimRemote remote;
};

}  // namespace

TEST_F(SerialListener, DeliversReceivedBytesOnItsOwnNamedThread)
{
    RecordingPort port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    EXPECT_TRUE(port.IsListening());
    std::string sent;
    for (int i = 0; i < 50; ++i) {
        const std::string piece = "chunk " + std::to_string(i) + "\r\n";
        ASSERT_TRUE(remote.Send(piece));
        sent += piece;
    }
    ASSERT_TRUE(port.WaitForBytes(sent.size()));
    std::lock_guard lock(port.mutex);
    EXPECT_EQ(std::string(port.bytes.begin(), port.bytes.end()), sent);
    EXPECT_EQ(port.threadName, "SerialThreadPro") << "named, cut to the 15 bytes Linux keeps";
}

TEST_F(SerialListener, StopWithoutAListenerReturnsAtOnceAndRestartWorks)
{
    RecordingPort port;
    EXPECT_EQ(port.StopListener(0), kSerialOk);
    ASSERT_EQ(port.Open(remote.DevicePath().c_str(), 0, 0, false), kSerialOk);
    EXPECT_FALSE(port.IsListening());
    EXPECT_EQ(port.StopListener(0), kSerialOk);

    ASSERT_EQ(port.StartListener(), kSerialOk);
    ASSERT_EQ(port.StopListener(kWaitMs), kSerialOk);
    EXPECT_FALSE(port.IsListening());
    ASSERT_EQ(port.StartListener(), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("again")));
    EXPECT_TRUE(port.WaitForBytes(5));
}

TEST_F(SerialListener, StopThatTimesOutKeepsTheThreadForALaterStop)
{
    CEvent inside, gate(CEvent::Reset::Manual);  // outlive the port's listener
    RecordingPort port;
    port.hook = [&](uint32_t) {
        inside.Set();
        EXPECT_TRUE(gate.Wait(CEvent::kInfinite));
    };
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("x")));
    ASSERT_TRUE(inside.Wait(kWaitMs));
    EXPECT_EQ(port.StopListener(20), kSerialTimeout);
    EXPECT_TRUE(port.IsListening()) << "a stop that timed out keeps the thread";
    gate.Set();
    EXPECT_EQ(port.StopListener(kWaitMs), kSerialOk);
    EXPECT_FALSE(port.IsListening());
}

TEST_F(SerialListener, HangUpIsReportedOnceThenTheListenerIdlesAndCloseIsPrompt)
{
    RecordingPort port;
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("before")));
    ASSERT_TRUE(port.WaitForBytes(6));
    remote.HangUp();
    for (;;) {
        if (port.EventCount(CSerial::kEventError) > 0)
            break;
        ASSERT_TRUE(port.signalled.Wait(kWaitMs)) << "the hang-up must be reported";
    }
    // Wake the listener a few times: a listener still watching the dead
    // line would report it again on every pass.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(port.SetMask(CSerial::kDefaultMask), kSerialOk);
    EXPECT_EQ(port.Write("x", 1, nullptr, nullptr, kWaitMs), kSerialNotConnected);
    EXPECT_EQ(port.Close(), kSerialOk);
    EXPECT_FALSE(port.IsListening());
    std::lock_guard lock(port.mutex);
    std::size_t errorEvents = 0;
    for (std::size_t i = 0; i < port.eventLog.size(); ++i)
        if (port.eventLog[i] & CSerial::kEventError) {
            ++errorEvents;
            EXPECT_NE(port.errorLog[i], 0u) << "a hang-up carries a non-zero error word";
        }
    EXPECT_EQ(errorEvents, 1u);
}

TEST_F(SerialListener, CloseFromInsideOnEventDoesNotWaitForItself)
{
    CEvent closed;
    std::atomic<int32_t> result {-1};
    RecordingPort port;
    port.hook = [&](uint32_t) {
        if (result.load() == -1) {
            result = port.Close();
            closed.Set();
        }
    };
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("bye")));
    ASSERT_TRUE(closed.Wait(kWaitMs));
    EXPECT_EQ(result.load(), kSerialOk);
    EXPECT_FALSE(port.IsOpen());
    // The port opens again once the old listener has ended.
    RecordingPort other;
    ASSERT_EQ(other.Open(remote.DevicePath().c_str()), kSerialOk);
}

TEST_F(SerialListener, CloseWakesAListenerBlockedInAWrite)
{
    CEvent writing;
    std::atomic<int32_t> result {-1};
    std::vector<uint8_t> lots(1 << 20, 0x33);
    RecordingPort port;
    port.hook = [&](uint32_t) {
        if (result.load() != -1)
            return;
        writing.Set();
        result = port.Write(lots.data(), lots.size());  // no time limit
    };
    remote.Stall();
    ASSERT_EQ(port.Open(remote.DevicePath().c_str()), kSerialOk);
    ASSERT_TRUE(remote.Send(std::string("go")));
    ASSERT_TRUE(writing.Wait(kWaitMs));
    EXPECT_EQ(port.Close(), kSerialOk) << "Close returns although the listener was stuck writing";
    EXPECT_EQ(result.load(), kSerialAborted);
    EXPECT_FALSE(port.IsListening());
}

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <utility>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "link/SerialMoval.h"
#include "link/TermTextModel.h"
#include "link/WriteQueue.h"
#include "platform/Prompter.h"
#include "platform/SerialErrors.h"
#include "platform/Thread.h"
#include "view/ConnectMachine.h"
#include "view/ConnectThread.h"
#include "view/DisplayPar.h"

namespace {

constexpr WindowHandle kViewWindow = 7;
constexpr uint32_t kNotchOn = 0x80;

std::string Joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

// The last `n` items, joined (all of them when there are fewer).
std::string Last(const std::vector<std::string>& items, std::size_t n)
{
    return Joined({items.end() - std::ptrdiff_t(std::min(n, items.size())), items.end()});
}

int Count(const std::vector<std::string>& items, const std::string& item)
{
    return static_cast<int>(std::count(items.begin(), items.end(), item));
}

std::string Args(std::initializer_list<int64_t> values)
{
    std::string out;
    for (const int64_t value : values)
        out += " " + std::to_string(value);
    return out;
}

// A port whose remote, once open, has its first message decoded at once.
struct FakePort : IConnectPort {
    int32_t openResult = kSerialOk;
    bool answers = true, staysOpen = false, programming = false, terminal = false, open = false;
    int32_t kind = kDeviceTarvikPlus;
    uint16_t features = 0x0F;
    int protocol = kStreamLegacy, opens = 0;
    std::string openedBy;
    std::vector<std::string> calls;
    std::function<void(int open)> onOpen;  // inside each open, numbered from 1

    int32_t Open(const std::string& device, const IWindowObject* window, uint32_t message, uint32_t in,
                 uint32_t out) override
    {
        ++opens;
        if (onOpen)
            onOpen(opens);
        openedBy = GetThreadName();
        const bool linkMessage = message == RegisterWindowMessage("CSerialMoval_DefaultComMsg");
        Add("open " + device + Args({int64_t(window->GetSafeHwnd()), linkMessage, in, out}));
        open = openResult == kSerialOk;
        if (open && answers)
            g_liveData.packetReceived = 1;
        return openResult;
    }
    int32_t Setup(int32_t baud, int32_t bits, int32_t parity, int32_t stop) override
    {
        return Add("setup" + Args({baud, bits, parity, stop}));
    }
    int32_t SetupHandshaking(int32_t mode) override { return Add("handshaking" + Args({mode})); }
    int32_t SetDTR(bool on) override { return Add("dtr" + Args({on})); }
    int32_t SetMask(uint32_t mask) override { return Add("mask" + Args({mask})); }
    int32_t Close() override
    {
        open = open && staysOpen;
        return Add("close");
    }
    bool IsOpen() const override { return open; }
    std::string ErrorText(int32_t code) const override { return "error" + Args({code}); }
    bool ResetLinkState() override { return Add("reset") == kSerialOk; }
    void SetFirstBuffer() override { Add("first buffer"); }
    int StreamProtocol() const override { return protocol; }
    bool IsProgramming() const override { return programming; }
    bool TerminalHoldsLink() const override { return terminal; }
    int32_t Add(const std::string& call)
    {
        calls.push_back(call);
        return kSerialOk;
    }
};

struct FakeActions : IConnectViewActions {
    std::vector<std::string> calls;
    std::string boxText, boxCaption;
    uint32_t boxType = 0;

    void ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type) override
    {
        boxText = text;
        boxCaption = caption;
        boxType = type;
        calls.push_back("box");
    }
    void ClearMarkAndBanner() override { calls.push_back("clear mark"); }
    void CloseRemoteMenu(bool idZero) override { calls.push_back(idZero ? "close menu, id 0" : "close menu"); }
    void RequestGasServicePoll() override { calls.push_back("gas poll"); }
    void RequestContainerKeepAlive() override { calls.push_back("keep-alive"); }
    void RequestRemoteVersion() override { calls.push_back("version request"); }
    void RestartVersionTimer() override { calls.push_back("version timer"); }
    void ResumeRemoteRecording() override { calls.push_back("record"); }
    void StartCommandWriter() override { calls.push_back("writer"); }
};

struct FakeWindow : IWindowObject {
    WindowHandle GetSafeHwnd() const override { return kViewWindow; }
};

struct FakeOs : IOsVersion {
    uint32_t major = 10, minor = 0;
    bool Query(OsVersionInfo& info, bool) const override
    {
        info = {major, minor, kPlatformWin32Nt, {}};
        return true;
    }
};

// Everything the connection takes, faked; the clock moves only when told.
class Connect : public ::testing::Test {
protected:
    void SetUp() override
    {
        port = FakePort{};
        actions.calls.clear();
        log.clear();
        (void)Posts();  // frees the box records left from a run before
        Queued();
        ResetRemoteDataState();
        g_liveData.connectionStatus[0] = kConnectClose;
        g_liveData.retryCount = 0;
        g_liveData.writerHandover = 0;
        g_liveData.statusFlags = kNotchOn;
        StoreRelaxed(config.portNum, 5);
        StoreRelaxed(config.notch, 1);
        connected = 1;
        machine = std::make_unique<CConnectMachine>(env, ConnectPortName(5), [this](uint32_t ms) { now += ms; });
    }

    void TearDown() override { (void)Posts(); }

    // Runs up to `steps` states with the thread's 100 ms between them;
    // `before` may act on the state about to run. The states run.
    std::vector<int> Run(int steps, const std::function<void(int state)>& before = {})
    {
        std::vector<int> states;
        for (int i = 0; i < steps; ++i) {
            const int state = g_liveData.connectionStatus[0];
            // The remote's messages tell what it is while the thread waits.
            if (state == kConnectAwaitingData && port.open && port.answers) {
                g_liveData.deviceKind = port.kind;
                g_liveData.featureBits = port.features;
            }
            if (before)
                before(state);
            states.push_back(state);
            if (!machine->Step())
                break;
            now += CConnectThread::kStepWaitMs;
        }
        return states;
    }

    // "status 1", "blank 0", "reset waveforms", "tone 0", "invalidate".
    std::vector<std::string> Posts()
    {
        const std::pair<const char*, std::string> names[] = {
            {"CDispView_UpdateConnectionStatus", "status "}, {"CDispView_ResetWaveforms", "reset waveforms"},
            {"CDispView_EnableAlarmTone", "tone "}, {"CDispView_Invalidate", "invalidate"}};
        std::vector<std::string> out;
        while (auto posted = poster.Take()) {
            EXPECT_EQ(posted->target, kViewWindow);
            if (posted->message == RegisterWindowMessage("CDispView_DisplayPar")) {
                std::unique_ptr<DisplayPar> record(reinterpret_cast<DisplayPar*>(posted->wParam));
                out.push_back("blank " + std::to_string(record->slot));
            }
            for (const auto& [name, text] : names)
                if (posted->message == RegisterWindowMessage(name))
                    out.push_back(text + (text.back() == ' ' ? std::to_string(posted->wParam) : "")
                                  + (posted->lParam == kStatusAfterGivingUp ? " after giving up" : ""));
        }
        return out;
    }

    std::vector<std::string> Queued()
    {
        std::vector<std::string> out;
        for (std::string text; writeQueue.Pop(text);)
            out.push_back(text);
        return out;
    }

    FakePort port;
    FakeActions actions;
    FakeWindow window;
    FakeOs os;
    QueuePoster poster;
    CWriteQueue writeQueue;
    CTermTextModel terminal;
    RemoteConfiguration config;
    Relaxed<int32_t> connected, live, verbose{1}, species{1}, appConnected;
    Relaxed<uint32_t> lastDataTick;
    std::atomic<bool> ended{true};
    uint32_t now = 1000;
    bool realClock = false;  // the thread's own waits are real
    std::string awaitedLine;
    CEvent logged;
    std::mutex logLock;
    std::vector<std::string> log;
    ZelbexApi zelbex;
    ConnectEnvironment env{port, actions, window, poster, writeQueue, &terminal, config,
        ConnectFlags{connected, live, lastDataTick, verbose, species, ended, &appConnected},
        [this] { return realClock ? GetTickCount() : now; },
        [this](const char* tag, const std::string& text) {
            std::lock_guard guard(logLock);
            EXPECT_STREQ(tag, "CQuorinView::ConnectThread");
            log.push_back(text);
            if (!awaitedLine.empty() && text.rfind(awaitedLine, 0) == 0)
                logged.Set();
        },
        nullptr, os};
    // Each thread has its own.
    std::unique_ptr<CConnectMachine> machine;
};

}  // namespace

TEST_F(Connect, AnsweringRemoteGoesFromCloseToWatchingAndStartsItsSession)
{
    const struct {
        int32_t kind;
        uint16_t features;
        int protocol;
        const char* actions;
        std::vector<std::string> queued;
    } cases[] = {
        {kDeviceTarvikPlus, 0x0F, kStreamLegacy, "clear mark, version request, version timer, writer",
         {"sl 60\r", "sb 1\r"}},
        {kDeviceSelvo, 0x15, kStreamContainers, "clear mark, keep-alive, version timer, record, writer",
         {"sl 60\r", FormatBpSetupCommand(4, 600, 160), "sb 1\r"}},
        {kDeviceMoval, 0x09, kStreamLegacy, "clear mark, writer", {"sl 60\r", "sb 1\r"}},
    };
    StoreRelaxed(config.cuffSize[1], 4);
    StoreRelaxed(config.bpInterval, 4);
    StoreRelaxed(config.initialPressure, 160);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        SetUp();
        port.kind = c.kind;
        port.features = c.features;
        port.protocol = c.protocol;
        EXPECT_EQ(Run(10), (std::vector<int>{0, 8, 1, 2, 3, 6, 4, 5, 7, 7}));
        EXPECT_EQ(Joined(port.calls), "reset, open \\\\.\\Com5 7 1 2048 2048, setup 115200 8 0 0, handshaking 1, "
                                      "dtr 0, mask 193, first buffer");
        EXPECT_EQ(Joined(actions.calls), c.actions);
        EXPECT_EQ(Queued(), c.queued);
        const auto posts = Posts();
        EXPECT_EQ(Joined(posts).rfind("status 1", 0), 0u);
        EXPECT_EQ(Count(posts, "status 2"), 1);
        EXPECT_EQ(Count(posts, "reset waveforms"), 1);
        EXPECT_EQ(Count(posts, "blank 0") + Count(posts, "blank 1"), 2) << "the reset remote's HR and Temp";
        EXPECT_EQ(live + appConnected, 2);
        EXPECT_EQ(g_liveData.writerHandover, 1);
    }
}

TEST_F(Connect, SetupIsCheckedAgainstAnyNonZeroNotchAndRetriedThreeTimes)
{
    const struct {
        int32_t notch;
        uint32_t remote;
        bool agrees;
    } cases[] = {{1, kNotchOn, true}, {2, kNotchOn, true}, {0, 0, true},
                 {1, 0, false},       {2, 0, false},       {0, kNotchOn, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notch);
        SetUp();
        StoreRelaxed(config.notch, c.notch);
        g_liveData.connectionStatus[0] = kConnectSetup;
        g_liveData.statusFlags = c.remote;
        g_liveData.writerHandover = 1;
        live = 1;
        appConnected = 1;
        const auto states = Run(c.agrees ? 2 : 8);
        const std::string notchCommand = c.notch != 0 ? "sl 60\r" : "sl 50\r";
        const auto queued = Queued();
        if (c.agrees) {
            EXPECT_EQ(queued, (std::vector<std::string>{notchCommand, "sb 1\r"}));
            EXPECT_EQ(g_liveData.connectionStatus[0], kConnectWatch);
            EXPECT_TRUE(Posts().empty());
            continue;
        }
        EXPECT_EQ(states, (std::vector<int>{4, 5, 4, 5, 4, 5, 4, 5}));
        EXPECT_EQ(queued, std::vector<std::string>(4, notchCommand));
        EXPECT_EQ(g_liveData.connectionStatus[0], kConnectClose);
        EXPECT_EQ(Posts(), std::vector<std::string>{"status 3"});
        EXPECT_EQ(live + appConnected, 0) << "down before the view hears of the loss";
        EXPECT_EQ(g_liveData.writerHandover, 0);
        EXPECT_EQ(Count(log, ": RemoteSetupCheck;  Retry 3."), 1);
        // A remote that stays silent after the reopen is no second loss.
        port.answers = false;
        Run(100);
        EXPECT_EQ(Count(Posts(), "status 3"), 0);
    }
}

TEST_F(Connect, SilentRemoteIsClosedAndReopenedAfterFiveSeconds)
{
    for (const int32_t wasLive : {0, 1}) {
        SetUp();
        port.answers = false;
        live = wasLive;
        uint32_t awaiting = 0, closed = 0;
        Run(100, [&](int state) {
            if (state == kConnectAwaitingData && awaiting == 0)
                awaiting = now;
            if (state == kConnectClose && awaiting != 0 && closed == 0)
                closed = now;
        });
        EXPECT_GE(closed - awaiting, kFirstDataMs);
        EXPECT_LE(closed - awaiting, kFirstDataMs + 2 * CConnectThread::kStepWaitMs);
        EXPECT_GE(port.opens, 2) << "reopened";
        EXPECT_GT(Count(port.calls, "close"), 0);
        EXPECT_EQ(Count(Posts(), "status 3") > 0, wasLive != 0) << "only a link that had been up is reported lost";
    }
}

TEST_F(Connect, LinkIsLostAfterTenSecondsWithoutNewsOrPackets)
{
    const struct {
        int32_t kind;
        uint16_t features;
        int32_t dataAge, packetAge;
        bool programming, lost;
        bool terminal = false;     // the open terminal takes the remote's text
        int32_t heldUntil = -1;    // ms ago the terminal let go; -1: it never held the link
    } cases[] = {
        {kDeviceTarvikPlus, 0x0F, 10000, 10000, false, false},
        {kDeviceTarvikPlus, 0x0F, 10001, 0, false, true},
        {kDeviceTarvikPlus, 0x0F, 0, 10001, false, true},
        {kDeviceTarvikPlus, 0x0F, -5, 0, false, false},  // the view stamped just after the clock was read
        {kDeviceTarvikPlus, 0x0F, 60000, 60000, true, false},
        {kDeviceMoval, 0x09, 60000, 0, false, false},
        {kDeviceMoval, 0x09, 0, 10001, false, true},
        {kDeviceMoval, 0x09, 0, 60000, false, false, true},
        {kDeviceMoval, 0x09, 0, 60000, false, false, false, 10000},  // a full 10 s after the terminal's Quit
        {kDeviceMoval, 0x09, 0, 60000, false, true, false, 10001},
        {kDeviceSelvo, 0x08, 60000, 0, false, false},
        {kDeviceSelvo, 0x09, 60000, 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.dataAge) + " " + std::to_string(c.packetAge)
                     + (c.terminal ? " terminal" : "") + " held until " + std::to_string(c.heldUntil));
        SetUp();
        port.protocol = kStreamContainers;
        port.programming = c.programming;
        port.terminal = c.terminal;
        if (c.heldUntil >= 0) {
            // The terminal held the link, then let go.
            g_liveData.connectionStatus[0] = kConnectWatch;
            port.terminal = true;
            Run(1);
            port.terminal = false;
            now += uint32_t(c.heldUntil) - CConnectThread::kStepWaitMs;  // Run stepped on by one wait
        }
        g_liveData.connectionStatus[0] = kConnectWatch;
        g_liveData.deviceKind = c.kind;
        g_liveData.featureBits = c.features;
        g_liveData.writerHandover = 1;
        g_liveData.lastPacketTick = now - c.packetAge;
        lastDataTick = now - c.dataAge;
        live = 1;
        Run(1);
        EXPECT_EQ(g_liveData.connectionStatus[0], c.lost ? kConnectClose : kConnectWatch);
        EXPECT_EQ(live, c.lost ? 0 : 1);
        EXPECT_EQ(g_liveData.writerHandover, c.lost ? 0 : 1);
        const auto posts = Posts();
        if (!c.lost) {
            EXPECT_TRUE(posts.empty() && actions.calls.empty() && log.empty());
            continue;
        }
        EXPECT_EQ(Joined(posts).rfind("status 3", 0), 0u);
        EXPECT_EQ(Count(posts, "blank 3"), c.features & kFeatureSpO2 ? 1 : 0);
        EXPECT_EQ(Last(posts, 3), "reset waveforms, tone 0, invalidate");
        EXPECT_EQ(Joined(actions.calls), "gas poll, close menu, id 0, clear mark");
        EXPECT_EQ(Last(log, 1).rfind(": Lost Connection.   nDelta ", 0), 0u);
    }
}

TEST_F(Connect, FiveFailedOpensEndWithTheBoxEvenAfterSetupRetries)
{
    const struct {
        bool verbose;
        bool upFirst;  // the link came up after two set-up retries, then the port went
    } cases[] = {{true, false}, {false, false}, {true, true}};
    for (const auto& c : cases) {
        SetUp();
        verbose = c.verbose;
        int checks = 0;
        Run(100, [&](int state) {
            if (state == kConnectSetupCheck)
                g_liveData.statusFlags = ++checks > 2 ? kNotchOn : 0;
            if (state == kConnectWatch || !c.upFirst) {
                port.openResult = kSerialNotFound;
                g_liveData.lastPacketTick = now - kLostAfterMs - 1;
            }
        });
        EXPECT_EQ(port.opens, c.upFirst ? 6 : 5);
        EXPECT_EQ(connected, 0);
        EXPECT_EQ(Last(Posts(), 1), "status 0 after giving up") << "the pane says the remote is disconnected";
        EXPECT_EQ(Last(actions.calls, 1), "box");
        EXPECT_EQ(actions.boxCaption, "Wireless Remote Connection Error");
        EXPECT_EQ(actions.boxType, kMbOk | kMbIconError);
        EXPECT_EQ(actions.boxText.rfind("Quorin was unable to connect to the selected remote.  Please verify", 0), 0u);
        EXPECT_NE(actions.boxText.find("3.  Quorin has been configured with the correct COM port information"),
                  std::string::npos);
        EXPECT_EQ(Count(log, "Unable to open \\\\.\\Com5.\n"), 1);
        for (int attempt = 1; attempt <= kOpenAttempts; ++attempt)
            EXPECT_EQ(Count(log, c.verbose ? ": RemoteOpen Error -- \\\\.\\Com5 attempt " + std::to_string(attempt)
                                                 + " - " + port.ErrorText(kSerialNotFound)
                                           : ": RemoteOpen Error."),
                      c.verbose ? 1 : kOpenAttempts);
        EXPECT_EQ(Count(log, ": RemoteClose"), c.verbose ? port.opens : 0);
    }
}

TEST_F(Connect, IllegalStateIsLoggedReportedAndClosed)
{
    for (const int16_t state : {int16_t(9), int16_t(-1), int16_t(300)}) {
        SetUp();
        g_liveData.connectionStatus[0] = state;
        g_liveData.connectionStatus[1] = 4;
        Run(1);
        EXPECT_EQ(g_liveData.connectionStatus[0], kConnectClose);
        EXPECT_EQ(g_liveData.connectionStatus[1], kConnectOpen);
        EXPECT_EQ(Posts(), std::vector<std::string>{"status 3"});
        EXPECT_EQ(Last(log, 1), ": Default - Illegal State.");
    }
}

TEST_F(Connect, CloseWaitsBoundedForAPortThatStaysOpen)
{
    for (const bool staysOpen : {false, true}) {
        SetUp();
        port.open = true;
        port.staysOpen = staysOpen;
        const uint32_t start = now;
        Run(1);
        EXPECT_EQ(g_liveData.connectionStatus[0], kConnectWait);
        EXPECT_EQ(Count(port.calls, "close"), 1);
        EXPECT_EQ(now - start, staysOpen ? kPortClosedWithinMs + CConnectThread::kStepWaitMs
                                         : CConnectThread::kStepWaitMs);
    }
}

TEST_F(Connect, ThreadEndsSoonAfterTheKillEvenWhileWatching)
{
    realClock = true;
    awaitedLine = ": RemoteSetupCheck; Status";
    CConnectThread thread(env);
    ASSERT_TRUE(thread.Start());
    EXPECT_FALSE(ended);
    ASSERT_TRUE(logged.Wait(10000)) << "the remote's set-up was checked";
    connected = 0;
    thread.Kill();
    // Well inside the 4 s between two looks at a running link.
    ASSERT_TRUE(thread.WaitForExit(CConnectThread::kWatchWaitMs / 2));
    EXPECT_TRUE(ended);
    EXPECT_FALSE(thread.Running());
    EXPECT_EQ(port.openedBy, "ConnectThread_0");
    const auto posts = Posts();
    EXPECT_EQ(Last(posts, 3), "tone 0, status 3, invalidate");
}

namespace {

struct ZelbexRecorder {
    static inline std::vector<std::string> calls;
    static inline int featurePack = 0;
};

}  // namespace

TEST_F(Connect, ThreadMakesTheChosenDeviceReachableByTheSystemVersion)
{
    ZelbexApi& api = zelbex;
    api.zlbRegisterDevice = [](int d) { return ZelbexRecorder::calls.push_back("register " + std::to_string(d)), 1; };
    api.zlbAuthenticateDevice = [](int d) { return ZelbexRecorder::calls.push_back("auth " + std::to_string(d)), 1; };
    api.zlbUnregisterDevice = [] { return ZelbexRecorder::calls.push_back("unregister"), 1; };
    api.zlbIsVistaFeaturePackForWireless = [] { return ZelbexRecorder::featurePack; };
    const struct {
        uint32_t major, minor;
        int featurePack;
        int32_t winBluetooth;
        const char* calls;
    } cases[] = {
        {10, 0, 1, 1, "register 3"}, {6, 0, 1, 1, "auth 3"},     {6, 1, 0, 1, "register 3"},
        {6, 2, 1, 1, "auth 3"},      {5, 1, 0, 1, "register 3, unregister"}, {5, 1, 0, 0, "register 3"},
    };
    realClock = true;
    env.zelbex = &zelbex;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        SetUp();
        os.major = c.major;
        os.minor = c.minor;
        ZelbexRecorder::featurePack = c.featurePack;
        ZelbexRecorder::calls.clear();
        StoreRelaxed(config.winBluetooth, c.winBluetooth);
        CConnectThread thread(env);
        ASSERT_TRUE(thread.Start({3}));
        ASSERT_TRUE(poster.Take(10000)) << "the thread is connecting";
        connected = 0;
        thread.Kill();
        ASSERT_TRUE(thread.WaitForExit(CConnectThread::kWatchWaitMs / 2));
        EXPECT_EQ(Joined(ZelbexRecorder::calls), c.calls);
    }
}

TEST_F(Connect, OnlyPortNumbersFromOneNameAPortAndStartAThread)
{
    const struct {
        int32_t number;
        const char* name;
    } cases[] = {{5, "\\\\.\\Com5"}, {12, "\\\\.\\Com12"}, {0, ""}, {-1, ""}, {-30000, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(ConnectPortName(c.number), c.name) << c.number;
        if (*c.name != '\0')
            continue;
        StoreRelaxed(config.portNum, c.number);
        CConnectThread thread(env);
        EXPECT_FALSE(thread.Start());
        EXPECT_FALSE(thread.Running());
        EXPECT_TRUE(ended);
        EXPECT_TRUE(port.calls.empty());
    }
}

TEST_F(Connect, ASecondStartNeverRunsBesideTheFirstAndFreesNothingUnderIt)
{
    realClock = true;
    for (const bool destroyWhileLingering : {false, true}) {
        SCOPED_TRACE(destroyWhileLingering ? "destroyed while the first lingers" : "the first lets go");
        SetUp();
        CEvent entered, secondOpen, destroyedEvent;
        CEvent release{CEvent::Reset::Manual};
        std::atomic<int> inside{0}, most{0};
        std::atomic<bool> destroyed{false}, touchedAfterFree{false};
        // The first open hangs in the driver, deaf to the kill event.
        port.onOpen = [&](int open) {
            most = std::max(most.load(), ++inside);
            if (open == 1) {
                entered.Set();
                (void)release.Wait(10000);
                touchedAfterFree = destroyed.load();
            } else {
                secondOpen.Set();
            }
            --inside;
        };
        auto thread = std::make_unique<CConnectThread>(env);
        ASSERT_TRUE(thread->Start());
        ASSERT_TRUE(entered.Wait(10000));
        ASSERT_TRUE(thread->Start({}, 50));
        EXPECT_EQ(thread->Lingering(), 1u) << "the first has not answered its kill";
        EXPECT_TRUE(thread->Running());

        if (!destroyWhileLingering) {
            release.Set();
            ASSERT_TRUE(secondOpen.Wait(10000)) << "the second opens once the first has let go";
            EXPECT_EQ(most.load(), 1) << "never two at work";
            EXPECT_EQ(thread->Lingering(), 0u) << "the first has ended";
            EXPECT_EQ(Count(Posts(), "status 3"), 0) << "the outdated first reported nothing on its way out";
            connected = 0;
            thread->Kill();
            EXPECT_TRUE(thread->WaitForExit(CConnectThread::kWatchWaitMs));
            EXPECT_EQ(Last(Posts(), 2), "status 3, invalidate") << "the second's own end";
            continue;
        }
        std::thread destroyer([&] {
            thread.reset();
            destroyed = true;
            destroyedEvent.Set();
        });
        EXPECT_FALSE(destroyedEvent.Wait(200)) << "the destructor waits for the lingering thread";
        release.Set();
        destroyer.join();
        EXPECT_FALSE(touchedAfterFree.load());
        EXPECT_EQ(most.load(), 1);
    }
}

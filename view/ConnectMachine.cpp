#include "view/ConnectMachine.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "app/RemoteConfiguration.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "link/SerialMoval.h"
#include "link/StreamDetector.h"
#include "link/TermTextModel.h"
#include "link/WriteQueue.h"
#include "platform/Prompter.h"
#include "platform/Serial.h"
#include "view/DisplayPar.h"
#include "view/NumericFormat.h"

const char kConnectErrorText[] =
    "Quorin was unable to connect to the selected remote.  Please verify that:\n\n"
    "1.  This remote is turned on.\n\n"
    "2.  The remote has been paired with bluetooth on this computer (i.e. \"discovered\")\n\n"
    "3.  Quorin has been configured with the correct COM port information (if that is required).\n\n\n"
    "Please refer to the User's Manual for more information.\n";

namespace {

constexpr uint32_t kStatusNotchBit = 0x80;
constexpr uint16_t kSelvoWithoutWaves = kFeatureTemp;
constexpr int32_t kIntervalSeconds[] = {60, 120, 180, 300, 600, 900, 1800, 3600};

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// How long ago `tick` was. A stamp written by another thread just after
// `now` was read lies in the future: that is no age at all, not 49 days.
uint32_t Age(uint32_t now, uint32_t tick)
{
    const uint32_t age = now - tick;
    return static_cast<int32_t>(age) < 0 ? 0 : age;
}

}  // namespace

std::string ConnectPortName(int32_t portNum)
{
    return portNum >= 1 ? Format("\\\\.\\Com%d", portNum) : std::string();
}

std::string BpSetupCommand(const RemoteConfiguration& config, int32_t species)
{
    const int32_t last = static_cast<int32_t>(std::size(kIntervalSeconds)) - 1;
    const int32_t interval = std::clamp(LoadRelaxed(config.bpInterval), 0, last);
    return FormatBpSetupCommand(LoadRelaxed(config.cuffSize[LimitSpecies(species)]), kIntervalSeconds[interval],
                                LoadRelaxed(config.initialPressure));
}

CConnectMachine::CConnectMachine(const ConnectEnvironment& env, std::string portName,
                                 std::function<void(uint32_t ms)> pause)
    : m_env(env),
      m_portName(std::move(portName)),
      m_pause(std::move(pause)),
      m_defaultComMsg(RegisterWindowMessage("CSerialMoval_DefaultComMsg")),
      m_statusMsg(RegisterWindowMessage("CDispView_UpdateConnectionStatus")),
      m_resetWaveformsMsg(RegisterWindowMessage("CDispView_ResetWaveforms")),
      m_alarmToneMsg(RegisterWindowMessage("CDispView_EnableAlarmTone")),
      m_invalidateMsg(RegisterWindowMessage("CDispView_Invalidate"))
{
}

bool CConnectMachine::Step()
{
    switch (g_liveData.connectionStatus[0]) {
    case kConnectClose: Close(); break;
    case kConnectOpen: return Open();
    case kConnectAwaitData: AwaitData(); break;
    case kConnectAwaitingData: AwaitingData(); break;
    case kConnectSetup: Setup(); break;
    case kConnectSetupCheck: SetupCheck(); break;
    case kConnectStart: Start(); break;
    case kConnectWatch: Watch(); break;
    case kConnectWait: Wait(); break;
    default: Illegal(); break;
    }
    return true;
}

void CConnectMachine::PostThreadEnd()
{
    Post(m_alarmToneMsg, 0);
    // After giving up on the port the idle state stands: "disconnected"
    // would say a remote had been there.
    if (!m_gaveUp)
        PostStatus(kStatusDisconnected);
    Post(m_invalidateMsg);
}

void CConnectMachine::Close()
{
    LogDetail(": RemoteClose");
    IConnectPort& port = m_env.port;
    if (port.IsOpen()) {
        (void)port.SetDTR(false);  // a line that cannot be lowered is closed all the same
        const int32_t closed = port.Close();
        if (closed != kSerialOk)
            Log(": RemoteClose Error - " + port.ErrorText(closed));
        for (uint32_t waited = 0; port.IsOpen(); waited += kPortClosedCheckMs) {
            if (waited >= kPortClosedWithinMs) {
                Log(Format(": RemoteClose - the port still reports open after %u ms; going on.", kPortClosedWithinMs));
                break;
            }
            m_pause(kPortClosedCheckMs);
        }
    }
    LiveData& live = g_liveData;
    live.connectionStatus[1] = kConnectOpen;
    live.waitStart = m_env.tick();
    live.waitMs = kCloseSettleMs;
    live.packetReceived = 0;
    live.gasFlags[0] = 0;
    live.gasFlags[2] = 0;
    live.movalTextMode = 0;
    if (m_env.terminal != nullptr)
        m_env.terminal->ClearReceiveBuffer();
    SetState(kConnectWait);
}

bool CConnectMachine::Open()
{
    LiveData& live = g_liveData;
    IConnectPort& port = m_env.port;
    if (m_env.view.GetSafeHwnd() == 0)
        Log("***** GetSafeHwnd() returns NULL!  *****");
    else
        PostStatus(kStatusConnecting);
    ResetRemoteDataState();
    (void)port.ResetLinkState();  // late, the link does it before its next buffer
    const int32_t opened = m_portName.empty()
        ? kSerialNotFound  // no port configured: nothing to open
        : port.Open(m_portName, &m_env.view, m_defaultComMsg, kPortQueueSize, kPortQueueSize);
    if (opened == kSerialOk) {
        LogDetail(": RemoteOpen");
        g_ecgBandwidthFlag = LoadRelaxed(m_env.config.bandwidth) != 0 ? 1 : 0;
        m_env.actions.ClearMarkAndBanner();
        ConfigurePort();
        port.SetFirstBuffer();
        BlankPresentBoxes();
        Post(m_resetWaveformsMsg);
        m_pause(kAfterOpenMs);
        SetState(kConnectAwaitData);
        live.retryCount = 0;
        return true;
    }
    const int attempt = live.retryCount + 1;
    if (Verbose())
        Log(Format(": RemoteOpen Error -- %s attempt %d - %s", m_portName.c_str(), attempt,
                   port.ErrorText(opened).c_str()));
    else
        Log(": RemoteOpen Error.");
    if (attempt < kOpenAttempts) {
        ++live.retryCount;
        SetState(kConnectClose);
        return true;
    }
    (void)port.Close();  // nothing is open; whatever half-open state is left goes
    Log(Format("Unable to open %s.\n", m_portName.c_str()));
    m_env.actions.ShowMessageBox(kConnectErrorText, kConnectErrorCaption, kMbOk | kMbIconError);
    PostStatus(kStatusIdle, kStatusAfterGivingUp);
    m_env.flags.connected = 0;
    m_gaveUp = true;
    return false;
}

void CConnectMachine::ConfigurePort()
{
    IConnectPort& port = m_env.port;
    const struct {
        const char* what;
        int32_t result;
    } steps[] = {
        {"Setup", port.Setup(115200, 8, CSerial::kParityNone, CSerial::kStop1)},
        {"SetupHandshaking", port.SetupHandshaking(CSerial::kHandshakeHardware)},
        {"SetDTR", port.SetDTR(false)},
        {"SetMask", port.SetMask(CSerial::kDefaultMask)},
    };
    // The remote's silence then reopens the port; the log says why.
    for (const auto& step : steps)
        if (step.result != kSerialOk)
            Log(Format(": RemoteOpen %s Error - %s", step.what, port.ErrorText(step.result).c_str()));
}

void CConnectMachine::AwaitData()
{
    g_liveData.waitStart = m_env.tick();
    g_liveData.waitMs = kFirstDataMs;
    SetState(kConnectAwaitingData);
}

void CConnectMachine::AwaitingData()
{
    LiveData& live = g_liveData;
    if (live.packetReceived != 0) {
        SetState(kConnectStart);
        live.retryCount = 0;
        return;
    }
    if (m_env.tick() - live.waitStart < live.waitMs)
        return;
    live.writerHandover = 0;
    SetState(kConnectClose);
    if (m_env.flags.live != 0)
        ReportLoss();
}

void CConnectMachine::Setup()
{
    const RemoteConfiguration& config = m_env.config;
    m_env.writeQueue.Push(LoadRelaxed(config.notch) != 0 ? kCmdNotch60 : kCmdNotch50);
    if (g_liveData.featureBits & kFeatureNibp)
        m_env.writeQueue.Push(BpSetupCommand(config, m_env.flags.patientSpecies));
    m_pause(kAfterSetupMs);
    SetState(kConnectSetupCheck);
}

void CConnectMachine::SetupCheck()
{
    LiveData& live = g_liveData;
    const uint32_t status = live.statusFlags;
    LogDetail(Format(": RemoteSetupCheck; Status = %x.", status));
    const bool remoteNotch = (status & kStatusNotchBit) != 0;
    // Any non-zero "Notch" is 60 Hz, as the set-up sent it.
    const bool notch = LoadRelaxed(m_env.config.notch) != 0;
    if (remoteNotch == notch) {
        m_env.writeQueue.Push(kCmdSb1);
        live.retryCount = 0;  // the next open gets all its attempts
        SetState(kConnectWatch);
        return;
    }
    LogDetail(Format(": RemoteSetupCheck;  Retry %d.", int(live.retryCount)));
    if (live.retryCount >= kSetupRetries) {
        live.writerHandover = 0;
        live.retryCount = 0;
        ReportLoss();
        SetState(kConnectClose);
        return;
    }
    ++live.retryCount;
    SetState(kConnectSetup);
}

void CConnectMachine::Start()
{
    LiveData& live = g_liveData;
    IConnectViewActions& actions = m_env.actions;
    SetState(kConnectSetup);
    m_heldTick.reset();
    m_env.flags.live = 1;
    if (m_env.flags.appConnected != nullptr)
        *m_env.flags.appConnected = 1;
    PostStatus(kStatusConnected);
    m_env.flags.lastDataTick = m_env.tick();
    live.writerHandover = 1;
    if (m_env.port.StreamProtocol() == kStreamContainers) {
        if (m_env.terminal != nullptr)
            m_env.terminal->ClearReceiveBuffer();
        live.movalTextMode = 0;
        actions.RequestContainerKeepAlive();
        actions.RestartVersionTimer();
        if (live.deviceKind == kDeviceSelvo)
            actions.ResumeRemoteRecording();
    }
    if (live.deviceKind == kDeviceTarvikPlus) {
        actions.RequestRemoteVersion();
        actions.RestartVersionTimer();
    }
    actions.StartCommandWriter();
}

void CConnectMachine::Watch()
{
    LiveData& live = g_liveData;
    const int32_t kind = live.deviceKind;
    // These send no new-data messages while their numerics rest: only the
    // packets count.
    const bool packetsOnly = kind == kDeviceMoval || (kind == kDeviceSelvo && live.featureBits == kSelvoWithoutWaves);
    if (packetsOnly)
        m_env.flags.lastDataTick = m_env.tick();
    // The stamps before the clock, so that neither lies ahead of it.
    const uint32_t dataTick = m_env.flags.lastDataTick;
    const uint32_t packetTick = live.lastPacketTick;
    const uint32_t now = m_env.tick();
    if (m_env.port.IsProgramming() || m_env.port.TerminalHoldsLink()) {
        m_heldTick = now;
        return;
    }
    const uint32_t dataAge = Age(now, dataTick);
    const uint32_t packetAge = Age(now, packetTick);
    if (dataAge <= kLostAfterMs && packetAge <= kLostAfterMs)
        return;
    // Once the terminal lets go the remote gets its full time again.
    if (m_heldTick && Age(now, *m_heldTick) <= kLostAfterMs)
        return;
    m_heldTick.reset();
    live.writerHandover = 0;
    SetState(kConnectClose);
    if (Verbose())
        Log(Format(": Lost Connection.   nDelta %d; PacketTime %d . . Disconnecting ** 1 ** !", int(dataAge),
                   int(packetAge)));
    else
        Log(": Lost Connection!");
    ReportLoss();
    BlankPresentBoxes();
    Post(m_resetWaveformsMsg);
    m_env.actions.RequestGasServicePoll();
    m_env.actions.CloseRemoteMenu(m_env.port.StreamProtocol() == kStreamContainers);
    m_env.actions.ClearMarkAndBanner();
    Post(m_alarmToneMsg, 0);
    Post(m_invalidateMsg);
}

void CConnectMachine::Wait()
{
    LiveData& live = g_liveData;
    const uint32_t now = m_env.tick();
    if (now - live.waitStart < live.waitMs)
        return;
    const int16_t next = live.connectionStatus[1];
    LogDetail(Format(": RemoteWait; Set ConnectState %d to NextState %d; system tick %d, EcgRcv.CurrentTick %d, "
                     "EcgRcv.Time %d.",
                     int(kConnectWait), int(next), int(now), int(live.waitStart), int(live.waitMs)));
    SetState(next);
}

void CConnectMachine::Illegal()
{
    Log(": Default - Illegal State.");
    g_liveData.connectionStatus[1] = kConnectOpen;
    PostStatus(kStatusDisconnected);
    SetState(kConnectClose);
}

void CConnectMachine::SetState(int16_t state)
{
    g_liveData.connectionStatus[0] = state;
}

void CConnectMachine::PostStatus(int32_t status, std::intptr_t lParam)
{
    Post(m_statusMsg, static_cast<std::uintptr_t>(status), lParam);
}

void CConnectMachine::ReportLoss()
{
    // Down before the view hears of it: the view then neither starts the
    // alarm loop over the lost-connection chime nor reports this loss
    // again at the next reopen.
    m_env.flags.live = 0;
    if (m_env.flags.appConnected != nullptr)
        *m_env.flags.appConnected = 0;
    PostStatus(kStatusDisconnected);
}

void CConnectMachine::Post(uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    PostedMessage posted;
    posted.target = m_env.view.GetSafeHwnd();
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    // Refused only once the view has left the poster: nobody to tell.
    (void)m_env.poster.Post(posted);
}

void CConnectMachine::BlankPresentBoxes()
{
    ::BlankPresentBoxes(m_env.poster, m_env.view.GetSafeHwnd(), m_env.config);
}

void CConnectMachine::Log(const std::string& text)
{
    if (m_env.log)
        m_env.log(kConnectLogTag, text);
}

void CConnectMachine::LogDetail(const std::string& text)
{
    if (Verbose())
        Log(text);
}

bool CConnectMachine::Verbose() const
{
    return m_env.flags.verbose != 0;
}

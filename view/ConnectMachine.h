#pragma once
// The connection's states: open and configure the port, wait for the
// remote's first decoded message, send and check the stream set-up, start
// the command writer, watch the data flow, close and reopen. The state is
// `connectionStatus` of the live store; each Step runs one state.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "view/ConnectServices.h"

class RemoteConfiguration;
struct LiveData;

enum ConnectState : int16_t {
    kConnectClose = 0,
    kConnectOpen = 1,
    kConnectAwaitData = 2,
    kConnectAwaitingData = 3,
    kConnectSetup = 4,
    kConnectSetupCheck = 5,
    kConnectStart = 6,
    kConnectWatch = 7,
    kConnectWait = 8,
};

// Statuses of "CDispView_UpdateConnectionStatus".
enum ConnectionStatus : int32_t {
    kStatusIdle = 0,
    kStatusConnecting = 1,
    kStatusConnected = 2,
    kStatusDisconnected = 3,
};
// lParam of the idle status after the last failed open: the status pane
// says that the remote is disconnected.
inline constexpr std::intptr_t kStatusAfterGivingUp = 1;

inline constexpr uint32_t kPortQueueSize = 2048;
inline constexpr uint32_t kCloseSettleMs = 50;
inline constexpr uint32_t kAfterOpenMs = 200;
inline constexpr uint32_t kFirstDataMs = 5000;
inline constexpr uint32_t kAfterSetupMs = 300;
inline constexpr uint32_t kLostAfterMs = 10000;
inline constexpr int kOpenAttempts = 5;
inline constexpr int kSetupRetries = 3;
// A closed port reports so within this time, checked every few ms.
inline constexpr uint32_t kPortClosedWithinMs = 1000;
inline constexpr uint32_t kPortClosedCheckMs = 10;

inline constexpr char kConnectErrorCaption[] = "Wireless Remote Connection Error";
extern const char kConnectErrorText[];

// "\\.\Com<n>" for a port number of 1 or more; empty when it names no port.
std::string ConnectPortName(int32_t portNum);

// "sp <cuff> <interval s> <initial pressure>\r" from the settings in force,
// with the cuff size of `species` (a code outside 0..3 counts as "Other").
std::string BpSetupCommand(const RemoteConfiguration& config, int32_t species);

// The box of the slot shows a value for the connected remote.


class CConnectMachine {
public:
    // `pause` waits the given milliseconds, or less when the thread is told
    // to stop.
    CConnectMachine(const ConnectEnvironment& env, std::string portName, std::function<void(uint32_t ms)> pause);

    // Runs the current state once. False when the port could not be opened
    // for good: the thread then ends.
    bool Step();

    // The thread's last posts: alarm tone off, status 3, a redraw.
    void PostThreadEnd();

private:
    void Close();
    bool Open();
    void AwaitData();
    void AwaitingData();
    void Setup();
    void SetupCheck();
    void Start();
    void Watch();
    void Wait();
    void Illegal();

    void SetState(int16_t state);
    void PostStatus(int32_t status, std::intptr_t lParam = 0);
    void ReportLoss();
    void Post(uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    void BlankPresentBoxes();
    void ConfigurePort();
    void Log(const std::string& text);
    void LogDetail(const std::string& text);
    bool Verbose() const;

    const ConnectEnvironment& m_env;
    const std::string m_portName;
    const std::function<void(uint32_t)> m_pause;
    const uint32_t m_defaultComMsg;
    const uint32_t m_statusMsg;
    const uint32_t m_resetWaveformsMsg;
    const uint32_t m_alarmToneMsg;
    const uint32_t m_invalidateMsg;
    bool m_gaveUp = false;  // the port could not be opened: no disconnect to report
    // When the terminal or the programming last held the link: the time it
    // held it is no silence of the remote.
    std::optional<uint32_t> m_heldTick;
};

#pragma once
// What the connection thread takes from outside: the link's port, the
// view's own work that must run on the UI thread, the view's shared flags
// and everything else it reads. The view implements the interfaces and
// fills the environment; tests put fakes in.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/QuorinAppCore.h"
#include "link/DecodeState.h"
#include "platform/OsVersion.h"
#include "platform/Relaxed.h"
#include "platform/WindowMessages.h"

class CTermTextModel;
class CWriteQueue;
class IWindowObject;
class RemoteConfiguration;

// The link object as the connection thread drives it. Every call runs on
// the connection thread; results are the port's codes (0 success).
class IConnectPort {
public:
    virtual ~IConnectPort() = default;
    // Opens `device`; the link posts to `window` with `message`.
    [[nodiscard]] virtual int32_t Open(const std::string& device, const IWindowObject* window, uint32_t message,
                                       uint32_t inQueue, uint32_t outQueue) = 0;
    [[nodiscard]] virtual int32_t Setup(int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits) = 0;
    [[nodiscard]] virtual int32_t SetupHandshaking(int32_t mode) = 0;
    [[nodiscard]] virtual int32_t SetDTR(bool on) = 0;
    [[nodiscard]] virtual int32_t SetMask(uint32_t mask) = 0;
    [[nodiscard]] virtual int32_t Close() = 0;
    virtual bool IsOpen() const = 0;
    // The system's text for a result code, for the log.
    virtual std::string ErrorText(int32_t code) const = 0;
    // The link state and the receive counters back to a fresh connection;
    // false when the link could not do it in time (it then does it later).
    virtual bool ResetLinkState() = 0;
    // The next received buffer is examined for a Moval prompt.
    virtual void SetFirstBuffer() = 0;
    // 0 not yet known, 1 legacy packets or Moval text, 2 containers.
    virtual int StreamProtocol() const = 0;
    // The service terminal is programming the remote's firmware.
    virtual bool IsProgramming() const = 0;
    // The service terminal is open and takes the remote's text in place of
    // the decoding: no packet is decoded meanwhile.
    virtual bool TerminalHoldsLink() const = 0;
};

// The view's own work that the connection thread asks for. Each call
// returns at once: the view queues it to its UI thread, where the calls
// run in the order they were made.
class IConnectViewActions {
public:
    virtual ~IConnectViewActions() = default;
    // A message box over the view (`type`: buttons and icon).
    virtual void ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type) = 0;
    // No mark pending, no banner shown.
    virtual void ClearMarkAndBanner() = 0;
    // The remote's on-screen menu closed; a container remote is also sent
    // menu id 0.
    virtual void CloseRemoteMenu(bool sendMenuIdZero) = 0;
    // The gas module's service polls are asked for again.
    virtual void RequestGasServicePoll() = 0;
    // The command writer sends the container keep-alive once.
    virtual void RequestContainerKeepAlive() = 0;
    // The version request of the remote (its commands and timer).
    virtual void RequestRemoteVersion() = 0;
    // The version polling timer (re)started.
    virtual void RestartVersionTimer() = 0;
    // A Selvo is told to record when the live recording runs.
    virtual void ResumeRemoteRecording() = 0;
    // Starts the command writer for this connection.
    virtual void StartCommandWriter() = 0;
};

// The view's members that the connection thread shares with it.
struct ConnectFlags {
    Relaxed<int32_t>& connected;           // the connect toggle; the thread clears it on giving up
    Relaxed<int32_t>& live;                // the link is up
    Relaxed<uint32_t>& lastDataTick;       // tick of the last new-data message
    const Relaxed<int32_t>& verbose;       // detailed log lines
    const Relaxed<int32_t>& patientSpecies;  // the cuff size of the set-up is this species'
    std::atomic<bool>& threadEnded;        // "connect thread ended"
    Relaxed<int32_t>* appConnected = nullptr;  // the application's connected flag; null: none
};

inline constexpr uint32_t kConnectWatchWaitMs = 4000;

struct ConnectEnvironment {
    IConnectPort& port;
    IConnectViewActions& actions;
    const IWindowObject& view;  // where posts go and the link posts to
    IMessagePoster& poster;
    CWriteQueue& writeQueue;
    CTermTextModel* terminal;   // its receive buffer is cleared; null: none
    const RemoteConfiguration& config;  // the settings in force, read with LoadRelaxed
    ConnectFlags flags;
    std::function<uint32_t()> tick;  // milliseconds, wrapping like the tick count
    LinkLog log;
    const ZelbexApi* zelbex;    // the Bluetooth library's entry points; null: not loaded
    const IOsVersion& os;
    uint32_t watchWaitMs = kConnectWatchWaitMs;  // between two looks at a running link
};

inline constexpr char kConnectLogTag[] = "CQuorinView::ConnectThread";

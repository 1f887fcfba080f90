#pragma once
// One serial port (the remote's Bluetooth serial device) over termios.
// Every operation returns a result code of platform/SerialErrors.h (0 for
// success) and keeps it as the port's last error. Calls that the original
// platform could leave pending always complete before they return.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/Event.h"
#include "platform/SerialErrors.h"

class IPortMap;

// The caller's side of an "overlapped" call: its event is set when the
// operation has completed.
struct SerialOverlapped {
    CEvent* event = nullptr;
};

class CSerial {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    // Comm events (wait results and masks).
    static constexpr uint32_t kEventRxChar = 0x0001;
    static constexpr uint32_t kEventRxFlag = 0x0002;
    static constexpr uint32_t kEventTxEmpty = 0x0004;
    static constexpr uint32_t kEventCts = 0x0008;
    static constexpr uint32_t kEventDsr = 0x0010;
    static constexpr uint32_t kEventRlsd = 0x0020;
    static constexpr uint32_t kEventBreak = 0x0040;
    static constexpr uint32_t kEventError = 0x0080;
    static constexpr uint32_t kEventRing = 0x0100;
    static constexpr uint32_t kDefaultMask = kEventRxChar | kEventBreak | kEventError;  // 0xC1

    // Bits of the error word that the listener fetches and clears.
    static constexpr uint32_t kCommErrorRxOver = 0x0001;
    static constexpr uint32_t kCommErrorOverrun = 0x0002;
    static constexpr uint32_t kCommErrorParity = 0x0004;
    static constexpr uint32_t kCommErrorFrame = 0x0008;
    static constexpr uint32_t kCommErrorBreak = 0x0010;
    static constexpr uint32_t kCommErrorIo = 0x0400;  // the line hung up

    // Modem status bits.
    static constexpr uint32_t kModemCts = 0x10;
    static constexpr uint32_t kModemDsr = 0x20;
    static constexpr uint32_t kModemRing = 0x40;
    static constexpr uint32_t kModemRlsd = 0x80;

    enum Parity : int32_t { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4 };
    enum StopBits : int32_t { kStop1 = 0, kStop1_5 = 1, kStop2 = 2 };
    enum Handshake : int32_t { kHandshakeOff = 0, kHandshakeHardware = 1, kHandshakeSoftware = 2 };
    enum ReadTimeout : int32_t { kReadNonBlocking = 0, kReadBlocking = 1 };

    CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;
    virtual ~CSerial();

    [[nodiscard]] virtual int32_t Open(const char* device, uint32_t inQueue = 0, uint32_t outQueue = 0,
                                       bool overlapped = false);
    [[nodiscard]] virtual int32_t Close();
    [[nodiscard]] virtual int32_t Setup(int32_t baudRate = 9600, int32_t dataBits = 8, int32_t parity = kParityNone,
                                        int32_t stopBits = kStop1);
    [[nodiscard]] virtual int32_t SetEventChar(uint8_t ch, bool adjustMask = true);
    [[nodiscard]] virtual int32_t SetMask(uint32_t mask);
    [[nodiscard]] virtual int32_t WaitEvent(SerialOverlapped* overlapped = nullptr, uint32_t timeout = kInfinite);
    [[nodiscard]] virtual int32_t SetupHandshaking(int32_t mode);
    [[nodiscard]] virtual int32_t SetupReadTimeouts(int32_t mode);
    virtual int32_t GetBaudrate();
    virtual int32_t GetDataBits();
    virtual int32_t GetParity();
    virtual int32_t GetStopBits();
    virtual int32_t GetHandshaking();
    virtual uint32_t GetEventMask();
    virtual uint8_t GetEventChar();
    [[nodiscard]] virtual int32_t WriteString(const char* text, uint32_t* written = nullptr,
                                              SerialOverlapped* overlapped = nullptr, uint32_t timeout = kInfinite);
    [[nodiscard]] virtual int32_t Write(const void* data, std::size_t length, uint32_t* written = nullptr,
                                        SerialOverlapped* overlapped = nullptr, uint32_t timeout = kInfinite);
    [[nodiscard]] virtual int32_t Read(void* buffer, std::size_t length, uint32_t* read = nullptr,
                                       SerialOverlapped* overlapped = nullptr, uint32_t timeout = kInfinite);

    // Open and not being closed.
    bool IsOpen() const;
    int32_t GetLastError() const { return m_lastError.load(std::memory_order_relaxed); }
    // The events the last wait returned.
    uint32_t GetEventsReceived() const { return m_eventsReceived.load(std::memory_order_relaxed); }
    // True once the remote end has hung up; reads then give nothing and
    // writes fail with kSerialNotConnected until the port is reopened.
    bool IsHungUp() const { return m_hungUp.load(std::memory_order_relaxed); }

    // The DTR line. A device without modem lines (a pseudo-terminal) counts
    // as having none, which is no error.
    [[nodiscard]] int32_t SetDTR(bool on);
    // The modem status bits (kModem*); false and 0 when the device has no lines.
    [[nodiscard]] bool GetModemStatus(uint32_t& status);
    // Fetches and clears the error word (kCommError*) gathered since the
    // last call. A device that keeps no counters reports only hang-ups.
    [[nodiscard]] int32_t ClearCommErrors(uint32_t& errors);

    // Where COM port names lead (null: /dev/ttyS{N-1}). Kept, not owned.
    void SetPortMap(const IPortMap* map) { m_portMap = map; }

protected:
    int32_t SetLastError(int32_t code)
    {
        m_lastError.store(code, std::memory_order_relaxed);
        return code;
    }
    // One wait on the port by the current mask, the close signal and the
    // wake signal. `events` gets the comm events seen (0 when only woken).
    // A wake from before the call is discarded; when `stop` is given and
    // set after that, the wait returns kSerialAborted at once. Reports a
    // hang-up once, and leaves the port out of later waits.
    int32_t WaitForEvents(uint32_t timeout, uint32_t& events, const std::atomic<bool>* stop = nullptr);
    // Wakes a wait in progress (it returns with no events).
    void WakeWait();
    // Marks the port as closing and wakes every blocked call with 995.
    void BeginClose();
    uint32_t EventMask() const { return m_eventMask.load(); }

private:
    struct Shadow {
        uint8_t eventChar = 0;
        uint32_t inQueue = 0;
        uint32_t outQueue = 0;
        bool dsrFlow = false;
        int32_t dtrControl = 0;  // 0 disabled, 1 enabled, 2 handshake
        int32_t rtsControl = 0;
    };
    struct LineCounters {
        bool unsupported = false;  // the device keeps no counters: not asked again
        bool valid = false;
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    };

    int32_t CheckCall(const SerialOverlapped* overlapped, uint32_t timeout);
    void ApplyRawMode(int fd);
    bool ModemLines(unsigned long request, int bits);

    const IPortMap* m_portMap = nullptr;
    std::atomic<int> m_fd{-1};
    int m_closeFd = -1;  // eventfd, readable once Close has begun
    int m_wakeFd = -1;   // eventfd, wakes one wait
    bool m_overlapped = false;
    std::atomic<bool> m_closing{false};
    std::atomic<bool> m_hungUp{false};
    std::atomic<bool> m_hangUpReported{false};
    std::atomic<int32_t> m_lastError{0};
    std::atomic<uint32_t> m_eventsReceived{0};
    std::atomic<uint32_t> m_eventMask{0};
    std::atomic<int32_t> m_readMode{kReadNonBlocking};
    std::atomic<uint32_t> m_pendingErrors{0};
    std::atomic<bool> m_wakePending{false};  // saves draining the wake signal when none was sent

    // Lock order: the send lock of outgoing messages, then m_writeMutex,
    // m_readMutex, m_stateMutex. Close takes all three.
    std::mutex m_writeMutex;  // held for a whole Write
    std::mutex m_readMutex;   // held for a whole Read or WaitEvent
    std::mutex m_stateMutex;  // settings and shadow state
    Shadow m_shadow;
    LineCounters m_counters;
};

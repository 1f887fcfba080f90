#include "platform/Serial.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/PortMap.h"

namespace {

struct BaudEntry {
    int32_t rate;
    speed_t speed;
};

constexpr BaudEntry kBaudRates[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedForRate(int32_t rate, speed_t& speed)
{
    for (const BaudEntry& entry : kBaudRates)
        if (entry.rate == rate) {
            speed = entry.speed;
            return true;
        }
    return false;
}

int32_t RateForSpeed(speed_t speed)
{
    for (const BaudEntry& entry : kBaudRates)
        if (entry.speed == speed)
            return entry.rate;
    return -1;
}

// Time left of a call's time-out, for poll().
class Deadline {
public:
    explicit Deadline(uint32_t timeoutMs)
        : m_infinite(timeoutMs == CSerial::kInfinite),
          m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(m_infinite ? 0 : timeoutMs))
    {
    }
    int RemainingMs() const
    {
        if (m_infinite)
            return -1;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }

private:
    bool m_infinite;
    std::chrono::steady_clock::time_point m_end;
};

// poll() that resumes after a signal. Returns the count of ready
// descriptors, 0 on time-out, -1 on failure.
int PollFor(pollfd* fds, nfds_t count, const Deadline& deadline)
{
    for (;;) {
        const int rc = ::poll(fds, count, deadline.RemainingMs());
        if (rc >= 0 || errno != EINTR)
            return rc;
    }
}

// Waits until the port is ready for `events`, or Close wakes the wait
// through `closeFd`. kSerialOk when ready, with the port's poll result.
int32_t WaitForPort(int fd, short events, int closeFd, const Deadline& deadline, short& revents)
{
    pollfd fds[2] = {{fd, events, 0}, {closeFd, POLLIN, 0}};
    const int rc = PollFor(fds, 2, deadline);
    if (rc < 0)
        return SerialErrorFromErrno(errno);
    if (rc == 0)
        return kSerialTimeout;  // what is not yet moved stays where it is
    if (fds[1].revents != 0)
        return kSerialAborted;
    revents = fds[0].revents;
    return kSerialOk;
}

// The common end of a read or a write: the count moved, and the overlapped
// event of a call that succeeded.
int32_t FinishTransfer(uint32_t* count, std::size_t done, int32_t result, SerialOverlapped* overlapped)
{
    if (count != nullptr)
        *count = static_cast<uint32_t>(done);
    if (result == kSerialOk && overlapped != nullptr && overlapped->event != nullptr)
        overlapped->event->Set();
    return result;
}

void Signal(int eventFd)
{
    if (eventFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(eventFd, &one, sizeof one);
    }
}

void Drain(int eventFd)
{
    uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(eventFd, &value, sizeof value);
}

// Modem-line ioctls a device refuses (a pseudo-terminal has no lines).
bool NoLines(int error)
{
    return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP;
}

}  // namespace

CSerial::CSerial() = default;

CSerial::~CSerial()
{
    (void)Close();  // always succeeds; nobody is left to tell otherwise
}

bool CSerial::IsOpen() const
{
    return m_fd.load() >= 0 && !m_closing.load();
}

int32_t CSerial::CheckCall(const SerialOverlapped* overlapped, uint32_t timeout)
{
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle);
    if (!m_overlapped && (overlapped != nullptr || timeout != kInfinite))
        return SetLastError(kSerialInvalidFunction);
    return kSerialOk;
}

void CSerial::ApplyRawMode(int fd)
{
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    // Raw: a cooked terminal would echo the remote's bytes back to it and
    // eat control characters of the binary stream.
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

int32_t CSerial::Open(const char* device, uint32_t inQueue, uint32_t outQueue, bool overlapped)
{
    if (m_fd.load() >= 0)
        return SetLastError(kSerialAlreadyOpen);

    const std::string path = ResolveSerialDevice(device != nullptr ? device : "", m_portMap);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return SetLastError(SerialErrorFromErrno(errno));

    int failure = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        failure = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (!::isatty(fd))
        failure = ENOTTY;
    int closeFd = -1;
    int wakeFd = -1;
    if (failure == 0) {
        closeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (closeFd < 0 || wakeFd < 0)
            failure = errno;
    }
    if (failure != 0) {
        if (closeFd >= 0)
            ::close(closeFd);
        if (wakeFd >= 0)
            ::close(wakeFd);
        ::close(fd);
        return SetLastError(SerialErrorFromErrno(failure));
    }

    ApplyRawMode(fd);
    {
        std::lock_guard lock(m_stateMutex);
        m_shadow = Shadow {};
        m_shadow.inQueue = inQueue;
        m_shadow.outQueue = outQueue;
        m_counters = LineCounters {};
    }
    m_closeFd = closeFd;
    m_wakeFd = wakeFd;
    m_overlapped = overlapped;
    m_closing = false;
    m_hungUp = false;
    m_hangUpReported = false;
    m_pendingErrors = 0;
    m_eventsReceived = 0;
    m_wakePending = false;
    m_fd = fd;

    // None of these can fail on the port just opened.
    (void)SetMask(kDefaultMask);
    (void)SetupReadTimeouts(kReadNonBlocking);
    uint32_t errors = 0;
    (void)ClearCommErrors(errors);  // counters start from here
    return SetLastError(kSerialOk);
}

void CSerial::BeginClose()
{
    std::lock_guard lock(m_stateMutex);
    if (m_fd.load() < 0)
        return;
    m_closing = true;
    Signal(m_closeFd);
}

void CSerial::WakeWait()
{
    std::lock_guard lock(m_stateMutex);
    if (m_fd.load() >= 0) {
        m_wakePending = true;
        Signal(m_wakeFd);
    }
}

int32_t CSerial::Close()
{
    if (m_fd.load() < 0)
        return SetLastError(kSerialOk);
    BeginClose();
    std::lock_guard writeLock(m_writeMutex);
    std::lock_guard readLock(m_readMutex);
    std::lock_guard stateLock(m_stateMutex);
    const int fd = m_fd.exchange(-1);
    if (fd < 0)
        return SetLastError(kSerialOk);
    ::close(fd);  // also drops the exclusive lock
    ::close(m_closeFd);
    ::close(m_wakeFd);
    m_closeFd = -1;
    m_wakeFd = -1;
    m_eventMask = 0;
    m_eventsReceived = 0;
    m_pendingErrors = 0;
    m_hungUp = false;
    m_hangUpReported = false;
    m_closing = false;
    return SetLastError(kSerialOk);
}

int32_t CSerial::Setup(int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits)
{
    std::lock_guard lock(m_stateMutex);
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);

    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno));
    speed_t speed {};
    if (!SpeedForRate(baudRate, speed))
        return SetLastError(kSerialInvalidParameter);
    tcflag_t size = 0;
    switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return SetLastError(kSerialInvalidParameter);
    }
    tcflag_t parityBits = 0;
    switch (parity) {
    case kParityNone: break;
    case kParityOdd: parityBits = PARENB | PARODD; break;
    case kParityEven: parityBits = PARENB; break;
    case kParityMark: parityBits = PARENB | PARODD | CMSPAR; break;
    case kParitySpace: parityBits = PARENB | CMSPAR; break;
    default: return SetLastError(kSerialInvalidParameter);
    }
    bool twoStop = false;
    switch (stopBits) {
    case kStop1: break;
    case kStop1_5:  // only a 5-bit line has one and a half stop bits
        if (dataBits != 5)
            return SetLastError(kSerialInvalidParameter);
        twoStop = true;
        break;
    case kStop2: twoStop = true; break;
    default: return SetLastError(kSerialInvalidParameter);
    }

    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB)) | size | parityBits;
    if (twoStop)
        tio.c_cflag |= CSTOPB;
    if (parity != kParityNone)
        tio.c_iflag |= INPCK;
    else
        tio.c_iflag &= ~INPCK;
    termios before {};
    ::tcgetattr(fd, &before);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno));
    // A driver may keep what it cannot do (a pseudo-terminal stays 8N);
    // such a setting is refused, not reported as done.
    termios after {};
    const tcflag_t line = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    if (::tcgetattr(fd, &after) != 0 || (after.c_cflag & line) != (tio.c_cflag & line) ||
        ::cfgetospeed(&after) != speed) {
        ::tcsetattr(fd, TCSANOW, &before);
        return SetLastError(kSerialInvalidParameter);
    }
    return SetLastError(kSerialOk);
}

int32_t CSerial::SetEventChar(uint8_t ch, bool adjustMask)
{
    {
        std::lock_guard lock(m_stateMutex);
        if (m_fd.load() < 0)
            return SetLastError(kSerialInvalidHandle);
        m_shadow.eventChar = ch;
    }
    if (adjustMask)
        return SetMask(m_eventMask.load() | kEventRxFlag);
    return SetLastError(kSerialOk);
}

int32_t CSerial::SetMask(uint32_t mask)
{
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle);
    m_eventMask = mask;
    WakeWait();  // a wait in progress picks up the new mask
    return SetLastError(kSerialOk);
}

int32_t CSerial::WaitForEvents(uint32_t timeout, uint32_t& events, const std::atomic<bool>* stop)
{
    events = 0;
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);
    if (m_wakePending.exchange(false))
        Drain(m_wakeFd);
    if (stop != nullptr && stop->load())
        return SetLastError(kSerialAborted);

    pollfd fds[3] = {};
    nfds_t count = 0;
    fds[count++] = {m_closeFd, POLLIN, 0};
    fds[count++] = {m_wakeFd, POLLIN, 0};
    const bool watchPort = !m_hangUpReported.load();
    const nfds_t portSlot = count;
    if (watchPort) {
        const short wanted = (m_eventMask.load() & (kEventRxChar | kEventRxFlag)) != 0 ? POLLIN : 0;
        fds[count++] = {fd, wanted, 0};
    }

    const int rc = PollFor(fds, count, Deadline(timeout));
    if (rc < 0)
        return SetLastError(SerialErrorFromErrno(errno));
    if (rc == 0)
        return SetLastError(kSerialTimeout);
    if (fds[0].revents != 0)
        return SetLastError(kSerialAborted);
    if (fds[1].revents != 0) {
        m_wakePending = false;
        Drain(m_wakeFd);
    }
    if (watchPort) {
        const short seen = fds[portSlot].revents;
        if ((seen & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            // Reported once; afterwards the port is left out of the wait so
            // a dead line does not spin the listener.
            m_hungUp = true;
            m_hangUpReported = true;
            m_pendingErrors |= kCommErrorIo;
            events |= kEventError;
        }
        if ((seen & POLLIN) != 0)
            events |= kEventRxChar;
    }
    m_eventsReceived = events;
    return SetLastError(kSerialOk);
}

int32_t CSerial::WaitEvent(SerialOverlapped* overlapped, uint32_t timeout)
{
    if (const int32_t refused = CheckCall(overlapped, timeout))
        return refused;
    std::lock_guard lock(m_readMutex);
    if (m_closing.load())
        return SetLastError(kSerialAborted);
    uint32_t events = 0;
    const int32_t result = WaitForEvents(timeout, events);
    if (result == kSerialOk && overlapped != nullptr && overlapped->event != nullptr)
        overlapped->event->Set();
    return result;
}

bool CSerial::ModemLines(unsigned long request, int bits)
{
    const int fd = m_fd.load();
    return ::ioctl(fd, request, &bits) == 0 || NoLines(errno);
}

int32_t CSerial::SetupHandshaking(int32_t mode)
{
    if (mode != kHandshakeOff && mode != kHandshakeHardware && mode != kHandshakeSoftware) {
        if (m_fd.load() < 0)
            return SetLastError(kSerialInvalidHandle);
        return SetLastError(kSerialInvalidArg);
    }
    std::lock_guard lock(m_stateMutex);
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno));

    Shadow shadow = m_shadow;
    tio.c_iflag &= ~(IXON | IXOFF);
    tio.c_cflag &= ~CRTSCTS;
    switch (mode) {
    case kHandshakeOff:
        shadow.dsrFlow = false;
        shadow.dtrControl = shadow.rtsControl = 0;
        break;
    case kHandshakeHardware:
        tio.c_cflag |= CRTSCTS;
        shadow.dsrFlow = true;
        shadow.dtrControl = shadow.rtsControl = 2;
        break;
    default:
        tio.c_iflag |= IXON | IXOFF;
        shadow.dsrFlow = false;
        shadow.dtrControl = shadow.rtsControl = 0;
        break;
    }
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno));
    // Handshake mode raises DTR and RTS; disabled control drops them.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    if (!ModemLines(mode == kHandshakeHardware ? TIOCMBIS : TIOCMBIC, lines))
        return SetLastError(SerialErrorFromErrno(errno));
    m_shadow = shadow;
    return SetLastError(kSerialOk);
}

int32_t CSerial::SetupReadTimeouts(int32_t mode)
{
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle);
    if (mode != kReadNonBlocking && mode != kReadBlocking)
        return SetLastError(kSerialInvalidArg);
    m_readMode = mode;
    return SetLastError(kSerialOk);
}

int32_t CSerial::GetBaudrate()
{
    std::lock_guard lock(m_stateMutex);
    termios tio {};
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), -1;
    if (::tcgetattr(m_fd.load(), &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno)), -1;
    SetLastError(kSerialOk);
    return RateForSpeed(::cfgetospeed(&tio));
}

int32_t CSerial::GetDataBits()
{
    std::lock_guard lock(m_stateMutex);
    termios tio {};
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), -1;
    if (::tcgetattr(m_fd.load(), &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno)), -1;
    SetLastError(kSerialOk);
    switch (tio.c_cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

int32_t CSerial::GetParity()
{
    std::lock_guard lock(m_stateMutex);
    termios tio {};
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), -1;
    if (::tcgetattr(m_fd.load(), &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno)), -1;
    SetLastError(kSerialOk);
    if ((tio.c_iflag & INPCK) == 0 || (tio.c_cflag & PARENB) == 0)
        return kParityNone;
    const bool odd = (tio.c_cflag & PARODD) != 0;
    if ((tio.c_cflag & CMSPAR) != 0)
        return odd ? kParityMark : kParitySpace;
    return odd ? kParityOdd : kParityEven;
}

int32_t CSerial::GetStopBits()
{
    std::lock_guard lock(m_stateMutex);
    termios tio {};
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), -1;
    if (::tcgetattr(m_fd.load(), &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno)), -1;
    SetLastError(kSerialOk);
    if ((tio.c_cflag & CSTOPB) == 0)
        return kStop1;
    return (tio.c_cflag & CSIZE) == CS5 ? kStop1_5 : kStop2;
}

int32_t CSerial::GetHandshaking()
{
    std::lock_guard lock(m_stateMutex);
    termios tio {};
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), -1;
    if (::tcgetattr(m_fd.load(), &tio) != 0)
        return SetLastError(SerialErrorFromErrno(errno)), -1;
    SetLastError(kSerialOk);
    if (m_shadow.dtrControl == 2 && m_shadow.rtsControl == 2)
        return kHandshakeHardware;
    if ((tio.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF))
        return kHandshakeSoftware;
    return kHandshakeOff;
}

uint32_t CSerial::GetEventMask()
{
    SetLastError(m_fd.load() < 0 ? kSerialInvalidHandle : kSerialOk);
    return m_eventMask.load();
}

uint8_t CSerial::GetEventChar()
{
    std::lock_guard lock(m_stateMutex);
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle), 0;
    SetLastError(kSerialOk);
    return m_shadow.eventChar;
}

int32_t CSerial::WriteString(const char* text, uint32_t* written, SerialOverlapped* overlapped, uint32_t timeout)
{
    return Write(text, text != nullptr ? std::strlen(text) : 0, written, overlapped, timeout);
}

int32_t CSerial::Write(const void* data, std::size_t length, uint32_t* written, SerialOverlapped* overlapped,
                       uint32_t timeout)
{
    if (written != nullptr)
        *written = 0;
    if (const int32_t refused = CheckCall(overlapped, timeout))
        return refused;

    // Held for the whole write: two threads' writes never interleave, and
    // Close waits until this one has returned.
    std::lock_guard lock(m_writeMutex);
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);
    if (m_closing.load())
        return SetLastError(kSerialAborted);
    if (m_hungUp.load())
        return SetLastError(kSerialNotConnected);

    const auto* bytes = static_cast<const uint8_t*>(data);
    const Deadline deadline(timeout);
    std::size_t done = 0;
    int32_t result = kSerialOk;
    while (done < length) {
        const ssize_t n = ::write(fd, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            result = SerialErrorFromErrno(errno);
            if (result == kSerialNotConnected)
                m_hungUp = true;
            break;
        }
        short revents = 0;
        result = WaitForPort(fd, POLLOUT, m_closeFd, deadline, revents);
        if (result != kSerialOk)
            break;
        if ((revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            m_hungUp = true;
            result = kSerialNotConnected;
            break;
        }
    }
    return SetLastError(FinishTransfer(written, done, result, overlapped));
}

int32_t CSerial::Read(void* buffer, std::size_t length, uint32_t* read, SerialOverlapped* overlapped,
                      uint32_t timeout)
{
    if (read != nullptr)
        *read = 0;
    if (const int32_t refused = CheckCall(overlapped, timeout))
        return refused;

    std::lock_guard lock(m_readMutex);
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);
    if (m_closing.load())
        return SetLastError(kSerialAborted);

    auto* bytes = static_cast<uint8_t*>(buffer);
    const bool blocking = m_readMode.load() == kReadBlocking;
    const Deadline deadline(timeout);
    std::size_t done = 0;
    int32_t result = kSerialOk;
    bool readable = false;  // the last poll said data or an end was there
    while (done < length) {
        const ssize_t n = ::read(fd, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            readable = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Once the remote has hung up, what was buffered has been read and
        // the rest is nothing, not an error: the hang-up itself is reported
        // once, as a line-error event.
        if (n < 0 && errno == EIO) {
            m_hungUp = true;
            break;
        }
        if (n < 0 && errno != EAGAIN) {
            result = SerialErrorFromErrno(errno);
            break;
        }
        if (n == 0 && readable) {  // end of file on a terminal: the line dropped
            m_hungUp = true;
            break;
        }
        if (!blocking || m_hungUp.load())
            break;
        short revents = 0;
        result = WaitForPort(fd, POLLIN, m_closeFd, deadline, revents);
        if (result != kSerialOk)
            break;
        readable = true;
    }
    return SetLastError(FinishTransfer(read, done, result, overlapped));
}

int32_t CSerial::SetDTR(bool on)
{
    std::lock_guard lock(m_stateMutex);
    if (m_fd.load() < 0)
        return SetLastError(kSerialInvalidHandle);
    if (!ModemLines(on ? TIOCMBIS : TIOCMBIC, TIOCM_DTR))
        return SetLastError(SerialErrorFromErrno(errno));
    return SetLastError(kSerialOk);
}

bool CSerial::GetModemStatus(uint32_t& status)
{
    status = 0;
    std::lock_guard lock(m_stateMutex);
    const int fd = m_fd.load();
    if (fd < 0) {
        SetLastError(kSerialInvalidHandle);
        return false;
    }
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) != 0)
        return false;
    if (lines & TIOCM_CTS)
        status |= kModemCts;
    if (lines & TIOCM_DSR)
        status |= kModemDsr;
    if (lines & TIOCM_RNG)
        status |= kModemRing;
    if (lines & TIOCM_CAR)
        status |= kModemRlsd;
    return true;
}

int32_t CSerial::ClearCommErrors(uint32_t& errors)
{
    errors = 0;
    std::lock_guard lock(m_stateMutex);
    const int fd = m_fd.load();
    if (fd < 0)
        return SetLastError(kSerialInvalidHandle);
    errors = m_pendingErrors.exchange(0);
    if (m_counters.unsupported)
        return kSerialOk;
    serial_icounter_struct now {};
    if (::ioctl(fd, TIOCGICOUNT, &now) != 0) {
        m_counters.unsupported = true;  // no counters on this device
        return kSerialOk;
    }
    if (m_counters.valid) {
        if (now.frame != m_counters.frame)
            errors |= kCommErrorFrame;
        if (now.overrun != m_counters.overrun)
            errors |= kCommErrorOverrun;
        if (now.parity != m_counters.parity)
            errors |= kCommErrorParity;
        if (now.brk != m_counters.brk)
            errors |= kCommErrorBreak;
        if (now.buf_overrun != m_counters.bufOverrun)
            errors |= kCommErrorRxOver;
    }
    m_counters = {false, true, now.frame, now.overrun, now.parity, now.brk, now.buf_overrun};
    return kSerialOk;
}

#include "sim/SimRemote.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

void MakeRaw(int fd)
{
    termios tio {};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
}

void Poke(int fd)
{
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

}  // namespace

SimRemote::SimRemote()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0)
        return;
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        return;
    }
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    m_controlFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_slaveHold < 0 || m_controlFd < 0) {
        ::close(master);
        return;
    }
    // Raw on both ends: a cooked line would echo and translate bytes.
    MakeRaw(master);
    MakeRaw(m_slaveHold);
    m_path = name;
    m_master = master;
    m_reader = std::thread(&SimRemote::ReaderMain, this);
}

SimRemote::~SimRemote()
{
    StopReader();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_controlFd >= 0)
        ::close(m_controlFd);
}

void SimRemote::StopReader()
{
    if (!m_reader.joinable())
        return;
    m_stop = true;
    Poke(m_controlFd);
    m_reader.join();
}

void SimRemote::ReaderMain()
{
    uint8_t buffer[4096];
    while (!m_stop.load()) {
        pollfd fds[2] = {{m_controlFd, POLLIN, 0}, {m_master, static_cast<short>(m_stalled.load() ? 0 : POLLIN), 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents != 0) {
            uint64_t value = 0;
            [[maybe_unused]] ssize_t n = ::read(m_controlFd, &value, sizeof value);
            continue;
        }
        if (m_stalled.load())
            continue;
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            {
                std::lock_guard lock(m_mutex);
                m_received.insert(m_received.end(), buffer, buffer + n);
            }
            m_cv.notify_all();
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;  // the line is gone
        }
    }
}

bool SimRemote::Send(const uint8_t* data, std::size_t length, int timeoutMs)
{
    if (m_master < 0)
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_master, data + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fd = {m_master, POLLOUT, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()));
    }
    return true;
}

bool SimRemote::SendPaced(const std::vector<uint8_t>& bytes, std::size_t bytesPerSecond, std::size_t packetBytes)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (std::size_t at = 0; at < bytes.size(); at += packetBytes) {
        // The line's own pace: this packet is due once the ones before it
        // have had their time on the wire.
        const auto due = start + std::chrono::microseconds(at * 1000000 / bytesPerSecond);
        std::this_thread::sleep_until(due);
        const std::size_t n = std::min(packetBytes, bytes.size() - at);
        if (!Send(bytes.data() + at, n))
            return false;
    }
    return true;
}

std::vector<uint8_t> SimRemote::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void SimRemote::ClearReceived()
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
}

std::vector<uint8_t> SimRemote::TakeReceived()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_received, {});
}

bool SimRemote::WaitFor(const std::function<bool(const std::vector<uint8_t>&)>& done, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done(m_received); });
}

void SimRemote::Stall()
{
    m_stalled = true;
    Poke(m_controlFd);
}

void SimRemote::Resume()
{
    m_stalled = false;
    Poke(m_controlFd);
}

void SimRemote::HangUp()
{
    StopReader();
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

std::optional<bool> SimRemote::Notch() const
{
    const std::vector<uint8_t> received = Received();
    const std::string text(received.begin(), received.end());
    const std::size_t at60 = text.rfind("sl 60");
    const std::size_t at50 = text.rfind("sl 50");
    if (at60 == std::string::npos && at50 == std::string::npos)
        return std::nullopt;
    if (at50 == std::string::npos)
        return true;
    if (at60 == std::string::npos)
        return false;
    return at60 > at50;
}

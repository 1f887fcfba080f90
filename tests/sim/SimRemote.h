#pragma once
// A remote on a pseudo-terminal. The PC side opens DevicePath() as its
// serial port; the remote's side writes what a remote would send and
// records (and can parse) what the PC sends. It can stop reading (stall)
// and hang up.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class SimRemote {
public:
    SimRemote();
    ~SimRemote();
    SimRemote(const SimRemote&) = delete;
    SimRemote& operator=(const SimRemote&) = delete;

    bool Ok() const { return m_master >= 0; }
    const std::string& DevicePath() const { return m_path; }

    // Bytes to the PC, all of them or false (time-out, hang-up).
    bool Send(const uint8_t* data, std::size_t length, int timeoutMs = 5000);
    bool Send(const std::vector<uint8_t>& bytes, int timeoutMs = 5000) { return Send(bytes.data(), bytes.size(), timeoutMs); }
    bool Send(const std::string& text, int timeoutMs = 5000)
    {
        return Send(reinterpret_cast<const uint8_t*>(text.data()), text.size(), timeoutMs);
    }

    // Sends `bytes` in packets of `packetBytes` at `bytesPerSecond`, as a
    // remote on a line of that speed would; false when the line refuses.
    bool SendPaced(const std::vector<uint8_t>& bytes, std::size_t bytesPerSecond, std::size_t packetBytes);

    // What the PC has sent so far.
    std::vector<uint8_t> Received() const;
    void ClearReceived();
    // What the PC has sent since the last take, taken out of the record.
    std::vector<uint8_t> TakeReceived();
    // The mains filter the PC last set with "sl 60" (true) or "sl 50"
    // (false), as a remote keeps it; none before either.
    std::optional<bool> Notch() const;

    // Waits until `done` holds for what has been received.
    bool WaitFor(const std::function<bool(const std::vector<uint8_t>&)>& done, int timeoutMs);
    bool WaitForBytes(std::size_t count, int timeoutMs)
    {
        return WaitFor([count](const std::vector<uint8_t>& r) { return r.size() >= count; }, timeoutMs);
    }

    // Stops and resumes reading what the PC sends; a stalled remote soon
    // fills the line and the PC's writes block.
    void Stall();
    void Resume();
    // Drops the line: the PC's port sees a hang-up.
    void HangUp();

private:
    void ReaderMain();
    void StopReader();

    std::string m_path;
    int m_master = -1;
    int m_slaveHold = -1;  // keeps the line up while the PC's port is closed
    int m_controlFd = -1;
    std::thread m_reader;
    std::atomic<bool> m_stalled{false};
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<uint8_t> m_received;
};

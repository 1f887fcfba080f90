#pragma once
// Plays a script: a remote on a pseudo-terminal whose link is up while the
// PC has the port open, with its drops and presses and its answers to the
// PC's set-up, and one line of log for each thing that happens.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "sim/SimRemote.h"
#include "sim/tool/PcCommands.h"
#include "sim/tool/PortWatch.h"
#include "sim/tool/RemoteScript.h"

class RemoteSession {
public:
    using Printer = std::function<void(const std::string& line)>;

    RemoteSession(RemoteScript script, Printer print);
    ~RemoteSession();
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;

    // Plays until the script's duration ends or Stop; false, with Error(),
    // when the line cannot be made.
    bool Run();
    // From any thread: Run returns within a cycle.
    void Stop();
    const std::string& Error() const { return m_error; }

private:
    using Clock = std::chrono::steady_clock;

    bool BringUpLine();
    void TakeDownLine();
    bool PlaceLink(const std::string& device);
    void RemoveLink();
    void WatchPort();
    // The remote talks to the PC from now: its opening, then its data.
    // `opened`: the PC has just opened the port, a new link.
    void LinkUp(bool opened);
    void HearPc();
    void Act(const PcCommand& command);
    void SetNotch(bool sixty);
    void AnswerVersion();
    void RunDue(double now);
    void StartDrop(const ScheduledDrop& drop);
    void EndDrop();
    void Press(const ScheduledPress& press);
    void SendCycle();
    bool Streaming() const;
    double Now() const;
    void Say(const std::string& text) const;

    RemoteScript m_script;
    Printer m_print;
    std::string m_error;
    Clock::time_point m_start;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;

    std::unique_ptr<SimRemote> m_remote;
    std::unique_ptr<PortWatch> m_watch;
    std::string m_linkTarget;  // the device our link points at
    PcCommandReader m_reader;
    RemoteReport m_report;
    uint32_t m_cycle = 0;
    std::size_t m_nextDrop = 0;
    std::size_t m_nextPress = 0;
    std::optional<ScheduledDrop> m_drop;  // under way
    std::deque<uint16_t> m_pressed;  // state codes for the next cycles, one each
    bool m_linkUp = false;     // the PC has the port open and the remote talks to it
    bool m_movalText = false;  // a Moval at its prompt, not streaming
    int m_notchIgnores = 0;    // left on this link
    bool m_lineFull = false;
};

#pragma once
// The service terminal: the remote's text, typed lines and maintenance
// commands, and firmware programming. One process-wide object, made for
// the view; its window (when one is open) mirrors the state kept here and
// hands the user's actions to it. Every member runs on the UI thread except
// the text model, the two flags and the programming feed, which the link's
// threads use.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "link/FirmwareFile.h"
#include "link/TermTextModel.h"
#include "platform/Prompter.h"

class CSerial;
class CWriteQueue;

// What the terminal needs of the view that owns it.
class ITermDlgOwner {
public:
    virtual ~ITermDlgOwner() = default;
    // The remote is connected and its data arrive.
    virtual bool LinkLive() const = 0;
    // The remote's port, for Moval commands and the programming start byte.
    virtual CSerial& LinkPort() = 0;
    // The command writer's queue, for every other model.
    virtual CWriteQueue& LinkQueue() = 0;
    virtual bool RecordingRuns() const = 0;
    // How long the CO2 probe has been connected.
    virtual uint32_t ProbeConnectedMs() const = 0;
    virtual void LogTerminal(const std::string& text) = 0;
};

// What the terminal's window lends it while it is open.
struct TermDlgWindowHooks {
    IPrompter* prompter = nullptr;
    // Runs `step` once on the UI thread after `ms`.
    std::function<void(uint32_t ms, std::function<void()> step)> schedule;
    // The program file chosen; none when cancelled.
    std::function<std::optional<std::string>()> chooseProgramFile;
    // The state the window shows has changed.
    std::function<void()> changed;
    // The dialog ends.
    std::function<void()> endDialog;
};

inline constexpr char kTermLogTag[] = "CTK_TermDlg";

class CTK_TermDlg : public IProgrammingFeed {
public:
    // Made for `view` on first use.
    static CTK_TermDlg* Instance(ITermDlgOwner& view);
    static void Destroy();

    explicit CTK_TermDlg(ITermDlgOwner& owner);
    ~CTK_TermDlg() override;
    CTK_TermDlg(const CTK_TermDlg&) = delete;
    CTK_TermDlg& operator=(const CTK_TermDlg&) = delete;

    ITermDlgOwner& Owner() const { return m_owner; }

    // ---- Text, from any thread ----
    CTermTextModel& Text() { return m_text; }
    void AppendOutput(const char* text, std::size_t length) { m_text.AppendOutput(text, length); }
    void AppendReceiveBuffer(const char* text, std::size_t length) { m_text.AppendReceiveBuffer(text, length); }
    std::string GetReceiveBuffer() const { return m_text.GetReceiveBuffer(); }
    void ClearReceiveBuffer() { m_text.ClearReceiveBuffer(); }
    bool IsShown() const { return m_text.IsShown(); }

    void SetFullAuthority(bool full) { m_fullAuthority = full; }
    bool FullAuthority() const { return m_fullAuthority.load(); }
    // A programming run is under way: the connection is not declared lost.
    bool IsProgramming() const { return m_programming.load(); }

    // IProgrammingFeed, on the serial listener.
    std::string_view CurrentLine() const override { return m_feed.CurrentLine(); }
    void AdvanceLine() override { m_feed.AdvanceLine(); }
    const CFirmwareFeed& Feed() const { return m_feed; }

    // ---- The dialog, on the UI thread ----
    void SetWindowHooks(TermDlgWindowHooks hooks);
    void ClearWindowHooks();

    void OnInitDialog();
    // The dialog's OK action; `inputHadFocus`: the input line had the focus.
    void OnEnter(bool inputHadFocus);
    void OnQuit();
    void OnOutputRow(const std::string& row);
    void OnButton(int id);
    // The link has sent the last firmware line (its post to the view).
    void OnProgrammingComplete();

    // Sends to the remote when the link is live: straight to the port for a
    // Moval (bounded by the port's write time-out), else through the queue.
    void SendCommand(const std::string& text);

    // Firmware programming's checks.
    void OnProgramRemote();
    bool SelectProgramFile();
    bool MatchFileNamePattern(const std::string& path, bool oldRadio) const;
    bool HasOldRadio() const;
    bool CheckRemoteVersion() const;
    const std::string& FilePath() const { return m_filePath; }

    // What the window shows.
    bool IsControlVisible(int id) const;
    bool IsChecked(int id) const { return m_checked.count(id) != 0; }
    const std::vector<std::string>& OutputRows() const { return m_rows; }
    const std::string& DeviceName() const { return m_deviceName; }
    const std::string& Title() const { return m_title; }
    std::string BoxText(int id) const;
    void SetBoxText(int id, const std::string& text);
    const std::string& InputText() const { return m_input; }
    void SetInputText(const std::string& text) { m_input = text; }
    // A paused sequence runs; actions wait for it.
    bool Busy() const { return m_busy; }
    bool TimerRunning(int timer) const { return (timer == 1 ? m_timer1 : m_timer2) != 0; }

private:
    using Step = std::variant<std::function<void()>, uint32_t>;  // an action, or a pause in ms

    void Act(std::function<void()> action);
    void RunSequence(std::vector<Step> steps);
    void ContinueSequence(uint64_t generation);
    void CancelSequences();
    void Changed();
    int Box(const std::string& text, const std::string& caption, uint32_t type);
    void Quit(bool ask);
    void StartTimer(int timer);
    void StopTimer(int timer);
    void TimerTick(int timer, uint64_t run);
    void SaveSetup();
    void ZeroCo2();
    void ZeroCuff();
    void CheckAndSelect(int id);
    void StartProgramming(std::vector<std::string> lines);
    void Log(const std::string& text) { m_owner.LogTerminal(text); }

    ITermDlgOwner& m_owner;
    CTermTextModel m_text;
    std::atomic<bool> m_fullAuthority{false};
    std::atomic<bool> m_programming{false};
    CFirmwareFeed m_feed;
    std::string m_filePath;

    TermDlgWindowHooks m_hooks;
    std::map<int, bool> m_visible;
    std::set<int> m_checked;
    std::vector<std::string> m_rows;
    std::string m_deviceName;
    std::string m_title;
    std::map<int, std::string> m_boxes;
    std::string m_input;
    bool m_completeAcknowledged = false;

    bool m_busy = false;
    uint64_t m_generation = 0;  // a new one cancels the steps of the old
    std::deque<Step> m_sequence;
    std::deque<std::function<void()>> m_pending;
    uint64_t m_timer1 = 0;      // the run of each periodic timer; 0 stopped
    uint64_t m_timer2 = 0;
    uint64_t m_timerRuns = 0;
};

// The process-wide terminal and the lock of its making and unmaking.
extern CTK_TermDlg* g_termDlg;
extern std::mutex g_termDlgLock;

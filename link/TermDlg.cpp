#include "link/TermDlg.h"

#include <cstdio>

#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/RemoteCommands.h"
#include "link/TermDlgTables.h"
#include "link/WriteQueue.h"
#include "platform/SerialErrors.h"

CTK_TermDlg* g_termDlg = nullptr;
std::mutex g_termDlgLock;

namespace {

constexpr uint32_t kTimerMs = 1000;
constexpr char kQuitWarning[] =
    "You are about to exit while programming a remote.\nThis may result in permanent damage to the remote.\n\nDo "
    "you really want to do this?\n\nPress \u2018Yes\u2019 to proceed, \u2018No\u2019 to cancel the exit request.";

}  // namespace

CTK_TermDlg* CTK_TermDlg::Instance(ITermDlgOwner& view)
{
    std::lock_guard lock(g_termDlgLock);
    if (g_termDlg == nullptr)
        g_termDlg = new CTK_TermDlg(view);
    return g_termDlg;
}

void CTK_TermDlg::Destroy()
{
    std::lock_guard lock(g_termDlgLock);
    if (g_termDlg == nullptr)
        return;
    g_termDlg->m_text.ClearOutput();
    delete g_termDlg;
    g_termDlg = nullptr;
}

CTK_TermDlg::CTK_TermDlg(ITermDlgOwner& owner) : m_owner(owner)
{
    m_visible = TermControlVisibility(kDeviceUnknown, false);
}

CTK_TermDlg::~CTK_TermDlg() = default;

void CTK_TermDlg::SetWindowHooks(TermDlgWindowHooks hooks)
{
    m_hooks = std::move(hooks);
}

void CTK_TermDlg::ClearWindowHooks()
{
    CancelSequences();
    StopTimer(1);
    StopTimer(2);
    m_hooks = TermDlgWindowHooks{};
}

void CTK_TermDlg::Changed()
{
    if (m_hooks.changed)
        m_hooks.changed();
}

int CTK_TermDlg::Box(const std::string& text, const std::string& caption, uint32_t type)
{
    if (m_hooks.prompter != nullptr)
        return m_hooks.prompter->MessageBox(text, caption, type);
    // No window to ask over: a question is answered "no".
    Log(caption + ": " + text);
    return (type & kMbButtonMask) == kMbOk ? kIdOk : kIdNo;
}

// ---- Sequences with pauses ----

void CTK_TermDlg::Act(std::function<void()> action)
{
    if (m_busy) {
        m_pending.push_back(std::move(action));
        return;
    }
    action();
}

void CTK_TermDlg::RunSequence(std::vector<Step> steps)
{
    m_sequence.insert(m_sequence.end(), steps.begin(), steps.end());
    if (m_busy)
        return;
    m_busy = true;
    Changed();
    ContinueSequence(m_generation);
}

void CTK_TermDlg::ContinueSequence(uint64_t generation)
{
    if (generation != m_generation)
        return;
    while (!m_sequence.empty()) {
        Step step = std::move(m_sequence.front());
        m_sequence.pop_front();
        if (const uint32_t* pause = std::get_if<uint32_t>(&step)) {
            if (!m_hooks.schedule) {
                Log("No window to pause in: the terminal's sequence stops.");
                CancelSequences();
                return;
            }
            m_hooks.schedule(*pause, [this, generation] { ContinueSequence(generation); });
            return;
        }
        std::get<std::function<void()>>(step)();
        if (generation != m_generation)
            return;  // the step ended the dialog
    }
    m_busy = false;
    Changed();
    // What the user did meanwhile, in order; one may start a new sequence.
    while (!m_busy && !m_pending.empty()) {
        std::function<void()> action = std::move(m_pending.front());
        m_pending.pop_front();
        action();
    }
}

void CTK_TermDlg::CancelSequences()
{
    ++m_generation;
    m_sequence.clear();
    m_pending.clear();
    m_busy = false;
}

// ---- Timers 1 (heart and breath rates) and 2 (end of programming) ----

void CTK_TermDlg::StartTimer(int timer)
{
    uint64_t& run = timer == 1 ? m_timer1 : m_timer2;
    run = ++m_timerRuns;
    if (!m_hooks.schedule)
        return;
    const uint64_t current = run;
    m_hooks.schedule(kTimerMs, [this, timer, current] { TimerTick(timer, current); });
}

void CTK_TermDlg::StopTimer(int timer)
{
    (timer == 1 ? m_timer1 : m_timer2) = 0;
}

void CTK_TermDlg::TimerTick(int timer, uint64_t run)
{
    if ((timer == 1 ? m_timer1 : m_timer2) != run)
        return;
    if (timer == 1) {
        int32_t rate = g_liveData.hrFromEcg;
        if (g_liveData.heartRateSource == 1)
            rate = g_liveData.hrFromSpO2;
        else if (g_liveData.heartRateSource == 2)
            rate = g_liveData.hrFromBp;
        char line[64];
        const int n = std::snprintf(line, sizeof line, "HR=%d BPM  RR= %d\r\n", int(rate), int(g_respRate));
        m_text.AppendOutput(line, static_cast<std::size_t>(n));
    } else if (g_linkMode.load() == kLinkDrop && m_completeAcknowledged) {
        // Only once the user has closed "Programming Complete".
        m_programming = false;
        StopTimer(2);
        Quit(false);
        return;
    }
    if (m_hooks.schedule)
        m_hooks.schedule(kTimerMs, [this, timer, run] { TimerTick(timer, run); });
}

// ---- Sending ----

void CTK_TermDlg::SendCommand(const std::string& text)
{
    if (!m_owner.LinkLive())
        return;
    if (g_liveData.deviceKind == kDeviceMoval) {
        // From the UI thread, bounded by the port's write time-out.
        const int32_t result = SendRawToRemote(m_owner.LinkPort(), text);
        if (result != kSerialOk)
            Log(std::string("A terminal command could not be sent: ") + SerialErrorText(result));
        return;
    }
    m_owner.LinkQueue().Push(text);
}

// ---- The dialog ----

void CTK_TermDlg::OnInitDialog()
{
    CancelSequences();
    StopTimer(1);
    StopTimer(2);
    m_programming = false;
    m_completeAcknowledged = false;
    m_checked.clear();
    m_boxes.clear();
    m_input.clear();
    const int32_t kind = g_liveData.deviceKind;
    m_deviceName = TermDeviceName(kind);
    m_rows = TermOutputRows(kind);
    m_visible = TermControlVisibility(kind, m_fullAuthority.load());
    m_title = m_fullAuthority.load() ? kTermTitleFull : kTermTitleProvisional;
    m_text.SetShown(true);
    Changed();
    if (kind == kDeviceMoval) {
        // The remote into its terminal mode; what it says meanwhile is
        // dropped.
        RunSequence({
            Step{[] { g_linkMode = kLinkDrop; }}, Step{400u},
            Step{[this] { SendCommand(kCmdTermWake); }}, Step{400u},
            Step{[this] { SendCommand(kCmdTermWatchdogOff); }}, Step{300u},
            Step{[this] { SendCommand(kCmdTermOutputVoltage); }}, Step{300u},
            Step{[this] { SendCommand(kCmdTermDisplayOff); }}, Step{800u},
            Step{[] { g_linkMode = kLinkTerminal; }},
        });
    }
}

void CTK_TermDlg::OnEnter(bool inputHadFocus)
{
    const bool moval = g_liveData.deviceKind == kDeviceMoval;
    if (moval && g_linkMode.load() != kLinkTerminal) {
        m_input.clear();
        Changed();
        return;
    }
    if (!inputHadFocus)
        return;
    if (!moval)
        SendCommand(kCmdKeepAlive);
    SendCommand(m_input + "\r");
    m_input.clear();
    Changed();
}

void CTK_TermDlg::OnQuit()
{
    Act([this] { Quit(true); });
}

void CTK_TermDlg::Quit(bool ask)
{
    if (ask && m_programming.load()
        && Box(kQuitWarning, "Warning", kMbYesNo | kMbIconWarning) != kIdYes)
        return;
    SendCommand(kCmdTermWatchdogOn);
    SendCommand(kCmdTermDisplayOff);
    m_text.SetShown(false);
    // A run that is given up must not keep the writer paused and the
    // connection's loss check off.
    m_programming = false;
    CancelSequences();
    StopTimer(1);
    StopTimer(2);
    Changed();
    if (m_hooks.endDialog)
        m_hooks.endDialog();
}

void CTK_TermDlg::OnOutputRow(const std::string& row)
{
    Act([this, row] {
        StopTimer(1);
        const TermRowAction action = TermOutputRowAction(row, g_liveData.deviceKind);
        if (action.first.empty())
            return;
        if (action.second.empty()) {
            SendCommand(action.first);
        } else {
            RunSequence({Step{[this, first = action.first] { SendCommand(first); }}, Step{action.pauseMs},
                         Step{[this, second = action.second] { SendCommand(second); }}});
        }
        if (action.hrTimer)
            StartTimer(1);
    });
}

void CTK_TermDlg::OnProgrammingComplete()
{
    Box(kProgrammingCompleteText, kProgrammingCompleteCaption, kMbOk | kMbIconWarning);
    m_completeAcknowledged = true;
}

bool CTK_TermDlg::IsControlVisible(int id) const
{
    const auto it = m_visible.find(id);
    return it == m_visible.end() || it->second;
}

std::string CTK_TermDlg::BoxText(int id) const
{
    const auto it = m_boxes.find(id);
    return it == m_boxes.end() ? std::string() : it->second;
}

void CTK_TermDlg::SetBoxText(int id, const std::string& text)
{
    m_boxes[id] = text;
}

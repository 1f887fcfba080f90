#include "sim/tool/RemoteSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "sim/tool/RemoteButtons.h"

namespace {

// A cycle is 32 ECG samples at 400 per second, or a Moval's 48 at 500.
std::chrono::microseconds CyclePeriod(RemoteModel model)
{
    return std::chrono::microseconds(model == RemoteModel::Moval ? 96000 : 80000);
}

bool SpeaksContainers(RemoteModel model)
{
    return model == RemoteModel::Selvo || model == RemoteModel::Brindle;
}

// The version text each model gives, in the form the PC looks for.
std::string VersionText(RemoteModel model)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return "Software: PatientMonitor_Rev_1.00";
    case RemoteModel::TarvikPlus: return "Software: Tarvik+_Rev_1.00";
    case RemoteModel::Moval: return "Software: Ecg_Rev_1.00";
    case RemoteModel::Selvo: return "Software: Selvo_Rev_1.00";
    case RemoteModel::Brindle: break;
    }
    return "Software: BPBrindle_Rev_1.00";
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

}  // namespace

RemoteSession::RemoteSession(RemoteScript script, Printer print)
    : m_script(std::move(script)), m_print(std::move(print)), m_start(Clock::now()), m_report(m_script.report)
{
}

RemoteSession::~RemoteSession()
{
    TakeDownLine();
}

double RemoteSession::Now() const
{
    return std::chrono::duration<double>(Clock::now() - m_start).count();
}

void RemoteSession::Say(const std::string& text) const
{
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%9.3f  ", Now());
    m_print(stamp + text);
}

void RemoteSession::Stop()
{
    std::lock_guard lock(m_mutex);
    m_stop = true;
    m_wake.notify_all();
}

bool RemoteSession::Run()
{
    m_start = Clock::now();
    if (!BringUpLine())
        return false;
    const auto period = CyclePeriod(m_script.model);
    auto nextCycle = m_start;
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        lock.unlock();
        const double now = Now();
        if (m_script.duration > 0.0 && now >= m_script.duration) {
            Say("-- end of the run");
            lock.lock();
            break;
        }
        WatchPort();
        HearPc();
        RunDue(now);
        if (!m_error.empty()) {
            lock.lock();
            break;
        }
        if (Clock::now() >= nextCycle) {
            SendCycle();
            nextCycle += period;
            // Behind by more than a second (a stopped process): start again from now.
            if (Clock::now() - nextCycle > std::chrono::seconds(1))
                nextCycle = Clock::now() + period;
        }
        lock.lock();
        m_wake.wait_until(lock, nextCycle, [this] { return m_stop; });
    }
    lock.unlock();
    TakeDownLine();
    Say("-- stopped");
    return m_error.empty();
}

bool RemoteSession::BringUpLine()
{
    m_remote = std::make_unique<SimRemote>();
    if (!m_remote->Ok()) {
        m_error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        m_remote.reset();
        return false;
    }
    const std::string device = m_remote->DevicePath();
    m_watch = std::make_unique<PortWatch>(device);
    if (!PlaceLink(device)) {
        TakeDownLine();
        return false;
    }
    std::string where = device;
    if (!m_script.link.empty())
        where += " as " + std::filesystem::absolute(m_script.link).lexically_normal().string();
    Say("-- " + ModelName(m_script.model) + " on " + where);
    if (m_watch->Ok()) {
        Say("-- waiting for the PC to open the port");
    } else {
        Say("-- cannot watch the port: the link counts as up from now");
        LinkUp(true);
    }
    return true;
}

void RemoteSession::TakeDownLine()
{
    m_watch.reset();
    if (m_remote) {
        m_remote->HangUp();
        m_remote.reset();
    }
    RemoveLink();
    m_linkUp = false;
}

bool RemoteSession::PlaceLink(const std::string& device)
{
    const std::string& link = m_script.link;
    if (link.empty())
        return true;
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        m_error = link + " exists and is not a symbolic link: left alone";
        return false;
    }
    // Made beside it and renamed over it, so the PC never finds it missing.
    const std::string temporary = link + ".sim_remote." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(device.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
        m_error = "cannot link " + link + " to " + device + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    m_linkTarget = device;
    return true;
}

void RemoteSession::RemoveLink()
{
    if (m_script.link.empty() || m_linkTarget.empty())
        return;
    std::error_code error;
    if (std::filesystem::read_symlink(m_script.link, error).string() == m_linkTarget)
        ::unlink(m_script.link.c_str());
    m_linkTarget.clear();
}

void RemoteSession::WatchPort()
{
    if (!m_watch)
        return;
    for (const PortWatch::Change& change : m_watch->Take()) {
        if (change.opened && change.openNow == 1) {
            Say("-- pc opened the port");
            if (!m_drop)
                LinkUp(true);
        } else if (!change.opened && change.openNow == 0) {
            Say("-- pc closed the port");
            m_linkUp = false;
        } else {
            Say(std::string("-- the port ") + (change.opened ? "opened" : "closed") + " again: " +
                std::to_string(change.openNow) + " open");
        }
    }
}

void RemoteSession::LinkUp(bool opened)
{
    m_linkUp = true;
    m_lineFull = false;
    // The remote keeps the PC's set-up while the PC keeps the port open.
    if (opened) {
        m_notchIgnores = m_script.notchRetries;
        m_report.notch = m_script.report.notch;
    }
    m_movalText = m_script.model == RemoteModel::Moval;
    const Bytes opening = ModelOpening(m_script.model);
    if (opening.empty()) {
        Say("-- link up: streaming");
        return;
    }
    m_remote->Send(opening, 500);
    Say(m_movalText ? "-- link up: sent the prompt, waiting for \"l1\"" : "-- link up: sent the product message");
}

void RemoteSession::HearPc()
{
    if (!m_remote)
        return;
    const std::vector<uint8_t> bytes = m_remote->TakeReceived();
    if (bytes.empty())
        return;
    for (const PcCommand& command : m_reader.Read(bytes)) {
        Say("pc> " + Describe(command) + (m_linkUp ? "" : "   (not heard: the link is down)"));
        if (m_linkUp)
            Act(command);
    }
}

void RemoteSession::Act(const PcCommand& command)
{
    if (command.kind == PcCommand::Kind::Request && SpeaksContainers(m_script.model)) {
        AnswerVersion();
        return;
    }
    if (command.kind != PcCommand::Kind::Line)
        return;
    const std::string text = Trimmed(command.text);
    if (text == "sl 60" || text == "sl 50") {
        SetNotch(text == "sl 60");
    } else if (text == "pv") {
        AnswerVersion();
    } else if (m_script.model == RemoteModel::Moval && text == "l1" && m_movalText) {
        m_movalText = false;
        Say("-- streaming");
    } else if (m_script.model == RemoteModel::Moval && text == "l0" && !m_movalText) {
        m_movalText = true;
        Say("-- text mode: no data");
    }
}

void RemoteSession::SetNotch(bool sixty)
{
    if (m_notchIgnores > 0) {
        --m_notchIgnores;
        Say("-- notch set-up ignored (" + std::to_string(m_script.notchRetries - m_notchIgnores) + " of " +
            std::to_string(m_script.notchRetries) + ")");
        return;
    }
    m_report.notch = sixty;
    Say(sixty ? "-- mains filter at 60 Hz" : "-- mains filter at 50 Hz");
}

void RemoteSession::AnswerVersion()
{
    const std::string version = VersionText(m_script.model);
    if (SpeaksContainers(m_script.model)) {
        m_remote->Send(FrameMessage(0x15, EncodeVersionInfo(version + "\r\n")), 500);
        Say("-- answered the version: \"" + version + "\"");
    } else if (m_script.model == RemoteModel::Moval) {
        if (!m_movalText)
            return;
        m_remote->Send("\r\n" + version + "\r\n", 500);
        Say("-- answered the version: \"" + version + "\"");
    } else {
        m_report.terminalText = "\r\n" + version + "\r\n";
        Say("-- answers the version with the next packet: \"" + version + "\"");
    }
}

void RemoteSession::RunDue(double now)
{
    if (m_drop && now >= m_drop->at + m_drop->span)
        EndDrop();
    for (; m_nextDrop < m_script.drops.size() && now >= m_script.drops[m_nextDrop].at; ++m_nextDrop)
        if (!m_drop)
            StartDrop(m_script.drops[m_nextDrop]);
    for (; m_nextPress < m_script.presses.size() && now >= m_script.presses[m_nextPress].at; ++m_nextPress)
        Press(m_script.presses[m_nextPress]);
}

void RemoteSession::StartDrop(const ScheduledDrop& drop)
{
    m_drop = drop;
    m_linkUp = false;
    m_pressed.clear();
    if (!drop.hangUp) {
        Say("-- drop: silent for " + Seconds(drop.span));
        return;
    }
    Say("-- drop: hung up for " + Seconds(drop.span) + (m_script.link.empty() ? "" : ", " + m_script.link + " removed"));
    TakeDownLine();
}

void RemoteSession::EndDrop()
{
    const bool hungUp = m_drop->hangUp;
    m_drop.reset();
    if (hungUp) {
        if (BringUpLine())
            return;
        Say("-- " + m_error);
        return;
    }
    Say("-- back");
    if (m_watch && (!m_watch->Ok() || m_watch->Open()))
        LinkUp(false);
}

void RemoteSession::Press(const ScheduledPress& press)
{
    const std::string button = ButtonOfStateCode(m_script.model, press.stateCode);
    std::string what = "press " + press.name;
    if (press.name != button)
        what += button.empty() ? " (no button of the " + ModelName(m_script.model) + ")" : " (" + button + ")";
    what += ": state code " + std::to_string(press.stateCode);
    if (!Streaming()) {
        Say("-- " + what + ", not sent: the link is down");
        return;
    }
    m_pressed.push_back(press.stateCode);
    Say("-- " + what);
}

bool RemoteSession::Streaming() const
{
    return m_remote && m_linkUp && !m_movalText;
}

void RemoteSession::SendCycle()
{
    const uint32_t cycle = m_cycle++;
    if (!Streaming())
        return;
    RemoteReport report = m_report;
    if (!m_pressed.empty()) {
        report.stateCode = m_pressed.front();
        m_pressed.pop_front();
    }
    m_report.terminalText.clear();
    // A PC that does not read loses what the remote sends, as over the air.
    const bool sent = m_remote->Send(ModelCycle(m_script.model, cycle, report), 50);
    if (sent == m_lineFull)
        Say(sent ? "-- the PC reads again" : "-- the PC is not reading: data lost");
    m_lineFull = !sent;
}

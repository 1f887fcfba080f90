// Firmware programming from the terminal: the checks on the UI thread, the
// whole file read and checked before the remote is told anything, the
// switch-over, and the start of the feeding that the serial listener does.
#include <cerrno>
#include <sys/stat.h>

#include "link/FirmwareChecks.h"
#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/RemoteCommands.h"
#include "link/TermDlg.h"
#include "link/TermDlgTables.h"
#include "platform/SerialErrors.h"

namespace {

constexpr uint32_t kInfo = kMbOk | kMbIconWarning;
constexpr char kInstructionsCaption[] = "Programming Instructions";
constexpr char kErrorCaption[] = "Programming Remote Error";
constexpr char kStartingText[] = "\r\n Starting Programming Sequence . . . Please Wait for Completion.\r\n";

std::string FileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool CTK_TermDlg::CheckRemoteVersion() const
{
    return RemoteVersionKnown(m_text.GetReceiveBuffer());
}

bool CTK_TermDlg::HasOldRadio() const
{
    return ReportsOldRadio(g_liveData.deviceKind, m_text.GetReceiveBuffer());
}

bool CTK_TermDlg::MatchFileNamePattern(const std::string& path, bool oldRadio) const
{
    return ProgramFileNameMatches(path, g_liveData.deviceKind, oldRadio);
}

bool CTK_TermDlg::SelectProgramFile()
{
    const std::optional<std::string> chosen =
        m_hooks.chooseProgramFile ? m_hooks.chooseProgramFile() : std::nullopt;
    if (!chosen || chosen->empty())
        return false;
    m_filePath = *chosen;
    struct stat info {};
    if (::stat(m_filePath.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        Box("Selected directory or file does not exist or is other invalid!", kErrorCaption, kInfo);
        return false;
    }
    const bool oldRadio = HasOldRadio();
    if (!MatchFileNamePattern(m_filePath, oldRadio)) {
        Box(ProgramFileNameMessage(g_liveData.deviceKind, oldRadio), kErrorCaption, kInfo);
        return false;
    }
    return true;
}

void CTK_TermDlg::OnProgramRemote()
{
    const int32_t kind = g_liveData.deviceKind;
    const int32_t battery = g_liveData.batteryLevel;
    if (kind == kDeviceTarvikPlus) {
        if (battery != 0) {
            Box("The remote must be plugged into the AC adaptor prior to programming.", kInstructionsCaption, kInfo);
            return;
        }
    } else if (kind == kDeviceSelvo || kind == kDeviceBrindle) {
        if (battery < 0 || battery > 2) {
            Box("The remote battery level must be at 75% or greater prior to programming.", kInstructionsCaption,
                kInfo);
            return;
        }
    } else {
        return;
    }
    if (!CheckRemoteVersion()) {
        Box("We must have software version information for the remote prior to programming.", kInstructionsCaption,
            kInfo);
        return;
    }
    if (m_owner.RecordingRuns()) {
        Box("Please stop the recording of data and events prior to programming the remote.", kInstructionsCaption,
            kInfo);
        return;
    }
    if (!SelectProgramFile())
        return;
    struct stat info {};
    if (::stat(m_filePath.c_str(), &info) != 0) {
        Box("Unexpected Error!  Unable to find file " + m_filePath + ".  \r\n\r\n Please try again. \r\n", kErrorCaption,
            kInfo);
        return;
    }
    // The whole file, before the user is asked and the remote is told.
    std::vector<std::string> lines;
    const FirmwareResult read = ReadFirmwareFile(m_filePath, lines);
    if (!read.Ok()) {
        const std::string text = FirmwareErrorText(m_filePath, read);
        Log(text);
        Box(text, kErrorCaption, kInfo);
        return;
    }
    const std::string question = "You have selected program file  '" + FileName(m_filePath)
        + "'.  \r\n\r\nAre you sure you want to continue updating the remote device program? \r\n\r\n Note:  While "
          "updating the remote device, do not exit this program, power off the remote or the computer, or move the "
          "remote.  Otherwise, severe damage may result.";
    if (Box(question, kInstructionsCaption, kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    StartProgramming(std::move(lines));
}

void CTK_TermDlg::StartProgramming(std::vector<std::string> lines)
{
    Log("Programming the remote from " + m_filePath);
    m_programming = true;
    m_completeAcknowledged = false;
    m_text.AppendOutput(kStartingText, sizeof kStartingText - 1);
    auto table = std::make_shared<std::vector<std::string>>(std::move(lines));
    RunSequence({
        Step{1000u},
        Step{[this] { SendCommand(kCmdFlashProgram); }},
        Step{2000u},
        Step{[this] {
            g_linkMode = kLinkDrop;
            for (auto& [id, visible] : m_visible)
                visible = id == kTermOutput || id == kTermQuit;
            Changed();
        }},
        Step{8000u},
        Step{[this, table] {
            StopTimer(1);
            StopTimer(2);
            m_feed.Install(std::move(*table));
            g_linkMode = kLinkProgramming;
            const int32_t result = SendRawToRemote(m_owner.LinkPort(), "@");
            if (result != kSerialOk)
                Log(std::string("The programming start could not be sent: ") + SerialErrorText(result));
            StartTimer(2);
        }},
    });
}

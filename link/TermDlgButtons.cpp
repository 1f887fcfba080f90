// The terminal's buttons: display, help, power, blood pressure, the CO2
// mode, cuff and CO2 zeroing, and the remote's identity set-up.
#include <cstdio>

#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "link/TermDlg.h"
#include "link/TermDlgTables.h"

namespace {

constexpr uint32_t kInfo = kMbOk | kMbIconWarning;  // the exclamation icon
constexpr char kCommandSentCaption[] = "Verification: Command Sent";
constexpr char kGasZeroCaption[] = "Gas Probe Zeroing Instructions";
constexpr char kSamplingLineText[] =
    "Verify that the sampling line is correctly inserted into the CO2 probe\nand that both ends of the airway "
    "adaptor are open to room air.\n\nPress OK to proceed with calibration.";
constexpr char kAirwayAdaptorText[] =
    "Verify that the airway adaptor is correctly inserted into the CO2 probe\nand that both ends of the adaptor "
    "are open to room air.\n\nPress OK to proceed with calibration.";
constexpr uint32_t kWarmUpMinutes = 15;

// "%D:%H:%M:%S" of a time span.
std::string SpanText(uint32_t ms)
{
    const uint32_t seconds = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u:%02u", seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

}  // namespace

void CTK_TermDlg::OnButton(int id)
{
    Act([this, id] {
        switch (id) {
        case kTermDisplayOff: SendCommand(kCmdTermDisplayOff); break;
        case kTermDisplayOn: SendCommand(kCmdTermDisplayOn); break;
        case kTermHelp: SendCommand(kCmdHelp); break;
        case kTermPowerOff: SendCommand(kCmdPowerOff); break;
        case kTermBpStart: SendCommand(kCmdTermBpStart); break;
        case kTermBpHalt: SendCommand(kCmdTermBpStop); break;
        case kTermCo2Demo:
            CheckAndSelect(kTermCo2Demo);
            SendCommand(kCmdCo2Demo);
            break;
        case kTermCo2Measure:
            CheckAndSelect(kTermCo2Measure);
            SendCommand(kCmdCo2Measure);
            break;
        case kTermCo2Reset:
            CheckAndSelect(kTermCo2Reset);
            RunSequence({Step{[this] { SendCommand(kCmdCo2Reset); }}, Step{800u},
                         Step{[this] { CheckAndSelect(kTermCo2Measure); }}});
            break;
        case kTermCuffZero: ZeroCuff(); break;
        case kTermCo2Zero: ZeroCo2(); break;
        case kTermSaveSetup: SaveSetup(); break;
        case kTermProgram: OnProgramRemote(); break;
        case kTermQuit: Quit(true); break;
        default: break;  // "T-Mid Offset" sends nothing
        }
    });
}

void CTK_TermDlg::CheckAndSelect(int id)
{
    m_checked = {id};
    Changed();
}

void CTK_TermDlg::ZeroCuff()
{
    Box("Verify that the BP Cuff is disconnected.\n\nPress OK to proceed with calibration.",
        "Cuff Pressure Zeroing Instructions", kInfo);
    SendCommand(kCmdCuffZero);
    Box("The zeroing command has been sent to the device", kCommandSentCaption, kInfo);
    SendCommand(kCmdCuffSave);
}

void CTK_TermDlg::ZeroCo2()
{
    const uint8_t probeType = g_gasStatus[9];
    if (probeType == 1) {
        const uint32_t connectedMs = m_owner.ProbeConnectedMs();
        const uint32_t minutes = static_cast<uint32_t>((uint64_t(connectedMs) + 500) / 60000);
        if (minutes < kWarmUpMinutes && g_gasStatus[10] == 0) {
            Box("CO2 probe has only been connected for " + SpanText(connectedMs)
                    + "\nProbe must be connected for at least 15 minutes.",
                "Please Wait: CO2 probe warming up", kInfo);
            return;
        }
        Box(g_liveData.co2ProbeState != 0 ? kSamplingLineText : kAirwayAdaptorText, kGasZeroCaption, kInfo);
    } else if (probeType == 2) {
        if ((g_gasStatus[4] & 0x10) != 0) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "CO2 Sensor not ready to zero.\n\n--- Probe warming or breath detected in the last 20 "
                          "sec.\n--- Status: %02x %02x %02x %02x\n",
                          unsigned(g_gasStatus[4]), unsigned(g_gasStatus[5]), unsigned(g_gasStatus[6]),
                          unsigned(g_gasStatus[7]));
            Box(text, "Please Wait: CO2 probe stabilizing.", kInfo);
            return;
        }
        Box(kAirwayAdaptorText, kGasZeroCaption, kInfo);
    } else {
        return;
    }
    SendCommand(kCmdGasProbeZero);
    Box("The zeroing command has been sent to the CO2 probe", kCommandSentCaption, kInfo);
}

void CTK_TermDlg::SaveSetup()
{
    bool sent = false;
    auto row = [&](int box, const std::string& command) {
        const std::string text = BoxText(box);
        if (text.empty())
            return;
        SendCommand(command + text + "\r");
        sent = true;
    };
    row(kTermHardware, kCmdSetHardware);
    row(kTermSerial, kCmdSetSerial);
    if (!m_deviceName.empty())
        row(kTermDeviceNumber, kCmdSetDeviceId + m_deviceName);
    row(kTermMfg, kCmdSetManufacturer);
    if (sent)
        SendCommand(kCmdSaveSetupCs);
    RunSequence({
        Step{300u},
        Step{[this] { SendCommand(kCmdSaveSetupCr); }},
        Step{100u},
        Step{[this] {
            SendCommand(kCmdVersionRequest);
            m_boxes.clear();
            Changed();
        }},
        Step{100u},
    });
}

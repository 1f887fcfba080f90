#pragma once
// The text commands the PC sends to the remote. Each begins a new line on
// the remote; "\r" is a carriage return.
#include <string>

// Version information; Moval set-up after detection; keep-alives.
inline constexpr char kCmdVersionRequest[] = "\rpv\r";
inline constexpr char kCmdMovalSetup[] = "\rob\rl1\rws\r";
inline constexpr char kCmdMovalKeepAlive[] = "ws\r";
inline constexpr char kCmdKeepAlive[] = "\x06";

// Recording on the remote.
inline constexpr char kCmdRecordOn[] = "\rRD 1\r";
inline constexpr char kCmdRecordOff[] = "\rRD 0\r";

// Mains notch filter (the "Notch" setting), and "sb 1" on connect.
inline constexpr char kCmdNotch60[] = "sl 60\r";
inline constexpr char kCmdNotch50[] = "sl 50\r";
inline constexpr char kCmdSb1[] = "sb 1\r";

// Blood pressure: set-up (cuff size, interval value, initial pressure),
// start and stop.
inline constexpr char kCmdBpSetupFormat[] = "%s %d %d %d\r";
inline constexpr char kCmdBpSetupVerb[] = "sp";
inline constexpr char kCmdBpStart[] = "bp 1\r";
inline constexpr char kCmdBpStop[] = "bp 0\r";

// Sent by the view's timer handling.
inline constexpr char kCmdRpValueFormat[] = "%s %d\r";
inline constexpr char kCmdRp1Verb[] = "rp 1";
inline constexpr char kCmdRp02Verb[] = "rp 02";
inline constexpr char kCmdRp4_21[] = "rp 4 21\r";
inline constexpr char kCmdRp4_50[] = "rp 4 50\r";
inline constexpr char kCmdRp4_85[] = "rp 4 85\r";

// Gas probe zeroing; dental scalar rejection.
inline constexpr char kCmdGasProbeZero[] = "\rrp 6 255\r";
inline constexpr char kCmdDentalOn[] = "\rsz 1\r";
inline constexpr char kCmdDentalOff[] = "\rsz 0\r";

// Service terminal: Moval start sequence and close.
inline constexpr char kCmdTermWake[] = "\rws\rws\r";
inline constexpr char kCmdTermWatchdogOff[] = "wd 0\r";
inline constexpr char kCmdTermOutputVoltage[] = "ov\r";
inline constexpr char kCmdTermDisplayOff[] = "l0\r";
inline constexpr char kCmdTermDisplayOn[] = "l1\r";
inline constexpr char kCmdTermWatchdogOn[] = "wd 1\r";

// Service terminal: identity rows (followed by the typed text and "\r").
inline constexpr char kCmdSetHardware[] = "\rsh ";
inline constexpr char kCmdSetSerial[] = "\rss ";
inline constexpr char kCmdSetDeviceId[] = "\rsi ";
inline constexpr char kCmdSetManufacturer[] = "\rsm ";
// Save Setup: "cs" after any identity row, then always "cr" before the
// version is asked for again.
inline constexpr char kCmdSaveSetupCs[] = "cs\r";
inline constexpr char kCmdSaveSetupCr[] = "cr\r";

// Service terminal: output selection.
inline constexpr char kCmdOutVoltage[] = "\rsd 1000\rov\r";
inline constexpr char kCmdOutKeypad[] = "\rsd 50\rok\r";
inline constexpr char kCmdOutTempCo2[] = "\rsd 1000\roc\r";
inline constexpr char kCmdOutTemp[] = "\rsd 1000\rot\r";
inline constexpr char kCmdOutLeads[] = "\rsd 1000\rol\r";
inline constexpr char kCmdOutAdc[] = "\rsd 1000\roa\r";
inline constexpr char kCmdOutEcg[] = "\rsd 100\roe\r";
inline constexpr char kCmdOutSpO2[] = "\rsd 1000\ros\r";
inline constexpr char kCmdOutPleth[] = "\rsd 1000\rop\r";
inline constexpr char kCmdOutResp[] = "\rsd 100\ror\r";
inline constexpr char kCmdOutSlow[] = "\rsd 1000\r";
inline constexpr char kCmdOutCo2Values[] = "oc\rrp 0 3\r";
inline constexpr char kCmdOutBp[] = "\rsd 1000\rob\r";

// Service terminal: buttons.
inline constexpr char kCmdHelp[] = "\rhe\r";
inline constexpr char kCmdPowerOff[] = "\rkp\r";
inline constexpr char kCmdTermBpStart[] = "\rbp 1\r";
inline constexpr char kCmdTermBpStop[] = "\rbp 0\r";
inline constexpr char kCmdCo2Demo[] = "\rrp 0 3\r";
inline constexpr char kCmdCo2Reset[] = "\rrp 0 0\r";
inline constexpr char kCmdCo2Measure[] = "\rrp 0 2\r";
inline constexpr char kCmdCuffSave[] = "\rcs\r";
inline constexpr char kCmdCuffZero[] = "\rsz\r";

// Firmware programming: "fp ", the maker's domain (12 characters), "\r".
inline constexpr char kCmdFlashProgramArgument[] = "norqtech.com";
inline constexpr char kCmdFlashProgram[] = "fp norqtech.com\r";
static_assert(sizeof kCmdFlashProgramArgument - 1 == 12, "the remote expects 12 characters");

// "sp <cuff> <interval> <initial pressure>\r"
std::string FormatBpSetupCommand(int cuffSize, int interval, int initialPressure);
// "<verb> <value>\r", for "rp 1" and "rp 02".
std::string FormatRpCommand(const char* verb, int value);

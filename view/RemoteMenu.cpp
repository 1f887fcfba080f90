#include "view/RemoteMenu.h"

#include <iterator>

#include "app/MenuCommands.h"
#include "app/RemoteConfiguration.h"
#include "app/SettingsNames.h"
#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "link/StreamDetector.h"
#include "platform/Relaxed.h"
#include "view/LinkIntake.h"
#include "view/NumericFormat.h"
#include "view/ViewTexts.h"

namespace {

enum class Item {
    SilenceAlarm,
    Species,
    NewPatient,
    Grid,
    SweepRate,
    EcgGain,
    RWaveMarker,
    RWaveTone,
    SpO2Waveform,
    RrWaveform,
    Alarms,
    AlarmTone,
    RecordEcg,
    Exit,
};

constexpr const char* kItems12[] = {"SILENCE ALARM", "SPECIES...",     "NEW PATIENT...", "GRID",
                                    "SWEEP RATE",    "ECG GAIN",       "R-WAVE MARKER",  "R-WAVE TONE",
                                    "ALARMS",        "ALARM TONE",     "RECORD ECG",     "EXIT..."};
constexpr Item kActions12[] = {Item::SilenceAlarm, Item::Species,     Item::NewPatient, Item::Grid,
                               Item::SweepRate,    Item::EcgGain,     Item::RWaveMarker, Item::RWaveTone,
                               Item::Alarms,       Item::AlarmTone,   Item::RecordEcg,  Item::Exit};
constexpr const char* kItems13[] = {"SPECIES...",    "NEW PATIENT...", "GRID",       "SWEEP RATE", "ECG GAIN",
                                    "R-WAVE MARKER", "R-WAVE TONE",    "SPO2 WAVEFORM", "RR WAVEFORM",
                                    "ALARMS",        "ALARM TONE",     "RECORD ECG", "EXIT..."};
constexpr Item kActions13[] = {Item::Species,     Item::NewPatient, Item::Grid,         Item::SweepRate,
                               Item::EcgGain,     Item::RWaveMarker, Item::RWaveTone,   Item::SpO2Waveform,
                               Item::RrWaveform,  Item::Alarms,     Item::AlarmTone,    Item::RecordEcg,
                               Item::Exit};
static_assert(std::size(kItems12) == std::size(kActions12) && std::size(kItems13) == std::size(kActions13));

constexpr const char* kCuffItems[] = {"#1", "#2", "#3", "#4", "#5-7", "#8", "ADULT", "EXIT..."};
constexpr const char* kSpeciesItems[] = {"CANINE", "FELINE", "EQUINE", "OTHER", "EXIT..."};
constexpr const char* kNewPatientItems[] = {"YES", "NO", "EXIT..."};
constexpr int32_t kCuffExit = 7;

const char* OnOff(int32_t value)
{
    return value != 0 ? "ON " : "OFF ";
}

int32_t SpeciesIndex(IRemoteMenuView& view)
{
    return LimitSpecies(view.Species());
}

// One item of a REMOTE MENU; `self` is the menu it belongs to, shown again
// after every item that does not open another.
const RemoteMenu* RunRemoteItem(const RemoteMenu& self, const Item* actions, IRemoteMenuView& view, int32_t item)
{
    if (item < 0 || item >= self.count)
        return &self;
    RemoteConfiguration& config = view.Config();
    switch (actions[item]) {
    case Item::SilenceAlarm:
        if (LoadRelaxed(config.alarms) != 0) {
            StoreRelaxed(config.alarmTones, 0);
            view.PostEnableAlarmTone(false);
            view.ShowBanner(" Alarm Silenced ");
        } else {
            StoreRelaxed(config.alarmTones, 1);
            view.ShowBanner(" Alarm Enabled  ");
        }
        view.PostInvalidate();
        break;
    case Item::Species: return &kSpeciesMenu;
    case Item::NewPatient: return &kNewPatientMenu;
    case Item::Grid:
        view.RunCommand(menu::kGrid);
        view.ShowBanner(LoadRelaxed(config.grid) != 0 ? " Grid ON " : " Grid OFF ");
        break;
    case Item::SweepRate:
        view.RunCommand(menu::kSweepCycle);
        view.ShowBanner(" Sweep: " + FormatSweepText(LoadRelaxed(config.ecgSweep), view.DeviceKind()) + " ");
        break;
    case Item::EcgGain: {
        view.RunCommand(menu::kGainCycle);
        std::string gain = FormatGainText(view.GainIndex(), false, view.DeviceKind(), view.FeatureBits(),
                                          view.DentalRejection());
        if (const auto at = gain.find(" Dental"); at != std::string::npos)
            gain.erase(at, 7);
        view.ShowBanner(" Gain: " + gain + " ");
        break;
    }
    case Item::RWaveMarker:
        view.RunCommand(menu::kRWaveMarker);
        view.ShowBanner(std::string(" R-Wave Marker: ") + OnOff(LoadRelaxed(config.rMarker)));
        break;
    case Item::RWaveTone:
        view.RunCommand(menu::kQrsTone);
        view.ShowBanner(std::string(" R-Wave Tone: ") + OnOff(LoadRelaxed(config.qrsTone)));
        break;
    case Item::SpO2Waveform:
        view.ToggleShowSpO2();
        view.ShowBanner(std::string(" SpO2 Waveform: ") + OnOff(LoadRelaxed(config.showSpO2)));
        break;
    case Item::RrWaveform:
        view.ToggleShowResp();
        view.ShowBanner(std::string(" RR Waveform: ") + OnOff(LoadRelaxed(config.showResp)));
        break;
    case Item::Alarms:
        view.OnToggleAlarms();
        view.ShowBanner(std::string(" Alarms: ") + OnOff(LoadRelaxed(config.alarms)));
        break;
    case Item::AlarmTone: {
        // The remote's own silence button, reached through the menu.
        const SilenceAction action = AlarmSilenceAction(LoadRelaxed(config.alarms) != 0,
                                                        LoadRelaxed(config.alarmTones) != 0, view.Snoozing());
        if (action.silence)
            view.OnSilenceAlarm();
        if (action.banner != nullptr)
            view.ShowBanner(action.banner);
        break;
    }
    case Item::RecordEcg:
        view.ToggleRecordingFromRemote();
        view.ShowBanner(view.IsRecording() ? " Recording: ON " : " Recording: OFF ");
        break;
    case Item::Exit: return nullptr;
    }
    return &self;
}

const RemoteMenu* OnCuffItem(CRemoteMenu&, IRemoteMenuView& view, int32_t item)
{
    if (item >= 0 && item < kCuffExit) {
        StoreRelaxed(view.Config().cuffSize[SpeciesIndex(view)], item);
        // A measurement that runs already keeps running; the size is
        // sent with the next start.
        if (!view.BloodPressureRunning())
            view.StartBloodPressureWithChosenCuff();
    }
    return nullptr;
}

const RemoteMenu* OnSpeciesItem(CRemoteMenu&, IRemoteMenuView& view, int32_t item)
{
    if (item >= 0 && item < kSpeciesCount)
        view.SetPatientSpecies(item, kSpeciesNames[item]);
    return &GetRemoteMenu(view.DeviceKind());
}

const RemoteMenu* OnNewPatientItem(CRemoteMenu& menu, IRemoteMenuView& view, int32_t item)
{
    if (item == 0 && !menu.m_newPatientRunning) {
        menu.m_newPatientRunning = true;
        view.NewPatientFromRemote();
        menu.m_newPatientRunning = false;
    }
    return &GetRemoteMenu(view.DeviceKind());
}

template <std::size_t N>
constexpr int32_t Count(const char* const (&)[N])
{
    return int32_t(N);
}

}  // namespace

const RemoteMenu kRemoteMenu12{"REMOTE MENU", 2, Count(kItems12), kItems12, OnRemoteMenuItem};
const RemoteMenu kRemoteMenuA{"REMOTE MENU", 2, Count(kItems13), kItems13, OnRemoteMenuItemA};
const RemoteMenu kRemoteMenuB{"REMOTE MENU", 2, Count(kItems13), kItems13, OnRemoteMenuItemB};
const RemoteMenu kCuffMenu{"CUFF MENU", 1, Count(kCuffItems), kCuffItems, OnCuffItem};
const RemoteMenu kSpeciesMenu{"SPECIES MENU", 3, Count(kSpeciesItems), kSpeciesItems, OnSpeciesItem};
const RemoteMenu kNewPatientMenu{"NEW PATIENT MENU", 10, Count(kNewPatientItems), kNewPatientItems,
                                 OnNewPatientItem};

const RemoteMenu* OnRemoteMenuItem(CRemoteMenu&, IRemoteMenuView& view, int32_t item)
{
    return RunRemoteItem(kRemoteMenu12, kActions12, view, item);
}

const RemoteMenu* OnRemoteMenuItemA(CRemoteMenu&, IRemoteMenuView& view, int32_t item)
{
    return RunRemoteItem(kRemoteMenuA, kActions13, view, item);
}

const RemoteMenu* OnRemoteMenuItemB(CRemoteMenu&, IRemoteMenuView& view, int32_t item)
{
    return RunRemoteItem(kRemoteMenuB, kActions13, view, item);
}

const RemoteMenu& GetRemoteMenu(int32_t deviceKind)
{
    switch (deviceKind) {
    case kDeviceTarvik:
    case kDeviceSelvo: return kRemoteMenuA;
    case kDeviceTarvikPlus:
    case kDeviceBrindle: return kRemoteMenuB;
    default: return kRemoteMenu12;
    }
}

// ---- The state ----

void CRemoteMenu::SendId(int32_t id)
{
    if (m_view.StreamProtocol() == kStreamContainers && id >= 0 && id <= kOutSetValueMax)
        m_view.SendMenuId(uint16_t(id));
}

void CRemoteMenu::Rearm()
{
    menuDeadline = m_view.Tick() + kRemoteMenuTimeoutMs;
}

void CRemoteMenu::Show(const RemoteMenu& menu, int32_t item)
{
    menuOpen = 1;
    menuDescriptor = &menu;
    menuItem = item;
}

void CRemoteMenu::Select()
{
    if (!IsShown()) {
        const RemoteMenu& menu = GetRemoteMenu(m_view.DeviceKind());
        Show(menu, menu.count - 1);
    } else {
        const RemoteMenu* shown = menuDescriptor;
        const RemoteMenu* next = shown->handler(*this, m_view, menuItem);
        // An item's dialogs run the event loop: when the menu was closed or
        // changed meanwhile (its time ran out, a connect), that stands.
        if (!IsShown() || menuDescriptor != shown)
            return;
        if (next == nullptr)
            CloseRemoteMenu();
        else if (next != shown)
            Show(*next, next->count - 1);
    }
    Rearm();
    m_view.Redraw();
    if (IsShown())
        SendId(menuDescriptor->id);
}

void CRemoteMenu::Move(int32_t step)
{
    if (!IsShown())
        return;
    const int32_t count = menuDescriptor->count;
    menuItem = ((menuItem + step) % count + count) % count;
    Rearm();
    m_view.Redraw();
}

void CRemoteMenu::Previous()
{
    Move(-1);
}

void CRemoteMenu::Next()
{
    Move(1);
}

void CRemoteMenu::BloodPressureButton()
{
    if (m_view.BloodPressureRunning()) {
        m_view.ToggleBloodPressure();
        // The remote is told the menu is gone; so it is here.
        CloseRemoteMenu();
        m_view.Redraw();
        return;
    }
    const int32_t size = LoadRelaxed(m_view.Config().cuffSize[SpeciesIndex(m_view)]);
    Show(kCuffMenu, size >= 0 && size < kCuffExit ? size : kCuffExit);
    Rearm();
    m_view.Redraw();
    SendId(kCuffMenu.id);
}

void CRemoteMenu::Close(bool sendMenuIdZero)
{
    menuOpen = 0;
    menuItem = 0;
    menuDescriptor = nullptr;
    menuDeadline = 0;
    if (sendMenuIdZero)
        m_view.SendMenuId(0);
}

void CRemoteMenu::CloseRemoteMenu()
{
    Close(m_view.StreamProtocol() == kStreamContainers);
}

bool CRemoteMenu::CloseIfExpired()
{
    // By the signed difference: a deadline past the tick count's wrap is
    // still ahead.
    if (menuOpen == 0 || int32_t(m_view.Tick() - menuDeadline) <= 0)
        return false;
    CloseRemoteMenu();
    m_view.Redraw();
    return true;
}

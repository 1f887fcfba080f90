#pragma once
// The menu the remote's buttons drive over the waveforms: its five menus,
// the state of the one shown, and what each item does. Everything it does
// to the view goes through IRemoteMenuView, so it runs without a window.
#include <cstdint>
#include <string>

struct RemoteConfiguration;
class CRemoteMenu;

// What the menu needs of the view. UI thread only.
class IRemoteMenuView {
public:
    virtual ~IRemoteMenuView() = default;
    virtual uint32_t Tick() const = 0;                 // milliseconds, wrapping
    virtual int32_t DeviceKind() const = 0;
    virtual uint16_t FeatureBits() const = 0;
    virtual bool DentalRejection() const = 0;
    virtual int StreamProtocol() const = 0;
    virtual void SendMenuId(uint16_t id) = 0;          // the set-value message
    virtual void Redraw() = 0;
    virtual RemoteConfiguration& Config() = 0;
    virtual int32_t Species() const = 0;               // the patient's species code
    virtual int32_t GainIndex() const = 0;
    // A menu command by its id (grid, sweep and gain cycles, "R-Marker",
    // "QRS Tone"), as the menu bar runs it.
    virtual void RunCommand(uint32_t id) = 0;
    virtual void ToggleShowSpO2() = 0;
    virtual void ToggleShowResp() = 0;
    virtual void OnSilenceAlarm() = 0;
    virtual void OnToggleAlarms() = 0;
    virtual bool Snoozing() const = 0;
    virtual void ShowBanner(const std::string& text) = 0;
    virtual void PostEnableAlarmTone(bool on) = 0;
    virtual void PostInvalidate() = 0;
    // The record command with the remote's flag set.
    virtual void ToggleRecordingFromRemote() = 0;
    virtual bool IsRecording() const = 0;
    virtual bool BloodPressureRunning() const = 0;
    // The start-and-stop blood-pressure command.
    virtual void ToggleBloodPressure() = 0;
    // A measurement at the cuff size just chosen on the remote.
    virtual void StartBloodPressureWithChosenCuff() = 0;
    // The patient's species code and text; the breed and its number are
    // emptied; caption and layout follow.
    virtual void SetPatientSpecies(int32_t code, const std::string& text) = 0;
    // The new-patient command with the "from the remote" flag set.
    virtual void NewPatientFromRemote() = 0;
};

struct RemoteMenu;
// Runs the item; the menu to show next, or null to close.
using RemoteMenuHandler = const RemoteMenu* (*)(CRemoteMenu& menu, IRemoteMenuView& view, int32_t item);

struct RemoteMenu {
    const char* title;
    int32_t id;  // sent to the remote
    int32_t count;
    const char* const* items;
    RemoteMenuHandler handler;
};

extern const RemoteMenu kRemoteMenu12;   // Moval and remotes not yet reported
extern const RemoteMenu kRemoteMenuA;    // Tarvik, Selvo
extern const RemoteMenu kRemoteMenuB;    // Tarvik Plus, Brindle
extern const RemoteMenu kCuffMenu;
extern const RemoteMenu kSpeciesMenu;
extern const RemoteMenu kNewPatientMenu;

// The REMOTE MENU of the connected kind.
const RemoteMenu& GetRemoteMenu(int32_t deviceKind);

const RemoteMenu* OnRemoteMenuItem(CRemoteMenu& menu, IRemoteMenuView& view, int32_t item);
const RemoteMenu* OnRemoteMenuItemA(CRemoteMenu& menu, IRemoteMenuView& view, int32_t item);
const RemoteMenu* OnRemoteMenuItemB(CRemoteMenu& menu, IRemoteMenuView& view, int32_t item);

inline constexpr uint32_t kRemoteMenuTimeoutMs = 10000;

class CRemoteMenu {
public:
    explicit CRemoteMenu(IRemoteMenuView& view) : m_view(view) {}

    void Select();    // the remote's code 3
    void Previous();  // code 1, only while open
    void Next();      // code 2, only while open
    // The remote's blood-pressure button (code 11): stops a running
    // measurement, else opens the cuff menu at the species' cuff size.
    void BloodPressureButton();
    // Clears the state; tells the remote (id 0) when it speaks containers.
    void CloseRemoteMenu();
    // The same, with the caller's word on telling the remote.
    void Close(bool sendMenuIdZero);
    // Timer 2: true when the menu was open past its deadline and is closed.
    bool CloseIfExpired();

    bool IsShown() const { return menuOpen != 0 && menuDescriptor != nullptr; }

    // Guards the new-patient command against a second YES while the first
    // one's dialogs run.
    bool m_newPatientRunning = false;

    int32_t menuOpen = 0;
    int32_t menuItem = 0;
    const RemoteMenu* menuDescriptor = nullptr;
    uint32_t menuDeadline = 0;

private:
    void Show(const RemoteMenu& menu, int32_t item);
    void Move(int32_t step);
    void Rearm();
    void SendId(int32_t id);

    IRemoteMenuView& m_view;
};

#pragma once
// The view's plain texts: window title, caption texts, and the rule of the
// remote's battery icon. Locale-free; numbers print as in the C locale.
#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The window title for the patient name (the patient record's name). Empty
// optional: leave the title as it was. The name is put in as it stands.
std::optional<std::string> TitleText(bool demoMode, int32_t deviceKind, int32_t connectionStatus,
                                     const std::string& patientName);

// What to do with the battery icon after an update.
struct LinkIconAction {
    bool visible = false;
    std::optional<int32_t> loadIcon; // icon id to load and set; empty: keep the picture
};

// The battery icon: icons 370..420 stand for levels 0..5. A level above 5
// shows as full (420), below 0 as empty (370). Hiding keeps the picture, so
// showing it again at the same level loads nothing.
class CLinkIconRule {
public:
    static constexpr int32_t kFirstIcon = 370;
    static constexpr int32_t kIconStep = 10;
    static constexpr int32_t kTopLevel = 5;
    static constexpr int32_t kDemoLevel = 3;

    LinkIconAction Update(bool live, bool demoMode, bool stopRequested, int32_t batteryLevel);

private:
    std::optional<int32_t> m_shownLevel;
};

// ECG gains by the settings' gain index.
inline constexpr std::array<double, 5> kGainTable = {0.5, 1.0, 2.0, 3.0, 4.0};

// "25mm/sec" .. "200mm/sec" by the sweep setting (1, 2, 4, 8); a Brindle's
// cuff trace runs at 6.25.
std::string FormatSweepText(int32_t ecgSweep, int32_t deviceKind);

// "Gain: (x1.0) 10mm/mV", " Dental" after it with dental-scaler rejection
// on; empty for a remote without ECG (Brindle, Selvo without the ECG bit).
// A gain index outside the table gives the text of index 1.
std::string FormatGainText(int32_t gainIndex, bool withLabel, int32_t deviceKind, uint16_t featureBits,
                           bool dental);
// "(x1.0)" under the same rules.
std::string FormatGainShortText(int32_t gainIndex, int32_t deviceKind, uint16_t featureBits, bool dental);
// The sweep-and-gain box: "25mm/sec  (x1.0)".
std::string FormatSweepGainText(int32_t ecgSweep, int32_t gainIndex, int32_t deviceKind, uint16_t featureBits,
                                bool dental);

// "ECG Filter: Low" for a non-zero bandwidth setting, else "... High".
std::string FormatFilterText(int32_t bandwidth);

// The species name ("Canine", "Feline", "Equine", else the patient's own
// species text); without the label, the breed number in brackets after it.
std::string FormatSpeciesText(int32_t code, bool withLabel, const std::string& patientSpecies,
                              const std::string& breedNumber);

// The session date as mm/dd/yyyy in local time; a time the system cannot
// convert leaves the date out.
std::string FormatDateText(bool withLabel, std::time_t sessionDate);

// The gas probe's atmospheric pressure in kPa, one decimal. The live store
// keeps it in units of 10 kPa (10.1325 at one standard atmosphere).
std::string AtmosphericPressureText(float ambientPressure);

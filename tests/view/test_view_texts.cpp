#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "link/LiveData.h"
#include "view/ViewTexts.h"

namespace {

struct TitleCase {
    bool demo;
    int32_t kind;
    int32_t status;
    const char* name;
    const char* title; // null: the title stays as it was
};

const TitleCase kTitles[] = {
    {true, kDeviceUnknown, 0, "Rex", "Patient ID: Rex  [ DEMO ]"},
    {true, kDeviceTarvik, 2, "Rex", "Patient ID: Rex  [ DEMO Tarvik ]"},
    {true, kDeviceTarvikPlus, 0, "Rex", "Patient ID: Rex  [ DEMO Tarvik+ ]"},
    {true, kDeviceMoval, 0, "Rex", "Patient ID: Rex  [ DEMO Moval ]"},
    {true, kDeviceSelvo, 0, "Rex", "Patient ID: Rex  [ DEMO Selvo ]"},
    {true, kDeviceBrindle, 0, "Rex", "Patient ID: Rex  [ DEMO BP-Brindle ]"},
    {true, 6, 2, "Rex", nullptr},
    {false, kDeviceTarvik, 2, "Rex", "Patient ID: Rex  [ Tarvik ]"},
    {false, kDeviceTarvikPlus, 2, "Rex", "Patient ID: Rex  [ Tarvik+ ]"},
    {false, kDeviceMoval, 2, "Rex", "Patient ID: Rex  [ Moval ]"},
    {false, kDeviceSelvo, 2, "Rex", "Patient ID: Rex  [ Selvo ]"},
    {false, kDeviceBrindle, 2, "Rex", "Patient ID: Rex  [ BP-Brindle ]"},
    {false, kDeviceUnknown, 2, "Rex", "Patient ID: Rex  [ Unknown ]"},
    {false, 7, 2, "Rex", "Patient ID: Rex  [ Unknown ]"},
    {false, kDeviceTarvik, 1, "Rex", "Patient ID: Rex  [ Disconnected ]"},
    {false, kDeviceTarvik, 0, "", "Patient ID:   [ Disconnected ]"},
    {false, kDeviceMoval, 2, "%s%n %d", "Patient ID: %s%n %d  [ Moval ]"},
};

} // namespace

TEST(ViewTexts, TitleNamesTheModelAndTheLinkState)
{
    for (const TitleCase& c : kTitles) {
        const std::optional<std::string> title = TitleText(c.demo, c.kind, c.status, c.name);
        if (c.title == nullptr)
            EXPECT_FALSE(title.has_value()) << "kind " << c.kind;
        else
            EXPECT_EQ(title.value_or("<none>"), c.title) << "kind " << c.kind;
    }
}

TEST(ViewTexts, BatteryIconLoadsOnlyOnANewLevel)
{
    struct Step {
        bool live, demo, stop;
        int32_t level;
        bool visible;
        int32_t load; // 0: nothing loaded
    };
    const Step steps[] = {
        {true, false, false, 4, true, 410},
        {true, false, false, 4, true, 0},   // unchanged level
        {true, false, false, 2, true, 390},
        {false, false, false, 5, false, 0}, // not live: hidden, nothing loaded
        {true, false, false, 2, true, 0},   // back at the level still shown
        {true, false, false, 7, true, 420}, // above the icons: full
        {true, false, false, 6, true, 0},
        {true, false, false, -1, true, 370},
        {false, true, false, 0, true, 400}, // demo: level 3 whatever the remote says
        {false, true, true, 0, false, 0},   // demo being stopped
        {true, true, true, 5, true, 0},
    };
    CLinkIconRule rule;
    int n = 0;
    for (const Step& s : steps) {
        const LinkIconAction action = rule.Update(s.live, s.demo, s.stop, s.level);
        EXPECT_EQ(action.visible, s.visible) << "step " << n;
        EXPECT_EQ(action.loadIcon.value_or(0), s.load) << "step " << n;
        ++n;
    }
}

TEST(ViewTexts, CaptionsFollowTheSettingsAndTheModel)
{
    std::tm day{};
    day.tm_year = 2024 - 1900;
    day.tm_mon = 2;
    day.tm_mday = 7;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    const std::time_t noon = std::mktime(&day);

    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {FormatSweepText(1, kDeviceTarvik), "25mm/sec"},
        {FormatSweepText(2, kDeviceTarvik), "50mm/sec"},
        {FormatSweepText(4, kDeviceSelvo), "100mm/sec"},
        {FormatSweepText(8, kDeviceUnknown), "200mm/sec"},
        {FormatSweepText(3, kDeviceTarvik), "25mm/sec"},
        {FormatSweepText(8, kDeviceBrindle), "6.25mm/sec"},
        {FormatGainText(0, true, kDeviceTarvik, 0x0001, false), "Gain: (x0.5) 5mm/mV"},
        {FormatGainText(4, false, kDeviceMoval, 0, false), "(x4.0) 40mm/mV"},
        {FormatGainText(3, true, kDeviceSelvo, 0x0009, true), "Gain: (x3.0) 30mm/mV Dental"},
        {FormatGainText(9, true, kDeviceTarvik, 0x0001, false), "Gain: (x1.0) 10mm/mV"},
        {FormatGainText(-1, true, kDeviceTarvik, 0x0001, false), "Gain: (x1.0) 10mm/mV"},
        {FormatGainText(2, true, kDeviceSelvo, 0x0008, false), ""},
        {FormatGainText(2, true, kDeviceBrindle, 0x0001, true), ""},
        {FormatGainShortText(2, kDeviceTarvik, 0x0001, false), "(x2.0)"},
        {FormatGainShortText(0, kDeviceTarvikPlus, 0x0001, true), "(x0.5) Dental"},
        {FormatGainShortText(1, kDeviceSelvo, 0x0020, false), ""},
        {FormatGainShortText(1, kDeviceBrindle, 0x0001, false), ""},
        {FormatSweepGainText(2, 3, kDeviceTarvik, 0x0001, false), "50mm/sec  (x3.0)"},
        {FormatFilterText(1), "ECG Filter: Low"},
        {FormatFilterText(0), "ECG Filter: High"},
        {FormatSpeciesText(0, true, "Ferret", "12"), "Species: Canine"},
        {FormatSpeciesText(1, false, "Ferret", "12"), "Feline  [12]"},
        {FormatSpeciesText(2, false, "Ferret", ""), "Equine"},
        {FormatSpeciesText(3, false, "Ferret", "%s"), "Ferret  [%s]"},
        {FormatSpeciesText(-1, true, "Ferret", "12"), "Species: Ferret"},
        {FormatDateText(true, noon), "Date: 03/07/2024"},
        {FormatDateText(false, noon), "03/07/2024"},
    };
    int n = 0;
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected) << "case " << n++;
}

// The live store keeps the probe's pressure in units of 10 kPa.
TEST(ViewTexts, AtmosphericPressureReadsInKilopascals)
{
    const struct {
        float stored;
        const char* text;
    } cases[] = {
        {10.1325f, "Atmospheric Pressure reading from gas probe is 101.3 kPa"},
        {8.46f, "Atmospheric Pressure reading from gas probe is 84.6 kPa"},
        {13.0f, "Atmospheric Pressure reading from gas probe is 130.0 kPa"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AtmosphericPressureText(c.stored), c.text) << c.stored;
}

// The patient record: recent entries written, stored, reloaded and applied;
// the 25 newest kept; the new patient's record.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "patient/PatientDates.h"
#include "patient/PatientInfo.h"
#include "patient/PatientRules.h"
#include "platform/MemoryProfileStore.h"

namespace {

CPatientInfo Rex()
{
    CPatientInfo info;
    info.patientId = info.name = "Rex";
    info.species = "Canine";
    info.breed = "Beagle";
    info.birthDateText = "03/04/2020";
    info.sex = "Male - Neutered";
    info.breedNumber = "12";
    info.weight = "12.5";
    info.weightUnit = "kgs";
    info.clientFirstName = "Ann";
    info.clientLastName = "Lee";
    return info;
}

} // namespace

TEST(PatientInfo, TwentySixPatientsLeaveTheTwentyFiveNewestNewestFirst)
{
    RemoteConfiguration config;
    std::vector<std::string> added;
    for (int i = 1; i <= 26; ++i) {
        CPatientInfo patient = Rex();
        patient.name = "Patient " + std::to_string(i);
        added.push_back(FormatRecentEntry(patient));
        ASSERT_TRUE(AddRecentEntry(config, added.back(), ""));
    }
    const std::vector<std::string> newestFirst(added.rbegin(), added.rbegin() + kRecentCount);
    EXPECT_EQ(RecentEntriesNewestFirst(config), newestFirst);
    EXPECT_FALSE(AddRecentEntry(config, added[10], "")) << "stored already";
    EXPECT_EQ(RecentEntriesNewestFirst(config), newestFirst);
}

TEST(PatientInfo, AnUnchangedEmptyRecordAddsNoEntry)
{
    // The empty record as the dialog shows it; its initial record has "0"
    // for the weight, as OK stores an empty weight.
    CPatientInfo shown;
    shown.species = "Canine";
    shown.breed = shown.sex = "Unknown";
    shown.weightUnit = DefaultWeightUnit(1);
    CPatientInfo initial = shown;
    initial.weight = "0";
    CPatientInfo confirmed = shown;
    confirmed.weight = NormaliseWeight(shown.weight);

    RemoteConfiguration config;
    EXPECT_FALSE(AddRecentEntry(config, FormatRecentEntry(confirmed), FormatRecentEntry(initial)));
    EXPECT_TRUE(RecentEntriesNewestFirst(config).empty());
    confirmed.name = "Rex";
    EXPECT_TRUE(AddRecentEntry(config, FormatRecentEntry(confirmed), FormatRecentEntry(initial)));
}

TEST(PatientInfo, ANewPatientKeepsTheSpeciesAndClearsTheRest)
{
    const COleDate now = COleDate::FromDate(2024, 2, 9, 10, 15);
    PatientData patient;
    patient.info = Rex();
    patient.birthDate = COleDate::FromDate(2020, 2, 29);
    ResetForNewPatient(patient, now);

    CPatientInfo expected;
    expected.name = expected.patientId = DateStamp(now);
    expected.species = Rex().species;
    expected.breedNumber = Rex().breedNumber;
    EXPECT_EQ(patient.info, expected);
    EXPECT_EQ(patient.birthDate, NewPatientBirthDate(COleDate::FromDate(2020, 2, 29)));
}

namespace {

// What a day-first locale tells about its dates.
class DayFirstDates : public std::time_get<char> {
protected:
    dateorder do_date_order() const override { return dmy; }
};

class RecentEntriesInADayFirstLocale : public testing::Test {
protected:
    void SetUp() override
    {
        // Where the machine has it; the C++ locale stands in otherwise.
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        m_global = std::locale::global(std::locale(std::locale(), new DayFirstDates));
    }
    void TearDown() override
    {
        std::locale::global(m_global);
        std::setlocale(LC_ALL, "C");
    }
    std::locale m_global;
};

} // namespace

TEST_F(RecentEntriesInADayFirstLocale, TenStoreReloadApplyRoundsChangeNothing)
{
    CMemorySettingsKeys keys;
    CQuorinAppCore app{{}};
    app.SetRegistryKey(keys, kCompanyKey);
    app.SetDefaultSettings();
    app.LoadSettings();

    CPatientInfo record = Rex();
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        // Even rounds: day and month both 12 or less, where a swap still parses.
        const COleDate birthDate = COleDate::FromDate(2015 + round, 1 + round, round % 2 == 0 ? 2 + round : 13 + round);
        record.birthDateText = FormatBirthDateText(birthDate);
        record.weight = std::to_string(10 + round);
        const std::string entry = FormatRecentEntry(record);
        ASSERT_TRUE(AddRecentEntry(app.m_config, entry, ""));
        ASSERT_TRUE(app.SaveRecentList());
        for (std::string& slot : app.m_config.recent)
            slot.clear();
        app.LoadSettings();
        const std::vector<std::string> stored = RecentEntriesNewestFirst(app.m_config);
        ASSERT_EQ(stored.size(), std::size_t(round + 1));

        CPatientInfo applied = Rex();
        applied.name = "Other";
        COleDate appliedBirthDate;
        ASSERT_TRUE(ApplyRecentEntry(stored.front(), applied, appliedBirthDate));
        EXPECT_EQ(appliedBirthDate, birthDate);
        applied.birthDateText = FormatBirthDateText(appliedBirthDate);  // as the dialog shows it again
        EXPECT_EQ(applied, record);
        record = applied;
    }

    // A field holding a separator would shift the fields after it.
    CPatientInfo mixed = record;
    mixed.breed = "Beagle|Mix";
    for (const std::string& entry : {FormatRecentEntry(mixed), std::string("Rex|Ann"), std::string()}) {
        CPatientInfo untouched = record;
        COleDate birthDate;
        EXPECT_FALSE(ApplyRecentEntry(entry, untouched, birthDate)) << entry;
        EXPECT_EQ(untouched, record);
    }
}

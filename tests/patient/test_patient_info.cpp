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
    info.patientId = "Rex";
    info.name = "Rex";
    info.speciesCode = 0;
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

TEST(PatientInfo, ARecordReadsBackFromItsRecentEntry)
{
    CPatientInfo sparse;
    sparse.name = "Tom";
    sparse.species = "Ovine";
    sparse.weight = "0";
    const std::vector<CPatientInfo> records{Rex(), sparse, CPatientInfo()};
    for (const CPatientInfo& record : records) {
        CPatientInfo applied = Rex();
        applied.patientId = "kept";
        applied.speciesCode = 2;
        COleDate birthDate;
        ASSERT_TRUE(ApplyRecentEntry(FormatRecentEntry(record), applied, birthDate)) << FormatRecentEntry(record);
        EXPECT_EQ(FormatRecentEntry(applied), FormatRecentEntry(record));
        EXPECT_EQ(applied.patientId, "kept");
        EXPECT_EQ(applied.speciesCode, 2);
        EXPECT_EQ(birthDate, ParseBirthDateText(record.birthDateText));
    }

    // A field holding a separator would shift the fields after it.
    CPatientInfo mixed = Rex();
    mixed.breed = "Beagle|Mix";
    for (const std::string& entry : {FormatRecentEntry(mixed), std::string("Rex|Ann"), std::string()}) {
        CPatientInfo untouched = Rex();
        COleDate birthDate = COleDate::FromDate(2021, 5, 6);
        EXPECT_FALSE(ApplyRecentEntry(entry, untouched, birthDate)) << entry;
        EXPECT_EQ(untouched, Rex());
        EXPECT_EQ(birthDate, COleDate::FromDate(2021, 5, 6));
    }
}

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

    // A stored entry is not stored twice.
    EXPECT_FALSE(AddRecentEntry(config, added[10], ""));
    EXPECT_EQ(RecentEntriesNewestFirst(config), newestFirst);

    // A pointer from outside the table starts again at the first slot.
    StoreRelaxed(config.recentPointer, 99);
    ASSERT_TRUE(AddRecentEntry(config, "new", ""));
    EXPECT_EQ(config.recentPointer, 0);
    EXPECT_EQ(config.recent[0], "new");
}

TEST(PatientInfo, AnUnchangedEmptyRecordAddsNoEntry)
{
    // The empty record as the dialog fills it, with the weight as "0".
    CPatientInfo shown;
    shown.species = "Canine";
    shown.breed = "Unknown";
    shown.sex = "Unknown";
    shown.weightUnit = DefaultWeightUnit(1);
    CPatientInfo initial = shown;
    initial.weight = "0";

    CPatientInfo confirmed = shown;
    confirmed.weight = NormaliseWeight(shown.weight);
    RemoteConfiguration config;
    EXPECT_FALSE(AddRecentEntry(config, FormatRecentEntry(confirmed), FormatRecentEntry(initial)));
    EXPECT_TRUE(RecentEntriesNewestFirst(config).empty());
    EXPECT_EQ(config.recentPointer, 0);

    confirmed.name = "Rex";
    EXPECT_TRUE(AddRecentEntry(config, FormatRecentEntry(confirmed), FormatRecentEntry(initial)));
}

TEST(PatientInfo, ANewPatientKeepsTheSpeciesAndClearsTheRest)
{
    const COleDate now = COleDate::FromDate(2024, 2, 9, 10, 15);
    PatientData patient;
    patient.info = Rex();
    patient.birthDate = COleDate::FromDate(2020, 2, 29);
    patient.nameEntered = true;
    ResetForNewPatient(patient, now);

    CPatientInfo expected;
    expected.name = DateStamp(now);
    expected.patientId = expected.name;
    expected.speciesCode = Rex().speciesCode;
    expected.species = Rex().species;
    expected.breedNumber = Rex().breedNumber;
    EXPECT_EQ(patient.info, expected);
    EXPECT_EQ(patient.birthDate, COleDate::FromDate(2019, 1, 1));
    EXPECT_TRUE(patient.nameEntered) << "the command clears the flags itself";

    patient.birthDate = COleDate();
    ResetForNewPatient(patient, now);
    EXPECT_FALSE(patient.birthDate.IsValid());

    EXPECT_EQ(PatientIdFor("Rex", now), "Rex");
    EXPECT_EQ(PatientIdFor("", now), DateStamp(now));
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
        m_cLocale = std::setlocale(LC_ALL, nullptr);
        // Where the machine has it; the C++ locale below stands in otherwise.
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        m_global = std::locale::global(std::locale(std::locale(), new DayFirstDates));
    }
    void TearDown() override
    {
        std::locale::global(m_global);
        std::setlocale(LC_ALL, m_cLocale.c_str());
    }

private:
    std::string m_cLocale;
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
        // Day and month both 12 or less in even rounds: a swap would pass
        // unnoticed by the parser but not by the comparison.
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
        ASSERT_EQ(stored.front(), entry);

        CPatientInfo applied = record;
        COleDate appliedBirthDate;
        ASSERT_TRUE(ApplyRecentEntry(stored.front(), applied, appliedBirthDate));
        EXPECT_EQ(appliedBirthDate, birthDate);
        // The dialog shows the birth date again from its value.
        applied.birthDateText = FormatBirthDateText(appliedBirthDate);
        EXPECT_EQ(applied, record);
        record = applied;
    }
}

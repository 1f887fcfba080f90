// The patient record in the view: the dialog's outcome filed into the
// record, title and recent list; the new-patient command around a
// recording; AVImark before a new patient's dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "app/SettingsNames.h"
#include "patient/PatientDates.h"
#include "app/MenuCommands.h"
#include "patient/qt/PatientInfoDlg.h"
#include "patient/qt/VetInfoDlg.h"
#include "platform/MemoryProfileStore.h"
#include "tests/view/qt/ViewFixture.h"
#include "view/qt/ColorStatic.h"

namespace {

const COleDate kNow = COleDate::FromDate(2026, 12, 9, 10, 0);
const std::string kToday = DateStamp(kNow);

class ViewPatient : public QuorinViewTest {
protected:
    void SetUp() override
    {
        QuorinViewTest::SetUp();
        m_app.SetRegistryKey(m_keys, kCompanyKey);
    }
    // A view whose patient dialogs run `answer` (true: OK).
    CQuorinView& OpenWith(std::function<bool(CPatientInfoDlg&)> answer, ViewServices services = {})
    {
        services.now = [] { return kNow; };
        services.runPatientDialog = [this, answer](CPatientInfoDlg& dialog) {
            ++m_dialogs;
            dialog.OnInitDialog();
            m_shownName = dialog.Form().members.name;
            return answer(dialog);
        };
        return Open(800, 600, std::move(services));
    }
    std::shared_ptr<CMemoryProfileStore> Store() { return m_keys.Key(SettingsScope::User, kProgramKey); }
    std::string StoredRecent(int slot)
    {
        return Store()->GetProfileString(kSectionValues, kValueRecentPrefix + std::to_string(slot), "");
    }

    CMemorySettingsKeys m_keys;
    int m_dialogs = 0;
    std::string m_shownName;
};

bool Name(CPatientInfoDlg& dialog, const char* name)
{
    (void)dialog.Form().OnNameChanged(NameField::patientName, name);
    dialog.Form().OnOk();
    return true;
}

TEST_F(ViewPatient, OkFilesTheRecordTitleAndRecentEntryAndCancelFilesNothing)
{
    struct Case {
        const char* what;
        std::function<bool(CPatientInfoDlg&)> answer;
        std::string name;
        std::string patientId;
        bool stored;
    };
    const Case cases[] = {
        {"a name", [](CPatientInfoDlg& d) { return Name(d, "Rex"); }, "Rex", kToday, true},
        {"no name", [](CPatientInfoDlg& d) { return Name(d, "  "); }, kToday, kToday, true},
        {"cancelled", [](CPatientInfoDlg& d) { return !Name(d, "Rex"); }, kToday, kToday, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQuorinView& view = OpenWith(c.answer);
        const int32_t pointer = m_app.m_config.recentPointer;
        view.FilePatientInfo(false);
        view.UpdateTitle();
        EXPECT_EQ(view.m_patient.info.name, c.name);
        EXPECT_EQ(view.m_patient.info.patientId, c.patientId);
        EXPECT_EQ(view.Title(), "Patient ID: " + c.name + "  [ Disconnected ]");
        EXPECT_EQ(view.SingleBoxAt(kBoxPatient)->text().toStdString(), "Patient: " + c.name);
        EXPECT_EQ(view.m_patient.info.weight, c.stored ? "0" : "");
        EXPECT_EQ(m_app.m_config.recentPointer != pointer, c.stored);
        EXPECT_EQ(StoredRecent(m_app.m_config.recentPointer), m_app.m_config.recent[m_app.m_config.recentPointer]);
        EXPECT_FALSE(view.m_rec.startupPending);
        m_view.reset();
    }
}

TEST_F(ViewPatient, NewPatientAsksBeforeStoppingARecordingAndFilesANewRecord)
{
    // The answer comes after the closed episode is saved, as it does when
    // somebody types.
    CQuorinView* shown = nullptr;
    CQuorinView& view = OpenWith([&shown](CPatientInfoDlg& d) {
        if (shown != nullptr) {
            EXPECT_TRUE(WaitForIdleRecorder(shown->Recorder()));
        }
        return Name(d, "Tom");
    });
    shown = &view;
    view.m_patient.info.name = "Rex";
    view.m_patient.info.weight = "12";
    view.m_patient.birthDate = COleDate::FromDate(2019, 6, 1);
    view.m_patient.nameEntered = true;
    ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));
    view.StartRecording();
    ASSERT_TRUE(view.IsRecording());
    const std::size_t before = m_prompter.Prompts().size();

    m_prompter.QueueAnswer(kIdCancel);
    view.OnNewPatient();
    ASSERT_EQ(m_prompter.Prompts().size(), before + 1);
    EXPECT_EQ(m_prompter.Prompts().back().text,
              "Specifying a new patient will stop the current recording.\n\nPress 'Cancel' to abort, 'OK' to proceed.");
    EXPECT_EQ(m_prompter.Prompts().back().caption, "New Patient");
    EXPECT_EQ(m_prompter.Prompts().back().type, kMbOkCancel | kMbIconWarning);
    EXPECT_TRUE(view.IsRecording());
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_EQ(view.m_patient.info.name, "Rex");

    // "Auto Save" as stored: the command reloads the settings, closes the
    // episode and starts the new patient's.
    ASSERT_TRUE(Store()->WriteProfileInt(kSectionValues, kValueAutoSave, 1));
    m_prompter.QueueAnswer(kIdOk);
    view.OnNewPatient();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(m_shownName, kToday);
    EXPECT_EQ(view.m_patient.info.name, "Tom");
    EXPECT_EQ(view.m_patient.info.weight, "0");
    EXPECT_EQ(view.m_patient.birthDate, COleDate::FromDate(2018, 1, 1));
    EXPECT_TRUE(view.m_patient.nameEntered);
    EXPECT_TRUE(view.IsRecording());
    EXPECT_EQ(m_prompter.Prompts().size(), before + 2);  // the two questions, no other box

    // Connecting ends the recording and its patient.
    view.OnFileConnect();
    EXPECT_FALSE(view.IsRecording());
    EXPECT_EQ(view.m_patient.info.name, kToday);
}

class FakeAVImark : public IAVImark {
public:
    explicit FakeAVImark(int result, bool throws = false) : m_result(result), m_throws(throws) {}
    int ReadCurrentPatient(CAVImarkData& data) override
    {
        if (m_throws)
            throw std::runtime_error("logged out");
        data.name = "Bella";
        data.species = "Feline";
        data.speciesCode = 1;
        data.birthDate = COleDate::FromDate(2015, 5, 5);
        return m_result;
    }

private:
    int m_result;
    bool m_throws;
};

TEST_F(ViewPatient, ANewPatientTakesAVImarksRecordAndAFailureIsToldButTheDialogStillRuns)
{
    struct Case {
        int result;
        bool throws;
        std::string shownName;
        std::size_t boxes;
    };
    for (const Case& c : {Case{0, false, "Bella", 0}, Case{1, false, "Rex", 0}, Case{2, false, "Rex", 0},
                          Case{0, true, "Rex", 1}}) {
        SCOPED_TRACE(c.result + (c.throws ? 10 : 0));
        FakeAVImark avimark(c.result, c.throws);
        ViewServices services;
        services.avimark = &avimark;
        CScriptedPrompter prompter;
        services.prompter = &prompter;
        CQuorinView& view = OpenWith([](CPatientInfoDlg& d) { return d.Form().OnOk(), true; }, services);
        view.m_patient.info.name = "Rex";
        m_app.m_config.autoAVImark = 1;
        view.FilePatientInfo(true);
        EXPECT_EQ(m_shownName, c.shownName);
        EXPECT_EQ(view.m_patient.nameEntered, c.result == 0 && !c.throws);
        const std::vector<CScriptedPrompter::Prompt> prompts = prompter.Prompts();
        const auto told = std::count_if(prompts.begin(), prompts.end(), [](const CScriptedPrompter::Prompt& p) {
            return p.caption == "AVImark Communication Error";
        });
        EXPECT_EQ(static_cast<std::size_t>(told), c.boxes);
        m_view.reset();
    }
}

TEST_F(ViewPatient, VetInformationIsStoredAtOnceWhenConfirmedAndCancelLeavesItAlone)
{
    const VetInfoStrings typed{"Kay Vets", "1 Main St", "Suite 2", "Austin", "TX", "78701", "555 0100", "desk@kay.example"};
    const char* const names[] = {kValueClinic, kValueAddress1, kValueAddress2, kValueCity,
                                 kValueState,  kValueZip,      kValuePhone,    kValueEmail};
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        ViewServices services;
        VetInfoStrings shown;
        services.runVetInfoDialog = [&](CVetInfoDlg& dialog) {
            shown = dialog.Strings();
            dialog.Strings() = typed;
            return ok;
        };
        CQuorinView& view = Open(800, 600, std::move(services));
        m_app.m_config.clinic = "Old Clinic";
        m_app.m_config.email = "old@example";
        const std::size_t writes = Store()->WriteCount();
        view.OnCommand(menu::kVetInformation);
        EXPECT_EQ(shown[kVetClinic], "Old Clinic");
        EXPECT_EQ(shown[kVetEmail], "old@example");
        EXPECT_EQ(ReadVetInfo(m_app.m_config), ok ? typed : shown);
        EXPECT_EQ(Store()->WriteCount() > writes, ok);
        for (int i = 0; i < kVetInfoCount; ++i)
            EXPECT_EQ(Store()->GetProfileString(kSectionValues, names[i], "-"), ok ? typed[i] : "-") << names[i];
        m_view.reset();
    }
}

}  // namespace

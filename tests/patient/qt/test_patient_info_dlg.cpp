// The patient dialog's window offscreen: the user's typing and choices in
// its controls, the boxes it shows, and what OK hands back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "patient/qt/DateTimeEditCtrl.h"
#include "patient/qt/DateTimeEditCtrlEditCtrl.h"
#include "patient/qt/PatientInfoDlg.h"
#include "patient/qt/QtDates.h"
#include "tests/app/AppTestSupport.h"

namespace {

const COleDate kNow = COleDate::FromDate(2026, 12, 9, 15, 30);

class PatientInfoDlgTest : public ::testing::Test {
protected:
    CPatientInfoDlg& Open(const char* speciesFile, const PatientDialogMembers& members = {})
    {
        std::ofstream(m_folder / CSpeciesList::kFileName, std::ios::binary) << speciesFile;
        CPatientInfoDlg::Setup setup;
        setup.prompter = &m_prompter;
        setup.config = &m_config;
        setup.now = [] { return kNow; };
        setup.speciesFolder = m_folder.Path();
        setup.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        m_dialog = std::make_unique<CPatientInfoDlg>(setup);
        m_dialog->Form().members = members;
        m_dialog->show();
        return *m_dialog;
    }
    template <class T>
    T* Control(const char* id) const
    {
        return m_dialog->findChild<T*>(QString::fromLatin1(id));
    }
    void Type(const char* id, const QString& text)
    {
        QLineEdit* edit = Control<QLineEdit>(id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void Choose(const char* id, const QString& item)
    {
        QComboBox* list = Control<QComboBox>(id);
        const int index = list->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    TempFolder m_folder;
    RemoteConfiguration m_config;
    CScriptedPrompter m_prompter;
    std::unique_ptr<CPatientInfoDlg> m_dialog;
};

constexpr char kWithNumbers[] = "\"Species\"\t\"Breed\"\t\"Number\"\r\n\"Canine\"\t\"Unknown\"\t\"1000\"\r\n"
                                "\"Feline\"\t\"Unknown\"\t\"2000\"\r\n\"Feline\"\t\"Siamese\"\t\"2001\"\r\n";
constexpr char kWithoutNumbers[] = "Species\tBreed\nCanine\tUnknown\t1000\nFeline\tSiamese\t2001\n";

TEST_F(PatientInfoDlgTest, TheControlsShowTheRecordAndTheNumberListOnlyWithItsColumn)
{
    for (const char* file : {kWithNumbers, kWithoutNumbers}) {
        PatientDialogMembers record;
        record.name = "Rex";
        record.species = "Feline";
        record.breed = "Siamese";
        record.weightUnit = "g";
        record.birthDate = COleDate::FromDate(2020, 3, 4);
        CPatientInfoDlg& dialog = Open(file, record);
        EXPECT_EQ(dialog.windowTitle(), "Patient Information");
        EXPECT_EQ(Control<QLineEdit>("1160")->text(), "Rex");
        EXPECT_EQ(Control<QComboBox>("1035")->currentText(), "Feline");
        EXPECT_EQ(Control<QComboBox>("1083")->currentText(), "Siamese");
        EXPECT_EQ(Control<QComboBox>("1000")->isVisible(), file == kWithNumbers);
        EXPECT_EQ(Control<QComboBox>("1085")->currentText(), "Unknown");
        EXPECT_EQ(Control<QComboBox>("1036")->currentText(), "g");
        EXPECT_EQ(Control<CDateTimeEditCtrl>("1350")->GetWindowText(), "3/4/2020");
        EXPECT_EQ(Control<QLineEdit>("1033")->text(), "6");
        EXPECT_EQ(Control<QLineEdit>("1034")->text(), "9");
        EXPECT_TRUE(Control<QRadioButton>("3940")->isChecked());
        EXPECT_TRUE(Control<QLineEdit>("1033")->isReadOnly());
        EXPECT_EQ(Control<QLineEdit>("1160")->maxLength(), 39);
        EXPECT_EQ(Control<QLineEdit>("1031")->maxLength(), 19);
        // Opening the breed list counts as looking at the breed.
        EXPECT_FALSE(dialog.Form().members.breedTouched);
        Control<QComboBox>("1083")->showPopup();
        EXPECT_TRUE(dialog.Form().members.breedTouched);
        Control<QComboBox>("1083")->hidePopup();
    }
}

TEST_F(PatientInfoDlgTest, ARefusedNameShowsItsBoxAndTheEditGetsTheOldNameBack)
{
    PatientDialogMembers record;
    record.name = "Rex";
    Open(kWithNumbers, record);
    Type("1160", QStringLiteral("Max!"));
    const std::vector<CScriptedPrompter::Prompt> prompts = m_prompter.Prompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text,
              "Please enter only alphabetic letters, numbers, spaces, hyphens and underscores for the Patient Name");
    EXPECT_EQ(prompts[0].caption, "Invalid Patient Name");
    EXPECT_EQ(prompts[0].type, kMbOk | kMbIconWarning);
    // "Max" was accepted letter by letter before the "!".
    EXPECT_EQ(Control<QLineEdit>("1160")->text(), "Max");
}

TEST_F(PatientInfoDlgTest, AgeModeTakesTheAgeAndOkHandsBackTheNormalisedRecord)
{
    CPatientInfoDlg& dialog = Open(kWithNumbers);
    Choose("1035", QStringLiteral("Feline"));
    Choose("1083", QStringLiteral("Siamese"));
    Control<QRadioButton>("3970")->click();
    EXPECT_FALSE(Control<CDateTimeEditCtrl>("1350")->isEnabled());
    Type("1033", QStringLiteral("3"));
    Type("1034", QStringLiteral("25"));
    EXPECT_EQ(Control<QLineEdit>("1034")->text(), "18");
    Type("1040", QStringLiteral(".5"));
    Choose("1036", QStringLiteral("oz"));
    dialog.accept();

    const PatientDialogMembers& filed = dialog.Form().members;
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(filed.species, "Feline");
    EXPECT_EQ(filed.breed, "Siamese");
    EXPECT_EQ(filed.breedNumber, "2001");
    EXPECT_TRUE(filed.breedTouched);
    EXPECT_EQ(filed.birthDate, kNow.AddDays(-(3 * 365 + 18 * 30)));
    EXPECT_EQ(Control<CDateTimeEditCtrl>("1350")->GetWindowText().toStdString(),
              filed.birthDate.Format("%-m/%-d/%Y"));
    EXPECT_EQ(filed.weight, "0.5");
    EXPECT_EQ(filed.weightUnit, "oz");
}

TEST_F(PatientInfoDlgTest, ABirthDateWithATwoDigitYearIsTakenNeverInTheFuture)
{
    struct Case {
        const char* typed;
        int year;  // as the vet means it, seen on the dialog's today
    };
    const int thisYear = ToQDate(kNow).year();
    const int shortYear = thisYear % 100;
    const std::string past = "3/5/" + std::to_string(shortYear - 7);
    const std::string ahead = "12/31/" + std::to_string(shortYear + 1);
    for (const Case& c : {Case{past.c_str(), thisYear - 7}, Case{ahead.c_str(), thisYear + 1 - 100}}) {
        SCOPED_TRACE(c.typed);
        PatientDialogMembers record;
        record.birthDate = COleDate::FromDate(2020, 1, 2);
        CPatientInfoDlg& dialog = Open(kWithNumbers, record);
        QLineEdit* edit = Control<CDateTimeEditCtrl>("1350")->EditCtrl();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        dialog.accept();
        EXPECT_EQ(ToQDate(dialog.Form().members.birthDate).year(), c.year);
        EXPECT_EQ(dialog.Form().members.birthDateText.substr(6), std::to_string(c.year));
    }
}

TEST_F(PatientInfoDlgTest, RecentEntriesShowNoChoiceUntilOneIsMade)
{
    m_config.recent[0] = "Rex|Ann|Kay|Canine||Unknown|Male|03/04/2020|12|kgs";
    m_config.recent[1] = "Tom|Bo|Lee|Feline||Siamese|Female|01/02/2019|4|kgs";
    m_config.recentPointer = 1;  // Tom is the newest
    PatientDialogMembers record;  // a new patient's, none of the two
    record.name = "20261209";
    Open(kWithNumbers, record);
    QComboBox* recent = Control<QComboBox>("1351");
    ASSERT_EQ(recent->count(), 2);
    EXPECT_EQ(recent->currentIndex(), -1);
    EXPECT_TRUE(recent->currentText().isEmpty());
    EXPECT_EQ(Control<QLineEdit>("1160")->text().toStdString(), record.name);

    Choose("1351", QString::fromStdString(m_config.recent[0]));
    EXPECT_EQ(recent->currentText().toStdString(), m_config.recent[0]);
    EXPECT_EQ(Control<QLineEdit>("1160")->text(), "Rex");
}

}  // namespace

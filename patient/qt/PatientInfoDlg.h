#pragma once
// The "Patient Information" dialog: a mirror of CPatientForm. Every user
// action goes to the form; the controls are then written from what the
// form shows, with their signals held so that no write is taken for a
// user's action.
#include <QDialog>
#include <QLocale>
#include <filesystem>
#include <functional>
#include <memory>

#include "patient/PatientForm.h"
#include "platform/OsVersion.h"
#include "platform/Prompter.h"

class CDateTimeEditCtrl;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QLabel;

class CPatientInfoDlg : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        IPrompter* prompter = nullptr;              // the name warnings
        const RemoteConfiguration* config = nullptr;
        std::function<COleDate()> now;              // empty: the local time
        std::filesystem::path speciesFolder;        // empty: the working directory
        const IOsVersion* osVersion = nullptr;      // null: this system's
        QLocale locale = QLocale::system();         // the birth date's format
    };

    CPatientInfoDlg(const Setup& setup, QWidget* parent = nullptr);
    ~CPatientInfoDlg() override;

    // The members are set before exec() and read after it.
    CPatientForm& Form() { return m_form; }

    // The initialisation; exec() runs it, tests call it to drive the dialog
    // without a modal loop.
    void OnInitDialog();

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(const QLocale& locale);
    void Connect();
    void ShowForm();
    void OnNameEdited(NameField field, const QString& text);

    std::unique_ptr<IPrompter> m_ownPrompter;
    IPrompter& m_prompter;
    const IOsVersion& m_osVersion;
    CPatientForm m_form;
    bool m_initialised = false;
    int m_shownDateRevision = -1;

    QComboBox* m_recent = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_clientFirst = nullptr;
    QLineEdit* m_clientLast = nullptr;
    QComboBox* m_species = nullptr;
    QComboBox* m_numbers = nullptr;
    QComboBox* m_breeds = nullptr;
    QComboBox* m_sexes = nullptr;
    QRadioButton* m_birthDateMode = nullptr;
    CDateTimeEditCtrl* m_date = nullptr;
    QRadioButton* m_ageMode = nullptr;
    QLineEdit* m_years = nullptr;
    QLineEdit* m_months = nullptr;
    QLineEdit* m_weight = nullptr;
    QComboBox* m_units = nullptr;
};

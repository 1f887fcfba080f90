#include "patient/qt/PatientInfoDlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <chrono>

#include "app/NorqEventLogger.h"
#include "patient/qt/DateTimeEditCtrl.h"
#include "patient/qt/QtDates.h"
#include "platform/qt/QtPrompter.h"

namespace {

constexpr int kNameLength = 39;
constexpr int kClientNameLength = 19;
constexpr int kWeightLength = 39;

COleDate LocalNow()
{
    return COleDate::FromLocalTime(std::chrono::system_clock::now());
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string Text(const QString& text)
{
    return text.toStdString();
}

QLineEdit* MakeEdit(QWidget* parent, const char* id, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* MakeList(QWidget* parent, const char* id, bool editable)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(id));
    list->setEditable(editable);
    if (editable)
        list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

// Writes the items only when they differ, so that an open list or the
// user's selection is not disturbed by a rewrite of the same entries.
void ShowItems(QComboBox& list, const std::vector<std::string>& items)
{
    bool same = list.count() == static_cast<int>(items.size());
    for (int i = 0; same && i < list.count(); ++i)
        same = list.itemText(i) == Text(items[static_cast<std::size_t>(i)]);
    if (same)
        return;
    list.clear();
    for (const std::string& item : items)
        list.addItem(Text(item));
}

void ShowText(QLineEdit& edit, const std::string& text)
{
    const QString shown = Text(text);
    if (edit.text() != shown)
        edit.setText(shown);
}

void ShowEditableList(QComboBox& list, const std::vector<std::string>& items, const std::string& text)
{
    ShowItems(list, items);
    const QString shown = Text(text);
    const int index = list.findText(shown, Qt::MatchExactly);
    if (list.currentIndex() != index)
        list.setCurrentIndex(index);
    if (list.currentText() != shown)
        list.setEditText(shown);
}

}  // namespace

CPatientInfoDlg::CPatientInfoDlg(const Setup& setup, QWidget* parent)
    : QDialog(parent),
      m_ownPrompter(setup.prompter != nullptr ? nullptr : std::make_unique<CQtPrompter>(this)),
      m_prompter(setup.prompter != nullptr ? *setup.prompter : *m_ownPrompter),
      m_osVersion(setup.osVersion != nullptr ? *setup.osVersion : SystemOsVersion()),
      m_form(setup.now ? setup.now : std::function<COleDate()>(LocalNow), setup.speciesFolder, *setup.config)
{
    setWindowTitle(QStringLiteral("Patient Information"));
    setObjectName(QStringLiteral("661"));
    BuildControls(setup.locale);
    // A two-digit year is read against the dialog's own today.
    m_date->SetToday([now = setup.now ? setup.now : std::function<COleDate()>(LocalNow)] { return ToQDate(now()); });
    Connect();
}

CPatientInfoDlg::~CPatientInfoDlg() = default;

void CPatientInfoDlg::BuildControls(const QLocale& locale)
{
    m_recent = MakeList(this, "1351", false);
    m_name = MakeEdit(this, "1160", kNameLength);
    m_clientFirst = MakeEdit(this, "1030", kClientNameLength);
    m_clientLast = MakeEdit(this, "1031", kClientNameLength);
    m_species = MakeList(this, "1035", false);
    m_numbers = MakeList(this, "1000", true);
    m_breeds = MakeList(this, "1083", true);
    m_sexes = MakeList(this, "1085", false);
    m_birthDateMode = new QRadioButton(QStringLiteral(" Birth Date:"), this);
    m_birthDateMode->setObjectName(QStringLiteral("3940"));
    m_date = new CDateTimeEditCtrl(this, locale);
    m_date->setObjectName(QStringLiteral("1350"));
    m_ageMode = new QRadioButton(QStringLiteral("Age:"), this);
    m_ageMode->setObjectName(QStringLiteral("3970"));
    m_years = MakeEdit(this, "1033", 0);
    m_months = MakeEdit(this, "1034", 0);
    for (QLineEdit* age : {m_years, m_months}) {
        age->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), age));
        age->setMaximumWidth(60);
    }
    m_weight = MakeEdit(this, "1040", kWeightLength);
    m_units = MakeList(this, "1036", false);
    for (const char* unit : kWeightUnits)
        m_units->addItem(QString::fromLatin1(unit));

    auto* grid = new QGridLayout;
    auto label = [this](const char* text) { return new QLabel(QString::fromLatin1(text), this); };
    // An edit with its small caption below, as the client names and the age have.
    auto captioned = [this, &label](QWidget* edit, const char* caption) {
        auto* box = new QVBoxLayout;
        box->setSpacing(0);
        box->addWidget(edit);
        box->addWidget(label(caption));
        return box;
    };
    grid->addWidget(label("Recent Data Entries:"), 0, 0);
    grid->addWidget(m_recent, 0, 1, 1, 2);
    grid->addWidget(label("Patient Name/ID:"), 1, 0);
    grid->addWidget(m_name, 1, 1, 1, 2);
    grid->addWidget(label("Client Name:\n<First. Last>:"), 2, 0);
    grid->addLayout(captioned(m_clientFirst, "First"), 2, 1);
    grid->addLayout(captioned(m_clientLast, "Last"), 2, 2);
    grid->addWidget(label("Species:"), 3, 0);
    grid->addWidget(m_species, 3, 1);
    grid->addWidget(m_numbers, 3, 2);
    grid->addWidget(label("Breed:"), 4, 0);
    grid->addWidget(m_breeds, 4, 1, 1, 2);
    grid->addWidget(label("Sex:"), 5, 0);
    grid->addWidget(m_sexes, 5, 1);
    grid->addWidget(m_birthDateMode, 6, 0);
    grid->addWidget(m_date, 6, 1);
    grid->addWidget(m_ageMode, 7, 0);
    auto* age = new QHBoxLayout;
    age->addLayout(captioned(m_years, "Years"));
    age->addLayout(captioned(m_months, "Months"));
    age->addStretch();
    grid->addLayout(age, 7, 1, 1, 2);
    grid->addWidget(label("Weight:"), 8, 0);
    grid->addWidget(m_weight, 8, 1);
    grid->addWidget(m_units, 8, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    m_recent->setMinimumContentsLength(40);
    m_recent->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPatientInfoDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPatientInfoDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CPatientInfoDlg::Connect()
{
    // Each handler is followed by a rewrite of what the form shows.
    auto on = [this](auto handler) {
        return [this, handler](auto&&... args) {
            handler(args...);
            ShowForm();
        };
    };
    connect(m_recent, &QComboBox::activated, this, on([this](int index) { m_form.OnRecentSelected(index); }));
    connect(m_species, &QComboBox::activated, this, on([this](int index) { m_form.OnSpeciesSelected(index); }));
    connect(m_breeds, &QComboBox::activated, this, on([this](int index) { m_form.OnBreedSelected(index); }));
    connect(m_breeds->lineEdit(), &QLineEdit::textEdited, this,
            on([this](const QString& text) { m_form.OnBreedTextEdited(Text(text)); }));
    connect(m_numbers, &QComboBox::activated, this, on([this](int index) { m_form.OnNumberSelected(index); }));
    connect(m_numbers->lineEdit(), &QLineEdit::textEdited, this,
            on([this](const QString& text) { m_form.OnNumberTextEdited(Text(text)); }));
    connect(m_sexes, &QComboBox::activated, this, on([this](int index) { m_form.OnSexSelected(index); }));
    connect(m_units, &QComboBox::activated, this, on([this](int index) { m_form.OnUnitSelected(index); }));
    connect(m_birthDateMode, &QRadioButton::clicked, this, on([this](bool) { m_form.OnBirthDateMode(); }));
    connect(m_ageMode, &QRadioButton::clicked, this, on([this](bool) { m_form.OnAgeMode(); }));
    connect(m_date, &CDateTimeEditCtrl::DateTimeChange, this, on([this](DateStatus, const QDate&) {
                QDate date;
                const bool valid = m_date->IsValidText() && m_date->GetTime(date) == DateStatus::kValid;
                m_form.OnDateChanged(valid ? std::optional<COleDate>(ToOleDate(date)) : std::nullopt);
            }));
    connect(m_years, &QLineEdit::textEdited, this, on([this](const QString& text) { m_form.OnYearsChanged(Text(text)); }));
    connect(m_months, &QLineEdit::textEdited, this, on([this](const QString& text) { m_form.OnMonthsChanged(Text(text)); }));
    connect(m_weight, &QLineEdit::textEdited, this, on([this](const QString& text) { m_form.OnWeightChanged(Text(text)); }));
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) { OnNameEdited(NameField::patientName, text); });
    connect(m_clientFirst, &QLineEdit::textEdited, this,
            [this](const QString& text) { OnNameEdited(NameField::clientFirstName, text); });
    connect(m_clientLast, &QLineEdit::textEdited, this,
            [this](const QString& text) { OnNameEdited(NameField::clientLastName, text); });
    // The breed list opened: a breed was looked at, whether or not one is chosen.
    m_breeds->view()->installEventFilter(this);
}

bool CPatientInfoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_breeds->view() && event->type() == QEvent::Show)
        m_form.OnBreedListOpened();
    return QDialog::eventFilter(watched, event);
}

void CPatientInfoDlg::OnNameEdited(NameField field, const QString& text)
{
    const std::optional<WarningText> warning = m_form.OnNameChanged(field, Text(text));
    if (warning)
        m_prompter.MessageBox(warning->text, warning->caption, kMbOk | kMbIconWarning);
    ShowForm();
}

void CPatientInfoDlg::OnInitDialog()
{
    m_form.Initialise();
    for (const std::string& note : m_form.SpeciesList().Notes())
        LogEventText("CPatientInfoDlg::OnInitDialog", note);
    if (m_form.StoppedEarly())
        LogEventText("CPatientInfoDlg::OnInitDialog",
                     "The species file lists more than 24 species: the species, breed and sex lists stay empty.");
    // Birth date bitmaps of older systems.
    m_date->UseSystemButtonImage(m_osVersion);
    m_initialised = true;
    ShowForm();
}

void CPatientInfoDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CPatientInfoDlg::accept()
{
    m_form.OnOk();
    QDialog::accept();
}

void CPatientInfoDlg::ShowForm()
{
    const PatientControls& c = m_form.Controls();
    const QSignalBlocker blockers[] = {QSignalBlocker(m_recent), QSignalBlocker(m_species), QSignalBlocker(m_numbers),
                                       QSignalBlocker(m_breeds), QSignalBlocker(m_sexes), QSignalBlocker(m_units)};
    ShowItems(*m_recent, c.recent);
    m_recent->setCurrentIndex(c.recentSel);
    ShowText(*m_name, c.name);
    ShowText(*m_clientFirst, c.clientFirstName);
    ShowText(*m_clientLast, c.clientLastName);
    ShowItems(*m_species, c.species);
    m_species->setCurrentIndex(c.speciesSel);
    ShowEditableList(*m_numbers, c.numbers, c.numberText);
    m_numbers->setVisible(c.numbersShown);
    ShowEditableList(*m_breeds, c.breeds, c.breedText);
    ShowItems(*m_sexes, c.sexes);
    m_sexes->setCurrentIndex(c.sexSel);

    m_birthDateMode->setChecked(!c.ageMode);
    m_ageMode->setChecked(c.ageMode);
    m_date->setEnabled(!c.ageMode);
    m_years->setReadOnly(!c.ageMode);
    m_months->setReadOnly(!c.ageMode);
    if (m_shownDateRevision != c.dateRevision) {
        m_shownDateRevision = c.dateRevision;
        m_date->SetRange(CDateTimeEditCtrl::kRangeMinimum | CDateTimeEditCtrl::kRangeMaximum, ToQDate(c.dateMinimum),
                         ToQDate(c.dateMaximum));
        if (c.date.IsValid())
            m_date->SetTime(DateStatus::kValid, ToQDate(c.date));
        else
            m_date->SetTime(DateStatus::kNone);
    }
    ShowText(*m_years, c.years);
    ShowText(*m_months, c.months);
    ShowText(*m_weight, c.weight);
    m_units->setCurrentIndex(c.unitSel);
}

#include "patient/qt/VetInfoDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "patient/qt/TypingLimit.h"

namespace {

// The first characters that an edit shows, never half a character.
QString Shown(const std::string& text)
{
    QString shown = QString::fromStdString(text).left(kVetInfoShownLength);
    if (!shown.isEmpty() && shown.back().isHighSurrogate())
        shown.chop(1);
    return shown;
}

struct EditSpec {
    VetInfoField field;
    const char* id;
    int limit;
};

constexpr EditSpec kEdits[] = {
    {kVetClinic, "1060", kVetInfoShownLength}, {kVetAddress1, "1070", kVetInfoShownLength},
    {kVetAddress2, "1080", kVetInfoShownLength}, {kVetCity, "1090", kVetInfoShownLength},
    {kVetZip, "1120", kVetInfoZipLength},         {kVetPhone, "1130", kVetInfoShownLength},
    {kVetEmail, "1150", kVetInfoShownLength},
};

} // namespace

CVetInfoDlg::CVetInfoDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("260"));
    setWindowTitle(QStringLiteral("Edit Vet Information"));

    for (const EditSpec& spec : kEdits) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(spec.id));
        m_limits[spec.field] = new CTypingLimit(edit, spec.limit);
        // Room for the 33 characters an edit shows, of an ordinary width.
        const QFontMetrics metrics = edit->fontMetrics();
        edit->setMinimumWidth(metrics.horizontalAdvance(QString(kVetInfoShownLength, QLatin1Char('0')))
                              + 2 * metrics.horizontalAdvance(QLatin1Char('M')));
        const int field = spec.field;
        connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
            m_strings[field] = text.toStdString();
        });
        m_edits[field] = edit;
    }
    m_state = new QComboBox(this);
    m_state->setObjectName(QStringLiteral("1100"));
    for (const char* state : kVetInfoStates)
        m_state->addItem(QString::fromLatin1(state));
    m_state->setMaxVisibleItems(20);
    connect(m_state, &QComboBox::activated, this, &CVetInfoDlg::OnStateActivated);

    auto* grid = new QGridLayout;
    int row = 0;
    const auto heading = [&](const char* text) {
        grid->addWidget(new QLabel(QString::fromLatin1(text), this), row++, 0, 1, 2);
    };
    const auto line = [&](const char* text, QWidget* control) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(control);
        grid->addWidget(label, row, 1);
        grid->addWidget(control, row++, 2, Qt::AlignLeft);
    };
    grid->addWidget(new QLabel(QStringLiteral("Clinic Name:"), this), row, 0, 1, 2);
    grid->addWidget(m_edits[kVetClinic], row++, 2);
    heading("Clinic Address:");
    line("Line 1", m_edits[kVetAddress1]);
    line("Line 2", m_edits[kVetAddress2]);
    line("City", m_edits[kVetCity]);
    line("State", m_state);
    line("Zip Code", m_edits[kVetZip]);
    heading("Contact Info:");
    line("Phone", m_edits[kVetPhone]);
    line("E-mail", m_edits[kVetEmail]);
    grid->setColumnMinimumWidth(0, fontMetrics().averageCharWidth() * 2);

    auto* note = new QLabel(
        QStringLiteral("Please enter Vet Information that will be used for the ECG print report header."), this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Tab goes down the form as it reads, not in the order the edits were made.
    QWidget* const order[] = {m_edits[kVetClinic], m_edits[kVetAddress1], m_edits[kVetAddress2],
                              m_edits[kVetCity],   m_state,               m_edits[kVetZip],
                              m_edits[kVetPhone],  m_edits[kVetEmail],    buttons->button(QDialogButtonBox::Ok),
                              buttons->button(QDialogButtonBox::Cancel)};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CVetInfoDlg::OnInitDialog()
{
    m_initialised = true;
    for (const EditSpec& spec : kEdits)
        m_limits[spec.field]->ShowText(Shown(m_strings[spec.field]));
    m_state->setCurrentIndex(FindVetInfoState(m_strings[kVetState]));
}

void CVetInfoDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CVetInfoDlg::OnStateActivated(int index)
{
    if (index >= 0)
        m_strings[kVetState] = m_state->itemText(index).toStdString();
}

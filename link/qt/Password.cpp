#include "link/qt/Password.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPassword::CPassword(bool serviceMode, int year, int month, int day, IPrompter& prompter, QWidget* parent)
    : QDialog(parent), m_serviceMode(serviceMode), m_year(year), m_month(month), m_day(day), m_prompter(prompter)
{
    setObjectName(QStringLiteral("660"));
    setWindowTitle(QStringLiteral("Authorization Request"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please enter password:"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("4010"));
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setMaxLength(int(kPasswordMaxLength));
    layout->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPassword::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPassword::reject);
    layout->addWidget(buttons);
    if (m_serviceMode)
        m_access = TermAccess::kFull;
}

void CPassword::accept()
{
    m_access = CheckTerminalPassword(m_edit->text().toStdString(), m_serviceMode, m_year, m_month, m_day);
    if (m_access == TermAccess::kRefused)
        m_prompter.MessageBox(kAccessDeniedText, kAccessDeniedCaption, kMbOk | kMbIconWarning);
    QDialog::accept();
}

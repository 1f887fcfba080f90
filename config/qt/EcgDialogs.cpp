#include "config/qt/EcgDialogs.h"

#include "config/qt/CaptionWidth.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CRadioChoiceDlg::CRadioChoiceDlg(int dialogId, const char* caption, const char* frame, const Choices& choices,
                                 int radio, QWidget* parent)
    : QDialog(parent), m_radio(radio), m_group(new QButtonGroup(this))
{
    setObjectName(QString::number(dialogId));
    setWindowTitle(QString::fromLatin1(caption));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QString::fromLatin1(frame), this);
    auto* column = new QVBoxLayout(box);
    for (size_t i = 0; i < choices.size(); ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(choices[i].second), box);
        button->setObjectName(QString::number(choices[i].first));
        m_group->addButton(button, int(i));
        column->addWidget(button);
    }
    if (QAbstractButton* checked = m_group->button(radio))
        checked->setChecked(true);
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRadioChoiceDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRadioChoiceDlg::reject);
    layout->addWidget(buttons);
    layout->addStrut(CaptionWidth(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CRadioChoiceDlg::accept()
{
    m_radio = m_group->checkedId();
    QDialog::accept();
}

CEcgSweepDlg::CEcgSweepDlg(int radio, QWidget* parent)
    : CRadioChoiceDlg(280, "Wireless Remote ECG Sweep Speed", "ECG Sweep Speed",
                      {{100, "25 mm/sec"}, {110, "50 mm/sec"}, {120, "100 mm/sec"}, {130, "200 mm/sec"}}, radio,
                      parent)
{
}

CEcgGainDlg::CEcgGainDlg(int radio, QWidget* parent)
    : CRadioChoiceDlg(290, "Wireless Remote ECG Gain", "ECG Gain",
                      {{1220, "x 0.5 ( 5mm/1mV)"},
                       {1250, "x 1.0 ( 10mm/1mV)"},
                       {1230, "x 2.0 ( 20mm/1mV)"},
                       {1270, "x 3.0 ( 30mm/1mV)"},
                       {1280, "x 4.0 ( 40mm/1mV)"}},
                      radio, parent)
{
}

CEcgBandwidthDlg::CEcgBandwidthDlg(int radio, QWidget* parent)
    : CRadioChoiceDlg(300, "Wireless Remote ECG Bandwidth", "ECG Filter", {{1240, "Low"}, {1260, "High"}}, radio,
                      parent)
{
}

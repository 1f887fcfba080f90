#include "config/qt/ConfigWaveDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "config/SmallDialogRules.h"
#include "config/qt/CaptionWidth.h"

ConfigWaveDlg::ConfigWaveDlg(int32_t deviceKind, uint16_t featureBits, const WaveformChoice& shown, QWidget* parent)
    : QDialog(parent), m_choice(shown)
{
    setObjectName(QStringLiteral("510"));
    setWindowTitle(QStringLiteral("Display Waveforms"));
    auto* layout = new QVBoxLayout(this);
    const WaveBoxes boxes = ShownWaveBoxes(deviceKind, featureBits);
    m_ecg = AddBox(3590, "Display ECG waveform", boxes.ecg);
    m_spo2 = AddBox(3530, "Display SpO2 waveform", boxes.spo2);
    m_resp = AddBox(3550, "Display RR waveform", boxes.resp);
    m_o2 = AddBox(3560, "Display O2 waveform", boxes.o2);
    m_ecg->setChecked(true);
    m_spo2->setChecked(m_choice.showSpO2 != 0);
    m_resp->setChecked(m_choice.showResp != 0);
    m_o2->setChecked(m_choice.showO2 != 0);
    connect(m_ecg, &QCheckBox::clicked, this, &ConfigWaveDlg::OnClickEcg);
    connect(m_spo2, &QCheckBox::clicked, this, &ConfigWaveDlg::OnClickSpO2);
    connect(m_resp, &QCheckBox::clicked, this, &ConfigWaveDlg::OnClickResp);
    connect(m_o2, &QCheckBox::clicked, this, &ConfigWaveDlg::OnClickO2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ConfigWaveDlg::accept);
    layout->addWidget(buttons);
    layout->addStrut(CaptionWidth(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QCheckBox* ConfigWaveDlg::AddBox(int id, const char* text, bool shown)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), this);
    box->setObjectName(QString::number(id));
    layout()->addWidget(box);
    box->setVisible(shown);
    return box;
}

void ConfigWaveDlg::Toggle(int32_t& member, QCheckBox* box)
{
    member = member != 0 ? 0 : 1;
    box->setChecked(member != 0);
}

void ConfigWaveDlg::OnClickSpO2()
{
    Toggle(m_choice.showSpO2, m_spo2);
}

void ConfigWaveDlg::OnClickResp()
{
    Toggle(m_choice.showResp, m_resp);
}

void ConfigWaveDlg::OnClickO2()
{
    Toggle(m_choice.showO2, m_o2);
}

void ConfigWaveDlg::OnClickEcg()
{
    m_ecg->setChecked(true);
}

#include "config/qt/ConfigOEMSoftwareDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "config/ConfigTabs.h"
#include "config/qt/ConfigTabDlg.h"

ConfigOEMSoftwareDlg::ConfigOEMSoftwareDlg(ConfigTabCtrl& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs)
{
    setObjectName(QString::number(kPageDialogIds[kPageOEMSoftware]));
    auto* frame = new QGroupBox("Practice Management Software");
    auto* inner = new QVBoxLayout(frame);
    m_autoAVImark = new QCheckBox("Auto Populate New Patient Information from AVImark");
    m_autoAVImark->setObjectName("3940");
    inner->addWidget(m_autoAVImark);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addStretch(1);
    connect(m_autoAVImark, &QCheckBox::clicked, this,
            [this](bool checked) { m_tabs.WorkingCopy().autoAVImark = checked ? 1 : 0; });
}

void ConfigOEMSoftwareDlg::OnInitDialog()
{
    m_autoAVImark->setChecked(m_tabs.WorkingCopy().autoAVImark != 0);
}

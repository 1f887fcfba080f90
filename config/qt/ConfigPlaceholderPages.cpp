#include "config/qt/ConfigPlaceholderPages.h"

#include "config/ConfigTabs.h"

ConfigGeneralDlg::ConfigGeneralDlg(ConfigTabCtrl& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs)
{
    setObjectName(QString::number(kPageDialogIds[kPageGeneral]));
}

ConfigOEMSoftwareDlg::ConfigOEMSoftwareDlg(ConfigTabCtrl& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs)
{
    setObjectName(QString::number(kPageDialogIds[kPageOEMSoftware]));
}

#pragma once
// The General page and the practice-management page: empty until they are
// built. They hold their place among the fourteen pages so that the tab
// list and the page numbers stay as they will be.
#include <QWidget>

class ConfigTabCtrl;

class ConfigGeneralDlg : public QWidget {
    Q_OBJECT
public:
    explicit ConfigGeneralDlg(ConfigTabCtrl& tabs, QWidget* parent = nullptr);

private:
    ConfigTabCtrl& m_tabs;
};

class ConfigOEMSoftwareDlg : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOEMSoftwareDlg(ConfigTabCtrl& tabs, QWidget* parent = nullptr);

private:
    ConfigTabCtrl& m_tabs;
};

#pragma once
// The "Practice Mgmt Software" page: whether a new patient is filled in
// from AVImark.
#include <QWidget>

class ConfigTabCtrl;
class QCheckBox;

class ConfigOEMSoftwareDlg : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOEMSoftwareDlg(ConfigTabCtrl& tabs, QWidget* parent = nullptr);

    void OnInitDialog();

private:
    ConfigTabCtrl& m_tabs;
    QCheckBox* m_autoAVImark = nullptr;
};

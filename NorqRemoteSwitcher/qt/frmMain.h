#pragma once
// "Norq Remote Switcher": pick a remote and connect. A mirror of
// CRemoteSwitcherForm.
#include <QDialog>

#include "NorqRemoteSwitcher/RemoteSwitcherForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class frmMain : public QDialog {
    Q_OBJECT
public:
    frmMain(const SwitcherServices& services, RemoteTable& table, QWidget* parent = nullptr);

    // "Form_Load": false when the form is to close at once.
    bool Load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void OnConfigure();
    void OnConnect();

    SwitcherServices m_services;
    RemoteTable& m_table;
    CRemoteSwitcherForm m_form;
    QLabel* m_caption;
    QComboBox* m_remotes;
    QCheckBox* m_msbt;
    QLabel* m_hidden;
    QPushButton* m_connect;
};

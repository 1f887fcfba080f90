#pragma once
// QuorinDemo's dialogs: the one that starts quorin and ends, and the
// about box.
#include <QDialog>
#include <string>

#include "platform/ShellLauncher.h"

class CDemoAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDemoAboutDlg(QWidget* parent = nullptr);
};

class CQuorinDemoDlg : public QDialog {
    Q_OBJECT
public:
    // quorin is looked for, and run, in `folder`.
    CQuorinDemoDlg(IShellLauncher& launcher, std::string folder, QWidget* parent = nullptr);

    // Starts quorin and ends the dialog; runs once, just after it shows.
    void OnInitDialog();
    // The window menu's commands: 16 to 31 open the about box.
    void OnSysCommand(unsigned command);

protected:
    void showEvent(QShowEvent* event) override;

private:
    IShellLauncher& m_launcher;
    std::string m_folder;
    bool m_initialised = false;
};

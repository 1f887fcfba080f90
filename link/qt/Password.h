#pragma once
// The terminal's access lock (dialog 660): full authority for the service
// code, a provisional one for the code of the day.
#include <QDialog>

#include "link/TerminalPassword.h"
#include "platform/Prompter.h"

class QLineEdit;

class CPassword : public QDialog {
    Q_OBJECT
public:
    // `year`, `month`, `day`: today's local date. With `serviceMode` access
    // is granted in full without the dialog being shown.
    CPassword(bool serviceMode, int year, int month, int day, IPrompter& prompter, QWidget* parent = nullptr);

    // True when the dialog need not be shown.
    bool DecidedWithoutAsking() const { return m_serviceMode; }
    TermAccess Access() const { return m_access; }
    QLineEdit* PasswordEdit() const { return m_edit; }

public slots:
    void accept() override;

private:
    bool m_serviceMode;
    int m_year;
    int m_month;
    int m_day;
    IPrompter& m_prompter;
    QLineEdit* m_edit = nullptr;
    TermAccess m_access = TermAccess::kRefused;
};

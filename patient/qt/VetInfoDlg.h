#pragma once
// "Edit Vet Information": the practice's eight texts. The members change
// only through the user's edits, so a text that the dialog shows cut short
// comes back whole unless it was touched.
#include <QDialog>
#include <array>

#include "patient/VetInfo.h"

class CTypingLimit;
class QComboBox;
class QLineEdit;

class CVetInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVetInfoDlg(QWidget* parent = nullptr);

    // Set before exec(), read after it.
    VetInfoStrings& Strings() { return m_strings; }

    // The initialisation; exec() runs it, tests call it to drive the dialog
    // without a modal loop.
    void OnInitDialog();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The state list is a plain drop-down list: it has no edit of its own,
    // so no edit change reaches it; a confirmed entry is copied.
    void OnStateActivated(int index);

    VetInfoStrings m_strings;
    bool m_initialised = false;
    // Indexed by VetInfoField; the state's slot stays empty.
    std::array<QLineEdit*, kVetInfoCount> m_edits{};
    std::array<CTypingLimit*, kVetInfoCount> m_limits{};
    QComboBox* m_state = nullptr;
};

#pragma once
// "Select Anesthesia Agents": the primary (and, with a two-agent module,
// the secondary) agent of the gas module. The choices are held until OK;
// OK writes them into the settings in force (and, in demo mode, the demo's
// measured agent), Escape changes nothing.
#include <QDialog>

#include "config/SmallDialogRules.h"

class CQuorinAppCore;
class QComboBox;
class QLabel;

class CAgents : public QDialog {
    Q_OBJECT
public:
    CAgents(CQuorinAppCore& app, QWidget* parent = nullptr);

    const CAgentChoice& Choice() const { return m_choice; }

public slots:
    void accept() override;

private:
    void OnSelectPrimary(int index);
    void OnSelectSecondary(int index);
    void ShowSelections();

    CQuorinAppCore& m_app;
    CAgentChoice m_choice;
    QComboBox* m_primary;
    QComboBox* m_secondary;
    QLabel* m_primaryLabel;
    QLabel* m_secondaryLabel;
};

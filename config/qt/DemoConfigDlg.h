#pragma once
// "Demo Configuration": the remote the demo plays, its blood-pressure and
// gas-module options and the exotic heart rates. A mirror of
// CDemoConfigForm.
#include <QDialog>
#include <array>
#include <cstdint>

#include "config/SmallDialogRules.h"

class QCheckBox;

class DemoConfigDlg : public QDialog {
    Q_OBJECT
public:
    DemoConfigDlg(uint8_t gasModuleKind, uint16_t featureBits, int32_t deviceKind, QWidget* parent = nullptr);

    QCheckBox* Box(DemoBox box) const { return m_boxes[box]; }
    // After OK: the model, its parameters and module, the exotic rates.
    const DemoModelChoice& Choice() const { return m_choice; }

public slots:
    void accept() override;

private:
    void OnClick(DemoBox box);
    void ShowForm();

    CDemoConfigForm m_form;
    std::array<QCheckBox*, kDemoBoxCount> m_boxes{};
    DemoModelChoice m_choice;
};

#pragma once
// "Configure Norq Remotes": ten rows of type, name and COM port. A mirror
// of CRemoteConfigureForm.
#include <QDialog>
#include <array>

#include "NorqRemoteSwitcher/RemoteConfigureForm.h"

class QComboBox;
class QLineEdit;

class frmConfigure : public QDialog {
    Q_OBJECT
public:
    frmConfigure(CRegistryModule& registry, IPrompter& prompter, RemoteTable& table, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyRowState(int row);
    void OnTypeChanged(int row, int typeIndex);
    void OnPortChanged(int row, const QString& text);

    CRemoteConfigureForm m_form;
    std::array<QComboBox*, CRemoteConfigureForm::kRows> m_types{};
    std::array<QLineEdit*, CRemoteConfigureForm::kRows> m_names{};
    std::array<QLineEdit*, CRemoteConfigureForm::kRows> m_ports{};
};

#include "config/qt/QtCommandDialogs.h"

#include "app/QuorinAppCore.h"
#include "config/qt/Agents.h"
#include "config/qt/BPcuff.h"
#include "config/qt/ConfigWaveDlg.h"
#include "config/qt/DemoConfigDlg.h"
#include "config/qt/EcgDialogs.h"

namespace {

std::optional<int> RadioResult(bool accepted, const CRadioChoiceDlg& dialog)
{
    if (!accepted)
        return std::nullopt;
    return dialog.m_radio;
}

}  // namespace

CQtCommandDialogs::CQtCommandDialogs(CQuorinAppCore& app, QWidget* parent, std::function<int(QDialog&)> run)
    : m_app(app), m_parent(parent), m_run(std::move(run))
{
}

bool CQtCommandDialogs::Run(QDialog& dialog)
{
    return (m_run ? m_run(dialog) : dialog.exec()) == QDialog::Accepted;
}

std::optional<int> CQtCommandDialogs::EcgSweep(int radioIndex)
{
    CEcgSweepDlg dialog(radioIndex, m_parent);
    return RadioResult(Run(dialog), dialog);
}

std::optional<int> CQtCommandDialogs::EcgGain(int gainIndex)
{
    CEcgGainDlg dialog(gainIndex, m_parent);
    return RadioResult(Run(dialog), dialog);
}

std::optional<int> CQtCommandDialogs::EcgBandwidth(int radio)
{
    CEcgBandwidthDlg dialog(radio, m_parent);
    return RadioResult(Run(dialog), dialog);
}

std::optional<WaveformChoice> CQtCommandDialogs::Waveforms(int32_t deviceKind, uint8_t, uint16_t featureBits,
                                                           const WaveformChoice& shown)
{
    ConfigWaveDlg dialog(deviceKind, featureBits, shown, m_parent);
    if (!Run(dialog))
        return std::nullopt;
    return dialog.m_choice;
}

std::optional<DemoModelChoice> CQtCommandDialogs::DemoModel(uint8_t gasModuleKind, uint16_t featureBits,
                                                            int32_t deviceKind)
{
    DemoConfigDlg dialog(gasModuleKind, featureBits, deviceKind, m_parent);
    if (!Run(dialog))
        return std::nullopt;
    return dialog.Choice();
}

bool CQtCommandDialogs::Agents()
{
    CAgents dialog(m_app, m_parent);
    return Run(dialog);
}

bool CQtCommandDialogs::BpCuff(int32_t species)
{
    CBPcuff dialog(m_app.m_config, species, m_parent);
    return Run(dialog);
}

#pragma once
// The small dialogs of the menu commands as windows over a parent, run
// modally; the view uses them unless it is given others.
#include <QDialog>
#include <functional>

#include "config/CommandDialogs.h"

class CQuorinAppCore;
class QWidget;

class CQtCommandDialogs : public ICommandDialogs {
public:
    // `run` runs a dialog modally and returns its result; empty: exec().
    CQtCommandDialogs(CQuorinAppCore& app, QWidget* parent, std::function<int(QDialog&)> run = {});

    std::optional<int> EcgSweep(int radioIndex) override;
    std::optional<int> EcgGain(int gainIndex) override;
    std::optional<int> EcgBandwidth(int radio) override;
    std::optional<WaveformChoice> Waveforms(int32_t deviceKind, uint8_t gasModuleKind, uint16_t featureBits,
                                            const WaveformChoice& shown) override;
    std::optional<DemoModelChoice> DemoModel(uint8_t gasModuleKind, uint16_t featureBits, int32_t deviceKind) override;
    bool Agents() override;
    bool BpCuff(int32_t species) override;

private:
    bool Run(QDialog& dialog);

    CQuorinAppCore& m_app;
    QWidget* m_parent;
    std::function<int(QDialog&)> m_run;
};

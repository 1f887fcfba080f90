#pragma once
// "Display Waveforms": which of the SpO2, respiration and O2 waveforms the
// strips show. The ECG waveform is always shown; a box the remote does not
// offer is hidden and keeps its value.
#include <QDialog>
#include <cstdint>

#include "config/CommandDialogs.h"

class QCheckBox;

class ConfigWaveDlg : public QDialog {
    Q_OBJECT
public:
    ConfigWaveDlg(int32_t deviceKind, uint16_t featureBits, const WaveformChoice& shown, QWidget* parent = nullptr);

    void OnClickSpO2();
    void OnClickResp();
    void OnClickO2();
    void OnClickEcg();

    // The members the view reads after OK.
    WaveformChoice m_choice;

private:
    QCheckBox* AddBox(int id, const char* text, bool shown);
    void Toggle(int32_t& member, QCheckBox* box);

    QCheckBox* m_ecg;
    QCheckBox* m_spo2;
    QCheckBox* m_resp;
    QCheckBox* m_o2;
};

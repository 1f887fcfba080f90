#pragma once
// "Set BP Cuff Size": the cuff of one species. The choice is held until OK,
// which writes it into the settings in force; Escape changes nothing.
#include <QDialog>
#include <cstdint>

struct RemoteConfiguration;
class QComboBox;

class CBPcuff : public QDialog {
    Q_OBJECT
public:
    CBPcuff(RemoteConfiguration& config, int32_t species, QWidget* parent = nullptr);

    // The list's index: the cuff size (-1: none chosen).
    int Selection() const;

public slots:
    void accept() override;

private:
    RemoteConfiguration& m_config;
    int32_t m_species;
    QComboBox* m_list;
};

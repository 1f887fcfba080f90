#pragma once
// The three ECG choices of the menu: sweep speed, gain and filter. Each is
// one radio group bound to one index, with OK and Cancel.
#include <QDialog>
#include <utility>
#include <vector>

class QButtonGroup;

class CRadioChoiceDlg : public QDialog {
    Q_OBJECT
public:
    // The radio buttons' control ids and texts, in index order.
    using Choices = std::vector<std::pair<int, const char*>>;

    // `radio`: the index checked when it opens (none when out of range).
    CRadioChoiceDlg(int dialogId, const char* caption, const char* frame, const Choices& choices, int radio,
                    QWidget* parent);

    // The index checked; after OK, the user's choice (-1: none).
    int m_radio;

public slots:
    void accept() override;

private:
    QButtonGroup* m_group;
};

class CEcgSweepDlg : public CRadioChoiceDlg {
    Q_OBJECT
public:
    explicit CEcgSweepDlg(int radio, QWidget* parent = nullptr);
};

class CEcgGainDlg : public CRadioChoiceDlg {
    Q_OBJECT
public:
    explicit CEcgGainDlg(int radio, QWidget* parent = nullptr);
};

class CEcgBandwidthDlg : public CRadioChoiceDlg {
    Q_OBJECT
public:
    explicit CEcgBandwidthDlg(int radio, QWidget* parent = nullptr);
};

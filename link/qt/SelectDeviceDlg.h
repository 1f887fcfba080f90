#pragma once
// The choice of a paired remote before a Bluetooth connection (dialog 460).
#include <QDialog>

#include "link/DeviceSelection.h"

class QComboBox;
class QLabel;
class QPushButton;

class CSelectDeviceDlg : public QDialog {
    Q_OBJECT
public:
    // `port`: the port in use, whose device is preselected.
    CSelectDeviceDlg(const DeviceListApi& api, int port, QWidget* parent = nullptr);

    // After "Connect": the chosen device's port and list position.
    int Port() const { return m_port; }
    int Position() const { return m_position; }
    QComboBox* DeviceList() const { return m_list; }
    QLabel* Message() const { return m_message; }
    QPushButton* ConnectButton() const { return m_connect; }

public slots:
    void accept() override;

private:
    DeviceListApi m_api;
    int m_port;
    int m_position = -1;
    QLabel* m_label = nullptr;
    QComboBox* m_list = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_connect = nullptr;
};

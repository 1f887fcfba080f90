#include "link/qt/SelectDeviceDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

CSelectDeviceDlg::CSelectDeviceDlg(const DeviceListApi& api, int port, QWidget* parent)
    : QDialog(parent), m_api(api), m_port(port)
{
    setObjectName(QStringLiteral("460"));
    setWindowTitle(QStringLiteral("Select Wireless Remote Connection"));
    auto* picture = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(side, side));
    m_label = new QLabel(QStringLiteral("Select Wireless Remote Connection:"), this);
    m_label->setObjectName(QStringLiteral("1420"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("1400"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("1430"));
    m_message->setTextFormat(Qt::PlainText);
    m_connect = new QPushButton(QStringLiteral("Connect"), this);
    m_connect->setObjectName(QStringLiteral("1"));
    m_connect->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    connect(m_connect, &QPushButton::clicked, this, &CSelectDeviceDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelectDeviceDlg::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(m_label, 0, 1);
    grid->addWidget(m_list, 1, 1);
    grid->addWidget(m_message, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_connect);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    const DeviceChoice choice = BuildDeviceChoice(m_api, m_port);
    m_label->setVisible(choice.listShown);
    m_list->setVisible(choice.listShown);
    m_connect->setVisible(choice.listShown);
    // Only "Cancel" is left: the dialog can only be cancelled.
    m_connect->setEnabled(choice.listShown);
    m_connect->setDefault(choice.listShown);
    for (const std::string& device : choice.devices)
        m_list->addItem(QString::fromStdString(device));
    m_list->setCurrentIndex(choice.selected);
    m_message->setText(QString::fromStdString(choice.message));
}

void CSelectDeviceDlg::accept()
{
    if (!m_connect->isEnabled() || m_list->currentIndex() < 0)
        return;
    m_position = m_list->currentIndex();
    m_port = ChosenDevicePort(m_api, m_position);
    QDialog::accept();
}

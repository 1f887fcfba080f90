#include "NorqRemoteSwitcher/qt/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "NorqRemoteSwitcher/qt/frmConfigure.h"

frmMain::frmMain(const SwitcherServices& services, RemoteTable& table, QWidget* parent)
    : QDialog(parent)
    , m_services(services)
    , m_table(table)
    , m_form(services, table)
{
    setWindowTitle(QStringLiteral("Norq Remote Switcher"));

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setWordWrap(true);
    m_caption->setTextFormat(Qt::PlainText);
    // Room for the longer caption without the form growing as it changes.
    m_caption->setMinimumWidth(m_caption->fontMetrics().averageCharWidth() * 52);

    m_remotes = new QComboBox(this);
    m_remotes->setObjectName(QStringLiteral("cboRemote"));

    m_msbt = new QCheckBox(QStringLiteral("Switch to MS Bluetooth configuration"), this);
    m_msbt->setObjectName(QStringLiteral("chkMSBT"));

    // Shows nothing; a click on it reveals chkMSBT.
    m_hidden = new QLabel(this);
    m_hidden->setObjectName(QStringLiteral("lblHidden"));
    m_hidden->setFixedSize(24, 24);
    m_hidden->installEventFilter(this);

    m_connect = new QPushButton(QStringLiteral("Connect"), this);
    m_connect->setObjectName(QStringLiteral("cmdConnect"));
    m_connect->setDefault(true);
    auto* configure = new QPushButton(QStringLiteral("Configure"), this);
    configure->setObjectName(QStringLiteral("cmdConfig"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_hidden);
    buttons->addStretch();
    buttons->addWidget(m_connect);
    buttons->addWidget(configure);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_remotes);
    layout->addWidget(m_msbt);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_remotes, &QComboBox::activated, this, [this](int index) {
        m_form.Select(index);
        Refresh();
    });
    connect(m_msbt, &QCheckBox::clicked, this, [this](bool checked) {
        m_form.SetMsbtChecked(checked);
        Refresh();
    });
    connect(m_connect, &QPushButton::clicked, this, &frmMain::OnConnect);
    connect(configure, &QPushButton::clicked, this, &frmMain::OnConfigure);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

bool frmMain::Load()
{
    const bool loaded = m_form.Load();
    Refresh();
    return loaded;
}

void frmMain::Refresh()
{
    m_caption->setText(QString::fromStdString(m_form.Caption()));
    {
        const QSignalBlocker blocker(m_remotes);
        m_remotes->clear();
        for (const std::string& item : m_form.Items())
            m_remotes->addItem(QString::fromStdString(item));
        m_remotes->setCurrentIndex(m_form.Selected());
    }
    m_msbt->setVisible(m_form.MsbtVisible());
    m_msbt->setChecked(m_form.MsbtChecked());
    m_connect->setEnabled(m_form.ConnectEnabled());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_hidden && event->type() == QEvent::MouseButtonPress) {
        m_form.RevealMsbt();
        Refresh();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmMain::OnConfigure()
{
    frmConfigure configure(*m_services.registry, *m_services.prompter, m_table, this);
    configure.exec();
    m_form.Rebuild();
    Refresh();
}

void frmMain::OnConnect()
{
    m_form.Connect();
    accept();
}

#include "demo/qt/QuorinDemoDlg.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/DemoLauncher.h"
#include "demo/qt/DemoIcon.h"

CDemoAboutDlg::CDemoAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About QuorinDemo"));
    setWindowIcon(DemoIcon());
    auto* icon = new QLabel(this);
    icon->setPixmap(DemoIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("QuorinDemo Version 1.0"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(version, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CQuorinDemoDlg::CQuorinDemoDlg(IShellLauncher& launcher, std::string folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_launcher(launcher)
    , m_folder(std::move(folder))
{
    setWindowIcon(DemoIcon());
    auto* text = new QLabel(QStringLiteral("Running Quorin in Demo Mode"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Without a caption there is no window menu: its entry lives on the
    // context menu instead.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* about = new QAction(QStringLiteral("&About QuorinDemo..."), this);
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(kIdmAboutBox); });
    addAction(about);
}

void CQuorinDemoDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_initialised)
        return;
    m_initialised = true;
    // The dialog's loop must be running before it can end.
    QMetaObject::invokeMethod(this, &CQuorinDemoDlg::OnInitDialog, Qt::QueuedConnection);
}

void CQuorinDemoDlg::OnInitDialog()
{
    StartQuorinDemo(m_launcher, m_folder);
    done(Accepted);
}

void CQuorinDemoDlg::OnSysCommand(unsigned command)
{
    if (!IsAboutCommand(command))
        return;
    CDemoAboutDlg about(this);
    about.exec();
}

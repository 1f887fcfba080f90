#include "NorqRemoteSwitcher/qt/frmConfigure.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString Named(const char* control, int row)
{
    return QString::fromLatin1(control) + QString::number(row);
}

// A row without a type greys its boxes.
void SetBoxColour(QLineEdit* box, bool enabled)
{
    QPalette palette = box->palette();
    const QColor colour = enabled ? QColor(255, 255, 255) : QColor(192, 192, 192);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

frmConfigure::frmConfigure(CRegistryModule& registry, IPrompter& prompter, RemoteTable& table, QWidget* parent)
    : QDialog(parent)
    , m_form(registry, prompter, table)
{
    setWindowTitle(QStringLiteral("Configure Norq Remotes"));

    auto* grid = new QGridLayout;
    auto* typeHeading = new QLabel(QStringLiteral("Remote Type"), this);
    typeHeading->setObjectName(QStringLiteral("lblRT"));
    auto* nameHeading = new QLabel(QStringLiteral("Name"), this);
    nameHeading->setObjectName(QStringLiteral("lblName"));
    auto* portHeading = new QLabel(QStringLiteral("COM Port"), this);
    portHeading->setObjectName(QStringLiteral("lblPortNum"));
    grid->addWidget(typeHeading, 0, 0);
    grid->addWidget(nameHeading, 0, 1);
    grid->addWidget(portHeading, 0, 2);

    QStringList typeItems;
    for (const std::string& item : CRemoteConfigureForm::TypeItems())
        typeItems << QString::fromStdString(item);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int row = 0; row < CRemoteConfigureForm::kRows; ++row) {
        auto* type = new QComboBox(this);
        type->setObjectName(Named("cboRType", row));
        type->setToolTip(QStringLiteral("Select the type of Norq wireless remote."));
        type->addItems(typeItems);
        auto* name = new QLineEdit(this);
        name->setObjectName(Named("txtRName", row));
        name->setToolTip(QStringLiteral("Type a name to identify your remote."));
        name->setMinimumWidth(charWidth * 24);
        auto* port = new QLineEdit(this);
        port->setObjectName(Named("txtRPort", row));
        port->setToolTip(QStringLiteral(
            "Type the COM port number assigned to your remote during bluetooth discovery (0 - 255)."));
        port->setMaximumWidth(charWidth * 10);
        port->installEventFilter(this);
        grid->addWidget(type, row + 1, 0);
        grid->addWidget(name, row + 1, 1);
        grid->addWidget(port, row + 1, 2);
        m_types[static_cast<std::size_t>(row)] = type;
        m_names[static_cast<std::size_t>(row)] = name;
        m_ports[static_cast<std::size_t>(row)] = port;

        const ConfigureRow& values = m_form.Row(row);
        type->setCurrentIndex(values.typeIndex);
        name->setText(QString::fromStdString(values.name));
        port->setText(QString::fromStdString(values.port));
        ApplyRowState(row);

        connect(type, &QComboBox::currentIndexChanged, this, [this, row](int index) { OnTypeChanged(row, index); });
        connect(name, &QLineEdit::textChanged, this,
                [this, row](const QString& text) { m_form.SetName(row, text.toStdString()); });
        connect(port, &QLineEdit::textChanged, this, [this, row](const QString& text) { OnPortChanged(row, text); });
    }

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("cmdHelp"));
    help->setToolTip(QStringLiteral("Click for assistance."));
    help->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_form.Ok())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmConfigure::ApplyRowState(int row)
{
    const bool enabled = CRemoteConfigureForm::RowEnabled(m_form.Row(row).typeIndex);
    for (QLineEdit* box : {m_names[static_cast<std::size_t>(row)], m_ports[static_cast<std::size_t>(row)]}) {
        box->setEnabled(enabled);
        SetBoxColour(box, enabled);
    }
}

void frmConfigure::OnTypeChanged(int row, int typeIndex)
{
    m_form.SetType(row, typeIndex);
    ApplyRowState(row);
    QLineEdit* name = m_names[static_cast<std::size_t>(row)];
    if (name->isEnabled() && name->isVisible())
        name->setFocus();
}

void frmConfigure::OnPortChanged(int row, const QString& text)
{
    const QString result = QString::fromStdString(m_form.PortChanged(row, text.toStdString()));
    if (result != text) {
        QLineEdit* port = m_ports[static_cast<std::size_t>(row)];
        const QSignalBlocker blocker(port);
        port->setText(result);
    }
}

bool frmConfigure::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && std::find(m_ports.begin(), m_ports.end(), watched) != m_ports.end()) {
        // Control keys (Backspace, Delete, the arrows, shortcuts such as
        // paste) type no character and pass.
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty() && typed.at(0).isPrint() && !CRemoteConfigureForm::PortKeyAccepted(typed.at(0).unicode()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

#include "config/qt/Agents.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/QuorinAppCore.h"
#include "config/qt/CaptionWidth.h"
#include "link/LiveData.h"

namespace {

std::array<uint8_t, 5> AvailableAgents()
{
    std::array<uint8_t, 5> available{};
    for (size_t i = 0; i < available.size(); ++i)
        available[i] = g_liveData.agentAvailable[i];
    return available;
}

void Fill(QComboBox* list, const std::vector<AgentEntry>& entries)
{
    for (const AgentEntry& entry : entries)
        list->addItem(QString::fromStdString(entry.text), entry.code);
}

}  // namespace

CAgents::CAgents(CQuorinAppCore& app, QWidget* parent)
    : QDialog(parent),
      m_app(app),
      m_choice(g_liveData.gasModuleKind, AvailableAgents(), app.m_config, app.IsDemoMode())
{
    setObjectName(QStringLiteral("600"));
    setWindowTitle(QStringLiteral("Select Anesthesia Agents"));
    auto* column = new QVBoxLayout(this);
    auto* layout = new QGridLayout;
    column->addLayout(layout);
    m_primaryLabel = new QLabel(QStringLiteral("Primary"), this);
    m_primaryLabel->setObjectName(QStringLiteral("3810"));
    m_secondaryLabel = new QLabel(QStringLiteral("Secondary"), this);
    m_secondaryLabel->setObjectName(QStringLiteral("3820"));
    m_primary = new QComboBox(this);
    m_primary->setObjectName(QStringLiteral("3790"));
    m_secondary = new QComboBox(this);
    m_secondary->setObjectName(QStringLiteral("3800"));
    layout->addWidget(m_primaryLabel, 0, 0);
    layout->addWidget(m_primary, 0, 1);
    layout->addWidget(m_secondaryLabel, 1, 0);
    layout->addWidget(m_secondary, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAgents::accept);
    column->addWidget(buttons);
    column->addStrut(CaptionWidth(*this));
    column->setSizeConstraint(QLayout::SetFixedSize);

    const AgentLists& lists = m_choice.Lists();
    Fill(m_primary, lists.primary);
    Fill(m_secondary, lists.secondary);
    m_primaryLabel->setVisible(lists.primaryShown);
    m_primary->setVisible(lists.primaryShown);
    m_secondaryLabel->setVisible(lists.secondaryShown);
    m_secondary->setVisible(lists.secondaryShown);
    ShowSelections();
    connect(m_primary, &QComboBox::activated, this, &CAgents::OnSelectPrimary);
    connect(m_secondary, &QComboBox::activated, this, &CAgents::OnSelectSecondary);
}

void CAgents::ShowSelections()
{
    const QSignalBlocker blockPrimary(m_primary);
    const QSignalBlocker blockSecondary(m_secondary);
    m_primary->setCurrentIndex(m_choice.Lists().primarySelection);
    m_secondary->setCurrentIndex(m_choice.Lists().secondarySelection);
}

void CAgents::OnSelectPrimary(int index)
{
    m_choice.SelectPrimary(index);
    ShowSelections();
}

void CAgents::OnSelectSecondary(int index)
{
    m_choice.SelectSecondary(index);
    ShowSelections();
}

void CAgents::accept()
{
    m_choice.Apply(m_app.m_config);
    if (const auto live = m_choice.LivePrimary())
        g_liveData.primaryAgent = *live;
    QDialog::accept();
}

#include "NorqRemoteSwitcher/RemoteSwitcherForm.h"

#include "NorqRemoteSwitcher/ShellRun.h"
#include "app/SettingsNames.h"

CRemoteSwitcherForm::CRemoteSwitcherForm(const SwitcherServices& services, RemoteTable& table)
    : m_services(services)
    , m_table(table)
{
    Rebuild();
}

bool CRemoteSwitcherForm::Load()
{
    m_msbtVisible = false;
    if (!LoadRemotes(*m_services.registry, m_table)) {
        m_services.prompter->MessageBox(kLoadErrorText, kSwitcherTitle, kMbOk | kMbIconError);
        return false;
    }
    Rebuild();
    return true;
}

void CRemoteSwitcherForm::Rebuild()
{
    m_items.clear();
    if (m_table.count == 0) {
        m_items.push_back(kNoRemotesItem);
        m_caption = kNoRemotesCaption;
        m_connectEnabled = m_msbtChecked;
    } else {
        for (int i = 0; i < m_table.count; ++i)
            m_items.push_back(m_table.entries[static_cast<std::size_t>(i)].label);
        m_caption = kRemotesCaption;
        m_connectEnabled = true;
    }
    m_selected = 0;
}

void CRemoteSwitcherForm::Select(int index)
{
    if (index >= 0 && index < static_cast<int>(m_items.size()))
        m_selected = index;
    m_connectEnabled = m_table.count > 0;
}

void CRemoteSwitcherForm::SetMsbtChecked(bool checked)
{
    m_msbtChecked = checked;
    m_connectEnabled = m_table.count > 0 || checked;
}

void CRemoteSwitcherForm::Connect()
{
    CRegistryModule& registry = *m_services.registry;
    bool handedOver = false;
    if (m_msbtChecked)
        handedOver = registry.SetValue(kSectionValues, kValueWinBluetooth, 1);
    else if (m_selected < m_table.count)
        handedOver = registry.SetValue(kSectionValues, kValuePortNum,
                                       m_table.entries[static_cast<std::size_t>(m_selected)].port);
    // quorin reads the file as it starts: without the new port it would
    // connect to the remote of the last time.
    handedOver = registry.Flush() && handedOver;
    if (!handedOver) {
        ShowSupportBox(*m_services.prompter);
        return;
    }
    (void)StartQuorin(m_services);
}

#include "NorqRemoteSwitcher/RemoteConfigureForm.h"

#include <algorithm>

#include "NorqRemoteSwitcher/RemoteSwitcherForm.h"

namespace {

// A whole number, signed or not; `value` is capped far above 255.
bool ParsePort(const std::string& text, long& value)
{
    const bool negative = text.starts_with('-');
    std::size_t i = negative || text.starts_with('+') ? 1 : 0;
    if (i == text.size())
        return false;
    long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), 100000L);
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

CRemoteConfigureForm::CRemoteConfigureForm(CRegistryModule& registry, IPrompter& prompter, RemoteTable& table)
    : m_registry(registry)
    , m_prompter(prompter)
    , m_table(table)
{
    for (int i = 0; i < m_table.count && i < kRows; ++i) {
        const RemoteEntry& entry = m_table.entries[static_cast<std::size_t>(i)];
        m_rows[static_cast<std::size_t>(i)] = {entry.type + 1, entry.name, std::to_string(entry.port)};
    }
}

const std::vector<std::string>& CRemoteConfigureForm::TypeItems()
{
    static const std::vector<std::string> items = {"<None>", "Moval", "Tarvik", "Tarvik+", "Selvo", "Brindle"};
    return items;
}

PortCheck CRemoteConfigureForm::CheckPort(const std::string& text)
{
    // An emptied box is on its way to a new number.
    if (text.empty())
        return PortCheck::Keep;
    long value = 0;
    if (!ParsePort(text, value))
        return PortCheck::NotANumber;
    return value < 0 || value > 255 ? PortCheck::ReplaceWithZero : PortCheck::Keep;
}

std::string CRemoteConfigureForm::PortChanged(int row, const std::string& text)
{
    const PortCheck check = CheckPort(text);
    if (check == PortCheck::NotANumber)
        m_prompter.MessageBox(kNotANumberText, kSwitcherTitle, kMbOk | kMbIconWarning);
    std::string& port = m_rows[static_cast<std::size_t>(row)].port;
    port = check == PortCheck::ReplaceWithZero ? std::string(1, '0') : text;
    return port;
}

bool CRemoteConfigureForm::Ok()
{
    if (m_prompter.MessageBox(kSaveQuestion, kSaveCaption, kMbYesNo | kMbIconQuestion) != kIdYes)
        return false;
    m_table = RemoteTable{};
    for (const ConfigureRow& row : m_rows) {
        if (row.port.empty() || row.name.empty() || row.typeIndex <= 0)
            continue;
        RemoteEntry& entry = m_table.entries[static_cast<std::size_t>(m_table.count++)];
        entry.type = static_cast<int16_t>(row.typeIndex - 1);
        entry.name = row.name;
        // A box left holding no number (its box was shown) saves as 0.
        long port = 0;
        if (!ParsePort(row.port, port) || port < 0 || port > 255)
            port = 0;
        entry.port = static_cast<int16_t>(port);
        entry.label = EditedRemoteLabel(entry.type, entry.name);
    }
    if (!SaveRemotes(m_registry, m_table))
        m_prompter.MessageBox(kSaveErrorText, "Error", kMbOk | kMbIconError);
    return true;
}

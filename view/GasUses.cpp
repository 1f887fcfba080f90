#include "view/GasUses.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "link/LiveData.h"

void CountGasProbeUse(IGasUsesView& view)
{
    if (view.DeviceKind() == kDeviceBrindle || (view.FeatureBits() & kFeatureCO2) == 0)
        return;
    // A count the store holds below 0 (edited by hand) counts as none left.
    const int32_t uses = std::max(view.StoredUses(), 0);
    if (uses >= kGasUsesWarnBelow)
        view.StoreUses(uses - 1);
    else
        view.StoreUses(std::max(view.RunGasUsesDialog(uses), 0));
}

bool CConnectionGasUse::TakeDue(bool live, int32_t deviceKind, uint16_t featureBits)
{
    // Before the remote reports, the bits are the reset's (no CO2); a
    // Brindle never counts.
    if (!m_due || !live || deviceKind == kDeviceUnknown || deviceKind == kDeviceBrindle
        || (featureBits & kFeatureCO2) == 0)
        return false;
    m_due = false;
    return true;
}

const char* BuiltInReorderText()
{
    return "Gas sensors without O2: reorder airway adaptors in boxes of 25.\n"
           "Gas sensors with O2: reorder O2 airway adaptors in boxes of 25.\n"
           "\n"
           "Order from Norq Technology or from your dealer.";
}

std::string ReadReorderText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return BuiltInReorderText();
    std::string text(kReorderTextLimit, '\0');
    file.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(file.gcount()));
    std::erase(text, '\r');
    return text;
}

void CGasUsesForm::Init(const std::string& reorderPath)
{
    char text[64];
    std::snprintf(text, sizeof text, "You have %d uses remaining", int(m_uses));
    remainingText = text;
    adaptorReplaced = false;
    if (m_uses > 0)
        --m_uses;
    reorderText = ReadReorderText(reorderPath);
}

void CGasUsesForm::OnOK()
{
    if (adaptorReplaced)
        m_uses = kGasUsesFresh;
}

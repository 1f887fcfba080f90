// The airway adaptor's count in the view: the settings in force, their
// stored image, the store, and the dialog once few uses remain.
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "link/LiveData.h"
#include "view/qt/GasUsesDlg.h"
#include "view/qt/QuorinView.h"

void CQuorinView::CountGasProbeUse()
{
    GasUsesActions actions(*this);
    ::CountGasProbeUse(actions);
}

int32_t CQuorinView::GasUsesActions::DeviceKind() const
{
    return g_liveData.deviceKind;
}

uint16_t CQuorinView::GasUsesActions::FeatureBits() const
{
    return g_liveData.featureBits;
}

int32_t CQuorinView::GasUsesActions::StoredUses() const
{
    return LoadRelaxed(m_view.m_app.m_config.gasProbeUses);
}

void CQuorinView::GasUsesActions::StoreUses(int32_t uses)
{
    StoreRelaxed(m_view.m_app.m_config.gasProbeUses, uses);
    StoreRelaxed(m_view.m_app.m_storedConfig.gasProbeUses, uses);
    IProfileStore* store = m_view.m_app.ProfileStore();
    if (store == nullptr || !store->WriteProfileInt(kSectionValues, kValueGasProbeUses, uses))
        LogEventText("CQuorinView::CountGasProbeUse",
                     "\"Gas Probe Uses\" (" + std::to_string(uses) + ") could not be stored.");
}

int32_t CQuorinView::GasUsesActions::RunGasUsesDialog(int32_t uses)
{
    // The reorder file lies in the working directory, as the species file.
    CGasUses dialog(uses, kReorderFileName, &m_view);
    if (m_view.m_services.runGasUsesDialog)
        m_view.m_services.runGasUsesDialog(dialog);
    else
        dialog.exec();
    return dialog.Uses();
}

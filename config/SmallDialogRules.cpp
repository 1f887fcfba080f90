#include "config/SmallDialogRules.h"

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"

namespace {

bool Bit(uint16_t bits, int bit)
{
    return (bits & (1u << bit)) != 0;
}

constexpr DemoBox kModels[] = {kDemoMoval, kDemoTarvik, kDemoTarvikPlus, kDemoSelvo, kDemoBrindle};
constexpr DemoBox kGasModules[] = {kDemoGasCo2Only, kDemoGasIcu,   kDemoGasOrSelectable, kDemoGasOrSevo,
                                   kDemoGasOrIso,   kDemoGasOrPlus, kDemoGasAx};

bool IsModel(DemoBox box)
{
    return box <= kDemoBrindle;
}

bool IsGasModule(DemoBox box)
{
    return box >= kDemoGasCo2Only && box <= kDemoGasAx;
}

}  // namespace

WaveBoxes ShownWaveBoxes(int32_t deviceKind, uint16_t featureBits)
{
    switch (deviceKind) {
    case kDeviceTarvik: return {true, true, true, false};
    case kDeviceTarvikPlus: return {true, true, true, Bit(featureBits, 6)};
    case kDeviceSelvo:
        return {Bit(featureBits, 0), Bit(featureBits, 2), Bit(featureBits, 1) || Bit(featureBits, 5),
                Bit(featureBits, 6)};
    default: return {};
    }
}

const std::array<DemoBoxText, kDemoBoxCount> kDemoBoxTexts{{
    {3430, "Moval"},
    {3440, "Tarvik"},
    {3450, "Tarvik+"},
    {3940, "Selvo"},
    {3970, "BP-Brindle"},
    {3460, "Blood Pressure"},
    {3470, "PhaseIn #200101....IRMA CO2 [ CO2 Only ]"},
    {3480, "PhaseIn #200201....IRMA ICU [ CO2, O2, ]"},
    {3490, "PhaseIn #200301.... IRMA OR [ CO2, O2, N2O, Selectable Primary Agent ] "},
    {3500, "PhaseIn #200302.... IRMA OR [ CO2, O2, N2O, Sevoflurane ] "},
    {3510, "PhaseIn #200303.... IRMA OR [ CO2, O2, N2O, Isoflurane ] "},
    {3520, "PhaseIn #200401.... IRMA OR+ [ CO2, O2, N2O, Selectable Primary and Secondary Agents ] "},
    {3540, "PhaseIn #200501.... IRMA AX [ CO2, N2O, Selectable Primary Agent ] "},
    {3960, "Exotic Heart Rates"},
}};

void CDemoConfigForm::OnInitDialog(uint8_t gasModuleKind, uint16_t featureBits, int32_t deviceKind)
{
    m_gasModuleKind = gasModuleKind;
    m_featureBits = featureBits;
    m_deviceKind = deviceKind;
    m_checked.fill(false);
    m_exotic = false;
    switch (deviceKind) {
    case kDeviceTarvik: m_checked[kDemoTarvik] = true; break;
    case kDeviceTarvikPlus: m_checked[kDemoTarvikPlus] = true; break;
    case kDeviceMoval: m_checked[kDemoMoval] = true; break;
    case kDeviceSelvo: m_checked[kDemoSelvo] = true; break;
    case kDeviceBrindle: m_checked[kDemoBrindle] = true; break;
    default: break;
    }
    if (deviceKind != kDeviceTarvikPlus)
        return;
    m_checked[kDemoBloodPressure] = Bit(featureBits, 4);
    if (!Bit(featureBits, 5))
        return;
    const bool o2 = Bit(featureBits, 6);
    switch (gasModuleKind) {
    case 0: m_checked[kDemoGasOrSevo] = true; break;
    case 1: m_checked[kDemoGasOrIso] = true; break;
    case 2: m_checked[o2 ? kDemoGasOrSelectable : kDemoGasAx] = true; break;
    case 3: m_checked[kDemoGasOrPlus] = true; break;
    case 5: m_checked[o2 ? kDemoGasIcu : kDemoGasCo2Only] = true; break;
    default: break;
    }
}

void CDemoConfigForm::CheckModel(DemoBox model)
{
    for (const DemoBox box : kModels)
        m_checked[box] = box == model;
}

void CDemoConfigForm::UncheckOptions()
{
    m_checked[kDemoBloodPressure] = false;
    for (const DemoBox box : kGasModules)
        m_checked[box] = false;
}

void CDemoConfigForm::Click(DemoBox box, bool nowChecked)
{
    if (IsModel(box)) {
        CheckModel(box);
        UncheckOptions();
    } else if (IsGasModule(box)) {
        for (const DemoBox other : kGasModules)
            m_checked[other] = other == box && nowChecked;
        CheckModel(kDemoTarvikPlus);
    } else if (box == kDemoBloodPressure) {
        m_checked[box] = nowChecked;
        m_featureBits = uint16_t(nowChecked ? m_featureBits | kFeatureNibp : m_featureBits & ~kFeatureNibp);
        CheckModel(kDemoTarvikPlus);
    } else if (box == kDemoExotic) {
        m_checked[box] = nowChecked;
        m_exotic = nowChecked;
    }
}

DemoModelChoice CDemoConfigForm::OnOK() const
{
    DemoModelChoice out;
    out.exoticHeartRates = m_exotic;
    out.featureBits = m_featureBits;
    out.gasModuleKind = m_gasModuleKind;
    out.deviceKind = 0;
    const auto model = [&](int32_t kind, uint16_t bits) {
        out.deviceKind = kind;
        out.featureBits = bits;
        out.gasModuleKind = 5;
    };
    if (m_checked[kDemoMoval]) {
        model(kDeviceMoval, 0x09);
    } else if (m_checked[kDemoTarvik]) {
        model(kDeviceTarvik, 0x0F);
    } else if (m_checked[kDemoTarvikPlus]) {
        model(kDeviceTarvikPlus, 0x0F);
        // In this order: a later checked module's kind wins.
        const struct {
            DemoBox box;
            uint16_t bits;
            int kind;  // -1: the kind stays
        } options[] = {
            {kDemoBloodPressure, 0x10, -1}, {kDemoGasOrPlus, 0x3E0, 3}, {kDemoGasOrIso, 0x1E0, 1},
            {kDemoGasOrSevo, 0x1E0, 0},     {kDemoGasOrSelectable, 0x1E0, 2}, {kDemoGasAx, 0x1A0, 2},
            {kDemoGasIcu, 0x60, 5},         {kDemoGasCo2Only, 0x20, 5},
        };
        for (const auto& option : options) {
            if (!m_checked[option.box])
                continue;
            out.featureBits = uint16_t(out.featureBits | option.bits);
            if (option.kind >= 0)
                out.gasModuleKind = uint8_t(option.kind);
        }
    } else if (m_checked[kDemoSelvo]) {
        model(kDeviceSelvo, 0x0B);
    } else if (m_checked[kDemoBrindle]) {
        model(kDeviceBrindle, 0x71);
    }
    return out;
}

CAgentChoice::CAgentChoice(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available,
                           const RemoteConfiguration& config, bool demoMode)
    : m_kind(gasModuleKind),
      m_demo(demoMode),
      m_primary(LoadRelaxed(config.primaryAgent)),
      m_secondary(LoadRelaxed(config.secondaryAgent))
{
    const AgentDisplayFlags shown{LoadRelaxed(config.showHalothane) != 0, LoadRelaxed(config.showEnflurane) != 0,
                                  LoadRelaxed(config.showDesflurane) != 0};
    m_lists.primaryShown = AgentListShown(gasModuleKind, false);
    m_lists.secondaryShown = AgentListShown(gasModuleKind, true);
    if (m_lists.primaryShown)
        m_lists.primary = AgentList(gasModuleKind, available, shown);
    if (m_lists.secondaryShown)
        m_lists.secondary = m_lists.primary;
    Reselect();
}

void CAgentChoice::Reselect()
{
    m_lists.primarySelection = AgentSelection(m_lists.primary, m_kind, m_primary);
    m_lists.secondarySelection = AgentSelection(m_lists.secondary, m_kind, m_secondary);
}

void CAgentChoice::SelectPrimary(int index)
{
    if (index < 0 || index >= int(m_lists.primary.size()))
        return;
    const int32_t code = m_lists.primary[size_t(index)].code;
    if (ChooseAgent(m_kind, false, code, m_primary, m_secondary) && m_kind == 2 && m_demo)
        m_livePrimary = uint8_t(code);
    Reselect();
}

void CAgentChoice::SelectSecondary(int index)
{
    if (index < 0 || index >= int(m_lists.secondary.size()))
        return;
    ChooseAgent(m_kind, true, m_lists.secondary[size_t(index)].code, m_primary, m_secondary);
    Reselect();
}

void CAgentChoice::Apply(RemoteConfiguration& config) const
{
    StoreRelaxed(config.primaryAgent, m_primary);
    StoreRelaxed(config.secondaryAgent, m_secondary);
}

int CuffSelection(int32_t cuffSize)
{
    return cuffSize >= 0 && cuffSize < int32_t(kCuffSizeTexts.size()) ? int(cuffSize) : -1;
}

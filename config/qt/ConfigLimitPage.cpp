#include "config/qt/ConfigLimitPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/SettingsNames.h"
#include "config/ConfigFilters.h"
#include "config/qt/ConfigTabDlg.h"
#include "config/qt/EditValidator.h"
#include "link/LiveData.h"

namespace {

// The halothane page keeps its resource ids; the other pages number their
// rows in blocks of their own.
constexpr int kHalothaneEdits[4][kSpeciesCount] = {
    {7270, 7350, 7430, 7510}, {7290, 7370, 7450, 7530}, {7310, 7390, 7470, 7550}, {7330, 7410, 7490, 7570}};
constexpr int kHalothaneEnables[4][kSpeciesCount] = {
    {7280, 7360, 7440, 7520}, {7300, 7380, 7460, 7540}, {7320, 7400, 7480, 7560}, {7340, 7420, 7600, 7500}};
constexpr int kApneaEdits[kSpeciesCount] = {4280, 5050, 5090, 5130};
constexpr int kApneaEnables[kSpeciesCount] = {4370, 4390, 4420, 4440};
constexpr int kGainCombos[kSpeciesCount] = {1351, 1370, 1371, 1372};
constexpr int kCuffCombos[kSpeciesCount] = {5770, 5470, 5730, 5750};

struct GasPage {
    ConfigPage page;
    const char* name;
    int unitIds[2];
    int displayId;   // 0: no display box
    const char* max;
    const char* min;
};
constexpr GasPage kGasPages[] = {
    {kPageCO2, "CO2", {6220, 6230}, 0, nullptr, nullptr},
    {kPageO2, "O2", {6560, 6570}, 0, "100.0%", "10.0 %"},
    {kPageN2O, "N2O", {6900, 6910}, 3690, "100.0%", "0.0 %"},
    {kPageHalothane, "Halothane", {7580, 7590}, 3770, "5.0%", "0.0 %"},
    {kPageEnflurane, "Enflurane", {7240, 7250}, 3760, "5.0%", "0.0 %"},
    {kPageIsoflurane, "Isoflurane", {7920, 7930}, 0, "5.0%", "0.0 %"},
    {kPageSevoflurane, "Sevoflurane", {8600, 8610}, 0, "8.0%", "0.0 %"},
    {kPageDesflurane, "Desflurane", {8260, 8270}, 3750, "18.0%", "0.0 %"},
};

const GasPage* GasPageOf(ConfigPage page)
{
    for (const GasPage& gas : kGasPages)
        if (gas.page == page)
            return &gas;
    return nullptr;
}

void Name(QWidget* widget, int id)
{
    widget->setObjectName(QString::number(id));
}

QComboBox* Combo(const QStringList& items, int id)
{
    auto* combo = new QComboBox;
    combo->addItems(items);
    Name(combo, id);
    return combo;
}

}  // namespace

ConfigLimitPage::ConfigLimitPage(ConfigTabCtrl& tabs, ConfigPage page, QWidget* parent)
    : QWidget(parent), m_tabs(tabs), m_page(page)
{
    Name(this, kPageDialogIds[page]);
    m_idBase = 10000 + 200 * page;
    Describe();
    Build();
}

ConfigWorkingCopy& ConfigLimitPage::Copy() const
{
    return m_tabs.WorkingCopy();
}

int ConfigLimitPage::GasIndex() const
{
    return m_page == kPageCO2 ? 0 : m_page == kPageO2 ? 1 : m_page == kPageN2O ? 2 : m_page - kPageHalothane + 3;
}

void ConfigLimitPage::Describe()
{
    auto columns = [&](std::initializer_list<const char*> labels, Kind kind) {
        for (const char* label : labels)
            m_columns.push_back({label, kind});
    };
    switch (m_page) {
    case kPageHrTemp:
        m_frameCaption = "Heart Rate and Temperature Alarm Limits";
        columns({"HR High:", "HR Low:"}, Kind::kInt);
        columns({"Temp High:", "Temp Low:"}, Kind::kTemperature);
        break;
    case kPageSpO2Resp:
        m_frameCaption = "SPO2 and Respiration Alarm Limits";
        columns({"SpO2 High:", "SpO2 Low:", "RR High:", "RR Low:"}, Kind::kInt);
        break;
    case kPageBp:
        m_frameCaption = "Blood Pressure Alarm Limits";
        columns({"Systolic High:", "Systolic Low", "Diastolic High", "Diastolic Low", "Mean Arterial High",
                 "Mean Arterial Low"},
                Kind::kInt);
        break;
    case kPageApnea:
        m_frameCaption = "Apnea Alarm Limits";
        columns({"Apnea Time [ 20...60 seconds ]"}, Kind::kApnea);
        break;
    default: {
        const QString name = GasPageOf(m_page)->name;
        m_frameCaption = "Inspired and Expired " + name + " Alarm Limits";
        const Kind kind = m_page == kPageCO2 ? Kind::kCO2 : Kind::kGas;
        for (const char* column : {" (I) High", " (I) Low", " (E) High", " (E) Low"})
            m_columns.push_back({name + column, kind});
        m_heads[0] = "Inspired";
        m_heads[1] = "Expired";
        break;
    }
    }
}

ConfigLimitPage::Slot ConfigLimitPage::ValueSlot(int column, int species) const
{
    ConfigWorkingCopy& w = Copy();
    switch (m_page) {
    case kPageHrTemp:
        return column < 2 ? Slot{&w.hr[column][species], nullptr} : Slot{nullptr, &w.temp[column - 2][species]};
    case kPageSpO2Resp:
        return {&w.spO2Resp[column][species], nullptr};
    case kPageBp:
        return {&w.bp[column][species], nullptr};
    case kPageApnea:
        return {&w.apneaSeconds[species], nullptr};
    default:
        return {nullptr, &GasGroupAt(w, GasIndex()).value[column][species]};
    }
}

int32_t& ConfigLimitPage::EnableSlot(int column, int species) const
{
    ConfigWorkingCopy& w = Copy();
    switch (m_page) {
    case kPageHrTemp:
        return w.hrTempEnable[column][species];
    case kPageSpO2Resp:
        return w.spO2RespEnable[column][species];
    case kPageBp:
        return w.bpEnable[column][species];
    case kPageApnea:
        return w.apneaEnable[species];
    default:
        return GasGroupAt(w, GasIndex()).enable[column][species];
    }
}

int32_t* ConfigLimitPage::UnitSlot() const
{
    if (m_page == kPageHrTemp)
        return &Copy().tempUnit;
    if (GasPageOf(m_page) != nullptr)
        return &GasGroupAt(Copy(), GasIndex()).unit;
    return nullptr;
}

QString ConfigLimitPage::ValueText(int column, int species) const
{
    const Slot slot = ValueSlot(column, species);
    const int32_t* unit = UnitSlot();
    const bool unit0 = unit != nullptr && *unit == 0;
    std::string text;
    switch (m_columns[column].kind) {
    case Kind::kInt:
    case Kind::kApnea: text = std::to_string(*slot.i); break;
    case Kind::kTemperature: text = TemperatureText(*slot.f, unit0); break;
    case Kind::kCO2: text = CO2Text(*slot.f, unit0); break;
    case Kind::kGas: text = GasText(*slot.f, unit0); break;
    }
    return QString::fromStdString(text);
}

QLabel* ConfigLimitPage::Note(const QString& text, int id)
{
    auto* label = new QLabel(text);
    if (id != 0)
        Name(label, id);
    m_side->addWidget(label);
    return label;
}

void ConfigLimitPage::AddUnits(const QString& frame, const QString& unit0, const QString& unit1, int id0, int id1)
{
    auto* box = new QGroupBox(frame);
    auto* layout = new QVBoxLayout(box);
    const QString texts[2] = {unit0, unit1};
    const int ids[2] = {id0, id1};
    for (int unit = 0; unit < 2; ++unit) {
        m_unitRadios[unit] = new QRadioButton(texts[unit]);
        Name(m_unitRadios[unit], ids[unit]);
        layout->addWidget(m_unitRadios[unit]);
        connect(m_unitRadios[unit], &QRadioButton::clicked, this, [this, unit] { OnUnitClicked(unit); });
    }
    m_side->addWidget(box);
}

bool ConfigLimitPage::SideUnderRows() const
{
    // Beside six columns of limits the side would make the page too wide
    // for a 1024 x 768 screen.
    return ColumnCount() > 4;
}

void ConfigLimitPage::Build()
{
    QBoxLayout* outer = SideUnderRows() ? static_cast<QBoxLayout*>(new QVBoxLayout(this)) : new QHBoxLayout(this);
    m_frame = new QGroupBox(m_frameCaption);
    if (m_page == kPageSpO2Resp)
        Name(m_frame, 1361);
    auto* rows = new QVBoxLayout(m_frame);
    if (!m_heads[0].isEmpty()) {
        auto* heads = new QHBoxLayout;
        for (int pair = 0; pair < 2; ++pair) {
            auto* head = new QLabel(m_heads[pair]);
            head->setAlignment(Qt::AlignCenter);
            heads->addWidget(head, 1);
        }
        rows->addLayout(heads);
    }
    for (int s = 0; s < kSpeciesCount; ++s)
        rows->addWidget(BuildSpeciesRow(s));
    outer->addWidget(m_frame, 1);
    outer->addWidget(BuildSide());
}

QGroupBox* ConfigLimitPage::BuildSpeciesRow(int s)
{
    auto* row = new QGroupBox(kSpeciesNames[s]);
    auto* grid = new QGridLayout(row);
    const bool halothane = m_page == kPageHalothane;
    const bool apnea = m_page == kPageApnea;
    for (int col = 0; col < ColumnCount(); ++col) {
        const int pair = col / 2;
        const int line = col % 2;
        auto* label = new QLabel(m_columns[col].label);
        auto* edit = new QLineEdit;
        auto* enable = new QCheckBox("Enable");
        const int base = m_idBase + 20 * col + 2 * s;
        Name(edit, halothane ? kHalothaneEdits[col][s] : apnea ? kApneaEdits[s] : base);
        Name(enable, halothane ? kHalothaneEnables[col][s] : apnea ? kApneaEnables[s] : base + 1);
        Name(label, halothane ? 2280 + 40 * col + 10 * s : m_idBase + 150 + 4 * col + s);
        const Kind kind = m_columns[col].kind;
        edit->setValidator(new CEditValidator(kind == Kind::kInt     ? JudgeWhole
                                              : kind == Kind::kApnea ? JudgeApnea
                                                                     : JudgeDecimal,
                                              [this, col, s] { return ValueText(col, s); }, edit));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")));
        grid->addWidget(label, line, 3 * pair);
        grid->addWidget(edit, line, 3 * pair + 1);
        grid->addWidget(enable, line, 3 * pair + 2);
        m_labels[col][s] = label;
        m_edits[col][s] = edit;
        m_enables[col][s] = enable;
        connect(edit, &QLineEdit::textChanged, this, [this, col, s](const QString& text) { OnEditChanged(col, s, text); });
        connect(enable, &QCheckBox::clicked, this, [this, col, s](bool checked) { OnEnableClicked(col, s, checked); });
    }
    const int comboColumn = 3 * ((ColumnCount() + 1) / 2);
    if (m_page == kPageHrTemp || m_page == kPageBp) {
        const bool gain = m_page == kPageHrTemp;
        auto* label = new QLabel(gain ? "ECG Gain:" : "Cuff Size");
        QComboBox* combo =
            gain ? Combo({"x 0.5 (  5mm/1mV)", "x 1.0 (10mm/1mV)", "x 2.0 (20mm/1mV)", "x 3.0 (30mm/1mV)",
                          "x 4.0 (40mm/1mV)"},
                         kGainCombos[s])
                 : Combo({"# 1", "# 2", "# 3", "# 4", "# 5-7", "# 8", "ADULT"}, kCuffCombos[s]);
        if (gain)
            Name(label, 1373 + s);
        grid->addWidget(label, 0, comboColumn);
        grid->addWidget(combo, 1, comboColumn);
        m_speciesCombos[s] = combo;
        m_speciesComboLabels[s] = label;
        connect(combo, &QComboBox::activated, this, [this, s, gain](int index) {
            ConfigWorkingCopy& w = Copy();
            if (gain) {
                // Only the five gains are taken.
                if (index >= 0 && index <= 4)
                    w.gain[s] = index;
            } else {
                w.cuffSize[s] = index;
            }
        });
    }
    // Each pair of columns takes the same share, so that the heads above
    // the rows stand over their pairs.
    for (int pair = 0; pair < (ColumnCount() + 1) / 2; ++pair)
        grid->setColumnStretch(3 * pair + 2, 1);
    return row;
}

QWidget* ConfigLimitPage::BuildSide()
{
    auto* side = new QWidget;
    if (SideUnderRows()) {
        m_side = new QHBoxLayout(side);
        m_side->setSpacing(2 * side->fontMetrics().averageCharWidth());
    } else {
        m_side = new QVBoxLayout(side);
    }
    m_side->setContentsMargins(0, 0, 0, 0);
    switch (m_page) {
    case kPageHrTemp:
        AddUnits("Temperature Units", "Celsius", "Fahrenheit", 4340, 4410);
        Note("MAX HR Alarm Limit.... 800\nMIN  HR Alarm  Limit... 0");
        Note("MAX Temp Alarm Limit.... 110 (F)\nMIN  Temp Alarm  Limit... 70   (F)");
        break;
    case kPageSpO2Resp:
        m_spO2Notes.push_back(Note("MAX SpO2 Alarm Limit.... 100%\nMIN  SpO2 Alarm  Limit... 70%", 1362));
        m_spO2Notes.push_back(Note("(Volume percent)", 1364));
        Note("MAX RR Alarm Limit.... 120\nMIN  RR Alarm  Limit... 0");
        break;
    case kPageBp: {
        // Side by side, each caption over its control.
        const auto cell = [this](QWidget* top, QWidget* bottom) {
            auto* cell = new QVBoxLayout;
            cell->addWidget(top);
            cell->addWidget(bottom);
            cell->addStretch(1);
            m_side->addLayout(cell);
        };
        cell(new QLabel("NOTE: All pressure units in mmHg"),
             new QLabel("MAX Alarm Limit.... 300 mmHg\nMIN  Alarm  Limit... 0 mmHg"));
        m_interval = Combo({"1 Minute", "2 Minutes", "3 Minutes", "5 Minutes", "10 Minutes", "15 Minutes",
                            "30 Minutes", "60 Minutes"},
                           4920);
        cell(new QLabel("Measurement time interval"), m_interval);
        connect(m_interval, &QComboBox::activated, this, [this](int index) {
            Copy().bpInterval = index;
        });
        m_initialPressure = new QLineEdit;
        Name(m_initialPressure, 4880);
        const auto pressureText = [this] { return QString::number(Copy().initialPressure); };
        m_initialPressure->setValidator(new CEditValidator(JudgeWhole, pressureText, m_initialPressure));
        cell(new QLabel("Initial Cuff Inflation Pressure"), m_initialPressure);
        connect(m_initialPressure, &QLineEdit::textChanged, this, [this, pressureText](const QString& text) {
            const FilterResult result = FilterInteger(text.toStdString());
            if (result.action == FilterAction::kStore) {
                Copy().initialPressure = static_cast<int32_t>(result.value);
            } else if (result.action == FilterAction::kRefuse && text != pressureText()) {
                m_initialPressure->setText(pressureText());
            }
        });
        m_bpTone = new QCheckBox("Measurement Complete Tone");
        Name(m_bpTone, 5030);
        m_side->addWidget(m_bpTone, 0, Qt::AlignTop);
        connect(m_bpTone, &QCheckBox::clicked, this, [this](bool checked) { Copy().bpNotifyTone = checked ? 1 : 0; });
        break;
    }
    case kPageApnea:
        break;
    default: {
        const GasPage& gas = *GasPageOf(m_page);
        AddUnits(QString(gas.name) + " Units", "mmHg (Partial Pressure)", "%  (Volume Percent)", gas.unitIds[0],
                 gas.unitIds[1]);
        if (m_page != kPageCO2) {
            Note(QString("NOTE: Enter %1 limits\nin currently selected Units").arg(gas.name));
            Note(QString("MAX Alarm Limit.... %1\nMIN  Alarm  Limit... %2").arg(gas.max, gas.min));
        }
        if (gas.displayId != 0) {
            m_display = new QCheckBox(QString("Enable %1 Display").arg(gas.name));
            Name(m_display, gas.displayId);
            m_side->addWidget(m_display);
            connect(m_display, &QCheckBox::clicked, this,
                    [this](bool checked) { GasGroupAt(Copy(), GasIndex()).display = checked ? 1 : 0; });
        }
        if (m_page == kPageCO2) {
            m_side->addWidget(new QLabel("CO2 Waveform Full Scale"));
            m_co2Scale = Combo({"5% or 40 mmHg", "12.5% or 100 mmHg"}, 3700);
            m_side->addWidget(m_co2Scale);
            connect(m_co2Scale, &QComboBox::activated, this, [this](int index) {
                Copy().co2Scale = index;
            });
            auto* label = new QLabel("Expected O2 Environment");
            Name(label, 3730);
            m_side->addWidget(label);
            m_o2Environment = Combo({"0%- 30%", "30% - 70%", "70% - 100%"}, 3680);
            m_side->addWidget(m_o2Environment);
            connect(m_o2Environment, &QComboBox::activated, this, [this](int index) {
                Copy().o2Environment = index;
            });
            QLabel* note = Note("Note: Only used for Gas probes\nthat do not measure O2 directly", 3740);
            m_o2EnvironmentParts = {label, m_o2Environment, note};
            m_breathTones = new QCheckBox("Enable Breath Tones");
            Name(m_breathTones, 6250);
            m_side->addWidget(m_breathTones);
            connect(m_breathTones, &QCheckBox::clicked, this, [this](bool checked) {
                Copy().breathTones = checked ? 1 : 0;
            });
        }
        break;
    }
    }
    m_side->addStretch(1);
    return side;
}

void ConfigLimitPage::OnInitDialog()
{
    ConfigWorkingCopy& w = Copy();
    if (int32_t* unit = UnitSlot()) {
        const int shown = m_page == kPageHrTemp ? (*unit != 0 ? 1 : 0) : *unit;
        if (shown == 0 || shown == 1)
            m_unitRadios[shown]->setChecked(true);
    }
    if (m_display != nullptr)
        m_display->setChecked(GasGroupAt(w, GasIndex()).display == 1);
    for (int s = 0; s < kSpeciesCount; ++s) {
        for (int col = 0; col < ColumnCount(); ++col) {
            m_edits[col][s]->setText(ValueText(col, s));
            m_enables[col][s]->setChecked(EnableSlot(col, s) == 1);
        }
        if (m_speciesCombos[s] != nullptr)
            m_speciesCombos[s]->setCurrentIndex(m_page == kPageHrTemp ? w.gain[s] : w.cuffSize[s]);
    }
    if (m_page == kPageBp) {
        m_interval->setCurrentIndex(w.bpInterval);
        m_initialPressure->setText(QString::number(w.initialPressure));
        m_bpTone->setChecked(w.bpNotifyTone != 0);
    }
    if (m_page == kPageCO2) {
        m_co2Scale->setCurrentIndex(w.co2Scale);
        m_o2Environment->setCurrentIndex(w.o2Environment);
        m_breathTones->setChecked(w.breathTones != 0);
    }
    HideForMode();
}

void ConfigLimitPage::HideForMode()
{
    if (m_tabs.configMode != kConfigCurrent)
        return;
    const ConfigWorkingCopy& w = Copy();
    for (int s = 0; s < kSpeciesCount; ++s) {
        if (s == w.species)
            continue;
        for (int col = 0; col < ColumnCount(); ++col) {
            m_edits[col][s]->hide();
            m_enables[col][s]->hide();
            m_labels[col][s]->hide();
        }
        if (m_speciesCombos[s] != nullptr) {
            m_speciesCombos[s]->hide();
            m_speciesComboLabels[s]->hide();
        }
    }
    if (m_display != nullptr)
        m_display->hide();
    if (m_bpTone != nullptr)
        m_bpTone->hide();
    if (m_page == kPageCO2 && (g_liveData.featureBits & kFeatureO2) != 0)
        for (QWidget* part : m_o2EnvironmentParts)
            part->hide();
    if (m_page == kPageSpO2Resp && w.spO2Present == 0) {
        m_frame->setTitle("Respiration Alarm Limits");
        for (QWidget* note : m_spO2Notes)
            note->hide();
        if (w.species >= 0 && w.species < kSpeciesCount)
            for (int col = 0; col < 2; ++col) {
                m_edits[col][w.species]->hide();
                m_enables[col][w.species]->hide();
                m_labels[col][w.species]->hide();
            }
    }
}

void ConfigLimitPage::OnEditChanged(int column, int species, const QString& text)
{
    const Slot slot = ValueSlot(column, species);
    const int32_t* unit = UnitSlot();
    const bool unit0 = unit != nullptr && *unit == 0;
    const std::string typed = text.toStdString();
    FilterResult result;
    switch (m_columns[column].kind) {
    case Kind::kInt: result = FilterInteger(typed); break;
    case Kind::kApnea: result = FilterApnea(typed); break;
    case Kind::kTemperature: result = FilterTemperature(typed, unit0, *slot.f); break;
    case Kind::kCO2: result = FilterCO2(typed, unit0, *slot.f); break;
    case Kind::kGas: result = FilterGas(typed, unit0); break;
    }
    if (result.action == FilterAction::kRefuse) {
        // Only a text set from the program gets here: the last valid one
        // goes back (a stored value that is itself refused stays as it is).
        const QString last = ValueText(column, species);
        if (text != last)
            m_edits[column][species]->setText(last);
        return;
    }
    if (result.action != FilterAction::kStore)
        return;
    if (slot.i != nullptr)
        *slot.i = static_cast<int32_t>(result.value);
    else
        *slot.f = static_cast<float>(result.value);
}

void ConfigLimitPage::OnEnableClicked(int column, int species, bool checked)
{
    EnableSlot(column, species) = checked ? 1 : 0;
}

void ConfigLimitPage::OnUnitClicked(int unit)
{
    *UnitSlot() = unit;
    RewriteEdits();
}

void ConfigLimitPage::RewriteEdits()
{
    // The new texts go through the filters like typing: a gas page stores
    // the shown one-decimal values back.
    for (int s = 0; s < kSpeciesCount; ++s)
        for (int col = 0; col < ColumnCount(); ++col)
            if (m_columns[col].kind != Kind::kInt)
                m_edits[col][s]->setText(ValueText(col, s));
}

#include "config/qt/ConfigGeneralDlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "config/ConfigFilters.h"
#include "config/GeneralPage.h"
#include "config/qt/ConfigTabDlg.h"
#include "config/qt/EditValidator.h"
#include "link/LiveData.h"

namespace {

QString Id(int id)
{
    return QString::number(id);
}

}  // namespace

ConfigGeneralDlg::ConfigGeneralDlg(ConfigTabCtrl& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs)
{
    setObjectName(Id(kPageDialogIds[kPageGeneral]));
    Build();
}

ConfigWorkingCopy& ConfigGeneralDlg::Copy() const
{
    return m_tabs.WorkingCopy();
}

QWidget* ConfigGeneralDlg::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QWidget* ConfigGeneralDlg::Add(QWidget* widget, int id)
{
    if (id != 0) {
        widget->setObjectName(Id(id));
        m_controls[id] = widget;
    }
    return widget;
}

QCheckBox* ConfigGeneralDlg::Check(int id, const char* text)
{
    auto* box = new QCheckBox(text);
    Add(box, id);
    return box;
}

void ConfigGeneralDlg::Build()
{
    BuildControls();
    BuildLayout();
}

void ConfigGeneralDlg::BuildControls()
{
    for (const GeneralCheck& check : kGeneralChecks)
        connect(Check(check.id, check.text), &QCheckBox::clicked, this,
                [this, field = check.field](bool checked) { Copy().*field = checked ? 1 : 0; });
    connect(Check(kAutoSaveCheck.id, kAutoSaveCheck.text), &QCheckBox::clicked, this, [this](bool checked) {
        Copy().autoSave = checked ? 1 : 0;
        for (const int id : kRecordModeControls)
            m_shown[id] = checked;
        ApplyVisibility();
    });
    connect(Check(kHighRatesCheck.id, kHighRatesCheck.text), &QCheckBox::clicked, this,
            &ConfigGeneralDlg::OnHighRatesClicked);
    connect(Check(kSpecifyPortId, kSpecifyPortText), &QCheckBox::clicked, this,
            &ConfigGeneralDlg::OnSpecifyComPort);

    for (int pair = 0; pair < static_cast<int>(kGeneralPairs.size()); ++pair)
        for (int box = 0; box < 2; ++box)
            connect(Check(kGeneralPairs[pair].ids[box], kGeneralPairs[pair].texts[box]), &QCheckBox::clicked, this,
                    [this, pair, box](bool checked) { OnPairClicked(pair, box, checked); });

    for (const GeneralCombo& def : kGeneralCombos) {
        auto* combo = new QComboBox;
        for (const char* item : def.items)
            combo->addItem(item);
        Add(combo, def.id);
        connect(combo, &QComboBox::activated, this, [this, &def](int index) {
            if (index >= 0 && index < static_cast<int>(def.values.size()))
                Copy().*def.field = def.values[index];
        });
    }
    for (int list = 0; list < 2; ++list) {
        m_agentLists[list] = new QComboBox;
        Add(m_agentLists[list], list == 0 ? 3790 : 3800);
        connect(m_agentLists[list], &QComboBox::activated, this,
                [this, list](int index) { OnAgentActivated(list, index); });
    }

    // Digits only; the port's text goes through the limit pages' integer
    // filter, the hospital number is kept as typed.
    auto* port = new QLineEdit;
    const auto portText = [this] { return QString::number(Copy().portNum); };
    port->setValidator(new CEditValidator(JudgeWhole, portText, port));
    port->setMaximumWidth(port->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")));
    Add(port, 4220);
    connect(port, &QLineEdit::textChanged, this, [this, port, portText](const QString& text) {
        const FilterResult result = FilterInteger(text.toStdString());
        if (result.action == FilterAction::kStore)
            Copy().portNum = static_cast<int32_t>(result.value);
        else if (result.action == FilterAction::kRefuse && text != portText())
            port->setText(portText());
    });
    auto* hospital = new QLineEdit;
    hospital->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), hospital));
    Add(hospital, 3990);
    connect(hospital, &QLineEdit::textChanged, this,
            [this](const QString& text) { Copy().hospital = text.toStdString(); });

    m_recordPath = new QLineEdit;
    m_recordPath->setReadOnly(true);
    m_recordPath->setFocusPolicy(Qt::NoFocus);
    Add(m_recordPath, 5380);
    auto* select = new QPushButton("Select Directory...");
    select->setAutoDefault(false);
    Add(select, 5350);
    connect(select, &QPushButton::clicked, this, &ConfigGeneralDlg::OnSelectDirectory);

    const std::pair<int, const char*> labels[] = {
        {6110, "Wireless Remote Com Port Number:"},
        {3810, "Primary"},
        {3820, "Secondary"},
        {3720, "Vital Signs Logging Interval"},
        {3420, "Current Patient Episode Directory...."},
        {1352, "Hospital Number"},
        {1359, "Alarm and Beat Tones"},
    };
    for (const auto& [id, text] : labels)
        Add(new QLabel(text), id);
}

void ConfigGeneralDlg::BuildLayout()
{
    auto* columns = new QHBoxLayout;
    QVBoxLayout* column[4];
    for (int c = 0; c < 4; ++c) {
        m_columns[c] = new QWidget;
        column[c] = new QVBoxLayout(m_columns[c]);
        column[c]->setContentsMargins(0, 0, 0, 0);
        columns->addWidget(m_columns[c], 1);
    }
    Row(column[0], {5640}, false);
    Row(column[0], {6110, 4220});
    Frame(column[0], "Species", 3920, {4780});
    Frame(column[0], " ECG Sweep Rate", 1367, {4230});
    Frame(column[0], "RR/CO2/O2 Sweep Rate", 4040, {4250});
    Frame(column[0], "Maximum ECG Waveforms", 4041, {4251});
    Frame(column[0], "Weight Unit", 1377, {4252});

    Frame(column[1], "ECG Features", 1366, {4320, 4380, 4330, 4360});
    Frame(column[1], "ECG Notch Filter", 3930, {3860, 3850}, true);
    Frame(column[1], "ECG Low Pass Filter", 1365, {3840, 3830}, true);
    Frame(column[1], "Print Report", 0, {3870, 3880}, true);

    QWidget* alarms = Frame(column[2], "Alarm settings", 0, {6100, 6080});
    // Broken by hand: a wrapped label is given the height of its widest
    // layout, and the columns narrow in mode 1.
    auto* note = new QLabel("Alarms must also be enabled in the\nconfiguration screen for each parameter.");
    alarms->layout()->addWidget(note);
    Frame(column[2], "Episode Reviewer", 3900, {5410, 3890});
    Frame(column[2], "Automatic Trend Graph Display", 0, {4800});
    Frame(column[2], "Waveforms", 3710, {5550, 5590, 5610});

    QWidget* agents = Frame(column[3], "Anesthesia Agents", 3780, {});
    auto* grid = new QGridLayout;
    grid->addWidget(Control(3810), 0, 0);
    grid->addWidget(Control(3790), 0, 1);
    grid->addWidget(Control(3820), 1, 0);
    grid->addWidget(Control(3800), 1, 1);
    grid->setColumnStretch(1, 1);
    static_cast<QVBoxLayout*>(agents->layout())->addLayout(grid);
    m_groups.back().members = {3810, 3790, 3820, 3800};
    Row(column[3], {3940, 1346, 3970, 1369, 1356}, false);
    Row(column[3], {3720, 4820});
    Row(column[3], {1359, 4782});
    auto* snoozeRow = new QHBoxLayout;
    snoozeRow->addWidget(new QLabel("Alarm Tone Snooze:"));
    snoozeRow->addWidget(Control(1351));
    snoozeRow->addStretch(1);
    column[3]->addLayout(snoozeRow);
    Row(column[3], {1352, 3990});
    for (QVBoxLayout* c : column)
        c->addStretch(1);

    // The recording settings share a band under the columns: its long
    // texts in a column would widen the page past a 1024 x 768 screen.
    auto* recording = new QHBoxLayout;
    Frame(recording, "Patient Episode Recording Mode", 3400, {6050, 5710});
    Frame(recording, "Patient Episode Directory (location for Recorded waveform and Event storage)", 3410,
          {3420, 5380, 5350}, true);
    recording->setStretch(1, 1);
    static_cast<QBoxLayout*>(Control(3410)->layout())->setStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(recording);
}

QWidget* ConfigGeneralDlg::Frame(QLayout* column, const QString& title, int id, const std::vector<int>& members,
                                 bool horizontal)
{
    auto* frame = new QGroupBox(title);
    Add(frame, id);
    QBoxLayout* inner = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(frame)) : new QVBoxLayout(frame);
    for (const int member : members)
        inner->addWidget(Control(member));
    column->addWidget(frame);
    m_groups.push_back({frame, id, true, members});
    return frame;
}

QWidget* ConfigGeneralDlg::Row(QLayout* column, const std::vector<int>& members, bool horizontal)
{
    auto* row = new QWidget;
    QBoxLayout* inner = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(row)) : new QVBoxLayout(row);
    inner->setContentsMargins(0, 0, 0, 0);
    for (const int member : members)
        inner->addWidget(Control(member));
    if (horizontal)
        inner->addStretch(1);
    column->addWidget(row);
    m_groups.push_back({row, 0, false, members});
    return row;
}

void ConfigGeneralDlg::ApplyVisibility()
{
    const auto shown = [this](int id) {
        const auto it = m_shown.find(id);
        return it == m_shown.end() || it->second;
    };
    std::vector<QWidget*> groupWidgets;
    for (const Group& group : m_groups)
        groupWidgets.push_back(group.widget);
    for (const auto& [id, widget] : m_controls)
        if (std::find(groupWidgets.begin(), groupWidgets.end(), widget) == groupWidgets.end())
            widget->setVisible(shown(id));
    // A frame shows while the rules show it or anything in it: a box the
    // rules show never vanishes with its frame.
    for (const Group& group : m_groups) {
        bool visible = group.id != 0 ? shown(group.id) : group.shownUnnamed;
        for (const int member : group.members)
            visible = visible || shown(member);
        group.widget->setVisible(visible);
    }
    // A column with nothing left to show gives its width to the others.
    for (QWidget* column : m_columns) {
        bool visible = false;
        for (const Group& group : m_groups)
            visible = visible || (group.widget->parentWidget() == column && !group.widget->isHidden());
        column->setVisible(visible);
    }
}

void ConfigGeneralDlg::OnInitDialog()
{
    ConfigWorkingCopy& w = Copy();
    const LiveData& live = g_liveData;
    const ConfigTabCtrl::PageServices& services = m_tabs.services;

    // Both lists are offered for the defaults; none without a gas module.
    // The kind is the page's own: the module measures on as it reported,
    // whatever the dialog offers.
    m_gasModuleKind = GeneralGasModuleKind(m_tabs.configMode, live.deviceKind, live.featureBits, live.gasModuleKind);

    static_cast<QLineEdit*>(Control(4220))->setText(QString::number(w.portNum));
    static_cast<QCheckBox*>(Control(kSpecifyPortId))->setChecked(PortSpecified(w));
    for (const GeneralCheck& check : kGeneralChecks)
        static_cast<QCheckBox*>(Control(check.id))->setChecked(w.*check.field != 0);
    static_cast<QCheckBox*>(Control(kAutoSaveCheck.id))->setChecked(w.autoSave != 0);
    static_cast<QCheckBox*>(Control(kHighRatesCheck.id))->setChecked(w.heartRatesAbove400 != 0);
    for (int pair = 0; pair < static_cast<int>(kGeneralPairs.size()); ++pair)
        ShowPair(pair);
    for (const GeneralCombo& def : kGeneralCombos)
        static_cast<QComboBox*>(Control(def.id))->setCurrentIndex(GeneralComboIndex(def, w.*def.field));
    static_cast<QLineEdit*>(Control(3990))->setText(QString::fromStdString(w.hospital));
    m_recordPath->setText(QString::fromStdString(w.recordPath));

    GeneralPageInputs in;
    in.mode = m_tabs.configMode;
    in.demo = services.demo;
    in.deviceKind = live.deviceKind;
    in.featureBits = live.featureBits;
    in.ecgProgramsPresent = services.ecgProgramsPresent;
    in.gasModuleKind = m_gasModuleKind;
    m_shown = GeneralPageVisibility(in, w);
    FillAgentLists();
    ApplyVisibility();
}

void ConfigGeneralDlg::FillAgentLists()
{
    std::array<uint8_t, 5> available{};
    for (size_t i = 0; i < available.size(); ++i)
        available[i] = g_liveData.agentAvailable[i];
    m_agentEntries = GeneralAgentList(m_gasModuleKind, available, Copy());
    for (int list = 0; list < 2; ++list) {
        m_agentLists[list]->clear();
        if (!AgentListShown(m_gasModuleKind, list == 1))
            continue;
        for (const AgentEntry& entry : m_agentEntries)
            m_agentLists[list]->addItem(QString::fromStdString(entry.text));
        SelectAgent(list);
    }
}

void ConfigGeneralDlg::SelectAgent(int list)
{
    const int32_t agent = list == 0 ? Copy().primaryAgent : Copy().secondaryAgent;
    m_agentLists[list]->setCurrentIndex(AgentSelection(m_agentEntries, m_gasModuleKind, agent));
}

void ConfigGeneralDlg::OnAgentActivated(int list, int index)
{
    if (index < 0 || index >= static_cast<int>(m_agentEntries.size()))
        return;
    // A refused choice shows the agent kept, so that the list never shows
    // what will not be stored; a fixed agent's entry chooses nothing.
    const bool fixedAgent = m_gasModuleKind < 2;
    if (!ChooseAgent(Copy(), m_gasModuleKind, list == 1, m_agentEntries[size_t(index)].code) && !fixedAgent)
        SelectAgent(list);
}

void ConfigGeneralDlg::ShowPair(int pair)
{
    const GeneralPair& def = kGeneralPairs[pair];
    const int32_t field = Copy().*def.field;
    for (int box = 0; box < 2; ++box)
        static_cast<QCheckBox*>(Control(def.ids[box]))->setChecked(PairBoxChecked(def, box, field));
}

void ConfigGeneralDlg::OnPairClicked(int pair, int box, bool checked)
{
    const GeneralPair& def = kGeneralPairs[pair];
    if (pair == kLowPassPair) {
        // Checking "Low" or unchecking "High" chooses Low.
        if ((box == 0) == checked)
            ChooseLowBandwidth(Copy(), *m_tabs.services.prompter);
        else
            Copy().bandwidth = 0;
    } else {
        Copy().*def.field = def.values[checked ? box : 1 - box];
    }
    ShowPair(pair);
}

void ConfigGeneralDlg::OnHighRatesClicked(bool checked)
{
    ConfigWorkingCopy& w = Copy();
    if (!checked) {
        w.heartRatesAbove400 = 0;
        return;
    }
    if (!ConfirmHighHeartRates(w, *m_tabs.services.prompter))
        static_cast<QCheckBox*>(Control(kHighRatesCheck.id))->setChecked(false);
    ShowPair(kLowPassPair);
}

void ConfigGeneralDlg::OnSpecifyComPort()
{
    const bool specified = static_cast<QCheckBox*>(Control(kSpecifyPortId))->isChecked();
    Copy().winBluetooth = specified ? 0 : 1;
    for (const int id : kPortControls)
        m_shown[id] = specified;
    ApplyVisibility();
}

void ConfigGeneralDlg::OnSelectDirectory()
{
    const ConfigTabCtrl::PageServices& services = m_tabs.services;
    if (services.folderChooser == nullptr || services.prompter == nullptr)
        return;
    if (SelectRecordFolder(Copy(), *services.folderChooser, *services.prompter))
        m_recordPath->setText(QString::fromStdString(Copy().recordPath));
}

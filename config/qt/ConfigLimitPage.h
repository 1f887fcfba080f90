#pragma once
// One alarm-limit page of the product configuration dialog: four species
// rows of limit edits with their Enable boxes, and the page's extras
// (units, display box, combos, notes). Every change lands in the working
// copy at once; nothing is validated here.
//
// Edits refuse a keystroke that would leave no value (CEditValidator) and
// filter on textChanged, so that a text set from the program (the
// filling, a unit switch) is read back like typing. Combos take
// `activated`, boxes and radios `clicked`: a control set from the program
// stores nothing.
#include <QWidget>
#include <array>
#include <vector>

#include "config/ConfigTabs.h"
#include "config/ConfigWorkingCopy.h"

class ConfigTabCtrl;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QBoxLayout;

class ConfigLimitPage : public QWidget {
    Q_OBJECT
public:
    ConfigLimitPage(ConfigTabCtrl& tabs, ConfigPage page, QWidget* parent = nullptr);

    // Fills the controls from the working copy and hides what mode 1 does
    // not show.
    void OnInitDialog();

    ConfigPage Page() const { return m_page; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    QLineEdit* Edit(int column, int species) const { return m_edits[column][species]; }
    QCheckBox* EnableBox(int column, int species) const { return m_enables[column][species]; }
    QLabel* Label(int column, int species) const { return m_labels[column][species]; }
    QRadioButton* UnitRadio(int unit) const { return m_unitRadios[unit]; }
    QCheckBox* DisplayBox() const { return m_display; }
    QComboBox* SpeciesCombo(int species) const { return m_speciesCombos[species]; }

private:
    enum class Kind { kInt, kTemperature, kCO2, kGas, kApnea };
    struct Column {
        QString label;
        Kind kind;
    };
    struct Slot {
        int32_t* i = nullptr;
        float* f = nullptr;
    };

    ConfigWorkingCopy& Copy() const;
    Slot ValueSlot(int column, int species) const;
    int32_t& EnableSlot(int column, int species) const;
    int32_t* UnitSlot() const;
    int GasIndex() const;
    QString ValueText(int column, int species) const;

    void Describe();
    void Build();
    QGroupBox* BuildSpeciesRow(int species);
    QWidget* BuildSide();
    bool SideUnderRows() const;
    QLabel* Note(const QString& text, int id = 0);
    void AddUnits(const QString& frame, const QString& unit0, const QString& unit1, int id0, int id1);

    void OnEditChanged(int column, int species, const QString& text);
    void OnEnableClicked(int column, int species, bool checked);
    void OnUnitClicked(int unit);
    void RewriteEdits();
    void HideForMode();

    ConfigTabCtrl& m_tabs;
    const ConfigPage m_page;
    QString m_frameCaption;
    QString m_heads[3];
    std::vector<Column> m_columns;
    int m_idBase = 0;

    std::array<std::array<QLineEdit*, kSpeciesCount>, 6> m_edits{};
    std::array<std::array<QCheckBox*, kSpeciesCount>, 6> m_enables{};
    std::array<std::array<QLabel*, kSpeciesCount>, 6> m_labels{};
    std::array<QComboBox*, kSpeciesCount> m_speciesCombos{};
    std::array<QLabel*, kSpeciesCount> m_speciesComboLabels{};
    std::array<QRadioButton*, 2> m_unitRadios{};
    QGroupBox* m_frame = nullptr;
    QBoxLayout* m_side = nullptr;
    QCheckBox* m_display = nullptr;
    QCheckBox* m_bpTone = nullptr;
    QComboBox* m_interval = nullptr;
    QLineEdit* m_initialPressure = nullptr;
    QComboBox* m_co2Scale = nullptr;
    QComboBox* m_o2Environment = nullptr;
    QCheckBox* m_breathTones = nullptr;
    std::vector<QWidget*> m_o2EnvironmentParts;
    std::vector<QWidget*> m_spO2Notes;
};

// The twelve limit pages by name; each is the page of its id.
#define QUORIN_LIMIT_PAGE(Name, page)                                                   \
    class Name : public ConfigLimitPage {                                               \
    public:                                                                             \
        explicit Name(ConfigTabCtrl& tabs, QWidget* parent = nullptr)                   \
            : ConfigLimitPage(tabs, page, parent) {}                                    \
    };
QUORIN_LIMIT_PAGE(ConfigHrTempDlg, kPageHrTemp)
QUORIN_LIMIT_PAGE(ConfigSpO2RespDlg, kPageSpO2Resp)
QUORIN_LIMIT_PAGE(ConfigBpDlg, kPageBp)
QUORIN_LIMIT_PAGE(ConfigApneaDlg, kPageApnea)
QUORIN_LIMIT_PAGE(ConfigCO2Dlg, kPageCO2)
QUORIN_LIMIT_PAGE(ConfigO2Dlg, kPageO2)
QUORIN_LIMIT_PAGE(ConfigN2ODlg, kPageN2O)
QUORIN_LIMIT_PAGE(ConfigHalothaneDlg, kPageHalothane)
QUORIN_LIMIT_PAGE(ConfigEnfluraneDlg, kPageEnflurane)
QUORIN_LIMIT_PAGE(ConfigIsofluraneDlg, kPageIsoflurane)
QUORIN_LIMIT_PAGE(ConfigSevofluraneDlg, kPageSevoflurane)
QUORIN_LIMIT_PAGE(ConfigDesfluraneDlg, kPageDesflurane)
#undef QUORIN_LIMIT_PAGE

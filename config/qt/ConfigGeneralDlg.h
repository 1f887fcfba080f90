#pragma once
// The General page of the product configuration dialog: every setting
// that is not an alarm limit. Each change lands in the working copy at
// once; the rules live in config/GeneralPage.h, the page only mirrors them.
//
// Edits filter on textChanged; combos take `activated`, boxes `clicked`:
// a control set from the program stores nothing.
#include <QWidget>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "config/AgentList.h"
#include "config/ConfigWorkingCopy.h"

class ConfigTabCtrl;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLayout;
class QLineEdit;

class ConfigGeneralDlg : public QWidget {
    Q_OBJECT
public:
    explicit ConfigGeneralDlg(ConfigTabCtrl& tabs, QWidget* parent = nullptr);

    // Values, what shows by mode and remote, the agent lists. The live
    // store is only read.
    void OnInitDialog();
    void OnSpecifyComPort();
    void OnSelectDirectory();

    // The control (or frame) of an id; null when the page has none.
    QWidget* Control(int id) const;

private:
    struct Group {
        QWidget* widget;
        int id;               // 0: unnamed
        bool shownUnnamed;    // an unnamed frame always shows; a plain row only with its contents
        std::vector<int> members;
    };

    ConfigWorkingCopy& Copy() const;
    void Build();
    void BuildControls();
    void BuildLayout();
    QWidget* Add(QWidget* widget, int id);
    QCheckBox* Check(int id, const char* text);
    QWidget* Frame(QLayout* column, const QString& title, int id, const std::vector<int>& members,
                   bool horizontal = false);
    QWidget* Row(QLayout* column, const std::vector<int>& members, bool horizontal = true);

    void ApplyVisibility();
    void ShowPair(int pair);
    void FillAgentLists();
    void SelectAgent(int list);

    void OnPairClicked(int pair, int box, bool checked);
    void OnHighRatesClicked(bool checked);
    void OnAgentActivated(int list, int index);

    ConfigTabCtrl& m_tabs;
    std::map<int, QWidget*> m_controls;
    std::map<int, bool> m_shown;   // what the page's rules show, by id
    std::vector<Group> m_groups;
    std::array<QWidget*, 4> m_columns{};
    QLineEdit* m_recordPath = nullptr;  // the episode folder shown
    std::array<QComboBox*, 2> m_agentLists{};
    std::vector<AgentEntry> m_agentEntries;  // of each list shown
    uint8_t m_gasModuleKind = 0;   // the lists offered: as GeneralGasModuleKind decides
};

#pragma once
// The "Product Configuration" dialog: a tab control over fourteen pages
// that edit one working copy of the settings. Its OK closes it first and
// then checks the copy: a refused item gets its own message box and keeps
// its old value, and no refusal keeps the dialog open. The view applies
// the result.
#include <QDialog>
#include <QTabWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "config/ConfigTabs.h"
#include "config/ConfigValidator.h"
#include "config/ConfigWorkingCopy.h"
#include "platform/FolderChooser.h"
#include "platform/Prompter.h"

class CQuorinAppCore;
class QLabel;
class QPushButton;

class ConfigTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit ConfigTabCtrl(ConfigWorkingCopy copy, QWidget* parent = nullptr);

    ConfigWorkingCopy& WorkingCopy() { return m_copy; }
    // Creates the fourteen pages, hidden, in page order.
    void CreatePages();
    // Shows the pages of `tabs`, in order.
    void SetTabs(const std::vector<ConfigTab>& tabs);
    void OnSelChange();
    void ShowCurrentPage();
    QWidget* Page(int page) const { return m_pages[page]; }

    // What the General page takes from the program; the dialog fills it
    // before the pages are created.
    struct PageServices {
        IPrompter* prompter = nullptr;
        IFolderChooser* folderChooser = nullptr;
        bool demo = false;
        int ecgProgramsPresent = 0;  // bit 0 Trellan, bit 1 Vospery
    };
    PageServices services;
    ConfigMode configMode = kConfigDefaults;
    std::vector<int> pageByTab;

private:
    ConfigWorkingCopy m_copy;
    std::array<QWidget*, kConfigPageCount> m_pages{};
};

class ConfigTabDlg : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        CQuorinAppCore* app = nullptr;   // its settings and, for the factory defaults, its store
        IPrompter* prompter = nullptr;   // null: message boxes over the dialog
        IFolderChooser* folderChooser = nullptr;  // null: the folder browser over the dialog
        ConfigMode mode = kConfigDefaults;
    };

    ConfigTabDlg(const Setup& setup, ConfigWorkingCopy copy, QWidget* parent = nullptr);
    ~ConfigTabDlg() override;

    ConfigTabCtrl& TabCtrl() { return *m_tabs; }
    // exec() runs it once; tests call it to drive the dialog unshown.
    void OnInitDialog();
    void OnFactoryDefaults();
    // After OK: the settings to put in force and the change flags. Empty
    // after Cancel.
    const std::optional<ConfigValidation>& Result() const { return m_result; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CQuorinAppCore& m_app;
    std::unique_ptr<IPrompter> m_ownPrompter;
    IPrompter& m_prompter;
    std::unique_ptr<IFolderChooser> m_ownFolderChooser;
    ConfigTabCtrl* m_tabs = nullptr;
    QPushButton* m_factoryDefaults = nullptr;
    QLabel* m_note = nullptr;
    bool m_initialised = false;
    std::optional<ConfigValidation> m_result;
};

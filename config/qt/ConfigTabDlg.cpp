#include "config/qt/ConfigTabDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "config/qt/ConfigLimitPage.h"
#include "config/qt/ConfigGeneralDlg.h"
#include "config/qt/ConfigOEMSoftwareDlg.h"
#include "config/qt/EditValidator.h"
#include "link/LiveData.h"
#include "platform/qt/QtFolderChooser.h"
#include "platform/qt/QtPrompter.h"

namespace {

constexpr char kNoteText[] =
    "Note: Configuration changes here will not change default values. To change defaults, select menu item File -> "
    "Connect Wireless Remote. Next select menu item Tools -> Edit Default Configuration.";

}  // namespace

ConfigTabCtrl::ConfigTabCtrl(ConfigWorkingCopy copy, QWidget* parent) : QTabWidget(parent), m_copy(std::move(copy))
{
    setObjectName("4210");
    // Fourteen captions are wider than a 1024 x 768 screen: the row
    // scrolls rather than push OK and Cancel off it.
    setUsesScrollButtons(true);
    connect(this, &QTabWidget::currentChanged, this, [this] { OnSelChange(); });
}

void ConfigTabCtrl::CreatePages()
{
    m_pages[kPageGeneral] = new ConfigGeneralDlg(*this, this);
    m_pages[kPageHrTemp] = new ConfigHrTempDlg(*this, this);
    m_pages[kPageSpO2Resp] = new ConfigSpO2RespDlg(*this, this);
    m_pages[kPageBp] = new ConfigBpDlg(*this, this);
    m_pages[kPageApnea] = new ConfigApneaDlg(*this, this);
    m_pages[kPageCO2] = new ConfigCO2Dlg(*this, this);
    m_pages[kPageO2] = new ConfigO2Dlg(*this, this);
    m_pages[kPageN2O] = new ConfigN2ODlg(*this, this);
    m_pages[kPageHalothane] = new ConfigHalothaneDlg(*this, this);
    m_pages[kPageEnflurane] = new ConfigEnfluraneDlg(*this, this);
    m_pages[kPageIsoflurane] = new ConfigIsofluraneDlg(*this, this);
    m_pages[kPageSevoflurane] = new ConfigSevofluraneDlg(*this, this);
    m_pages[kPageDesflurane] = new ConfigDesfluraneDlg(*this, this);
    m_pages[kPageOEMSoftware] = new ConfigOEMSoftwareDlg(*this, this);
    for (QWidget* page : m_pages) {
        page->hide();
        if (auto* limits = qobject_cast<ConfigLimitPage*>(page))
            limits->OnInitDialog();
    }
    static_cast<ConfigGeneralDlg*>(m_pages[kPageGeneral])->OnInitDialog();
    static_cast<ConfigOEMSoftwareDlg*>(m_pages[kPageOEMSoftware])->OnInitDialog();
}

void ConfigTabCtrl::SetTabs(const std::vector<ConfigTab>& tabs)
{
    // A page without a tab stays a hidden child: the working copy keeps
    // its values all the same.
    pageByTab.clear();
    for (const ConfigTab& tab : tabs) {
        pageByTab.push_back(tab.page);
        addTab(m_pages[tab.page], QString::fromStdString(tab.caption));
    }
    ShowCurrentPage();
}

void ConfigTabCtrl::OnSelChange()
{
    ShowCurrentPage();
}

void ConfigTabCtrl::ShowCurrentPage()
{
    const int tab = currentIndex();
    if (tab < 0 || tab >= static_cast<int>(pageByTab.size()))
        return;
    // The tab widget's own stack shows one page; the others stay hidden.
    setCurrentWidget(m_pages[pageByTab[tab]]);
}

ConfigTabDlg::ConfigTabDlg(const Setup& setup, ConfigWorkingCopy copy, QWidget* parent)
    : QDialog(parent),
      m_app(*setup.app),
      m_ownPrompter(setup.prompter == nullptr ? std::make_unique<CQtPrompter>(this) : nullptr),
      m_prompter(setup.prompter != nullptr ? *setup.prompter : *m_ownPrompter)
{
    setObjectName("4050");
    setWindowTitle("Product Configuration");
    m_tabs = new ConfigTabCtrl(std::move(copy), this);
    m_tabs->configMode = setup.mode;
    if (setup.folderChooser == nullptr)
        m_ownFolderChooser = std::make_unique<CQtFolderChooser>(this);
    m_tabs->services = {&m_prompter,
                        setup.folderChooser != nullptr ? setup.folderChooser : m_ownFolderChooser.get(),
                        m_app.IsDemoMode(), m_app.EcgProgramsPresent()};

    m_note = new QLabel(kNoteText);
    m_note->setObjectName("4020");
    m_note->setWordWrap(true);
    m_factoryDefaults = new QPushButton("Factory Defaults...");
    m_factoryDefaults->setObjectName("5320");
    auto* ok = new QPushButton("OK");
    ok->setObjectName("1");
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("2");
    // No default button: Enter inside a page does nothing.
    for (QPushButton* button : {m_factoryDefaults, ok, cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &ConfigTabDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &ConfigTabDlg::reject);
    connect(m_factoryDefaults, &QPushButton::clicked, this, &ConfigTabDlg::OnFactoryDefaults);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_factoryDefaults);
    buttons->addWidget(m_note, 1);
    buttons->addStretch(0);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

ConfigTabDlg::~ConfigTabDlg() = default;

void ConfigTabDlg::showEvent(QShowEvent* event)
{
    const bool first = !m_initialised;
    OnInitDialog();
    // The size taken on showing knew none of the pages: only their
    // smallest size was granted, which clips wrapped texts.
    if (first)
        adjustSize();
    QDialog::showEvent(event);
}

void ConfigTabDlg::OnInitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    const LiveData& live = g_liveData;
    ConfigWorkingCopy& w = m_tabs->WorkingCopy();
    w.spO2Present = (live.featureBits & kFeatureSpO2) != 0 ? 1 : 0;
    w.bpSetupChanged = 0;
    w.gasSetupChanged = 0;
    m_tabs->CreatePages();

    ConfigTabInputs in;
    in.mode = m_tabs->configMode;
    in.deviceKind = live.deviceKind;
    in.featureBits = live.featureBits;
    in.primaryAgent = live.primaryAgent;
    in.secondaryAgent = live.secondaryAgent;
    if (in.mode == kConfigCurrent)
        m_factoryDefaults->hide();
    else
        m_note->hide();
    m_tabs->SetTabs(ConfigTabList(in, m_app.m_config));
    m_tabs->setCurrentIndex(0);
    m_tabs->ShowCurrentPage();
}

void ConfigTabDlg::accept()
{
    // An edit left unfinished shows its stored value again before it is read.
    SettleEdits(*m_tabs);
    QDialog::accept();
    ConfigValidator::Inputs in;
    in.demo = m_app.IsDemoMode();
    in.deviceKind = g_liveData.deviceKind;
    ConfigValidation result = ConfigValidator::Validate(m_tabs->WorkingCopy(), m_app.m_config, in);
    if (result.resetFeatureBits)
        g_liveData.featureBits = 9;
    for (const ConfigRefusal& refusal : result.refusals)
        m_prompter.MessageBox(refusal.text, refusal.caption, kMbOk | kMbIconWarning);
    ConfigWorkingCopy& w = m_tabs->WorkingCopy();
    w.bpSetupChanged = result.bpSetupChanged ? 1 : 0;
    w.gasSetupChanged = result.gasSetupChanged ? 1 : 0;
    m_result = std::move(result);
}

void ConfigTabDlg::OnFactoryDefaults()
{
    if (m_prompter.MessageBox("Continue to set all configuration items and alarm limits to Factory Defaults?",
                              "Wireless Remote Factory Default Configuration", kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    m_app.SetDefaultSettings();
    m_app.m_storedConfig = m_app.m_factoryConfig;
    m_app.m_config = m_app.m_factoryConfig;
    if (!m_app.SaveSettings())
        LogEventText("ConfigTabDlg::OnFactoryDefaults", "The factory defaults could not be saved.");
    m_app.LoadSettings();
    if (!m_app.IsDemoMode())
        g_liveData.featureBits = 9;
    // Closed without a check: what is now in force are the defaults.
    ConfigValidation result;
    result.config = m_app.m_config;
    m_result = std::move(result);
    QDialog::accept();
}

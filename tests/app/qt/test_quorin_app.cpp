#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "../AppTestSupport.h"
#include "app/AboutTexts.h"
#include "app/MenuCommands.h"
#include "app/qt/QuorinApp.h"
#include "link/LiveData.h"
#include "platform/Thread.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "../../view/qt/EventLoopWait.h"

namespace {

class NoLibrary : public IDynamicLibraryLoader {
public:
    void* Load(const std::string&) override { return nullptr; }
    void* Symbol(void*, const char*) override { return nullptr; }
    void Free(void*) override {}
};

// The real start-up on the real window host, with fakes for the rest:
// memory settings, a scripted prompter, no Bluetooth library.
struct AppStartup {
    explicit AppStartup(std::vector<std::string> arguments = {}) : app(std::move(arguments))
    {
        host.SetPrompter(&prompter);
        services = SystemStartupServices(module);
        services.settingsKeys = &keys;
        services.libraryLoader = &noLibrary;
        services.documentsFolder = [this](std::string& path) {
            path = folder.Path();
            return true;
        };
        services.splashPauseMs = 0;
    }
    ~AppStartup() { app.RunExitInstance(); }
    // A demo start asks for the model first; Escape keeps the demo's own
    // remote, which the tests below look at.
    bool Run()
    {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->objectName() == QStringLiteral("490")) {
                ++demoDialogs;
                dialog->reject();
            }
        });
        answer.start(5);
        return app.RunInitInstance(host, services);
    }

    TempFolder folder;
    CMemorySettingsKeys keys;
    CQuorinModule module;
    NoLibrary noLibrary;
    CScriptedPrompter prompter;
    StartupServices services;
    // Before the host: the window the host holds refers to it to the end.
    CQuorinAppCore app;
    CQtStartupHost host;
    int demoDialogs = 0;
};

} // namespace

TEST(QuorinApp, DemoStartShowsTheMainWindowMaximised)
{
    const std::string threadName = GetThreadName();
    AppStartup s({"SIMULATE_DATA"});
    ASSERT_TRUE(s.Run());

    QMainWindow* window = s.host.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(s.prompter.Prompts().empty());
    EXPECT_TRUE(s.app.IsDemoMode());
    EXPECT_EQ(s.demoDialogs, 1);
    EXPECT_EQ(GetThreadName(), threadName);
}

// The frame's minimum is one fixed size below every size it is given: a
// window manager that honours it lets the window shrink, and it fits a
// 1024 x 600 screen with a title bar.
TEST(QuorinApp, TheWindowShrinksToAFixedMinimumThatFitsASmallScreen)
{
    AppStartup s({"SIMULATE_DATA"});
    ASSERT_TRUE(s.Run());
    QMainWindow* window = s.host.MainWindow();
    ASSERT_NE(window, nullptr);
    window->setWindowState(Qt::WindowNoState);
    auto* view = window->findChild<CQuorinView*>();
    ASSERT_NE(view, nullptr);

    const QSize minimum = window->minimumSizeHint();
    EXPECT_LE(minimum.width(), 1024);
    EXPECT_LE(minimum.height(), 600 - 32);
    for (const QSize size : {QSize(1920, 1080), QSize(1600, 900), QSize(1024, 768), QSize(1024, 600), minimum}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        window->resize(size);
        (void)window->grab();  // the paint queues the relayout
        QCoreApplication::processEvents();
        (void)window->grab();
        EXPECT_EQ(window->size(), size);
        EXPECT_EQ(view->size().height(), size.height() - (minimum.height() - kMinViewHeight));
        EXPECT_EQ(window->minimumSizeHint(), minimum) << "the same after a relayout at this size";
    }
}

// With no remote at all the demo generator drives the view: traces in the
// ECG, SpO2 and CO2 strips, numbers in the boxes.
TEST(QuorinApp, DemoModeDrawsTracesAndNumbersWithoutARemote)
{
    ResetLiveStore();
    AppStartup s({"SIMULATE_DATA"});
    ASSERT_TRUE(s.Run());
    auto* view = s.host.MainWindow()->findChild<CQuorinView*>();
    ASSERT_NE(view, nullptr);
    int32_t consumed = 0;
    int32_t last = 0;
    ASSERT_TRUE(ProcessEventsUntil(
        [&] {
            const int32_t read = g_liveData.ringReadIndex.load();
            consumed += (read - last) & kSampleRingMask;
            last = read;
            return consumed >= 1200;
        },
        15000));

    const QImage image = view->grab().toImage();
    const StripLayout strips = PlanStrips(view->width(), view->height(), view->Metrics(), view->Layout().bandHeight,
                                          view->Roles().stripCount);
    // Thin traces are smoothed onto black, so a trace's pixels are its
    // colour at some intensity: at least half of it, in the same proportions.
    auto ofTrace = [](const QColor& pixel, const QColor& wanted) {
        const int pixelMax = std::max({pixel.red(), pixel.green(), pixel.blue()});
        const int wantedMax = std::max({wanted.red(), wanted.green(), wanted.blue()});
        if (2 * pixelMax < wantedMax)
            return false;
        const double scale = double(pixelMax) / wantedMax;
        auto near = [&](int p, int w) { return std::abs(p - w * scale) <= 8; };
        return near(pixel.red(), wanted.red()) && near(pixel.green(), wanted.green()) &&
               near(pixel.blue(), wanted.blue());
    };
    auto carries = [&](int strip, COLORREF color) {
        if (strip < 0 || strip >= strips.count)
            return false;
        const LayoutRect& r = strips.strips[strip];
        const QColor wanted = ToQColor(color);
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (ofTrace(image.pixelColor(x, y), wanted))
                    return true;
        return false;
    };
    EXPECT_TRUE(carries(0, 0x59FF3C)) << "ECG";
    EXPECT_TRUE(carries(view->Roles().spo2Strip, 0xFDFD2F)) << "pleth";
    EXPECT_TRUE(carries(view->Roles().respStrip, 0x0282B9)) << "capnogram";
    for (const int slot : {kParamTemperature, kParamSystolic, kParamCO2Exp}) {
        ASSERT_NE(view->ValueBox(slot), nullptr) << slot;
        bool number = false;
        view->ValueBox(slot)->text().toDouble(&number);
        EXPECT_TRUE(number) << slot << ": " << view->ValueBox(slot)->text().toStdString();
    }
}

// A demo measurement shows its animation rather than "BP Off", and the
// caption names the cuff the cuff dialog leaves.
TEST(QuorinApp, ADemoMeasurementShowsItsAnimationAndTheCuffChosen)
{
    ResetLiveStore();
    AppStartup s({"SIMULATE_DATA"});
    ASSERT_TRUE(s.Run());
    auto* view = s.host.MainWindow()->findChild<CQuorinView*>();
    ASSERT_NE(view, nullptr);
    const int32_t species = view->m_patient.info.speciesCode;
    s.app.m_config.cuffSize[species] = 2;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != QStringLiteral("610"))
            return;
        dialog->findChild<QComboBox*>(QStringLiteral("3910"))->setCurrentIndex(5);  // #8
        dialog->accept();
    });
    answer.start(5);
    auto shown = [&](int animation) {
        const CAnimateCtrl* picture = view->Animation(animation);
        return picture != nullptr && !picture->isHidden() && picture->IsPlaying();
    };
    QLabel* bpOff = view->Picture(kPictureBpOff);
    ASSERT_NE(bpOff, nullptr);

    // The first start asks nothing; the next one asks for the cuff.
    for (const char* caption : {" BP (mmHg)   Cuff-#3", " BP(mmHg) Cuff-#8"}) {
        SCOPED_TRACE(caption);
        view->OnCommand(menu::kBloodPressure);
        ASSERT_EQ(view->m_bp.bpRunning, 1);
        EXPECT_EQ(view->CaptionBox(kGroupBloodPressure)->text().toStdString(), caption);
        EXPECT_TRUE(ProcessEventsUntil([&] { return shown(kBpCycleAnimation) || shown(kBpPauseAnimation); }));
        EXPECT_TRUE(bpOff->isHidden());
        view->OnCommand(menu::kBloodPressure);
        EXPECT_FALSE(bpOff->isHidden());
        EXPECT_FALSE(shown(kBpCycleAnimation) || shown(kBpPauseAnimation));
    }
    EXPECT_EQ(s.app.m_config.cuffSize[species], 5);
}

// The demo generator counts as a connected remote for the about box, until
// it is switched off.
TEST(QuorinApp, TheDemoConnectionShowsInTheAboutBox)
{
    ResetLiveStore();
    AppStartup s({"SIMULATE_DATA"});
    ASSERT_TRUE(s.Run());
    ASSERT_TRUE(ProcessEventsUntil([&] { return s.app.m_connected != 0; }));
    auto about = [&] {
        return MakeAboutTexts(AboutInputs{s.app.VersionText(), s.app.LegalCopyright(), s.app.IsDemoMode(),
                                          s.app.m_connected != 0, g_liveData.deviceKind, ""});
    };
    EXPECT_EQ(about().remoteText, "Connected to Tarvik+\r\n\r\nDemo Simulation");
    EXPECT_EQ(about().productLine, "Norq Quorin " + s.app.VersionText());
    EXPECT_EQ(about().legalNotice, s.app.LegalCopyright());
    EXPECT_NE(s.app.VersionText(), "vX.X.X");

    s.host.MainWindow()->findChild<CQuorinView*>()->OnCommand(menu::kConnect);
    EXPECT_EQ(s.app.m_connected, 0);
    EXPECT_EQ(about().remoteText, "No Remote Connection");
}

// The demo runs with markers and beat tones on, alarm tones off and every
// agent shown. An OK of the default configuration there stores what the
// user changed in it, never the demo's own choices.
TEST(QuorinApp, TheDemoStoresOnlyWhatTheDefaultConfigurationChanged)
{
    ResetLiveStore();
    AppStartup s({"SIMULATE_DATA"});
    const auto store = s.keys.Key(SettingsScope::User, kProgramKey);
    struct Seed {
        const char* name;
        int32_t value;
    } const seeds[] = {
        {kValueRMarker, 0}, {kValueQrsTone, 0},       {kValueAlarms, 0}, {kValueAlarmTones, 1},
        {kValueShowN2O, 0}, {kValueShowHalothane, 0}, {kValueGrid, 0},
    };
    for (const Seed& seed : seeds)
        ASSERT_TRUE(store->WriteProfileInt(kSectionValues, seed.name, seed.value));
    ASSERT_TRUE(s.Run());
    auto* view = s.host.MainWindow()->findChild<CQuorinView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(s.app.m_config.alarmTones, 0);
    // The defaults are edited with the generator stopped.
    ASSERT_TRUE(ProcessEventsUntil([&] { return s.app.m_connected != 0; }));
    view->OnCommand(menu::kConnect);
    ASSERT_EQ(s.app.m_config.alarmTones, 0);

    // The user ticks "5mm Reference Grid" and presses OK.
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&user] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != QStringLiteral("4050"))
            return;
        user.stop();
        dialog->findChild<QAbstractButton*>("4330")->click();
        dialog->findChild<QAbstractButton*>("1")->click();
    });
    user.start(5);
    view->OnCommand(menu::kDefaultConfiguration);
    EXPECT_FALSE(user.isActive());

    for (const Seed& seed : seeds) {
        const bool typed = std::string(seed.name) == kValueGrid;
        EXPECT_EQ(store->GetProfileInt(kSectionValues, seed.name, 99), uint32_t(typed ? 1 : seed.value))
            << seed.name;
    }
    // The demo goes on with its own choices and the user's.
    EXPECT_EQ(s.app.m_config.alarmTones, 0);
    EXPECT_EQ(s.app.m_config.grid, 1);
}

TEST(QuorinApp, NumbersAndTimesUseTheCLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(QLocale().toString(39.4, 'f', 1), QStringLiteral("39,4"));
    UseCLocaleForNumbersAndTimes();
    EXPECT_EQ(QLocale().toString(39.4, 'f', 1), QStringLiteral("39.4"));
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_TIME, nullptr), "C");
}

TEST(QuorinApp, MissingLibraryIsReportedAndNoWindowAppears)
{
    AppStartup s;
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.host.MainWindow(), nullptr);
    const auto prompts = s.prompter.Prompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "Could not find/load zelbex.dll.");
    EXPECT_EQ(prompts[0].caption, "Wireless Remote Application Error");
}

TEST(QuorinApp, TheSplashPauseKeepsTheEventLoopRunning)
{
    AppStartup s({"SIMULATE_DATA"});
    int splashes = 0;
    bool queuedCallRan = false;
    bool ranBeforeWindow = false;
    s.host.SetSplashHook([&] {
        ++splashes;
        QTimer::singleShot(0, [&] {
            queuedCallRan = true;
            ranBeforeWindow = s.host.MainWindow() == nullptr;
        });
    });
    s.services.splashPauseMs = 20;
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(splashes, 1);
    EXPECT_TRUE(queuedCallRan);
    EXPECT_TRUE(ranBeforeWindow);
}

TEST(QtPrompter, ShowsThePlainTextWithTheRightIconAndReturnsTheButton)
{
    CQtPrompter prompter;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption, text;
    int buttons = 0;
    auto answer = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            caption = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            box->button(button)->click();
        });
    };

    answer(QMessageBox::No);
    EXPECT_EQ(prompter.MessageBox("Save <b>now</b>?", "BP Message", kMbYesNo | kMbIconQuestion), kIdNo);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(caption, QStringLiteral("BP Message"));
    EXPECT_EQ(text, QStringLiteral("Save <b>now</b>?"));
    EXPECT_EQ(buttons, 2);

    answer(QMessageBox::Ok);
    EXPECT_EQ(prompter.MessageBox("Could not obtain module information.", "Wireless Remote Application Error",
                                  kMbOk | kMbIconError), kIdOk);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);

    answer(QMessageBox::Cancel);
    EXPECT_EQ(prompter.MessageBox("x", "y", kMbYesNoCancel | kMbIconWarning), kIdCancel);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 3);
}

TEST(QtProfileStore, KeepsIntegersAndAnyTextAcrossReopening)
{
    TempFolder folder;
    const QString file = QString::fromStdString(folder / "quorin.conf");
    {
        CQtProfileStore store(file);
        ASSERT_TRUE(store.WriteProfileInt("Defaults\\Values", "PortNum", -1));
        ASSERT_TRUE(store.WriteProfileInt("Defaults\\Alarms\\Canine\\HR", "High Enable", 1));
        ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "Clinic", "  Hill, Vale & Co = \"vets\" "));
        ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "Address 1", "@Variant(odd)"));
        ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "Recent0", "line\nnext"));
        ASSERT_TRUE(store.WriteProfileString("Defaults\\Values", "Empty", ""));
        ASSERT_TRUE(store.Flush());
    }
    CQtProfileStore store(file);
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "PortNum", 5), 0xFFFFFFFFu);
    EXPECT_EQ(store.GetProfileInt("Defaults\\Alarms\\Canine\\HR", "High Enable", 0), 1u);
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Clinic", ""), "  Hill, Vale & Co = \"vets\" ");
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Address 1", ""), "@Variant(odd)");
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Recent0", ""), "line\nnext");
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Empty", "default"), "");
    EXPECT_EQ(store.GetProfileString("Defaults\\Values", "Missing", "default"), "default");
    EXPECT_EQ(store.GetProfileInt("Defaults\\Values", "Clinic", 12), 12u) << "text is no integer";

    // A hand-edited list value reads as its text.
    std::ofstream(folder / "hand.conf") << "[Defaults]\nValues\\Clinic=North, South\n";
    CQtProfileStore hand(QString::fromStdString(folder / "hand.conf"));
    EXPECT_EQ(hand.GetProfileString("Defaults\\Values", "Clinic", ""), "North, South");
}

TEST(QtSettingsKeys, OpensProgramKeysInTheUsersConfigurationFolder)
{
    TempFolder folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder.Path()));
    CQtSettingsKeys keys;
    EXPECT_EQ(keys.OpenKey(SettingsScope::User, kProgramKey, false), nullptr);
    EXPECT_EQ(keys.OpenKey(SettingsScope::User, "Norq Technology\\quorin", true), nullptr);
    EXPECT_EQ(keys.OpenKey(SettingsScope::User, "Software\\Norq Technology", true), nullptr);

    auto store = keys.OpenKey(SettingsScope::User, kProgramKey, true);
    ASSERT_NE(store, nullptr);
    ASSERT_TRUE(store->WriteProfileInt("Defaults\\Values", "PortNum", 6));
    ASSERT_TRUE(store->Flush());
    EXPECT_TRUE(std::filesystem::exists(folder / "Norq Technology/quorin.conf"));

    auto defaults = keys.OpenKey(SettingsScope::User, std::string(kProgramKey) + "\\Defaults", false);
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->GetProfileInt("Values", "PortNum", 0), 6u);
    EXPECT_EQ(defaults->ReadAll().size(), 1u);
}

TEST(QtSettingsKeys, ImportThroughTheKeyIsSeenByTheProgramsOwnStore)
{
    TempFolder folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
    CQtSettingsKeys keys;
    CQuorinAppCore app({});
    app.SetEpisodeFolder(folder.Path());
    app.SetRegistryKey(keys, kCompanyKey);
    app.SetDefaultSettings();
    app.LoadSettings();
    ASSERT_TRUE(app.SaveSettings());

    const std::string file = folder / "practice.Quorin";
    ASSERT_TRUE(app.BackupSettings("HKCU", kProgramKey, file));
    app.m_storedConfig.portNum = 8;
    ASSERT_TRUE(app.SaveSettings());
    ASSERT_TRUE(app.ProfileStore()->WriteProfileString("Defaults\\Values", "Later", "x"));
    ASSERT_TRUE(app.ProfileStore()->Flush());

    ASSERT_TRUE(app.RestoreSettings("HKCU", file, kProgramKey));
    EXPECT_EQ(app.ProfileStore()->GetProfileString("Defaults\\Values", "Later", "gone"), "gone");
    app.LoadSettings();
    EXPECT_EQ(app.m_config.portNum, 0);

    CQtProfileStore reread(QString::fromStdString(folder / "config/Norq Technology/quorin.conf"));
    EXPECT_EQ(reread.GetProfileInt("Defaults\\Values", "PortNum", 99), 0u);
    EXPECT_EQ(reread.GetProfileString("Defaults\\Values", "Later", "gone"), "gone");
}

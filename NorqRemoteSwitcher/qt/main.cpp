// NorqRemoteSwitcher: starts quorin with one of the configured remotes, or
// at once when quorin finds its remote by itself.
#include <QApplication>

#include "NorqRemoteSwitcher/qt/frmMain.h"
#include "app/SettingsNames.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtShellLauncher.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // quorin's own settings file.
    CQtSettingsKeys keys;
    const std::shared_ptr<IProfileStore> store = keys.OpenKey(SettingsScope::User, kProgramKey, true);
    CRegistryModule registry(store.get());
    CQtPrompter prompter;
    CQtShellLauncher launcher;
    const CNoBluetoothStackProbe stackProbe;

    SwitcherServices services;
    services.registry = &registry;
    services.prompter = &prompter;
    services.launcher = &launcher;
    services.stackProbe = &stackProbe;
    services.osVersion = &SystemOsVersion();
    // Desktops start programs in the home folder: quorin is looked for,
    // and run, beside the switcher.
    services.programFolder = QCoreApplication::applicationDirPath().toStdString();

    if (Main(services) == SwitcherStart::Ended)
        return 0;
    RemoteTable table;
    frmMain form(services, table);
    if (form.Load())
        form.exec();
    return 0;
}

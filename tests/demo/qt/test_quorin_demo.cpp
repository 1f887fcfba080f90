// QuorinDemo: its dialog on a scripted launcher, and the built program
// beside a stand-in quorin.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "demo/qt/QuorinDemoDlg.h"

namespace {

// Closes the modal window that opens next and tells its title.
QString CloseNextModal(const std::function<void()>& action)
{
    QString title;
    QTimer::singleShot(0, [&title] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            title = modal->windowTitle();
            modal->close();
        }
    });
    action();
    QCoreApplication::processEvents();
    return title;
}

} // namespace

TEST(QuorinDemo, StartsQuorinInDemoModeAndEndsWhateverHappened)
{
    for (const int result : {kShellStarted, kShellFileNotFound}) {
        CScriptedShellLauncher launcher;
        launcher.SetResult(result);
        CQuorinDemoDlg dialog(launcher, "/opt/norq");
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        const auto requests = launcher.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].file, "/opt/norq/quorin");
        EXPECT_EQ(requests[0].arguments, std::vector<std::string>{"SIMULATE_DATA"});
        EXPECT_EQ(requests[0].folder, "/opt/norq");
        for (QWidget* window : QApplication::topLevelWidgets())
            EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
    }
}

TEST(QuorinDemo, WindowMenuCommandsOpenTheAboutBox)
{
    CScriptedShellLauncher launcher;
    CQuorinDemoDlg dialog(launcher, "/opt/norq");
    const std::pair<unsigned, const char*> rows[] = {{15, ""}, {16, "About QuorinDemo"}, {31, "About QuorinDemo"}, {32, ""}};
    for (const auto& [command, title] : rows)
        EXPECT_EQ(CloseNextModal([&, command = command] { dialog.OnSysCommand(command); }), title) << command;
    // The about entry on the context menu.
    ASSERT_EQ(dialog.actions().size(), 1);
    EXPECT_EQ(dialog.actions()[0]->text(), "&About QuorinDemo...");
    EXPECT_EQ(CloseNextModal([&] { dialog.actions()[0]->trigger(); }), "About QuorinDemo");
}

TEST(QuorinDemo, BuiltProgramEndsAtOnceWithOrWithoutQuorin)
{
    for (const bool withQuorin : {true, false}) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString launcherPath = folder.filePath("QuorinDemo");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORINDEMO_BINARY), launcherPath));
        if (withQuorin) {
            QFile stub(folder.filePath("quorin"));
            ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
            stub.write("#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$#\" \"$@\" > args.tmp && mv args.tmp args.txt\nsleep 3\n");
            stub.close();
            ASSERT_TRUE(stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        QProcess demo;
        // Started from elsewhere, as a desktop does.
        demo.setWorkingDirectory(QDir::tempPath());
        demo.start(launcherPath, {});
        ASSERT_TRUE(demo.waitForFinished(2000)) << withQuorin;
        EXPECT_EQ(demo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(demo.exitCode(), 0);
        if (!withQuorin)
            continue;
        const QString record = folder.filePath("args.txt");
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 5000));
        QFile args(record);
        ASSERT_TRUE(args.open(QIODevice::ReadOnly));
        EXPECT_EQ(args.readAll(), (folder.path() + "\n1\nSIMULATE_DATA\n").toUtf8());
    }
}

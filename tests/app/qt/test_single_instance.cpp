// Two real quorin processes, each with its own home and temporary folder.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <csignal>
#include <filesystem>

#include "../AppTestSupport.h"

#ifdef QUORIN_BINARY

namespace {

constexpr int kTimeoutMs = 30000;

// A quorin process that is killed if the test leaves it running.
class Program {
public:
    explicit Program(const QProcessEnvironment& environment)
    {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    bool Start()
    {
        m_process.start(QStringLiteral(QUORIN_BINARY), {});
        return m_process.waitForStarted(kTimeoutMs);
    }
    // True once the program has bound its Bluetooth library, which it does
    // only after the single-instance check; false when it ended first or
    // the time ran out.
    bool WaitUntilPastStartUp()
    {
        const QString maps = QStringLiteral("/proc/%1/maps").arg(m_process.processId());
        QDeadlineTimer deadline(kTimeoutMs);
        while (!deadline.hasExpired()) {
            QFile file(maps);
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains("libzelbex.so"))
                return true;
            if (m_process.waitForFinished(20))
                return false;
        }
        return false;
    }
    bool Running() const { return m_process.state() == QProcess::Running; }
    QProcess& Process() { return m_process; }
    std::string Output() { return m_process.readAll().toStdString(); }

private:
    QProcess m_process;
};

struct TwoStarts {
    explicit TwoStarts(const char* singleInstance)
    {
        const std::string home = folder / "home";
        const std::string tmp = folder / "tmp";
        const std::string run = folder / "run";
        for (const auto& path : {home, tmp, run})
            std::filesystem::create_directories(path);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);

        QSettings settings(QString::fromStdString(home + "/.config/Norq Technology/quorin.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Defaults/Values/Single Instance"), QString::fromLatin1(singleInstance));
        settings.sync();

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(home));
        environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(tmp));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home + "/.config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(run));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("XDG_DOCUMENTS_DIR"));
        environment.remove(QStringLiteral("ZELBEX_DEVICE_LIST"));
    }

    TempFolder folder;
    QProcessEnvironment environment;
};

} // namespace

TEST(QuorinProgram, WithSingleInstanceOnASecondStartEndsWithoutAWindow)
{
    TwoStarts t("1");
    Program first(t.environment);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilPastStartUp()) << first.Output();

    Program second(t.environment);
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.Process().waitForFinished(kTimeoutMs)) << "the second start must end by itself";
    EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.Process().exitCode(), 0) << second.Output();
    EXPECT_TRUE(first.Running());
}

TEST(QuorinProgram, WithSingleInstanceOffBothStartsRun)
{
    TwoStarts t("0");
    Program first(t.environment);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilPastStartUp()) << first.Output();

    Program second(t.environment);
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitUntilPastStartUp()) << second.Output();
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(first.Running());
}

TEST(QuorinProgram, TheEndOfTheSessionClosesTheProgramCleanly)
{
    TwoStarts t("0");
    for (const int signal : {SIGTERM, SIGINT}) {
        Program program(t.environment);
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.WaitUntilPastStartUp()) << program.Output();
        ASSERT_EQ(::kill(static_cast<pid_t>(program.Process().processId()), signal), 0);
        ASSERT_TRUE(program.Process().waitForFinished(kTimeoutMs));
        EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(program.Process().exitCode(), 0) << signal << program.Output();
    }
}

#endif

// The update check over HTTP against a server of the test's own on
// 127.0.0.1: no network needed.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "app/UpdateCheck.h"
#include "platform/qt/QtHttpClient.h"
#include "../../view/qt/EventLoopWait.h"

namespace {

constexpr int kOwn[3] = {2, 5, 0};

// Answers every GET with one canned answer, after `delayMs`; or never.
class VersionServer {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
        bool silent = false;
    };

    explicit VersionServer(Answer answer) : m_answer(std::move(answer))
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Read(socket); });
        });
    }

    std::string Url(const char* path = "/Quorin_version.txt") const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + path;
    }
    const QByteArray& Request() const { return m_request; }
    bool Answered() const { return m_answered; }
    bool Disconnected() const { return m_disconnected; }
    // Called when a whole request has arrived, before any answer.
    std::function<void()> onRequest;

private:
    void Read(QTcpSocket* socket)
    {
        m_request += socket->readAll();
        if (!m_request.contains("\r\n\r\n") || m_seen)
            return;
        m_seen = true;
        QObject::connect(socket, &QTcpSocket::disconnected, [this] { m_disconnected = true; });
        if (onRequest)
            onRequest();
        if (m_answer.silent)
            return;
        QTimer::singleShot(m_answer.delayMs, socket, [this, socket] {
            const QByteArray head = "HTTP/1.1 " + QByteArray::number(m_answer.status) + " X\r\nContent-Length: "
                                  + QByteArray::number(m_answer.body.size()) + "\r\nConnection: close\r\n\r\n";
            socket->write(head + m_answer.body);
            m_answered = true;
        });
    }

    Answer m_answer;
    QTcpServer m_server;
    QByteArray m_request;
    bool m_seen = false;
    bool m_answered = false;
    bool m_disconnected = false;
};

struct CheckRig {
    CQtHttpClient http;
    CScriptedPrompter prompter;
    CScriptedShellLauncher launcher;
    std::unique_ptr<CUpdateCheck> check;

    void Start(const std::string& url, bool silent, uint32_t timeoutMs = 5000)
    {
        check = CheckForUpdates({http, prompter, launcher},
                                UpdateCheckSettings{url, "http://n.example/downloads_support.htm", timeoutMs}, kOwn,
                                silent);
    }
    bool Finish() { return ProcessEventsUntil([this] { return check->Finished(); }); }
};

} // namespace

TEST(UpdateCheckHttp, ANewerVersionAsksAndYesOpensThePage)
{
    VersionServer server({200, "2.05.123", 0, false});
    CheckRig rig;
    rig.prompter.QueueAnswer(kIdYes);
    rig.Start(server.Url(), false);
    ASSERT_TRUE(rig.Finish());

    EXPECT_TRUE(server.Request().startsWith("GET /Quorin_version.txt "));
    EXPECT_TRUE(server.Request().contains("\r\nUser-Agent: My Session\r\n")) << server.Request().toStdString();
    const auto prompts = rig.prompter.Prompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "A newer version of Quorin is available at http://n.example/downloads_support.htm."
                               "\n\nCurrent version:\t 2.5.123\nYour version:\t 2.5.0\n\n\n"
                               " Do you want to open the website now?");
    EXPECT_EQ(prompts[0].caption, "Check For Updates");
    EXPECT_EQ(prompts[0].type, kMbYesNo | kMbIconInformation);
    const auto opened = rig.launcher.Requests();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].file, "xdg-open");
    EXPECT_EQ(opened[0].arguments, std::vector<std::string>{"http://n.example/downloads_support.htm"});
}

// Each answer and what the user is told, loud and silent.
TEST(UpdateCheckHttp, EachAnswerGetsItsBox)
{
    // 1020 blanks, then a newer version: only the first 1024 bytes count.
    const QByteArray beyondTheLimit = QByteArray(1020, ' ') + "9.99.999" + QByteArray(1020, ' ');
    struct Case {
        const char* name;
        VersionServer::Answer answer;
        bool closedPort;
        const char* box;  // null: none
    };
    const Case cases[] = {
        {"same version", {200, "2.05.000", 0, false}, false, kUpToDateText},
        {"older", {200, "1.09.999", 0, false}, false, kUpToDateText},
        {"2 KiB", {200, beyondTheLimit, 0, false}, false, kUpToDateText},
        {"404 page", {404, "9.99.999", 0, false}, false, kVersionFileFailedText},
        {"closed port", {}, true, kVersionFileFailedText},
        {"no answer", {200, "", 0, true}, false, kVersionFileFailedText},
    };
    for (const bool silent : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (silent ? " silent" : ""));
            auto server = std::make_unique<VersionServer>(c.answer);
            const std::string url = server->Url();
            if (c.closedPort)
                server.reset();
            CheckRig rig;
            rig.Start(url, silent, 300);
            ASSERT_TRUE(rig.Finish());
            const auto prompts = rig.prompter.Prompts();
            if (silent || c.box == nullptr) {
                EXPECT_TRUE(prompts.empty());
                continue;
            }
            ASSERT_EQ(prompts.size(), 1u);
            EXPECT_EQ(prompts[0].text, c.box);
            EXPECT_EQ(prompts[0].caption, "Check For Updates");
            EXPECT_EQ(prompts[0].type & kMbIconMask,
                      std::string(c.box) == kVersionFileFailedText ? kMbIconWarning : 0u);
        }
    }
}

TEST(UpdateCheckHttp, ASilentCheckStillAsksAboutANewerVersion)
{
    VersionServer server({200, " 3.00.000 ", 0, false});
    CheckRig rig;
    rig.prompter.QueueAnswer(kIdNo);
    rig.Start(server.Url(), true);
    ASSERT_TRUE(rig.Finish());
    ASSERT_EQ(rig.prompter.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompter.Prompts()[0].type, kMbYesNo | kMbIconInformation);
    EXPECT_TRUE(rig.launcher.Requests().empty());
}

// The call only starts the download: the window thread goes on meanwhile.
TEST(UpdateCheckHttp, ASlowAnswerDoesNotHoldTheCaller)
{
    VersionServer server({200, "2.05.000", 500, false});
    CheckRig rig;
    rig.Start(server.Url(), false);
    EXPECT_FALSE(rig.check->Finished());
    EXPECT_FALSE(server.Answered());
    ASSERT_TRUE(rig.Finish());
    EXPECT_TRUE(server.Answered());
    ASSERT_EQ(rig.prompter.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompter.Prompts()[0].text, kUpToDateText);
}

TEST(UpdateCheckHttp, AnOwnerGoneFirstGetsNoBox)
{
    VersionServer server({200, "9.99.999", 200, false});
    CheckRig rig;
    server.onRequest = [&rig] { rig.check.reset(); };
    rig.Start(server.Url(), false);
    // The dropped request closes its connection; the answer has nowhere to go.
    ASSERT_TRUE(ProcessEventsUntil([&] { return server.Disconnected(); }));
    EXPECT_EQ(rig.check, nullptr);
    EXPECT_TRUE(rig.prompter.Prompts().empty());
}

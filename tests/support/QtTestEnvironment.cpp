// One application object, with its event loop, for every window test of a
// binary; settings and documents in throwaway folders of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // QSettings takes its folder once, before the first store opens; the
        // view writes its session log into the documents folder.
        setenv("XDG_CONFIG_HOME", m_config.path().toUtf8().constData(), 1);
        setenv("XDG_DOCUMENTS_DIR", m_documents.path().toUtf8().constData(), 1);
        if (!QCoreApplication::instance())
            m_app = new QApplication(m_argc, m_argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[40] = QUORIN_TEST_BINARY;
    char* m_argv[2] = {m_name, nullptr};
    QApplication* m_app = nullptr;
    QTemporaryDir m_config;
    QTemporaryDir m_documents;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

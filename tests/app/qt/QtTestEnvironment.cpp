// One application object for every widget test of this binary.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // The main window's view writes the session log into the documents
        // folder: a throwaway one here.
        setenv("XDG_DOCUMENTS_DIR", m_documents.path().toUtf8().constData(), 1);
        if (!QApplication::instance())
            m_app = new QApplication(m_argc, m_argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "test_app_qt";
    char* m_argv[2] = {m_name, nullptr};
    QApplication* m_app = nullptr;
    QTemporaryDir m_documents;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

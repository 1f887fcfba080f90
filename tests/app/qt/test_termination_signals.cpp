#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <csignal>

#include "platform/qt/TerminationSignals.h"

// Start-up runs events (the splash pause) before the main loop exists, and
// quitting then does nothing: the signal must still end the program.
TEST(TerminationSignals, ASignalBeforeTheMainLoopIsRemembered)
{
    CTerminationSignals endOfSession;
    ASSERT_TRUE(endOfSession.Installed());
    EXPECT_FALSE(endOfSession.Requested());

    ASSERT_EQ(::raise(SIGTERM), 0);
    const QDeadlineTimer deadline(10000);
    while (!endOfSession.Requested() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(endOfSession.Requested());
}

// kill, Ctrl+C and a logout reach the program as a call from its event loop.
#include "platform/linux/termination_signals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace lw {
namespace {

void (*HandlerOf(int signal))(int) {
    struct sigaction action {};
    ::sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

bool WaitFor(const int& calls, int wanted) {
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired() && calls < wanted;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return calls == wanted;
}

TEST(TerminationSignals, EachEndsThroughTheLoopOnceAndWhatWasThereBeforeComesBack) {
    // Started under nohup: hang-ups stay ignored.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction hangUp {};
    ::sigaction(SIGHUP, &ignore, &hangUp);
    for (const int signal : {SIGTERM, SIGINT}) {
        int ends = 0;
        {
            const TTerminationSignals watch([&ends] { ++ends; });
            EXPECT_NE(HandlerOf(signal), SIG_DFL);
            EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
            ASSERT_EQ(::raise(signal), 0);
            EXPECT_EQ(ends, 0) << "the handler itself does nothing but tell the loop";
            EXPECT_TRUE(WaitFor(ends, 1)) << signal;
            // A second signal would end a program stuck while it ends.
            EXPECT_EQ(HandlerOf(signal), SIG_DFL);
            QCoreApplication::processEvents();
            EXPECT_EQ(ends, 1);
        }
        EXPECT_EQ(HandlerOf(SIGTERM), SIG_DFL);
        EXPECT_EQ(HandlerOf(SIGINT), SIG_DFL);
    }
    EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
    ::sigaction(SIGHUP, &hangUp, nullptr);
}

} // namespace
} // namespace lw

#pragma once

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace lw {

// Turns SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, a logout) into a call of
// end from the Qt event loop, so the program ends as its own Exit ends it:
// settings saved, temporary fonts released. The handler itself only writes a
// byte into a pipe, the one thing a handler may safely do. A second signal
// before the loop has answered ends the process at once, as it would have
// without this. One at a time; the handlers it replaced come back with it,
// and a signal ignored when it is made (nohup) stays ignored.
class TTerminationSignals {
public:
    explicit TTerminationSignals(std::function<void()> end);
    ~TTerminationSignals();
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

private:
    void Received();

    std::function<void()> End;
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction Previous[3]{};
    int ReadEnd = -1;
    std::unique_ptr<QSocketNotifier> Notifier;
};

} // namespace lw

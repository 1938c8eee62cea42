#include "platform/linux/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace lw {

namespace {

volatile sig_atomic_t WriteEnd = -1;

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(WriteEnd, &byte, 1);
    errno = saved;
}

} // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> end) : End(std::move(end)) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep ending the program as they always did
    }
    ReadEnd = ends[0];
    WriteEnd = ends[1];
    Notifier = std::make_unique<QSocketNotifier>(ReadEnd, QSocketNotifier::Read);
    QObject::connect(Notifier.get(), &QSocketNotifier::activated, [this] { Received(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    // The first signal is answered in the loop, a second one ends a program
    // that is stuck.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &Previous[i]);
        // A signal ignored by whoever started the program (nohup) stays so.
        if (Previous[i].sa_handler != SIG_IGN) {
            ::sigaction(kSignals[i], &action, nullptr);
        }
    }
}

TTerminationSignals::~TTerminationSignals() {
    if (ReadEnd < 0) {
        return;
    }
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &Previous[i], nullptr);
    }
    Notifier.reset();
    ::close(WriteEnd);
    WriteEnd = -1;
    ::close(ReadEnd);
}

void TTerminationSignals::Received() {
    char bytes[16];
    while (::read(ReadEnd, bytes, sizeof bytes) > 0) {
    }
    End();
}

} // namespace lw

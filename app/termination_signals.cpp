#include "app/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace pricelookup::app {
namespace {

constexpr std::array watched_signals{SIGTERM, SIGINT};

// The pipe's two ends; the write end is all the signal handler touches. One watcher
// exists per process, so these are plain globals, set before the handler is installed.
int read_end = -1;
int write_end = -1;

extern "C" void on_termination_signal(int signal_number) {
    const int saved_errno = errno;
    const auto byte = static_cast<unsigned char>(signal_number);
    // Non-blocking: with the pipe full, signals already wait to be read, and one more
    // changes nothing.
    [[maybe_unused]] const ssize_t written = write(write_end, &byte, 1);
    errno = saved_errno;
}

void set_action(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Calls that the signal cut short (a blocking fetch, a wait) go on where they were.
    action.sa_flags = SA_RESTART;
    for (const int signal_number : watched_signals) sigaction(signal_number, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> on_signal) : m_on_signal(std::move(on_signal)) {
    std::array<int, 2> ends{};
    // Close-on-exec: a program started by "刷新" inherits neither end.
    if (pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
    read_end = ends[0];
    write_end = ends[1];
    m_notifier = new QSocketNotifier(read_end, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::read_pending);
    set_action(on_termination_signal);
}

TerminationSignals::~TerminationSignals() {
    if (m_notifier == nullptr) return;
    set_action(SIG_DFL);
    close(read_end);
    close(write_end);
    read_end = write_end = -1;
}

void TerminationSignals::read_pending() {
    // Signals that came together are one request to end.
    std::array<unsigned char, 64> bytes{};
    bool received = false;
    while (read(read_end, bytes.data(), bytes.size()) > 0) received = true;
    if (received) m_on_signal();
}

}  // namespace pricelookup::app

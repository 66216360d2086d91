#pragma once

// SIGTERM and SIGINT (Ctrl+C in the terminal that started the program) turned into an
// ordinary event of the event loop. The signal handler only writes the signal's number
// into a pipe; the loop reads it and calls the routine given, on the GUI thread, at a
// moment when no other handler runs.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace pricelookup::app {

class TerminationSignals final : public QObject {
public:
    // From now on SIGTERM and SIGINT call `on_signal` from the event loop, once for
    // the signals that arrived since the last call:
    //   kill(getpid(), SIGTERM) → on_signal() at the next turn of the loop.
    // When the pipe cannot be made the signals keep their default action.
    explicit TerminationSignals(std::function<void()> on_signal);
    // Gives both signals their default action back.
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool is_watching() const { return m_notifier != nullptr; }

private:
    void read_pending();

    std::function<void()> m_on_signal;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace pricelookup::app

#pragma once

// A periodic timer with the semantics the handlers rely on, which QTimer alone does
// not give: setting the period it already has leaves a running countdown alone
// (QTimer::start always restarts), 0 or a negative period stops it, and stopping
// drops a tick that came due while the thread was busy. Ticks missed while the thread
// was blocked arrive as one.

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace pricelookup::ui {

class PeriodTimer : public QObject {
    Q_OBJECT

public:
    explicit PeriodTimer(QObject* parent = nullptr);

    // The stored period in ms; 0 while stopped.
    std::int32_t period() const { return m_period; }
    bool is_running() const { return m_timer.isActive(); }
    // How many countdowns have been started so far, the first one included: a period
    // set again that leaves the countdown alone does not count.
    int countdown_starts() const { return m_countdown_starts; }

    void set_period(std::int32_t period_ms);

signals:
    void ticked();

private:
    void on_timeout();

    QTimer m_timer;
    std::int32_t m_period = 0;
    int m_countdown_starts = 0;
};

}  // namespace pricelookup::ui

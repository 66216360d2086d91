#include "ui/period_timer.h"

namespace pricelookup::ui {

PeriodTimer::PeriodTimer(QObject* parent) : QObject(parent) {
    // Precise, so that a one-second countdown is one second and not up to 5 % off.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PeriodTimer::on_timeout);
}

void PeriodTimer::set_period(std::int32_t period_ms) {
    const std::int32_t period = period_ms < 0 ? 0 : period_ms;
    if (period == m_period) return;
    m_period = period;
    m_timer.stop();
    if (period > 0) {
        m_timer.start(period);
        ++m_countdown_starts;
    }
}

void PeriodTimer::on_timeout() {
    // A timeout that was already under way when the timer was stopped is dropped.
    if (m_period > 0) emit ticked();
}

}  // namespace pricelookup::ui

#include "toolkit/tick_timer.h"

TickTimer::TickTimer(QObject *parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickTimer::tick);
}

void TickTimer::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
    apply();
}

void TickTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

// Restarting on every change matches a platform timer: a new interval or a
// re-enable counts the next tick from now.
void TickTimer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

#pragma once

#include <QObject>
#include <QTimer>

// The run's periodic timer. Its interval and its enabled flag are independent
// settings, and an interval of 0 gives no ticks at all even while enabled (a
// bare QTimer would fire on every pass of the event loop instead).
class TickTimer : public QObject
{
    Q_OBJECT

public:
    explicit TickTimer(QObject *parent = nullptr);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds); // a negative interval is 0
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

Q_SIGNALS:
    void tick();

private:
    void apply();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

#include "toolkit/tick_timer.h"

#include <QSignalSpy>
#include <QTest>

class TestTickTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zeroIntervalNeverTicks();
    void disabledTimerNeverTicks();
    void enabledTimerTicks();
    void intervalIsKeptInTheTimersRange();
};

void TestTickTimer::zeroIntervalNeverTicks()
{
    TickTimer timer;
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.setEnabled(true);
    QTest::qWait(50);
    QCOMPARE(ticks.count(), 0);
    QVERIFY(timer.isEnabled());
}

void TestTickTimer::disabledTimerNeverTicks()
{
    TickTimer timer;
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.setInterval(1);
    QTest::qWait(50);
    QCOMPARE(ticks.count(), 0);
}

void TestTickTimer::enabledTimerTicks()
{
    TickTimer timer;
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.setInterval(1);
    timer.setEnabled(true);
    QTRY_VERIFY(ticks.count() > 0);
    timer.setInterval(0);
    const int before = int(ticks.count());
    QTest::qWait(50);
    QCOMPARE(int(ticks.count()), before);
}

void TestTickTimer::intervalIsKeptInTheTimersRange()
{
    TickTimer timer;
    timer.setInterval(70000);
    QCOMPARE(timer.interval(), 65535);
    timer.setInterval(-3);
    QCOMPARE(timer.interval(), 0);
}

QTEST_GUILESS_MAIN(TestTickTimer)
#include "test_tick_timer.moc"

#include "toolkit/tick_timer.h"

#include <QSignalSpy>
#include <QTest>

class TestTickTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An enabled timer ticks; at interval 0 it stays enabled and never ticks.
    void zeroIntervalNeverTicks()
    {
        TickTimer timer;
        QSignalSpy ticks(&timer, &TickTimer::tick);
        timer.setInterval(1);
        timer.setEnabled(true);
        QTRY_VERIFY(ticks.count() > 0);
        timer.setInterval(0);
        ticks.clear();
        QTest::qWait(50);
        QCOMPARE(ticks.count(), 0);
        QVERIFY(timer.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestTickTimer)
#include "test_tick_timer.moc"

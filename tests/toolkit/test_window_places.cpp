#include "toolkit/window_places.h"

#include <QSettings>
#include <QTest>
#include <QWidget>

using Rects = QList<QRect>;

class TestWindowPlaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QSettings().clear(); }
    void beside_data();
    void beside();
    void keptBeside_data();
    void keptBeside();
    void rememberedAtEachHiding();
};

void TestWindowPlaces::beside_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<Rects>("open");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("place");

    const QRect screen(0, 0, 1280, 1024);
    const QSize diagram(640, 480);
    // The main window as it starts, in the middle of a 1280 x 1024 screen:
    // 463 pixels free on its left, 464 on its right, 296 below.
    const QRect centred(471, 303, 337, 417);
    QTest::newRow("right before left where both have room")
        << QRect(791, 331, 337, 417) << diagram << Rects{} << QRect(0, 0, 1920, 1080) << QRect(1136, 331, 640, 480);
    QTest::newRow("right, level with the main window") << QRect(100, 100, 337, 417) << diagram << Rects{} << screen
                                                       << QRect(445, 100, 640, 480);
    QTest::newRow("left where the right has no room") << QRect(700, 100, 337, 417) << diagram << Rects{} << screen
                                                      << QRect(52, 100, 640, 480);
    QTest::newRow("below where neither side has room") << QRect(300, 0, 700, 300) << diagram << Rects{} << screen
                                                       << QRect(300, 308, 640, 480);
    QTest::newRow("held up by the screen's bottom") << QRect(100, 700, 337, 300) << diagram << Rects{} << screen
                                                    << QRect(445, 544, 640, 480);
    QTest::newRow("below, held in by the screen's right") << QRect(645, 0, 635, 300) << diagram << Rects{} << screen
                                                          << QRect(640, 308, 640, 480);
    QTest::newRow("smaller, on the side with most room") << centred << diagram << Rects{} << screen
                                                         << QRect(816, 303, 464, 480);
    QTest::newRow("smaller, below where that has most room") << QRect(400, 0, 350, 300) << diagram << Rects{}
                                                             << QRect(0, 0, 1000, 700) << QRect(360, 308, 640, 392);
    QTest::newRow("not over a window open on the right") << centred << diagram << Rects{QRect(816, 303, 464, 480)}
                                                         << screen << QRect(0, 303, 463, 480);
    QTest::newRow("a full fit kept clear of an open window")
        << QRect(100, 100, 337, 417) << diagram << Rects{QRect(445, 0, 835, 520)} << screen
        << QRect(100, 525, 640, 480);
    QTest::newRow("over an open window rather than the main window")
        << centred << diagram << Rects{QRect(816, 0, 464, 1024), QRect(0, 0, 463, 1024), QRect(0, 728, 1280, 296)}
        << screen << QRect(816, 303, 464, 480);
    QTest::newRow("never below the least size") << QRect(100, 100, 337, 417) << QSize(100, 50) << Rects{} << screen
                                                << QRect(445, 100, 200, 150);
    QTest::newRow("no room: on the screen, right of the main window's edge")
        << QRect(0, 0, 760, 600) << diagram << Rects{} << QRect(0, 0, 800, 600) << QRect(160, 0, 640, 480);
    QTest::newRow("a screen to the right of another") << QRect(2800, 100, 337, 417) << diagram << Rects{}
                                                      << QRect(1280, 0, 1920, 1080) << QRect(2152, 100, 640, 480);
    QTest::newRow("a main window half off the screen") << QRect(-200, 100, 337, 417) << diagram << Rects{} << screen
                                                       << QRect(145, 100, 640, 480);
}

void TestWindowPlaces::beside()
{
    QFETCH(QRect, main);
    QFETCH(QSize, wanted);
    QFETCH(Rects, open);
    QFETCH(QRect, screen);
    QFETCH(QRect, place);
    QCOMPARE(WindowPlaces::beside(main, wanted, QSize(200, 150), screen, open), place);
}

void TestWindowPlaces::keptBeside_data()
{
    QTest::addColumn<QPoint>("mainAt");
    QTest::addColumn<QRect>("remembered");   // top-left corner and inside size, as kept
    QTest::addColumn<QRect>("frame");        // where the window shows, frame included

    // Offscreen windows have a frame of 2 pixels; the main window's outer
    // rectangle is (0, 0, 304, 404) at (0, 0).
    QTest::newRow("first opening: beside") << QPoint(0, 0) << QRect() << QRect(312, 0, 204, 154);
    QTest::newRow("where it was left, at that size") << QPoint(0, 0) << QRect(400, 300, 250, 100)
                                                     << QRect(400, 300, 254, 104);
    QTest::newRow("a place the main window now covers: beside, at that size")
        << QPoint(200, 100) << QRect(400, 300, 250, 100) << QRect(512, 100, 254, 104);
    QTest::newRow("a place off the screen: beside") << QPoint(0, 0) << QRect(700, 0, 250, 100)
                                                    << QRect(312, 0, 254, 104);
    QTest::newRow("held up by the screen's bottom, frame and all")
        << QPoint(0, 380) << QRect(0, 0, 250, 500) << QRect(312, 296, 254, 504);
}

void TestWindowPlaces::keptBeside()
{
    QFETCH(QPoint, mainAt);
    QFETCH(QRect, remembered);
    QFETCH(QRect, frame);
    if (!remembered.isEmpty()) {
        QSettings settings;
        settings.setValue(QStringLiteral("Tool/pos"), remembered.topLeft());
        settings.setValue(QStringLiteral("Tool/size"), remembered.size());
    }
    QWidget main;
    main.resize(300, 400);
    main.move(mainAt);
    main.show();
    QWidget tool(&main, Qt::Window);
    tool.resize(200, 150);
    WindowPlaces::keepBeside(tool, QStringLiteral("Tool"), main);
    tool.show();
    QCOMPARE(tool.frameGeometry(), frame);
}

// The place and size at each hiding, unless the window is maximized then.
void TestWindowPlaces::rememberedAtEachHiding()
{
    QWidget main;
    main.resize(300, 400);
    main.move(0, 0);
    main.show();
    QWidget tool(&main, Qt::Window);
    tool.resize(200, 150);
    WindowPlaces::keepBeside(tool, QStringLiteral("Tool"), main);
    QList<QRect> kept;
    tool.show();
    tool.hide();
    kept << WindowPlaces::remembered(QStringLiteral("Tool"));
    tool.show();
    tool.move(320, 420);
    tool.resize(220, 160);
    tool.hide();
    kept << WindowPlaces::remembered(QStringLiteral("Tool"));
    tool.showMaximized();
    QTRY_VERIFY(tool.size() != QSize(220, 160));
    tool.hide();
    kept << WindowPlaces::remembered(QStringLiteral("Tool"));
    QCOMPARE(kept, (QList<QRect>{QRect(312, 0, 200, 150), QRect(320, 420, 220, 160), QRect(320, 420, 220, 160)}));
}

QTEST_MAIN(TestWindowPlaces)
#include "test_window_places.moc"

#include "editor_test_support.h"
#include "windows/editors/frm_ttable.h"

#include <QApplication>
#include <QTableView>

namespace {

QTableView *table(frm_ttable &dlg) { return dlg.findChild<QTableView *>("table"); }

// The grid row by row, headers included: "Q/E|0 / >*p|q".
QString grid(frm_ttable &dlg)
{
    QStringList rows;
    for (int r = 0; r < dlg.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < dlg.columnCount(); ++c)
            cells.append(dlg.cellText(r, c));
        rows.append(cells.join('|'));
    }
    return rows.join(" / ");
}

QString current(frm_ttable &dlg)
{
    return QString(" (%1, %2)").arg(dlg.currentRow()).arg(dlg.currentColumn());
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fill_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<Rows>("transitions");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Rows>("fitted");

        QTest::newRow("start and final: start mark first") << 0 << Rows{{2, 1, 7}, {1, 0, 0}, {9}}
            << "Q/E|0|1 / >*p|q|p / q|p| (2, 2)" << Rows{{2, 1, 7}, {1, 0, 0}, {9}};
        QTest::newRow("targets out of range show empty") << 1 << Rows{{3, -1}, {0, 5}}
            << "Q/E|0|1 / *p|| / >q|| (2, 2)" << Rows{{3, -1, 0}, {0, 5, 0}};
        QTest::newRow("missing rows and entries") << -1 << Rows{{2}}
            << "Q/E|0|1 / *p|q| / q|| (2, 2)" << Rows{{2, 0, 0}, {0, 0, 0}, {}};
        QTest::newRow("longer row, start past the last") << 2 << Rows{{1, 2, 3, 4}, {}}
            << "Q/E|0|1 / *p|p|q / q|| (2, 2)" << Rows{{1, 2, 3}, {0, 0, 0}};
    }

    void fill()
    {
        QFETCH(int, start);
        QFETCH(Rows, transitions);
        QFETCH(QString, shown);
        QFETCH(Rows, fitted);
        modAll model = automaton({"*p", "q"}, {"0", "1"});
        model.start_state = qint16(start);
        model.transitions = transitions;
        Opened<frm_ttable> o(model);
        QCOMPARE(grid(o.dlg) + current(o.dlg), shown);
        QCOMPARE(model.transitions, fitted);
        QVERIFY(model.is_saved);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("before");   // cell (1, 1), current
        QTest::addColumn<QString>("after");    // the cell, the current cell, whether still saved

        QTest::newRow("digit appends") << int(Qt::Key_1) << "1" << "q" << "q1 (1, 1) 0";
        QTest::newRow("blank appends") << int(Qt::Key_Space) << " " << "q" << "q  (1, 1) 0";
        QTest::newRow("tilde, 126, appends") << int(Qt::Key_AsciiTilde) << "~" << "" << "~ (1, 1) 0";
        QTest::newRow("backspace takes the last") << int(Qt::Key_Backspace) << "\b" << "q1" << "q (1, 1) 0";
        QTest::newRow("backspace on empty cell") << int(Qt::Key_Backspace) << "\b" << "" << " (1, 1) 0";
        QTest::newRow("accented letter swallowed") << int(Qt::Key_Eacute) << "\u00e9" << "q" << "q (1, 1) 1";
        QTest::newRow("tab is the grid's") << int(Qt::Key_Tab) << "\t" << "q" << "q (1, 2) 1";
        QTest::newRow("arrow is the grid's") << int(Qt::Key_Down) << "" << "q" << "q (2, 1) 1";
        QTest::newRow("escape closes nothing") << int(Qt::Key_Escape) << "\x1b" << "q" << "q (1, 1) 1";
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, before);
        QFETCH(QString, after);
        modAll model = automaton({"q", "q1"}, {"0", "1"});
        model.transitions = {{model.findState(before), 0}};
        Opened<frm_ttable> o(model);
        o.dlg.setCurrentCell(1, 1);
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(table(o.dlg), &event);
        QCOMPARE(o.dlg.cellText(1, 1) + current(o.dlg) + ' ' + QString::number(model.is_saved), after);
        QVERIFY(o.dlg.isVisible());
    }

    void store_data()
    {
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QStringList>("typed");   // into the cells, row by row
        QTest::addColumn<Rows>("stored");         // every entry was 9: still 9 where not stored
        QTest::addColumn<QString>("refusal");     // the box, and the current cell after it

        QTest::newRow("last of a repeated name wins") << QStringList{"a", "b", "a"}
            << QStringList{"a", "b", "", "", "", "a"} << Rows{{3, 2, 9}, {0, 0, 9}, {0, 3, 9}} << "";
        QTest::newRow("case counts") << QStringList{"q1"} << QStringList{"", "Q1"} << Rows{{0, 9, 9}}
            << "ERROR: State 'Q1' does not exists. (1, 2)";
        QTest::newRow("first refusal wins, blanks count") << QStringList{"q0", "q1"}
            << QStringList{"q1", " q1", "x", ""} << Rows{{2, 9, 9}, {9, 9, 9}}
            << "ERROR: State ' q1' does not exists. (1, 2)";
    }

    void store()
    {
        QFETCH(QStringList, states);
        QFETCH(QStringList, typed);
        QFETCH(Rows, stored);
        QFETCH(QString, refusal);
        modAll model = automaton(states, {"0", "1"});
        model.transitions = Rows(states.size(), {9, 9, 9});
        Opened<frm_ttable> o(model);
        for (int i = 0; i < typed.size(); ++i) {
            o.dlg.setCurrentCell(i / 2 + 1, i % 2 + 1);
            QTest::keyClicks(table(o.dlg), typed[i]);
        }
        o.dialogs.answerMessage();
        // The close box asks to close; a refused store keeps the window open.
        QCOMPARE(o.dlg.close(), refusal.isEmpty());
        QCOMPARE(model.transitions.mid(0, states.size()), stored);
        if (!refusal.isEmpty()) {
            QCOMPARE(o.dialogs.transcript().join('|') + current(o.dlg), refusal);
            QCOMPARE(o.dialogs.lastCall().icon, Dialogs::Icon::Critical);
        }
    }

    void closing_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("outcome");   // open or closed, the entry stored, the position

        QTest::newRow("not moved: units kept, not rounded") << false << false << "q1" << "closed 2 at 1000,2000";
        QTest::newRow("moved: position remembered") << true << false << "q1" << "closed 2 at 3000,1800";
        QTest::newRow("minimized: cells stored, position not") << true << true << "q1" << "closed 2 at 1000,2000";
        QTest::newRow("minimized, refused: restored") << true << true << "q9" << "open 0 at 1000,2000";
    }

    void closing()
    {
        QFETCH(bool, moved);
        QFETCH(bool, minimized);
        QFETCH(QString, typed);
        QFETCH(QString, outcome);
        modAll model = automaton({"q0", "q1"}, {"0"});
        model.ttable_left = 1000;
        model.ttable_top = 2000;
        Opened<frm_ttable> o(model);
        QCOMPARE(o.dlg.pos(), QPoint(67, 133));
        o.dlg.setCurrentCell(1, 1);
        QTest::keyClicks(table(o.dlg), typed);
        if (moved)
            o.dlg.move(200, 120);
        if (minimized)
            o.dlg.showMinimized();
        o.dialogs.answerMessage();
        o.dlg.close();
        QCOMPARE(QString("%1 %2 at %3,%4").arg(o.dlg.isVisible() && !o.dlg.isMinimized() ? "open" : "closed")
                     .arg(model.entry(0, 0)).arg(model.ttable_left).arg(model.ttable_top), outcome);
    }

    void layout()
    {
        // Never below 5000 x 3000 units outer size; the grid 100 and 500 units
        // (7 and 33 pixels) narrower and shorter than the window.
        modAll model = automaton({"q0"}, {"0"});
        Opened<frm_ttable> o(model);
        o.dlg.resize(100, 100);
        QTRY_COMPARE(o.dlg.frameGeometry().size(), QSize(333, 200));
        QTRY_COMPARE(table(o.dlg)->geometry(), QRect(0, 0, 326, 167));
    }
};

QTEST_MAIN(TestTable)
#include "test_frm_ttable.moc"

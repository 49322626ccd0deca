#include "scripted_dialogs.h"
#include "test_automata.h"
#include "windows/editors/frm_ttable.h"

#include <QTableView>
#include <QTest>

using Rows = QList<QList<qint16>>;

namespace {

// One opening of an editor, shown, with its boxes answered from a script.
template <typename Editor>
struct Opened
{
    explicit Opened(modAll &model) : dlg(model, dialogs, nullptr) { dlg.show(); }
    ScriptedDialogs dialogs;
    Editor dlg;
};

QTableView *table(frm_ttable &dlg) { return dlg.findChild<QTableView *>(); }

QString current(frm_ttable &dlg) { return QString(" (%1, %2)").arg(dlg.currentRow()).arg(dlg.currentColumn()); }

// The grid, headers included, cells joined by '|' and rows ended by '/', then
// the current cell: "Q/E|0/>*p|q/ (1, 1)".
QString grid(frm_ttable &dlg)
{
    QString cells;
    for (int r = 0; r < dlg.rowCount(); ++r)
        for (int c = 0; c < dlg.columnCount(); ++c)
            cells += dlg.cellText(r, c) + (c + 1 < dlg.columnCount() ? '|' : '/');
    return cells + current(dlg);
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grid_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<Rows>("transitions");
        QTest::addColumn<QString>("typed");    // into the current cell, the bottom-right one
        QTest::addColumn<QString>("shown");    // the grid, whether still saved

        QTest::newRow("start mark before final") << 0 << Rows{{2, 1}, {1}} << "" << "Q/E|0|1/>*p|q|p/q|p|/ (2, 2) 1";
        QTest::newRow("start and targets past") << 2 << Rows{{3, -1}, {0, 1}} << "" << "Q/E|0|1/*p||/q||p/ (2, 2) 1";
        QTest::newRow("32 and 126 appended") << -1 << Rows{} << "p ~" << "Q/E|0|1/*p||/q||p ~/ (2, 2) 0";
        QTest::newRow("backspace takes the last") << -1 << Rows{} << "pq\b" << "Q/E|0|1/*p||/q||p/ (2, 2) 0";
        QTest::newRow("backspace on empty cell") << -1 << Rows{} << "\b" << "Q/E|0|1/*p||/q||/ (2, 2) 0";
        QTest::newRow("escape, 127 up, tab") << -1 << Rows{} << "\x1b\x7f\u00e9\t" << "Q/E|0|1/*p||/q||/ (1, 1) 1";
    }

    void grid()
    {
        QFETCH(int, start);
        QFETCH(Rows, transitions);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        modAll model = makeAutomaton({"p", "q"}, {"p"}, {"0", "1"}, {}, qint16(start));
        model.transitions = transitions;
        Opened<frm_ttable> o(model);
        for (const QChar key : typed)   // DEL and past ASCII: a key without a code of its own
            QTest::sendKeyEvent(QTest::Click, table(o.dlg),
                                key < u'\x7f' ? QTest::asciiToKey(key.toLatin1()) : Qt::Key_unknown, QString(key), {});
        QCOMPARE(::grid(o.dlg) + ' ' + QString::number(model.is_saved) + (o.dlg.isVisible() ? "" : " closed"), shown);
    }

    void store_data()
    {
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("typed");      // into the cells, row by row
        QTest::addColumn<Rows>("stored");        // every entry was 9: still 9 where not stored
        QTest::addColumn<QString>("refusal");    // the box, the current cell after it, the window

        QTest::newRow("last of a repeated name wins") << "a b a" << "a|b||||a"
            << Rows{{3, 2, 9}, {0, 0, 9}, {0, 3, 9}} << "";
        QTest::newRow("first refusal wins, blanks count") << "q0 q1" << "q1| q1|x|"
            << Rows{{2, 9, 9}, {9, 9, 9}} << "ERROR: State ' q1' does not exists. (1, 2)";
    }

    void store()
    {
        QFETCH(QString, states);
        QFETCH(QString, typed);
        QFETCH(Rows, stored);
        QFETCH(QString, refusal);
        modAll model = makeAutomaton(states.split(' '), {}, {"0", "1"}, Rows(states.count(' ') + 1, {9, 9, 9}));
        Opened<frm_ttable> o(model);
        for (int i = 0; i < typed.split('|').size(); ++i) {
            o.dlg.setCurrentCell(i / 2 + 1, i % 2 + 1);
            QTest::keyClicks(table(o.dlg), typed.split('|')[i]);
        }
        o.dlg.showMinimized();   // still stored; a refusal brings the window back
        o.dialogs.answerMessage();
        // The close box asks to close; a refused store keeps the window open.
        QCOMPARE(o.dlg.close(), refusal.isEmpty());
        QCOMPARE(model.transitions.mid(0, model.state_count), stored);
        if (!refusal.isEmpty())   // with the error icon; the cell is left current, the window restored
            QCOMPARE(o.dialogs.transcript().join('|') + current(o.dlg) + (o.dlg.isMinimized() ? " minimized" : "")
                         + (o.dialogs.lastCall().icon == Dialogs::Icon::Critical ? "" : " (wrong icon)"), refusal);
    }
};

QTEST_MAIN(TestEditors)
#include "test_editors.moc"

#include "editor_test_support.h"
#include "windows/editors/frm_ttable.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

using Rows = QList<QList<qint16>>;

class TestTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headers_data();
    void headers();
    void fill_data();
    void fill();
    void keys_data();
    void keys();
    void store_data();
    void store();
    void closingMinimized_data();
    void closingMinimized();
    void layout_data();
    void layout();
    void remembersPosition();
    void headerColumnFitsEveryName();
};

namespace {

QTableView *table(frm_ttable &dlg) { return dlg.findChild<QTableView *>("table"); }

void press(frm_ttable &dlg, Qt::Key key, const QString &text)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(table(dlg), &event);
}

// Types `text` into a cell as a user would, after erasing what it held.
void type(frm_ttable &dlg, int row, int column, const QString &text)
{
    dlg.setCurrentCell(row, column);
    for (qsizetype n = dlg.cellText(row, column).size(); n > 0; --n)
        press(dlg, Qt::Key_Backspace, "\b");
    QTest::keyClicks(table(dlg), text);
}

QStringList dataCells(frm_ttable &dlg)
{
    QStringList cells;
    for (int r = 1; r < dlg.rowCount(); ++r)
        for (int c = 1; c < dlg.columnCount(); ++c)
            cells.append(dlg.cellText(r, c));
    return cells;
}

} // namespace

void TestTable::headers_data()
{
    QTest::addColumn<QStringList>("states");
    QTest::addColumn<int>("start");
    QTest::addColumn<QStringList>("headers");

    QTest::newRow("start and final: start mark first") << QStringList{"*a", "b"} << 0 << QStringList{">*a", "b"};
    QTest::newRow("start, and a final state") << QStringList{"a", "*b"} << 0 << QStringList{">a", "*b"};
    QTest::newRow("start on a later state") << QStringList{"a", "b"} << 1 << QStringList{"a", ">b"};
    QTest::newRow("no start") << QStringList{"a", "*b"} << -1 << QStringList{"a", "*b"};
    QTest::newRow("start past the last state") << QStringList{"a", "b"} << 2 << QStringList{"a", "b"};
}

void TestTable::headers()
{
    QFETCH(QStringList, states);
    QFETCH(int, start);
    QFETCH(QStringList, headers);

    modAll model = automaton(states, {"0", "1", "x"});
    model.start_state = qint16(start);
    ScriptedDialogs dialogs;
    frm_ttable dlg(model, dialogs, nullptr);
    QCOMPARE(dlg.rowCount(), states.size() + 1);
    QCOMPARE(dlg.columnCount(), 4);
    QCOMPARE(dlg.cellText(0, 0), "Q/E");
    QCOMPARE(dlg.cellText(0, 3), "x");
    for (int i = 0; i < headers.size(); ++i) {
        QCOMPARE(dlg.cellText(i + 1, 0), headers[i]);
        QCOMPARE(table(dlg)->model()->headerData(i, Qt::Vertical).toString(), headers[i]);
    }
}

void TestTable::fill_data()
{
    QTest::addColumn<Rows>("transitions");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<Rows>("fitted");

    QTest::newRow("targets in range") << Rows{{2, 1, 7}, {1, 0, 0}, {9}}
                                      << QStringList{"q", "p", "p", ""} << Rows{{2, 1, 7}, {1, 0, 0}, {9}};
    QTest::newRow("targets out of range show empty") << Rows{{3, -1}, {0, 5}}
                                                     << QStringList{"", "", "", ""} << Rows{{3, -1, 0}, {0, 5, 0}};
    QTest::newRow("missing rows and entries") << Rows{{2}}
                                              << QStringList{"q", "", "", ""} << Rows{{2, 0, 0}, {0, 0, 0}, {}};
    QTest::newRow("row longer than the alphabet") << Rows{{1, 2, 3, 4}, {}}
                                                  << QStringList{"p", "q", "", ""} << Rows{{1, 2, 3}, {0, 0, 0}};
}

void TestTable::fill()
{
    QFETCH(Rows, transitions);
    QFETCH(QStringList, cells);
    QFETCH(Rows, fitted);

    modAll model = automaton({"p", "q"}, {"0", "1"});
    model.transitions = transitions;
    ScriptedDialogs dialogs;
    frm_ttable dlg(model, dialogs, nullptr);
    QCOMPARE(dataCells(dlg), cells);
    QCOMPARE(model.transitions, fitted);
    QCOMPARE(dlg.currentRow(), 2);
    QCOMPARE(dlg.currentColumn(), 2);
    QVERIFY(model.is_saved);
}

void TestTable::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("column");    // current column afterwards

    QTest::newRow("digit appends") << int(Qt::Key_1) << "1" << "q" << "q1" << false << 1;
    QTest::newRow("blank appends") << int(Qt::Key_Space) << " " << "q" << "q " << false << 1;
    QTest::newRow("tilde, 126, appends") << int(Qt::Key_AsciiTilde) << "~" << "" << "~" << false << 1;
    QTest::newRow("backspace takes the last") << int(Qt::Key_Backspace) << "\b" << "q1" << "q" << false << 1;
    QTest::newRow("backspace on empty cell") << int(Qt::Key_Backspace) << "\b" << "" << "" << false << 1;
    QTest::newRow("127 swallowed") << int(Qt::Key_Delete) << "\x7f" << "q" << "q" << true << 1;
    QTest::newRow("accented letter swallowed") << int(Qt::Key_Eacute) << "\u00e9" << "q" << "q" << true << 1;
    QTest::newRow("tab is the grid's") << int(Qt::Key_Tab) << "\t" << "q" << "q" << true << 2;
    QTest::newRow("arrow is the grid's") << int(Qt::Key_Right) << "" << "q" << "q" << true << 2;
    QTest::newRow("escape is nobody's") << int(Qt::Key_Escape) << "\x1b" << "q" << "q" << true << 1;
}

void TestTable::keys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, saved);
    QFETCH(int, column);

    modAll model = automaton({"q", "q1"}, {"0", "1"});
    model.transitions = {{qint16(model.findState(before)), 0}, {}};
    ScriptedDialogs dialogs;
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    dlg.setCurrentCell(1, 1);
    press(dlg, Qt::Key(key), text);
    QCOMPARE(dlg.cellText(1, 1), after);
    QCOMPARE(model.is_saved, saved);
    QCOMPARE(dlg.currentColumn(), column);
    QVERIFY(dlg.isVisible());
}

void TestTable::store_data()
{
    QTest::addColumn<QStringList>("states");
    QTest::addColumn<QStringList>("typed");     // data cells row by row; "-" leaves a cell alone
    QTest::addColumn<Rows>("stored");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("refusedColumn");   // in row 1

    // Every entry starts as 1, so a cell left alone by a refused store still reads 1.
    QTest::newRow("names become positions") << QStringList{"q0", "q1"} << QStringList{"q1", "", "-", "q1"}
                                            << Rows{{2, 0, 1}, {1, 2, 1}} << "" << 0;
    QTest::newRow("last of a repeated name") << QStringList{"a", "b", "a"} << QStringList{"a", "b", "", "", "", ""}
                                             << Rows{{3, 2, 1}, {0, 0, 1}, {0, 0, 1}} << "" << 0;
    QTest::newRow("case counts") << QStringList{"q1"} << QStringList{"", "Q1"} << Rows{{0, 1, 1}}
                                 << "State 'Q1' does not exists." << 2;
    QTest::newRow("leading blank counts") << QStringList{"q1"} << QStringList{" q1", ""} << Rows{{1, 1, 1}}
                                          << "State ' q1' does not exists." << 1;
    QTest::newRow("first refusal wins") << QStringList{"q0", "q1"} << QStringList{"q1", "q9", "x", ""}
                                        << Rows{{2, 1, 1}, {1, 1, 1}} << "State 'q9' does not exists." << 2;
}

void TestTable::store()
{
    QFETCH(QStringList, states);
    QFETCH(QStringList, typed);
    QFETCH(Rows, stored);
    QFETCH(QString, refusal);
    QFETCH(int, refusedColumn);

    modAll model = automaton(states, {"0", "1"});
    model.transitions = Rows(states.size(), {1, 1, 1});
    ScriptedDialogs dialogs;
    if (!refusal.isEmpty())
        dialogs.answerMessage();
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    for (int i = 0; i < typed.size(); ++i)
        if (typed[i] != "-")
            type(dlg, i / 2 + 1, i % 2 + 1, typed[i]);
    // The close box asks to close; a refused store keeps the window open.
    QCOMPARE(dlg.close(), refusal.isEmpty());
    QCOMPARE(dlg.isVisible(), !refusal.isEmpty());
    QCOMPARE(model.transitions.mid(0, states.size()), stored);
    if (!refusal.isEmpty()) {
        QCOMPARE(dialogs.transcript(), QStringList{"ERROR: " + refusal});
        QCOMPARE(dialogs.lastCall().icon, Dialogs::Icon::Critical);
        QCOMPARE(dlg.currentRow(), 1);
        QCOMPARE(dlg.currentColumn(), refusedColumn);
    }
}

void TestTable::closingMinimized_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cells stored") << "q1" << true;
    QTest::newRow("refused, window restored") << "q9" << false;
}

void TestTable::closingMinimized()
{
    QFETCH(QString, typed);
    QFETCH(bool, closes);

    modAll model = automaton({"q0", "q1"}, {"0"});
    model.ttable_left = 1500;
    model.ttable_top = 1500;
    ScriptedDialogs dialogs;
    if (!closes)
        dialogs.answerMessage();
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    type(dlg, 1, 1, typed);
    dlg.move(400, 300);
    dlg.showMinimized();
    QCOMPARE(dlg.close(), closes);
    QCOMPARE(model.entry(0, 0), qint16(closes ? 2 : 0));
    QCOMPARE(dlg.isVisible() && !dlg.isMinimized(), !closes);
    QCOMPARE(model.ttable_left, 1500);
    QCOMPARE(model.ttable_top, 1500);
}

void TestTable::layout_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<QSize>("window");   // outer size, frame included
    QTest::newRow("too small both ways") << QSize(100, 100) << QSize(333, 200);
    QTest::newRow("too narrow") << QSize(200, 400) << QSize(333, 400);
    QTest::newRow("large") << QSize(700, 500) << QSize(700, 500);
}

void TestTable::layout()
{
    QFETCH(QSize, asked);
    QFETCH(QSize, window);

    modAll model = automaton({"q0"}, {"0"});
    ScriptedDialogs dialogs;
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    const QSize frame = dlg.frameGeometry().size() - dlg.size();
    dlg.resize(asked - frame);
    QTRY_COMPARE(dlg.frameGeometry().size(), window);
    // 100 and 500 layout units narrower and shorter: 7 and 33 pixels.
    QTRY_COMPARE(table(dlg)->geometry(), QRect(QPoint(0, 0), window - QSize(7, 33)));
}

void TestTable::remembersPosition()
{
    modAll model = automaton({"q0"}, {"0"});
    model.ttable_left = 1000;
    model.ttable_top = 2000;
    ScriptedDialogs dialogs;
    {
        frm_ttable dlg(model, dialogs, nullptr);
        dlg.show();
        QCOMPARE(dlg.pos(), QPoint(67, 133));
        QVERIFY(dlg.close());
    }
    // Not moved: the units stay as they were, not rounded through pixels.
    QCOMPARE(model.ttable_left, 1000);
    QCOMPARE(model.ttable_top, 2000);
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    dlg.move(200, 120);
    QVERIFY(dlg.close());
    QCOMPARE(model.ttable_left, 3000);
    QCOMPARE(model.ttable_top, 1800);
}

void TestTable::headerColumnFitsEveryName()
{
    // The view alone would size the header column from the first and last rows only.
    QStringList names;
    for (int i = 0; i < 400; ++i)
        names.append(i == 200 ? "a longer name in the middle" : "q" + QString::number(i));
    modAll model = automaton(names, {"0"});
    ScriptedDialogs dialogs;
    frm_ttable dlg(model, dialogs, nullptr);
    dlg.show();
    QHeaderView *header = table(dlg)->verticalHeader();
    QVERIFY(header->width() > header->fontMetrics().horizontalAdvance(names[200]));
}

QTEST_MAIN(TestTable)
#include "test_frm_ttable.moc"

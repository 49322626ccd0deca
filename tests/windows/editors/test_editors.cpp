#include "scripted_dialogs.h"
#include "test_automata.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_sstate.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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

void click(QWidget *dialog, const QString &button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
}

QListWidget *list(QWidget *dialog) { return dialog->findChild<QListWidget *>(); }

// A list editor's entries joined by '|', a checked one with '*' in front, the
// highlighted one in brackets ("*A|[B]"); a label must count the checked ones.
QString picture(QWidget *dialog)
{
    QStringList entries;
    for (int i = 0; i < list(dialog)->count(); ++i) {
        const QListWidgetItem *item = list(dialog)->item(i);
        const QString entry = (item->checkState() == Qt::Checked ? "*" : "") + item->text();
        entries.append(item->isSelected() ? '[' + entry + ']' : entry);
    }
    const QString shown = entries.join('|');
    const auto *label = dialog->findChild<QLabel *>("lbl_state");
    const bool counted = !label || label->text() == QString::number(shown.count('*')) + " state(s) are final.";
    return shown + (counted ? "" : " (label: " + label->text() + ')');
}

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
    void lists_data()
    {
        QTest::addColumn<bool>("states");      // or symbols
        QTest::addColumn<QString>("before");   // a picture; the entry in brackets is picked first
        QTest::addColumn<QString>("press");    // a button; "cmd_add=x" answers x to its input box
        QTest::addColumn<QString>("after");    // a picture, after "unsaved: " if the automaton changed
        QTest::addColumn<QString>("boxes");

        const QString state = "INPUT STATE: Enter symbol for state.";
        const QString symbol = "INPUT ALPHABET: Enter input symbol.";
        QTest::newRow("state cancelled or empty") << true << "[q0]" << "cmd_add=" << "[q0]"
                                                  << state + "|ERROR: This is an invalid input symbol.";
        QTest::newRow("state taken") << true << "q0|*b" << "cmd_add=b" << "q0|*b"
                                     << state + "|ERROR: This state symbol is already exists.";
        QTest::newRow("case, blanks count") << true << "Q0|[q0 ]" << "cmd_add=q0" << "unsaved: Q0|[q0 ]|q0" << state;
        QTest::newRow("up moves the name, not the mark") << true << "*A|[B]" << "cmd_up" << "unsaved: [*B]|A" << "";
        QTest::newRow("up on the first") << true << "[A]|B" << "cmd_up" << "[A]|B" << "";
        QTest::newRow("down on the last") << true << "A|[B]" << "cmd_down" << "A|[B]" << "";
        QTest::newRow("down without current") << true << "*A|B" << "cmd_down" << "*A|B" << "";
        QTest::newRow("remove without current") << true << "*A|*B" << "cmd_rem" << "*A|*B" << "";
        QTest::newRow("remove a checked current") << true << "A|[*B]|C" << "cmd_rem" << "unsaved: A|C" << "";
        QTest::newRow("clear") << true << "*A|B" << "cmd_clr" << "unsaved: " << "";
        QTest::newRow("symbol of two") << false << "a" << "cmd_add=ab" << "a"
                                       << symbol + "|INVALID INPUT SYMBOL: Input symbol must be a single character.";
        QTest::newRow("symbol taken") << false << "a" << "cmd_add=a" << "a"
                                      << symbol + "|ERROR: This input symbol is already exists.";
        QTest::newRow("surrogate pair") << false << "a" << "cmd_add=\U0001D11E" << "unsaved: a|\U0001D11E" << symbol;
    }

    void lists()
    {
        QFETCH(bool, states);
        QFETCH(QString, before);
        QFETCH(QString, press);
        QFETCH(QString, after);
        QFETCH(QString, boxes);
        const QStringList entries = QString(before).remove('[').remove(']').split('|', Qt::SkipEmptyParts);
        const QStringList names = QStringList(entries).replaceInStrings("*", "");
        modAll model = makeAutomaton(names, QStringList(entries.filter("*")).replaceInStrings("*", ""), names, {});
        Opened<frm_states> stateList(model);
        Opened<frm_alphabets> symbolList(model);
        QDialog *dlg = states ? static_cast<QDialog *>(&stateList.dlg) : &symbolList.dlg;
        ScriptedDialogs &dialogs = states ? stateList.dialogs : symbolList.dialogs;
        // Enter and Escape press no button (a box it opened would be unscripted and
        // fail the test, a change would show below) and do not close the dialog.
        for (QPushButton *button : dlg->findChildren<QPushButton *>())
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(button, key);
        list(dlg)->setCurrentRow(before.contains('[') ? int(before.left(before.indexOf('[')).count('|')) : -1);
        const QStringList button = press.split('=');
        dialogs.answerInput(button.value(1));   // used only by an add
        dialogs.answerMessage();                // used only when the answer is refused
        click(dlg, button[0]);
        QCOMPARE(dialogs.transcript().join('|'), boxes);
        // A refusal, the box after the input box, shows the exclamation icon.
        QCOMPARE(dialogs.calls().value(1).icon, boxes.contains('|') ? Dialogs::Icon::Exclamation : Dialogs::Icon::None);
        QCOMPARE((model.is_saved ? "" : "unsaved: ") + picture(dlg) + (dlg->isVisible() ? "" : " (closed)"), after);
    }

    void statesOkThenEmptyOkAndCancel()
    {
        modAll model = makeAutomaton({"q0", "q1", "q2"}, {"q1", "q2"}, {}, {{2, 3}, {3, 1}, {1, 2}});
        {
            Opened<frm_states> o(model);
            list(&o.dlg)->setCurrentRow(1);
            QTest::keyClick(list(&o.dlg), Qt::Key_Space);
            list(&o.dlg)->setCurrentRow(0);
            QCOMPARE(picture(&o.dlg), "[q0]|q1|*q2");
            QVERIFY(model.is_saved);   // toggling a check mark is not an edit of its own
            click(&o.dlg, "cmd_rem");
            click(&o.dlg, "cmd_ok");
        }
        // Rows stay where they were, the last as the spare; no target is renumbered.
        QCOMPARE(model.transitions, (Rows{{2, 3, 0}, {3, 1, 0}, {1, 2, 0}}));
        Opened<frm_states> o(model);
        QCOMPARE(picture(&o.dlg), "q1|*q2");
        click(&o.dlg, "cmd_clr");
        click(&o.dlg, "cmd_ok");   // an empty list: the count becomes 0, the dialog stays
        QCOMPARE(QString::number(model.state_count) + (o.dlg.isVisible() ? " open" : ""), "0 open");
        o.dialogs.answerInput("B");
        click(&o.dlg, "cmd_add");
        click(&o.dlg, "cmd_cancel");
        // Cancel writes nothing and closes.
        QCOMPARE(model.states[0].name + ' ' + QString::number(model.state_count) + (o.dlg.isVisible() ? " open" : ""),
                 "q1 0");
    }

    void alphabetOkFitsTheTable()
    {
        // Columns stay where they are: the removed last symbol's targets become the
        // spare entries, and the next symbol added takes them over. OK stores the
        // table unseen, so a target past the states becomes 0; rows past the states
        // and the table's position stay.
        modAll model = makeAutomaton({"p", "q"}, {}, {"a", "b"}, {{2, 1}, {3, 2}});
        model.ttable_left = 1000;
        for (const char *button : {"cmd_rem", "cmd_add"}) {
            Opened<frm_alphabets> o(model);
            list(&o.dlg)->setCurrentRow(1);
            o.dialogs.answerInput("c");
            click(&o.dlg, button);
            click(&o.dlg, "cmd_ok");
        }
        QCOMPARE(model.symbols.mid(0, model.symbol_count), (QStringList{"a", "c"}));
        QCOMPARE(model.transitions, (Rows{{2, 1, 0}, {0, 2, 0}, {}}));
        QCOMPARE(model.ttable_left, 1000);
    }

    void chooser_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("pick");        // the user's choice, -1 for none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("outcome"); // chosen when opened, is_saved, start_state at the end

        QTest::newRow("third chosen") << 0 << 2 << "cmd_ok" << "q0 unsaved 2";
        QTest::newRow("second chosen, cancelled") << 2 << 1 << "cmd_cancel" << "q2 unsaved 2";
        QTest::newRow("none, kept by OK") << -1 << -1 << "cmd_ok" << " saved -1";
        QTest::newRow("removed start: OK stores none") << 3 << -1 << "cmd_ok" << " unsaved -1";
        QTest::newRow("removed start, cancelled") << 5 << -1 << "cmd_cancel" << " unsaved 5";
    }

    void chooser()
    {
        QFETCH(int, start);
        QFETCH(int, pick);
        QFETCH(QString, button);
        QFETCH(QString, outcome);
        modAll model = makeAutomaton({"q0", "q1", "q2"}, {}, {}, {}, qint16(start));
        Opened<frm_sstate> o(model);
        QCOMPARE(o.dlg.findChild<QLabel *>("lbl_state")->text(), "Total 3 state(s) are found.");
        auto *com_start = o.dlg.findChild<QComboBox *>();
        const QString shown = com_start->currentText();
        com_start->setCurrentIndex(pick);
        click(&o.dlg, button);
        QCOMPARE(shown + (model.is_saved ? " saved " : " unsaved ") + QString::number(model.start_state)
                     + (o.dlg.isVisible() ? " open" : ""), outcome);
    }

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

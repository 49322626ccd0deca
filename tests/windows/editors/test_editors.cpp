#include "model/model_edits.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_sstate.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using Rows = QList<QList<qint16>>;

namespace {

// Notes the kind of every change that reaches the model.
struct ChangeLog final : ModelListener
{
    void modelChanged(ModelChange change, const modAll &) override { kinds.append(int(change)); }
    QList<int> kinds;
};

// One opening of an editor, shown, with its boxes answered from a script.
template <typename Editor>
struct Opened
{
    explicit Opened(modAll &model, ModelListener *listener = nullptr) : edits(model)
    {
        edits.setListener(listener);
        dlg.show();
    }
    ScriptedDialogs dialogs;
    ModelEdits edits;
    Editor dlg{edits, dialogs, nullptr};
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

QString current(const QTableView *grid)
{
    return QString(" (%1, %2)").arg(grid->currentIndex().row()).arg(grid->currentIndex().column());
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
        QTest::newRow("remove without current") << true << "*A|*B" << "cmd_rem" << "*A|*B" << "";
        QTest::newRow("remove a checked current") << true << "A|[*B]|C" << "cmd_rem" << "unsaved: A|C" << "";
        QTest::newRow("clear") << true << "*A|B" << "cmd_clr" << "unsaved: " << "";
        QTest::newRow("symbol of two") << false << "a" << "cmd_add=ab" << "a"
                                       << symbol + "|INVALID INPUT SYMBOL: Input symbol must be a single character.";
        QTest::newRow("symbol taken") << false << "a" << "cmd_add=a" << "a"
                                      << symbol + "|ERROR: This input symbol is already exists.";
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

    // A list holds at most 32767 entries: Add on a full list says so and asks for
    // nothing; one short of full, it asks for the next entry and takes it.
    void fullListRefusesAnEntry_data()
    {
        QTest::addColumn<bool>("states");     // or symbols
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("after");       // entries afterwards
        QTest::newRow("32767 states") << true << 32767
            << "ERROR: No more states can be added: an automaton has at most 32767 states." << 32767;
        QTest::newRow("32766 states") << true << 32766 << "INPUT STATE: Enter symbol for state." << 32767;
        QTest::newRow("32767 symbols") << false << 32767
            << "ERROR: No more input symbols can be added: an alphabet has at most 32767 symbols." << 32767;
        QTest::newRow("32766 symbols") << false << 32766 << "INPUT ALPHABET: Enter input symbol." << 32767;
    }

    void fullListRefusesAnEntry()
    {
        QFETCH(bool, states);
        QFETCH(int, entries);
        QFETCH(QString, boxes);
        QFETCH(int, after);
        QStringList names;
        for (int i = 0; i < entries; ++i)   // single characters from U+0100 on, none of them "!"
            names.append(QString(QChar(0x100 + i)));
        modAll model = states ? makeAutomaton(names, {}, {}, {}) : makeAutomaton({}, {}, names, {});
        Opened<frm_states> stateList(model);
        Opened<frm_alphabets> symbolList(model);
        QDialog *dlg = states ? static_cast<QDialog *>(&stateList.dlg) : &symbolList.dlg;
        ScriptedDialogs &dialogs = states ? stateList.dialogs : symbolList.dialogs;
        if (entries < after)
            dialogs.answerInput(QStringLiteral("!"));
        else
            dialogs.answerMessage();
        click(dlg, "cmd_add");
        QCOMPARE(dialogs.transcript().join('|'), boxes);
        QCOMPARE(dialogs.lastCall().icon, entries < after ? Dialogs::Icon::None : Dialogs::Icon::Exclamation);
        QCOMPARE(list(dlg)->count(), after);
        QCOMPARE(model.is_saved, entries == after);
    }

    // OK writes a list back. Rows and columns stay where they are, so no target is
    // renumbered: a removed last symbol's targets become the spare entries, and the
    // next symbol added takes them over. The alphabet's OK stores the table unseen,
    // so a target past the states becomes 0. Each OK, on an empty list too, is one
    // change the model's listener hears of; a Cancel is none.
    void okWritesTheListsBack()
    {
        modAll model = makeAutomaton({"q0", "q1", "q2"}, {"q2"}, {"a", "b"}, {{2, 3}, {3, 1}, {1, 2}});
        ChangeLog log;
        Opened<frm_states> states(model, &log);
        list(&states.dlg)->setCurrentRow(0);
        QTest::keyClick(list(&states.dlg), Qt::Key_Space);
        // The label counts a toggled mark; toggling is not an edit of its own.
        QCOMPARE((model.is_saved ? "" : "unsaved: ") + picture(&states.dlg), "[*q0]|q1|*q2");
        click(&states.dlg, "cmd_rem");
        click(&states.dlg, "cmd_ok");
        for (const char *button : {"cmd_rem", "cmd_add"}) {
            Opened<frm_alphabets> o(model, &log);
            list(&o.dlg)->setCurrentRow(1);
            o.dialogs.answerInput("c");
            click(&o.dlg, button);
            click(&o.dlg, "cmd_ok");
        }
        QCOMPARE(model.symbols.mid(0, model.symbol_count), (QStringList{"a", "c"}));
        QCOMPARE(model.transitions, (Rows{{2, 0, 0}, {0, 1, 0}, {1, 2, 0}}));
        // An empty list: OK sets the count to 0 and the dialog stays; Cancel writes nothing.
        Opened<frm_states> again(model, &log);
        click(&again.dlg, "cmd_clr");
        click(&again.dlg, "cmd_ok");
        QCOMPARE(QString::number(model.state_count) + (again.dlg.isVisible() ? " open" : ""), "0 open");
        again.dialogs.answerInput("B");
        click(&again.dlg, "cmd_add");
        click(&again.dlg, "cmd_cancel");
        QCOMPARE(model.states[0].name + (again.dlg.isVisible() ? " open" : ""), "q1");
        QCOMPARE(log.kinds, (QList<int>{int(ModelChange::States), int(ModelChange::Alphabet),
                                        int(ModelChange::Alphabet), int(ModelChange::States)}));
    }

    void chooser()
    {
        // Opens the chooser on start state `start`, chooses entry `pick` (-1: none)
        // and presses `button`: what was chosen when it opened, is_saved, start_state.
        const auto choose = [](int start, int pick, const char *button) {
            modAll model = makeAutomaton({"q0", "q1", "q2"}, {}, {}, {}, qint16(start));
            ModelEdits edits(model);
            frm_sstate dlg(edits, nullptr);
            dlg.show();
            auto *com_start = dlg.findChild<QComboBox *>();
            const QString shown = com_start->currentText();
            com_start->setCurrentIndex(pick);
            click(&dlg, button);
            return shown + (model.is_saved ? " saved " : " unsaved ") + QString::number(model.start_state)
                + (dlg.isVisible() ? " open" : "");
        };
        QCOMPARE(choose(1, 2, "cmd_ok"), "q1 unsaved 2");
        QCOMPARE(choose(-1, -1, "cmd_ok"), " saved -1");
        // A start state past the states (removed since) chooses nothing.
        QCOMPARE(choose(3, -1, "cmd_ok"), " unsaved -1");
        QCOMPARE(choose(5, 1, "cmd_cancel"), " unsaved 5");
    }

    // The table shows its headers and cells joined by '|', rows ended by '/': the
    // start mark comes before the final one, and targets 4 and -1 name no state.
    // Keys go to the end of the current cell's text.
    void transitionTable()
    {
        modAll model = makeAutomaton({"p", "q", "p"}, {"p"}, {"0", "1"}, {{1, 4}, {-1, 2}, {3, 2}});
        Opened<frm_ttable> o(model);
        auto *grid = o.dlg.findChild<QTableView *>();
        const QAbstractItemModel *cells = grid->model();
        const auto type = [&](int row, int column, const QString &keys) {
            grid->setCurrentIndex(cells->index(row, column));
            for (const QChar key : keys) {   // DEL and past ASCII: a key without a code of its own
                const Qt::Key code = key < u'\x7f' ? QTest::asciiToKey(key.toLatin1()) : Qt::Key_unknown;
                QTest::sendKeyEvent(QTest::Click, grid, code, QString(key), {});
            }
            QString shown = "|0|1/";
            for (int r = 0; r < cells->rowCount(); ++r) {
                shown += cells->headerData(r, Qt::Vertical).toString();
                for (int c = 0; c < cells->columnCount(); ++c)
                    shown += '|' + cells->index(r, c).data().toString();
                shown += '/';
            }
            return shown + current(grid) + (model.is_saved ? " saved" : "");
        };
        // Escape, DEL and a control character past ASCII change nothing.
        QCOMPARE(type(2, 1, "\x1b\x7f\u0085"), "|0|1/>*p|p|/q||q/*p|p|q/ (2, 1) saved");
        // Backspace on an empty cell is still an edit.
        QCOMPARE(type(0, 1, "\b"), "|0|1/>*p|p|/q||q/*p|p|q/ (0, 1)");
        // 32 and 126 are appended; Backspace takes the last character.
        QCOMPARE(type(2, 1, "\bp ~q\b"), "|0|1/>*p|p|/q||q/*p|p|p ~/ (2, 1)");
        QCOMPARE(type(1, 0, " q"), "|0|1/>*p|p|/q| q|q/*p|p|p ~/ (1, 0)");
        o.dlg.showMinimized();   // still stored; a refusal brings the window back
        o.dialogs.answerMessage();
        // The close box asks to store. A cell nobody typed into keeps its target
        // (the first p, although a later state has its name), an empty cell is 0,
        // and blanks count: the first refused cell is reported with the error icon
        // and left current, the cells before it are stored, the close refused.
        QVERIFY(!o.dlg.close());
        QCOMPARE(model.transitions, (Rows{{1, 0, 0}, {-1, 2, 0}, {3, 2, 0}, {}}));
        QCOMPARE(o.dialogs.transcript().join('|') + current(grid) + (o.dlg.isMinimized() ? " minimized" : "")
                     + (o.dialogs.lastCall().icon == Dialogs::Icon::Critical ? "" : " (wrong icon)"),
                 "ERROR: State ' q' does not exists. (1, 0)");
    }

    void namesInAnyScript_data()
    {
        QTest::addColumn<QString>("keys");       // one key per character
        QTest::addColumn<QString>("composed");   // then committed by an input method
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("stored");     // the first row's target once closed, and the saved flag

        QTest::newRow("accented, by keys") << "\u00e91" << "" << "\u00e91" << "1 unsaved";
        QTest::newRow("Chinese, by an input method") << "" << "\u72b6\u6001" << "\u72b6\u6001" << "2 unsaved";
        QTest::newRow("a key, then a composition") << "\u72b6" << "\u6001" << "\u72b6\u6001" << "2 unsaved";
        QTest::newRow("outside the basic plane, one key") << "\U0001F600" << "" << "\U0001F600" << "3 unsaved";
        QTest::newRow("Backspace takes the whole of it") << "\u00e91\U0001F600\b" << "" << "\u00e91" << "1 unsaved";
        QTest::newRow("control characters: nothing") << "\u007f\u0085\u009f" << "\u0085" << "" << "0 saved";
        QTest::newRow("a surrogate without its pair: nothing") << QString(QChar(0xd800)) << "" << "" << "0 saved";
    }

    // Any name the states editor takes can be typed into a cell, from the
    // keyboard or an input method, and is stored as the state it names.
    void namesInAnyScript()
    {
        QFETCH(QString, keys);
        QFETCH(QString, composed);
        QFETCH(QString, cell);
        QFETCH(QString, stored);
        modAll model = makeAutomaton({"\u00e91", "\u72b6\u6001", "\U0001F600"}, {}, {"a"}, {{0}, {0}, {0}});
        Opened<frm_ttable> o(model);
        auto *grid = o.dlg.findChild<QTableView *>();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        for (qsizetype i = 0; i < keys.size();) {
            const qsizetype length = keys[i].isHighSurrogate() && i + 1 < keys.size() && keys[i + 1].isLowSurrogate() ? 2 : 1;
            const QString key = keys.mid(i, length);
            i += length;
            QTest::sendKeyEvent(QTest::Click, grid, key == "\b" ? Qt::Key_Backspace : Qt::Key_unknown, key, {});
        }
        if (!composed.isEmpty()) {
            QInputMethodEvent composition;
            composition.setCommitString(composed);
            QApplication::sendEvent(grid, &composition);
        }
        QCOMPARE(grid->model()->index(0, 0).data().toString(), cell);
        QVERIFY(o.dlg.close());
        QCOMPARE(QString::number(model.transitions[0][0]) + (model.is_saved ? " saved" : " unsaved"), stored);
    }
};

QTEST_MAIN(TestEditors)
#include "test_editors.moc"

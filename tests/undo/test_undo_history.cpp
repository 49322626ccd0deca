#include "document/tw_writer.h"
#include "model/model_edits.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "undo/undo_history.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_comment.h"
#include "windows/editors/frm_sstate.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTest>
#include <functional>

namespace {

void click(QWidget *dialog, const char *button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

// A model with its history, changed through the real editors the way a user
// changes it: each editor shown, its controls used, then confirmed or closed.
// The history is held while an editor is open, as the main window holds it.
struct Session
{
    modAll model;
    ModelEdits edits{model};
    UndoHistory history{edits};
    ScriptedDialogs dialogs;

    struct Opening
    {
        explicit Opening(UndoHistory &h) : history(h) { history.setHeld(UndoHistory::Hold::Editor, true); }
        ~Opening() { history.setHeld(UndoHistory::Hold::Editor, false); }
        UndoHistory &history;
    };

    // The states editor: adds `added`, removes the entry at `removed` (-1: none),
    // toggles the mark of entry `toggled` (-1: none), then OK or Cancel. An OK on
    // an empty list leaves the editor open: it is then cancelled.
    void states(const QStringList &added, int removed, int toggled, bool ok)
    {
        const Opening opening(history);
        frm_states dlg(edits, dialogs, nullptr);
        dlg.show();
        editList(&dlg, added, removed);
        auto *list = dlg.findChild<QListWidget *>();
        if (toggled >= 0 && toggled < list->count()) {
            QListWidgetItem *item = list->item(toggled);
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        click(&dlg, ok ? "cmd_ok" : "cmd_cancel");
        if (dlg.isVisible())
            click(&dlg, "cmd_cancel");
    }

    void symbols(const QStringList &added, int removed, bool ok)
    {
        const Opening opening(history);
        frm_alphabets dlg(edits, dialogs, nullptr);
        dlg.show();
        editList(&dlg, added, removed);
        click(&dlg, ok ? "cmd_ok" : "cmd_cancel");
        if (dlg.isVisible())
            click(&dlg, "cmd_cancel");
    }

    void start(int position, bool ok)
    {
        const Opening opening(history);
        frm_sstate dlg(edits, nullptr);
        dlg.show();
        dlg.findChild<QComboBox *>()->setCurrentIndex(position);
        click(&dlg, ok ? "cmd_ok" : "cmd_cancel");
    }

    // Types `name` into cell (state, symbol), after Backspace `erased` times,
    // and closes the window. A name that is no state is refused: the cells
    // before it are stored all the same. Then, with `fixed`, the cell is
    // erased, `fixed` typed and the window closed again (refused again when
    // `fixed` is no state); without, the window is left unseen.
    void table(int state, int symbol, int erased, const QString &name, const QString &fixed = QString())
    {
        const Opening opening(history);
        frm_ttable dlg(edits, dialogs, nullptr);
        dlg.show();
        auto *grid = dlg.findChild<QTableView *>();
        grid->setCurrentIndex(grid->model()->index(state, symbol));
        for (int i = 0; i < erased; ++i)
            QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClicks(grid, name);
        const QString typed = grid->currentIndex().data().toString();
        if (!typed.isEmpty() && model.findState(typed) == 0)
            dialogs.answerMessage();
        dlg.close();
        if (!dlg.isVisible() || fixed.isNull())
            return;
        for (qsizetype i = grid->currentIndex().data().toString().size(); i > 0; --i)
            QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClicks(grid, fixed);
        if (!fixed.isEmpty() && model.findState(fixed) == 0)
            dialogs.answerMessage();
        dlg.close();
    }

    void comment(const QString &typed)
    {
        const Opening opening(history);
        frm_comment dlg(edits, nullptr);
        dlg.show();
        QTest::keyClicks(dlg.findChild<QPlainTextEdit *>(), typed);
        dlg.close();
    }

private:
    void editList(QWidget *dlg, const QStringList &added, int removed)
    {
        auto *list = dlg->findChild<QListWidget *>();
        for (const QString &answer : added) {
            dialogs.answerInput(answer);
            if (!list->findItems(answer, Qt::MatchExactly).isEmpty())
                dialogs.answerMessage();   // refused: already in the list
            click(dlg, "cmd_add");
        }
        if (removed >= 0 && removed < list->count()) {
            list->setCurrentRow(removed, QItemSelectionModel::ClearAndSelect);
            click(dlg, "cmd_rem");
        }
    }
};

using Edit = std::function<void(Session &)>;

// The names of the steps kept, oldest first, and how many are done: "States
// Comment / 2".
QString steps(const UndoHistory &history)
{
    QStringList names;
    for (int i = 0; i < history.stack().count(); ++i)
        names << history.stack().text(i);
    return names.join(u' ') + QStringLiteral(" / ") + QString::number(history.stack().index());
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestUndoHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneStepPerChange_data();
    void oneStepPerChange();
    void randomEditsUndoneAndRedone_data();
    void randomEditsUndoneAndRedone();
    void savedAfterUndo_data();
    void savedAfterUndo();
    void newAndOpenStartAfresh();
    void spareEntriesComeBack();
    void keepsTheLatestSteps();
};

// Each row's `edit` works on an automaton with states q0, q1 and symbols a, b;
// `steps` is what the history then holds.
void TestUndoHistory::oneStepPerChange_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("undoCaption");

    QTest::newRow("nothing yet") << Edit([](Session &) {}) << " / 0" << "&Undo";
    QTest::newRow("a state added") << Edit([](Session &s) { s.states({"q2"}, -1, -1, true); }) << "States / 1"
                                   << "&Undo States";
    QTest::newRow("a state added, cancelled") << Edit([](Session &s) { s.states({"q2"}, -1, -1, false); }) << " / 0"
                                              << "&Undo";
    QTest::newRow("states confirmed as they were") << Edit([](Session &s) { s.states({}, -1, -1, true); }) << " / 0"
                                                   << "&Undo";
    QTest::newRow("a state made final") << Edit([](Session &s) { s.states({}, -1, 0, true); }) << "States / 1"
                                        << "&Undo States";
    QTest::newRow("OK on an empty list, then Cancel")
        << Edit([](Session &s) { s.states({}, 0, -1, false), s.states({}, 0, -1, false); }) << " / 0" << "&Undo";
    QTest::newRow("OK on an emptied list") << Edit([](Session &s) {
        frm_states dlg(s.edits, s.dialogs, nullptr);
        dlg.show();
        click(&dlg, "cmd_clr");
        click(&dlg, "cmd_ok");
        click(&dlg, "cmd_ok");   // the count is 0 already: nothing more changes
        click(&dlg, "cmd_cancel");
    }) << "States / 1" << "&Undo States";
    QTest::newRow("a symbol removed") << Edit([](Session &s) { s.symbols({}, 1, true); }) << "Alphabet / 1"
                                      << "&Undo Alphabet";
    QTest::newRow("the start state chosen") << Edit([](Session &s) { s.start(1, true); }) << "Start State / 1"
                                            << "&Undo Start State";
    QTest::newRow("the start state chosen again") << Edit([](Session &s) { s.start(0, true); }) << " / 0" << "&Undo";
    QTest::newRow("a cell typed") << Edit([](Session &s) { s.table(0, 0, 2, "q0"); }) << "Transition Table / 1"
                                  << "&Undo Transition Table";
    QTest::newRow("a cell typed as it was") << Edit([](Session &s) { s.table(0, 0, 2, "q1"); }) << " / 0" << "&Undo";
    QTest::newRow("refused after a stored cell")
        << Edit([](Session &s) {
               frm_ttable dlg(s.edits, s.dialogs, nullptr);
               dlg.show();
               auto *grid = dlg.findChild<QTableView *>();
               grid->setCurrentIndex(grid->model()->index(0, 0));
               QTest::keyClick(grid, Qt::Key_Backspace);
               QTest::keyClick(grid, Qt::Key_Backspace);   // an empty cell: no transition
               grid->setCurrentIndex(grid->model()->index(1, 1));
               QTest::keyClick(grid, Qt::Key_X);
               s.dialogs.answerMessage();
               dlg.close();
           })
        << "Transition Table / 1" << "&Undo Transition Table";
    QTest::newRow("the table opened and closed untouched after a state added")
        << Edit([](Session &s) {
               s.states({"q2"}, -1, -1, true);
               s.table(0, 0, 0, QString());   // only fits the new state's row to the alphabet
           })
        << "States / 1" << "&Undo States";
    // The first close stores the cell q0 -a-> and is refused at q1 -b->; the
    // second, after q1 -b-> is fixed (and q0 -a-> typed again), is made.
    const auto refusedThenFixed = [](const QString &first, const QString &fixed, const QString &again = QString()) {
        return Edit([=](Session &s) {
            const Session::Opening opening(s.history);
            frm_ttable dlg(s.edits, s.dialogs, nullptr);
            dlg.show();
            auto *grid = dlg.findChild<QTableView *>();
            const auto type = [&](int row, int column, const QString &name) {
                grid->setCurrentIndex(grid->model()->index(row, column));
                QTest::keyClick(grid, Qt::Key_Backspace);
                QTest::keyClick(grid, Qt::Key_Backspace);
                QTest::keyClicks(grid, name);
            };
            type(0, 0, first);
            type(1, 1, QStringLiteral("q9"));
            s.dialogs.answerMessage();
            dlg.close();
            type(1, 1, fixed);
            if (!again.isEmpty())
                type(0, 0, again);
            dlg.close();
        });
    };
    QTest::newRow("a refused close, then the name fixed") << refusedThenFixed("q0", "q1") << "Transition Table / 1"
                                                          << "&Undo Transition Table";
    QTest::newRow("a refused close, then both cells as they were") << refusedThenFixed("q0", "q0", "q1") << " / 0"
                                                                   << "&Undo";
    QTest::newRow("a refused close, then the cell stored put back") << Edit([&](Session &s) {
        refusedThenFixed("q0", "q0")(s);
        s.table(0, 0, 2, "q1");
    }) << "Transition Table Transition Table / 2" << "&Undo Transition Table";
    QTest::newRow("the comment typed") << Edit([](Session &s) { s.comment("x"); }) << "Comment / 1"
                                       << "&Undo Comment";
    QTest::newRow("the comment closed untouched") << Edit([](Session &s) { s.comment(""); }) << " / 0" << "&Undo";
    QTest::newRow("a change after an undo drops the redo")
        << Edit([](Session &s) {
               s.comment("x");
               s.start(1, true);
               s.history.undo();
               s.symbols({"c"}, -1, true);
           })
        << "Comment Alphabet / 2" << "&Undo Alphabet";
}

void TestUndoHistory::oneStepPerChange()
{
    QFETCH(Edit, edit);
    QFETCH(QString, steps);
    QFETCH(QString, undoCaption);

    Session s;
    s.model.takeAutomaton(endsInA());
    edit(s);
    QCOMPARE(::steps(s.history), steps);
    QCOMPARE(s.history.undoAction()->text(), undoCaption);
    QVERIFY(s.dialogs.allAnswered());
}

void TestUndoHistory::randomEditsUndoneAndRedone_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 12; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

// Random sessions in the editors (confirmed, cancelled, refused, refused then
// fixed), with saves among them; then everything undone and redone. Each step
// back and forth brings back the automaton of its time as Save writes it, and
// the automaton counts as saved exactly when that is what was last saved. The
// new automaton it starts from is in no file: it never counts as saved.
void TestUndoHistory::randomEditsUndoneAndRedone()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    Session s;
    const QStringList names{"p", "q", "r", "s"};
    const QStringList symbols{"a", "b", "c", "d"};
    const auto any = [&](const QStringList &from) { return from[random.bounded(int(from.size()))]; };
    // One or two entries to add; an entry to remove, less often than not (-1: none).
    const auto added = [&](const QStringList &from) {
        return random.bounded(2) ? QStringList{any(from)} : QStringList{any(from), any(from)};
    };
    const auto removed = [&] { return qMax(-1, int(random.bounded(10)) - 6); };

    QList<QByteArray> versions{automatonBytes(s.model)};
    std::optional<QByteArray> saved;
    for (int session = 0; session < 60; ++session) {
        const int count = qMax<int>(0, s.model.state_count);
        switch (random.bounded(7)) {
        case 0:
            s.states(added(names), removed(), random.bounded(4) - 1, random.bounded(5) > 0);
            break;
        case 1:
            s.symbols(added(symbols), removed(), random.bounded(5) > 0);
            break;
        case 2:
            if (count > 0)
                s.start(random.bounded(count), random.bounded(5) > 0);
            break;
        case 3:
        case 4:
            if (count > 0 && s.model.symbol_count > 0)
                s.table(random.bounded(count), random.bounded(int(s.model.symbol_count)), random.bounded(3),
                        random.bounded(6) ? any(names.mid(0, count)) : QStringLiteral("zz"),
                        random.bounded(2) ? any(names.mid(0, count)) : QString());
            break;
        case 5:
            s.comment(random.bounded(3) ? any(names) : QString());
            break;
        default:
            s.edits.markSaved();
            saved = automatonBytes(s.model);
            break;
        }
        if (automatonBytes(s.model) != versions.last())
            versions.append(automatonBytes(s.model));
        QCOMPARE(qsizetype(s.history.stack().count()), versions.size() - 1);
    }
    QVERIFY(s.dialogs.allAnswered());
    QVERIFY2(versions.size() > 15, "the sessions changed too little to test");

    const auto check = [&](qsizetype version) {
        QCOMPARE(automatonBytes(s.model), versions[version]);
        QCOMPARE(s.model.is_saved, versions[version] == saved);
    };
    for (qsizetype version = versions.size() - 2; version >= 0; --version) {
        s.history.undo();
        check(version);
    }
    QVERIFY(!s.history.canUndo());
    for (qsizetype version = 1; version < versions.size(); ++version) {
        s.history.redo();
        check(version);
    }
    QVERIFY(!s.history.canRedo());
}

void TestUndoHistory::savedAfterUndo_data()
{
    QTest::addColumn<Edit>("start");
    QTest::addColumn<QString>("flags");   // is_saved after the change, then after each undo

    QTest::newRow("read from a file") << Edit([](Session &s) {
        s.edits.open(endsInA());
        s.edits.markSaved();
    }) << "changed saved";
    QTest::newRow("read from a file, its rows fitted since") << Edit([](Session &s) {
        modAll ragged = endsInA();
        ragged.transitions[1].resize(1);   // q1 has no entry for b: the file says 0
        s.edits.open(std::move(ragged));
        s.edits.markSaved();
        s.table(0, 0, 0, QString());       // only fits the row: the same file
    }) << "changed saved";
    QTest::newRow("made by the program, as Minimize makes it") << Edit([](Session &s) {
        s.edits.open(endsInA());
    }) << "changed changed";
    QTest::newRow("made by the program after a file was read") << Edit([](Session &s) {
        s.edits.open(endsInA());
        s.edits.markSaved();
        s.edits.open(endsInA());
    }) << "changed changed";
    QTest::newRow("New") << Edit([](Session &s) { s.edits.newFile(); }) << "changed changed";
    QTest::newRow("made, changed, then saved") << Edit([](Session &s) {
        s.edits.open(endsInA());
        s.comment("x");
        s.edits.markSaved();
    }) << "changed saved changed";
}

// Undo marks the automaton saved only when its file holds it: one read from
// or written to a file, not one the program made or New.
void TestUndoHistory::savedAfterUndo()
{
    QFETCH(Edit, start);
    QFETCH(QString, flags);

    Session s;
    start(s);
    s.comment("y");
    const auto flag = [&] { return s.model.is_saved ? QStringLiteral("saved") : QStringLiteral("changed"); };
    QStringList seen{flag()};
    while (s.history.canUndo()) {
        s.history.undo();
        seen << flag();
    }
    QCOMPARE(seen.join(u' '), flags);
}

// New and Open leave nothing to undo.
void TestUndoHistory::newAndOpenStartAfresh()
{
    Session s;
    s.comment("x");
    s.edits.open(endsInA());
    QCOMPARE(steps(s.history), " / 0");
    s.comment("y");
    s.history.undo();
    s.edits.newFile();
    QCOMPARE(steps(s.history) + u' ' + s.history.redoAction()->text(), " / 0 Re&do");
}

// A removed last symbol's targets wait in the spare entry and come back when a
// symbol is added; Undo and Redo keep them there too.
void TestUndoHistory::spareEntriesComeBack()
{
    Session s;
    s.model.takeAutomaton(makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{2, 2}, {1, 1}}));
    s.symbols({}, 1, true);
    s.history.undo();
    s.history.redo();
    s.symbols({"c"}, -1, true);
    QCOMPARE(s.model.symbols.mid(0, 2), (QStringList{"a", "c"}));
    QCOMPARE(QList<qint16>({s.model.entry(0, 1), s.model.entry(1, 1)}), (QList<qint16>{2, 1}));
}

// The oldest steps go once the history holds its most.
void TestUndoHistory::keepsTheLatestSteps()
{
    Session s;
    const int made = UndoHistory::keptSteps + 20;
    for (int i = 1; i <= made; ++i)
        s.edits.commitComment(QString::number(i));
    QCOMPARE(s.history.stack().count(), UndoHistory::keptSteps);
    while (s.history.canUndo())
        s.history.undo();
    QCOMPARE(s.model.comment, QString::number(made - UndoHistory::keptSteps));
}

QTEST_MAIN(TestUndoHistory)
#include "test_undo_history.moc"

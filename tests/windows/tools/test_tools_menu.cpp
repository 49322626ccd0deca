#include "analysis/automaton_regex.h"
#include "document/tw_file.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "windows/main/frm_main.h"
#include "windows/tools/string_lists_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QString example(const char *name)
{
    return QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + QLatin1String(name);
}

// The main window over its own model, with scripted boxes, and the Tools windows
// it opens read as a person reads them.
struct Fixture
{
    Fixture() { window.show(); }
    modAll model;
    ScriptedDialogs dialogs;
    frm_main window{model, &dialogs};

    QString status() const { return window.findChild<QLabel *>(QStringLiteral("sBar_text"))->text(); }
    void trigger(const char *action) { window.findChild<QAction *>(QLatin1String(action))->trigger(); }

    // Chooses `action` and, once its modal window is up, gives what `read`
    // finds in it, then closes it; "no window" when none came up.
    QString readWindow(const char *action, const std::function<QString(QDialog *)> &read)
    {
        QString seen = QStringLiteral("no window");
        QTimer::singleShot(0, &window, [&] {
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                seen = modal->parentWidget() == &window ? read(modal) : QStringLiteral("not over the main window");
                modal->close();
            }
        });
        trigger(action);
        return seen;
    }
};

// A report window's heading and text, with the heading's text format, which
// must be plain: the heading shows file names, which may hold anything.
QString report(QDialog *window)
{
    const auto *heading = window->findChild<QLabel *>(QStringLiteral("lbl_heading"));
    const auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("txt_report"));
    return window->windowTitle() + u'|' + (heading->textFormat() == Qt::PlainText ? QString() : QStringLiteral("RICH "))
           + heading->text() + u'|' + text->toPlainText();
}

} // namespace

class TestToolsMenu : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void menuSitsBeforeHelp();
    void check_data();
    void check();
    void compareWith_data();
    void compareWith();
    void minimize_data();
    void minimize();
    void minimizedStaysUnsavedAfterUndo();
    void stringListsOpenAtTheTop_data();
    void stringListsOpenAtTheTop();
    void acceptedStrings_data();
    void acceptedStrings();
    void moreStrings();
    void checkCopiesTheExpression();
    void fromExpression_data();
    void fromExpression();
};

void TestToolsMenu::menuSitsBeforeHelp()
{
    Fixture f;
    QStringList menus;
    for (const QAction *action : f.window.menuBar()->actions())
        menus << action->text();
    QCOMPARE(menus.join(u' '), QStringLiteral("&File &Edit &View &Tools &Help"));
    QStringList items;
    for (const QAction *action : f.window.findChild<QMenu *>(QStringLiteral("cmd_tools"))->actions())
        items << action->objectName() + u' ' + action->text();
    QCOMPARE(items, (QStringList{"cmd_test_strings &Test Strings...", "cmd_step &Step", "cmd_step_back Step &Back",
                                 "sep_tools ", "cmd_check &Check Automaton", "cmd_compare C&ompare With...", "cmd_minimize &Minimize",
                                 "cmd_accepted &Accepted Strings...", "sep_expression ",
                                 "cmd_from_expression New From &Expression..."}));
}

void TestToolsMenu::check_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<QString>("shown");

    // The items that found something, one line each: the report as a whole is
    // tarnwell-run's --check, tested with it.
    QTest::newRow("an example, as opened") << modAll() << QStringLiteral(
        "Check Automaton|" TARNWELL_EXAMPLES_DIR "/even-number-of-a.tw|Start state: even|"
        "Symbols that keep every state where it is:|  b (symbol 2)|Language: infinite|"
        "Shortest accepted string: \"\"|Shortest rejected string: a|Regular expression: (b|ab*a)*");
    modAll named = mergeable();
    named.file_name = QStringLiteral("/x/<i>a</i>.tw");
    named.states[0].name = QStringLiteral("q\t0");
    QTest::newRow("markup read as it is, a tab escaped") << named << QStringLiteral(
        "Check Automaton|/x/<i>a</i>.tw|Start state: q\\t0|Unreachable states:|  dead (state 4)|"
        "States from which no final state can be reached:|  dead (state 4)|"
        "Symbols that keep every state where it is:|  c (symbol 3)|"
        "Equivalent states (the automaton is not minimal):|  q1 (state 2), <b>q2</b> (state 3)|"
        "Language: infinite|Shortest accepted string: a|Shortest rejected string: \"\"|Regular expression: c*[ab].*");
}

void TestToolsMenu::check()
{
    QFETCH(modAll, automaton);
    QFETCH(QString, shown);
    Fixture f;
    if (automaton.state_count == 0)
        f.window.fileCommands().openPath(example("even-number-of-a.tw"));
    else
        f.model = automaton;
    const modAll before = f.model;
    QCOMPARE(f.readWindow("cmd_check", [](QDialog *window) {
        QStringList found = report(window).split(u'\n');
        found.removeIf([](const QString &line) { return line.endsWith(QStringLiteral(": none")); });
        return found.join(u'|');
    }), shown);
    QCOMPARE(describe(f.model), describe(before));
    QVERIFY(f.dialogs.calls().isEmpty());
}

void TestToolsMenu::compareWith_data()
{
    QTest::addColumn<std::optional<QString>>("other");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("boxes");

    // Solutions for ends-in-a.tw: every string, and every string but the empty one.
    modAll withEmpty = endsInA(), nonEmpty = endsInA();
    withEmpty.states[0].is_final = true;
    nonEmpty.transitions[0][1] = 2;
    nonEmpty.transitions[1][1] = 2;
    const QString oneFix = m_dir.filePath(QStringLiteral("one-fix.tw")), twoFixes = m_dir.filePath(QStringLiteral("two-fixes.tw"));
    QCOMPARE(TwFile::save(withEmpty, oneFix).failure().message(), QString());
    QCOMPARE(TwFile::save(nonEmpty, twoFixes).failure().message(), QString());

    const QString heading = QStringLiteral("Compare|This: " TARNWELL_EXAMPLES_DIR "/ends-in-a.tw\nOther: ");
    const QString graded = QStringLiteral("\n\nGraded against the other as the solution:\nScore: %1 of 100\n"
                                          "Agreement: %2% (the same verdict, mean over the lengths 0 to 12)\n"
                                          "Fewest edits: %3");
    QTest::newRow("different: the empty string") << std::optional(example("even-number-of-a.tw"))
        << heading + example("even-number-of-a.tw") + QStringLiteral("|\"\"  this: REJECTED  other: ACCEPTED")
               + graded.arg("42", "42.3", "more than 2")
        << QStringList();
    QTest::newRow("another alphabet: this one's characters first")
        << std::optional(example("contains-a-one.tw"))
        << heading + example("contains-a-one.tw") + QStringLiteral("|a  this: ACCEPTED  other: ERROR")
               + graded.arg("84", "84.6", "more than 2")
        << QStringList();
    QTest::newRow("equivalent: itself") << std::optional(example("ends-in-a.tw"))
        << heading + example("ends-in-a.tw") + QStringLiteral("|equivalent") + graded.arg("100", "100.0", "0")
        << QStringList();
    QTest::newRow("one fix, as a sentence") << std::optional(oneFix)
        << heading + oneFix + QStringLiteral("|\"\"  this: REJECTED  other: ACCEPTED")
               + graded.arg("80", "46.2", "1\n  Make q0 final.")
        << QStringList();
    QTest::newRow("two fixes") << std::optional(twoFixes)
        << heading + twoFixes + QStringLiteral("|b  this: REJECTED  other: ACCEPTED")
               + graded.arg("60", "53.8", "2\n  q0 on b should go to q1.\n  q1 on b should stay in q1 (an empty cell).")
        << QStringList();
    QTest::newRow("cancelled: nothing") << std::optional<QString>() << "no window" << QStringList();
    QTest::newRow("unreadable: said, and no window") << std::optional(example("gone.tw")) << "no window"
        << QStringList{"NOT COMPARED: The automaton to compare with could not be read.\n\n" + example("gone.tw")
                       + "\nNo such file or directory"};
}

// The other automaton comes from a file dialog of its own, so File > Open keeps
// offering what it offered.
void TestToolsMenu::compareWith()
{
    QFETCH(std::optional<QString>, other);
    QFETCH(QString, shown);
    QFETCH(QStringList, boxes);
    Fixture f;
    f.window.fileCommands().openPath(example("ends-in-a.tw"));
    const modAll before = f.model;
    f.dialogs.answerOpenFile(other);
    if (!boxes.isEmpty())
        f.dialogs.answerMessage();
    QCOMPARE(f.readWindow("cmd_compare", report), shown);
    QCOMPARE(f.dialogs.transcript(), QStringList{"Compare With: "} + boxes);
    const Dialogs::FileSettings &asked = f.dialogs.calls().constFirst().file;
    QCOMPARE(asked.title + u'|' + asked.ownDialog + u'|' + asked.filters.join(u',') + u'|' + asked.defaultSuffix,
             QStringLiteral("Compare With|compare|All files (*.*),Automata (*.tw),JFLAP automata (*.jff)|tw"));
    QVERIFY(asked.fileMustExist && asked.selectedFilter == 1);
    QCOMPARE(describe(f.model), describe(before));
}

void TestToolsMenu::minimize_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("result");

    const QString minimized = QStringLiteral("Minimized: 4 states to 2|NoName untitled unsaved|q0 q1,<b>q2</b>");
    const QString unchanged = QStringLiteral("|messy.tw titled unsaved|q0 q1 <b>q2</b> dead");
    const QString question = QStringLiteral("Automata: Save changes to messy.tw");
    const int none = -1;
    QTest::newRow("saved: no question") << mergeable() << true << none << QStringList() << minimized;
    QTest::newRow("unsaved, No: minimized") << mergeable() << false << int(Dialogs::Answer::No)
                                            << QStringList{question} << minimized;
    QTest::newRow("unsaved, Cancel: nothing changes") << mergeable() << false << int(Dialogs::Answer::Cancel)
                                                      << QStringList{question} << unchanged;
    QTest::newRow("unsaved, Yes: written in place, then minimized") << mergeable() << false
        << int(Dialogs::Answer::Yes) << QStringList{question} << minimized;
    modAll invalidStart = mergeable();
    invalidStart.start_state = 4;
    QTest::newRow("invalid start: refused before any question") << invalidStart << false << int(Dialogs::Answer::Ok)
        << QStringList{"NOT MINIMIZED: The start state is not valid, so there is nothing to minimize. "
                       "Choose a start state first."}
        << unchanged;
}

// Minimize puts the result in place of the automaton as Open puts a file's
// there, after the same question.
void TestToolsMenu::minimize()
{
    QFETCH(modAll, automaton);
    QFETCH(bool, saved);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QString, result);

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Fixture f;
    f.model = automaton;
    f.model.file_name = QStringLiteral("messy.tw");
    f.model.is_untitled = false;
    f.model.is_saved = saved;
    if (answer >= 0)
        f.dialogs.answerMessage(Dialogs::Answer(answer));
    f.trigger("cmd_minimize");
    QCOMPARE(f.dialogs.transcript(), boxes);
    QStringList names;
    for (qint16 i = 0; i < f.model.state_count; ++i)
        names << f.model.states[i].name;
    QCOMPARE(f.status() + u'|' + f.model.file_name + (f.model.is_untitled ? " untitled" : " titled")
                 + (f.model.is_saved ? " saved|" : " unsaved|") + names.join(u' '),
             result);
    // Only Yes writes the automaton as it was before Minimize.
    const TwResult<modAll> written = TwFile::load(dir.filePath(QStringLiteral("messy.tw")));
    QCOMPARE(written.ok(), answer == int(Dialogs::Answer::Yes));
    if (written.ok())
        QCOMPARE(written.value().state_count, qint16(4));
}

// The result of Minimize is in no file: after a change and its Undo it is
// still unsaved, and Exit asks about it.
void TestToolsMenu::minimizedStaysUnsavedAfterUndo()
{
    Fixture f;
    f.window.fileCommands().openPath(example("divisible-by-3.tw"));
    f.trigger("cmd_minimize");
    f.readWindow("cmd_comment", [](QDialog *editor) {
        QTest::keyClicks(editor->findChild<QPlainTextEdit *>(), QStringLiteral("note"));
        return QString();
    });
    const QString minimized = f.model.comment;
    QVERIFY(minimized.startsWith(QStringLiteral("note")));
    f.trigger("cmd_undo");
    QCOMPARE(QStringLiteral("note") + f.model.comment, minimized);
    QVERIFY(!f.model.is_saved);
    f.dialogs.answerMessage(Dialogs::Answer::Cancel);
    f.trigger("cmd_exit");
    QCOMPARE(f.dialogs.transcript(), QStringList{"Automata: Save changes to NoName"});
    QVERIFY(f.window.isVisible());
}

void TestToolsMenu::acceptedStrings_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QString>("rejected");

    QTest::newRow("ends in a: twenty of each, the empty string shown")
        << endsInA()
        << "The first 20 accepted strings, shortest first: more|a aa ba aaa aba baa bba aaaa aaba abaa abba baaa baba "
           "bbaa bbba aaaaa aaaba aabaa aabba abaaa"
        << "The first 20 rejected strings, shortest first: more|\"\" b ab bb aab abb bab bbb aaab aabb abab abbb baab "
           "babb bbab bbbb aaaab aaabb aabab aabbb";
    QTest::newRow("a finite language, a tab escaped")
        << makeAutomaton({"s", "t", "u"}, {"t"}, {"\t", "x"}, {{2, 2}, {3, 3}, {3, 3}})
        << "All 2 accepted strings, shortest first:|\\t x"
        << "The first 20 rejected strings, shortest first: more|\"\" \\t\\t \\tx x\\t xx \\t\\t\\t \\t\\tx \\tx\\t \\txx "
           "x\\t\\t x\\tx xx\\t xxx \\t\\t\\t\\t \\t\\t\\tx \\t\\tx\\t \\t\\txx \\tx\\t\\t \\tx\\tx \\txx\\t";
    modAll invalidStart = endsInA();
    invalidStart.start_state = 2;
    QTest::newRow("invalid start: neither")
        << invalidStart
        << "No string is accepted: the start state is not valid, so every string gives ERROR.|"
        << "No string is rejected: the start state is not valid, so every string gives ERROR.|";
}

// Each tab: its summary (and "more" while Show More is offered), then its strings.
void TestToolsMenu::acceptedStrings()
{
    QFETCH(modAll, automaton);
    QFETCH(QString, accepted);
    QFETCH(QString, rejected);
    Fixture f;
    f.model = automaton;
    const auto tab = [](QDialog *window, const QString &kind) {
        const auto *summary = window->findChild<QLabel *>(QStringLiteral("lbl_") + kind);
        const auto *more = window->findChild<QPushButton *>(QStringLiteral("cmd_more_") + kind);
        const QString text = window->findChild<QPlainTextEdit *>(QStringLiteral("txt_") + kind)->toPlainText();
        return summary->text() + (more->isEnabled() ? QStringLiteral(" more|") : QStringLiteral("|"))
               + text.split(u'\n').join(u' ');
    };
    QCOMPARE(f.readWindow("cmd_accepted", [&](QDialog *window) {
        return window->windowTitle() + u'\n' + tab(window, QStringLiteral("accepted")) + u'\n'
               + tab(window, QStringLiteral("rejected"));
    }), QStringLiteral("Accepted Strings\n") + accepted + u'\n' + rejected);
}

// Show More adds the next twenty under those shown, and is offered only while
// there are more.
void TestToolsMenu::moreStrings()
{
    Fixture f;
    f.model = makeAutomaton({"n0", "n1", "n2", "n3", "n4", "n5", "dead"}, {"n5"}, {"0", "1"},
                            {{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {7, 7}}); // the 32 strings of length 5
    QCOMPARE(f.readWindow("cmd_accepted", [](QDialog *window) {
        auto *more = window->findChild<QPushButton *>(QStringLiteral("cmd_more_accepted"));
        const auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("txt_accepted"));
        const auto *summary = window->findChild<QLabel *>(QStringLiteral("lbl_accepted"));
        QStringList seen;
        for (int click = 0; click < 2; ++click) {
            seen << QStringLiteral("%1 %2 %3").arg(text->blockCount()).arg(more->isEnabled()).arg(summary->text());
            QTest::mouseClick(more, Qt::LeftButton);
        }
        const QStringList lines = text->toPlainText().split(u'\n');
        return seen.join(u'|') + u'|' + lines.first() + u' ' + lines[20] + u' ' + lines.last();
    }), QStringLiteral("20 1 The first 20 accepted strings, shortest first:|32 0 All 32 accepted strings, shortest "
                       "first:|00000 10100 11111"));
}

void TestToolsMenu::stringListsOpenAtTheTop_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("seen");   // per tab: the line at the top after opening, after Show More, after a
                                         // scroll of 3 lines and Show More again; "more" when there is more below

    QTest::newRow("too short for twenty strings") << 260
        << "accepted 0 \"\"|0 \"\" more|3 11 more|rejected 0 1|0 1 more|3 001 more";
    QTest::newRow("tall enough for forty") << 900 << "accepted 0 \"\"|0 \"\"|0 \"\" more|rejected 0 1|0 1|0 1 more";
}

// Each list opens at its first string, which is in sight ("" for the empty
// string) however tall the window; Show More keeps the view where it was, the
// new strings below it.
void TestToolsMenu::stringListsOpenAtTheTop()
{
    QFETCH(int, height);
    QFETCH(QString, seen);

    const modAll model = TwFile::load(example("divisible-by-3.tw")).value();
    StringListsWindow window(model, nullptr);
    window.resize(480, height);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
    QStringList lines;
    for (const char *name : {"accepted", "rejected"}) {
        const QString kind = QLatin1String(name);
        auto *text = window.findChild<QPlainTextEdit *>(QStringLiteral("txt_") + kind);
        auto *more = window.findChild<QPushButton *>(QStringLiteral("cmd_more_") + kind);
        tabs->setCurrentWidget(text->parentWidget());
        QScrollBar *bar = text->verticalScrollBar();
        const auto top = [&](const QString &before) {
            return before + QString::number(bar->value()) + u' ' + text->cursorForPosition(QPoint(2, 2)).block().text();
        };
        lines << top(kind + u' ');
        QTest::mouseClick(more, Qt::LeftButton);
        lines << top(QString()) + (bar->maximum() > 0 ? " more" : "");
        bar->setValue(3);
        const int before = bar->maximum();
        QTest::mouseClick(more, Qt::LeftButton);
        lines << top(QString()) + (bar->maximum() > before ? " more" : "");
    }
    QCOMPARE(lines.join(u'|'), seen);
}

// The check report shows the first 500 characters of the expression, and its
// Copy button puts the whole on the clipboard.
void TestToolsMenu::checkCopiesTheExpression()
{
    Fixture f;
    f.model = randomAutomaton(20, 5);
    const QString whole = Analysis::automatonRegex(f.model).expression;
    QVERIFY(whole.size() > 500);
    QGuiApplication::clipboard()->clear();
    QCOMPARE(f.readWindow("cmd_check", [](QDialog *window) {
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmd_copy_expression")), Qt::LeftButton);
        return report(window).split(u'\n').last();
    }), QStringLiteral("Regular expression: ") + whole.left(500) + QStringLiteral("..."));
    QCOMPARE(QGuiApplication::clipboard()->text(), whole);
}

void TestToolsMenu::fromExpression_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("seen");
    QTest::addColumn<QString>("result");

    QTest::newRow("built at once") << QStringList{"(0|1(01*0)*1)*", ""} << ""
                                   << "New From Expression: 3 states|NoName untitled unsaved|01|q0 q1 q2";
    QTest::newRow("with an alphabet") << QStringList{"a", "ba"} << ""
                                      << "New From Expression: 3 states|NoName untitled unsaved|ba|q0 q1 q2";
    QTest::newRow("a mistake shown where it is, then corrected")
        << QStringList{"ab)c", "", "a+", ""} << "Position 3: ')' without '('|)"
        << "New From Expression: 2 states|NoName untitled unsaved|a|q0 q1";
    QTest::newRow("a character outside the alphabet, then closed") << QStringList{"a😀c", "ab"}
        << "Position 2: '😀' is not in the alphabet|😀" << "|untitled.tw titled saved||";
}

// The window builds the expression's automaton as a new document; a mistake
// keeps the window open with the mistake said and selected.
void TestToolsMenu::fromExpression()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, seen);
    QFETCH(QString, result);
    Fixture f;
    f.model.file_name = QStringLiteral("untitled.tw");
    f.model.is_untitled = false;
    QCOMPARE(f.readWindow("cmd_from_expression", [&](QDialog *window) {
        auto *expression = window->findChild<QLineEdit *>(QStringLiteral("txt_expression"));
        auto *alphabet = window->findChild<QLineEdit *>(QStringLiteral("txt_alphabet"));
        auto *ok = window->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QString shown;
        for (qsizetype i = 0; i + 1 < typed.size() && window->isVisible(); i += 2) {
            expression->setText(typed[i]);
            alphabet->setText(typed[i + 1]);
            QTest::mouseClick(ok, Qt::LeftButton);
            if (window->isVisible()) {
                const auto *error = window->findChild<QLabel *>(QStringLiteral("lbl_error"));
                shown = error->text() + u'|' + expression->selectedText();
            }
        }
        return shown;
    }), seen);
    QStringList names;
    for (qint16 i = 0; i < f.model.state_count; ++i)
        names << f.model.states[i].name;
    QCOMPARE(f.status() + u'|' + f.model.file_name + (f.model.is_untitled ? " untitled" : " titled")
                 + (f.model.is_saved ? " saved|" : " unsaved|") + f.model.symbols.mid(0, f.model.symbol_count).join(QString())
                 + u'|' + names.join(u' '),
             result);
}

QTEST_MAIN(TestToolsMenu)
#include "test_tools_menu.moc"

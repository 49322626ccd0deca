#include "cli/batch_run.h"
#include "document/escaped_line.h"
#include "document/tw_file.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "windows/main/frm_main.h"
#include "windows/tools/string_table.h"
#include "windows/tools/test_strings_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One Test Strings window over its own model, with scripted boxes.
struct Fixture
{
    explicit Fixture(modAll m = endsInA()) : model(std::move(m)) {}
    modAll model;
    ScriptedDialogs dialogs;
    TestStringsWindow window{model, &dialogs, nullptr};
    StringTable &table = window.table();

    QString cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return table.data(table.index(row, column), role).toString();
    }
    // Each row as "string|expected|result|ends in|steps".
    QStringList rows() const
    {
        QStringList rows;
        for (int row = 0; row < table.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < StringTable::ColumnCount; ++column)
                cells.append(cell(row, column));
            rows.append(cells.join(u'|'));
        }
        return rows;
    }
    // The colour of each result: "green", "red" or "-".
    QString colours() const
    {
        QStringList colours;
        for (int row = 0; row < table.rowCount(); ++row) {
            const QVariant brush = table.data(table.index(row, StringTable::ResultColumn), Qt::BackgroundRole);
            if (!brush.isValid())
                colours.append(QStringLiteral("-"));
            else
                colours.append(brush.value<QBrush>().color().green() > brush.value<QBrush>().color().red()
                                   ? QStringLiteral("green")
                                   : QStringLiteral("red"));
        }
        return colours.join(u' ');
    }
};

// The batch runner's verdict (with its reason after ERROR) and end state (the
// last state of its trace) for each line of `text`.
QStringList batchResults(const modAll &model, const QByteArray &text)
{
    QBuffer in, out;
    in.setData(text);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    BatchRun batch(model, true, out);
    batch.runLines(in);
    batch.flush();
    QStringList results;
    for (const QByteArray &line : out.data().split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> columns = line.split('\t');
        const bool error = columns[1] == "ERROR";
        const QString verdict = QString::fromUtf8(error ? columns[1] + ": " + columns[2] : columns[1]);
        const qsizetype firstState = error ? 3 : 2;
        const QString end = columns.size() > firstState ? QString::fromUtf8(columns.last()) : QString();
        results.append(verdict + u'|' + end);
    }
    return results;
}

// A file in `dir` holding `bytes`; its path.
QString fileHolding(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray randomLines(QRandomGenerator &random, int count)
{
    static const char *const pieces[] = {"0", "1", "2", "a", "b", "\\t", "\\xFF", "\xC3\xA9"};
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const int length = random.bounded(10);
        for (int j = 0; j < length; ++j)
            text += pieces[random.bounded(j == 7 ? 8 : 5)];
        text += '\n';
    }
    return text;
}

} // namespace

class TestTestStrings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runAllAsTheBatchRunner();
    void colouringAndSummary_data();
    void colouringAndSummary();
    void paste_data();
    void paste();
    void listRoundTrip_data();
    void listRoundTrip();
    void failedSaveKeepsTheOldList();
    void editedCells_data();
    void editedCells();
    void expectedChosenFromAList();
    void pathOfTheChosenRow_data();
    void pathOfTheChosenRow();
    void resultCells_data();
    void resultCells();
    void openListAsksFirst_data();
    void openListAsksFirst();
    void resultsClearedOnModelChange_data();
    void resultsClearedOnModelChange();
    void toolsMenu();
    void steppingFromTheMenu();
};

// Every row's result and end state are what tarnwell-run gives for the same
// line, over the shipped examples and random automata.
void TestTestStrings::runAllAsTheBatchRunner()
{
    QList<modAll> models;
    for (const QString &name : QDir(TARNWELL_EXAMPLES_DIR).entryList({"*.tw"}))
        models.append(TwFile::loadNative(QFile::encodeName(TARNWELL_EXAMPLES_DIR "/" + name)).value());
    QCOMPARE(models.size(), 4);
    QRandomGenerator random(99);
    for (int i = 0; i < 15; ++i)
        models.append(randomAutomaton(1 + random.bounded(10), random.generate()));

    for (const modAll &model : models) {
        const QByteArray lines = randomLines(random, 60);
        Fixture f(model);
        f.window.paste(QString::fromUtf8(lines));
        QCOMPARE(f.table.rowCount(), 60);
        f.window.runAll();
        QStringList shown;
        for (int row = 0; row < f.table.rowCount(); ++row)
            shown.append(f.cell(row, StringTable::ResultColumn) + u'|' + f.cell(row, StringTable::EndsInColumn));
        // The batch runner reads the same strings unescaped, as raw lines.
        QByteArray raw;
        for (const ListedString &s : f.table.strings())
            raw += s.bytes + '\n';
        QCOMPARE(shown, batchResults(model, raw));
    }
}

void TestTestStrings::colouringAndSummary_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<QString>("summary");

    QTest::newRow("all as expected") << "a\tACCEPTED\nb\tREJECTED\nx\tERROR" << "green green green"
                                     << "3 of 3 as expected, 0 differ";
    QTest::newRow("two differ") << "a\tREJECTED\nb\tREJECTED\nx\tACCEPTED\nba\tACCEPTED" << "red green red green"
                                << "2 of 4 as expected, 2 differ";
    QTest::newRow("no expectation, no colour") << "a\nb\tACCEPTED\n" << "- red" << "0 of 1 as expected, 1 differ";
    QTest::newRow("no expectations at all") << "a\nb\n\n" << "- - -" << "3 strings run";
}

void TestTestStrings::colouringAndSummary()
{
    QFETCH(QString, list);
    QFETCH(QString, colours);
    QFETCH(QString, summary);

    Fixture f;
    f.window.paste(list);
    QCOMPARE(f.window.summaryText(), QStringLiteral("Not run yet: press Run All (Ctrl+Return)"));
    QTest::mouseClick(f.window.findChild<QAbstractButton *>("cmd_run_all"), Qt::LeftButton);
    QCOMPARE(f.colours(), colours);
    QCOMPARE(f.window.summaryText(), summary);
}

void TestTestStrings::paste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("status");

    QTest::newRow("lines, the empty one grey") << "ab\n\nb" << QStringList{"ab||||", "(empty)||||", "b||||"}
                                               << "3 strings pasted  -  list not saved";
    QTest::newRow("result lines paste back")
        << "a\tACCEPTED\nx\tERROR\tInvalid alphabet 'x'\nb\\t\tREJECTED\r\n"
        << QStringList{"a|ACCEPTED|||", "x|ERROR|||", "b\\t|REJECTED|||"} << "3 strings pasted  -  list not saved";
    QTest::newRow("control characters and non-ASCII") << QString::fromUtf8("\x01\xC3\xA9\\x7f\n")
                                                      << QStringList{QString::fromUtf8("\\x01\xC3\xA9\\x7F||||")}
                                                      << "1 strings pasted  -  list not saved";
    QTest::newRow("a bad line refuses all") << "a\nb\\z\n" << QStringList{}
                                            << "Nothing pasted: Line 2: the backslash at column 2 begins no escape "
                                               "(a backslash itself is written \\\\)";
}

void TestTestStrings::paste()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(QString, status);

    Fixture f;
    f.window.paste(text);
    QCOMPARE(f.rows(), rows);
    QCOMPARE(f.window.statusText(), status);
    for (int row = 0; row < f.table.rowCount(); ++row) {
        const bool empty = f.table.string(row).bytes.isEmpty();
        QCOMPARE(f.table.data(f.table.index(row, 0), Qt::ForegroundRole).isValid(), empty);
    }
}

void TestTestStrings::listRoundTrip_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("empty string and verdicts") << QByteArray("\tACCEPTED\na\nb\tREJECTED\n");
    QTest::newRow("tabs and line breaks") << QByteArray("a\\tb\\n\\r\tERROR\n");
    QTest::newRow("control characters") << QByteArray("\\x01\\x1B\\x7F\n");
    QTest::newRow("non-ASCII and not UTF-8") << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\\xFF\tACCEPTED\n");
    QTest::newRow("backslashes") << QByteArray("\\\\\\\\t\n");
}

// Open then Save writes the same bytes back, and the status line says when
// the list is not saved.
void TestTestStrings::listRoundTrip()
{
    QFETCH(QByteArray, file);

    QTemporaryDir dir;
    const QString in = fileHolding(dir, "in.txt", file), out = dir.filePath("out.txt");

    Fixture f;
    f.dialogs.answerOpenFile(in);
    QTest::mouseClick(f.window.findChild<QAbstractButton *>("cmd_open_list"), Qt::LeftButton);
    QCOMPARE(f.window.statusText(), "List opened: " + QDir::toNativeSeparators(in));
    f.window.addRow();
    QVERIFY(f.window.statusText().endsWith("list not saved"));
    f.window.removeSelectedRows();
    f.dialogs.answerSaveFile(out);
    QTest::mouseClick(f.window.findChild<QAbstractButton *>("cmd_save_list"), Qt::LeftButton);
    QCOMPARE(f.window.statusText(), "List saved: " + QDir::toNativeSeparators(out));
    QFile read(out);
    QVERIFY(read.open(QIODevice::ReadOnly));
    QCOMPARE(read.readAll(), file);
    QVERIFY(f.dialogs.allAnswered());
    QCOMPARE(f.dialogs.calls().first().file.title, QStringLiteral("Open List"));
}

void TestTestStrings::failedSaveKeepsTheOldList()
{
    Fixture f;
    f.window.paste("a\nb");
    f.dialogs.answerSaveFile(QStringLiteral("/nonexistent-folder/list.txt"));
    f.dialogs.answerMessage();
    f.window.saveList();
    QCOMPARE(f.dialogs.lastCall().title, QStringLiteral("ERROR"));
    QVERIFY(f.dialogs.lastCall().text.startsWith("/nonexistent-folder/list.txt could not be saved: "));
    QVERIFY(f.window.statusText().endsWith("list not saved"));
}

void TestTestStrings::editedCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("row");

    QTest::newRow("escaped string") << 0 << "b\\ta" << true << "b\\ta|ACCEPTED|||";
    QTest::newRow("empty string") << 0 << "" << true << "(empty)|ACCEPTED|||";
    QTest::newRow("bad escape refused") << 0 << "a\\" << false << "a|ACCEPTED|ACCEPTED|q1|1";
    QTest::newRow("expected verdict") << 1 << "REJECTED" << true << "a|REJECTED|ACCEPTED|q1|1";
    QTest::newRow("no expectation") << 1 << "" << true << "a||ACCEPTED|q1|1";
    QTest::newRow("unknown verdict refused") << 1 << "yes" << false << "a|ACCEPTED|ACCEPTED|q1|1";
}

// An edited string loses its result; a refused edit changes nothing and says why.
void TestTestStrings::editedCells()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, row);

    Fixture f;
    f.window.paste("a\tACCEPTED");
    f.window.runAll();
    QCOMPARE(f.table.setData(f.table.index(0, column), typed, Qt::EditRole), accepted);
    QCOMPARE(f.rows(), QStringList{row});
    // A refusal says why, before anything else.
    QCOMPARE(f.window.statusText() == QStringLiteral("list not saved"), accepted);
}

void TestTestStrings::expectedChosenFromAList()
{
    Fixture f;
    f.window.paste("a\tERROR");
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    const QModelIndex cell = f.table.index(0, StringTable::ExpectedColumn);
    f.window.view().setCurrentIndex(cell);
    f.window.view().edit(cell);
    auto *choices = f.window.view().findChild<QComboBox *>("com_expected");
    QVERIFY(choices);
    QCOMPARE(choices->count(), 4);
    QCOMPARE(choices->currentText(), QStringLiteral("ERROR"));
    choices->setCurrentIndex(1);
    QTest::keyClick(choices, Qt::Key_Return);   // stored at the event loop's next turn
    QTRY_COMPARE(f.cell(0, StringTable::ExpectedColumn), QStringLiteral("ACCEPTED"));
}

void TestTestStrings::pathOfTheChosenRow_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("string");
    QTest::addColumn<bool>("run");
    QTest::addColumn<QString>("path");

    const modAll ends = endsInA();
    QTest::newRow("stops at a blank") << ends << "ab a" << true << "Path: q0 -a-> q1 -b-> q0  ERROR at ' '";
    QTest::newRow("empty string") << ends << "" << true << "Path: q0  REJECTED";
    QTest::newRow("ends in a") << ends << "ba" << true << "Path: q0 -b-> q0 -a-> q1  ACCEPTED";
    QTest::newRow("tab shown escaped") << ends << "a\\t" << true << "Path: q0 -a-> q1  ERROR at '\\t'";
    QTest::newRow("byte that is not UTF-8") << ends << "a\\xFF" << true << "Path: q0 -a-> q1  ERROR at '\\xFF'";
    QTest::newRow("not run yet: nothing") << ends << "ba" << false << "";
    modAll noStates = makeAutomaton({}, {}, {"a"}, {});
    noStates.start_state = -1;
    QTest::newRow("no states, no start: REJECTED, as its result") << noStates << "aa" << true
                                                                   << "Path: (no states)  REJECTED";
    QTest::newRow("no states, a character outside the alphabet") << noStates << "ab" << true
                                                                 << "Path: (no states)  ERROR at 'b'";
    modAll invalidStart = endsInA();
    invalidStart.start_state = 5;
    QTest::newRow("invalid start") << invalidStart << "ab" << true << "Path: none (invalid start state)";
    QTest::newRow("a long string: its first and last steps")
        << ends << QString(130, u'a') + "b" << true
        << "Path: q0" + QStringLiteral(" -a-> q1").repeated(50) + " ... (31 steps left out) ..."
               + QStringLiteral(" -a-> q1").repeated(49) + " -b-> q0  REJECTED";
}

void TestTestStrings::pathOfTheChosenRow()
{
    QFETCH(modAll, model);
    QFETCH(QString, string);
    QFETCH(bool, run);
    QFETCH(QString, path);

    Fixture f(model);
    f.window.paste("zzz\n" + string + '\n');
    if (run)
        f.window.runAll();
    QList<RunPath> chosen;
    connect(&f.window, &TestStringsWindow::pathChosen, this, [&](const RunPath &p) { chosen.append(p); });
    f.window.view().setCurrentIndex(f.table.index(1, 0));
    QCOMPARE(f.window.pathText(), path);
    QCOMPARE(chosen.size(), run ? 1 : 0);
}

void TestTestStrings::resultCells_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("rows");

    const modAll ends = endsInA();
    QTest::newRow("ACCEPTED and REJECTED alone") << ends << "ba\nab"
                                                 << QStringList{"ba||ACCEPTED|q1|2", "ab||REJECTED|q0|2"};
    QTest::newRow("ERROR with its reason") << ends << "ab2a\tERROR"
                                           << QStringList{"ab2a|ERROR|ERROR: Invalid alphabet '2'|q0|2"};
    QTest::newRow("a byte that is not UTF-8") << ends << "a\\xFF"
                                              << QStringList{"a\\xFF||ERROR: Invalid alphabet '\\xFF'|q1|1"};
    modAll invalidStart = endsInA();
    invalidStart.start_state = -1;
    QTest::newRow("invalid start") << invalidStart << "a" << QStringList{"a||ERROR: Invalid start state||0"};
}

// An ERROR says why in its row, so a list can be read without choosing rows.
void TestTestStrings::resultCells()
{
    QFETCH(modAll, model);
    QFETCH(QString, list);
    QFETCH(QStringList, rows);

    Fixture f(model);
    f.window.paste(list);
    f.window.runAll();
    QCOMPARE(f.rows(), rows);
}

void TestTestStrings::openListAsksFirst_data()
{
    QTest::addColumn<QString>("before");     // what was done to the rows: paste:TEXT, open, save
    QTest::addColumn<int>("answer");         // to the question, when it is asked
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("rows");

    const int none = -1, yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No);
    const QStringList opened{"x||||", "y||||"};
    QTest::newRow("no rows: no question") << "" << none << QStringList() << opened;
    QTest::newRow("three rows typed, Yes: replaced") << "paste:a\nb\nba" << yes
        << QStringList{"Open List: Replace the 3 strings not saved?"} << opened;
    QTest::newRow("three rows typed, No: kept") << "paste:a\nb\nba" << no
        << QStringList{"Open List: Replace the 3 strings not saved?"} << QStringList{"a||||", "b||||", "ba||||"};
    QTest::newRow("one row typed") << "paste:a" << no << QStringList{"Open List: Replace the string not saved?"}
                                   << QStringList{"a||||"};
    QTest::newRow("a list as opened: no question") << "open" << none << QStringList() << opened;
    QTest::newRow("a list opened, then a row added") << "open paste:b" << no
        << QStringList{"Open List: Replace the 3 strings not saved?"} << QStringList{"x||||", "y||||", "b||||"};
    QTest::newRow("rows saved: no question") << "paste:a save" << none << QStringList() << opened;
}

// Rows never saved are work: Open List asks before it puts a list in their
// place, and No keeps them.
void TestTestStrings::openListAsksFirst()
{
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, rows);

    QTemporaryDir dir;
    const QString list = fileHolding(dir, "list.txt", "x\ny\n");

    Fixture f;
    for (const QString &step : before.split(u' ', Qt::SkipEmptyParts)) {
        if (step.startsWith("paste:")) {
            f.window.paste(step.sliced(6));
        } else if (step == "open") {
            f.dialogs.answerOpenFile(list);
            f.window.openList();
        } else {
            f.dialogs.answerSaveFile(dir.filePath("saved.txt"));
            f.window.saveList();
        }
    }
    f.dialogs.clear();
    if (answer != -1)
        f.dialogs.answerMessage(Dialogs::Answer(answer));
    if (answer != int(Dialogs::Answer::No))
        f.dialogs.answerOpenFile(list);
    f.window.openList();
    QStringList shown;
    for (const ScriptedDialogs::Call &call : f.dialogs.calls())
        if (call.kind == ScriptedDialogs::Kind::Message)
            shown << call.title + ": " + call.text;
    QCOMPARE(shown, boxes);
    QCOMPARE(f.rows(), rows);
    QVERIFY(f.dialogs.allAnswered());
}

void TestTestStrings::resultsClearedOnModelChange_data()
{
    QTest::addColumn<int>("change");

    QTest::newRow("comment") << 0;
    QTest::newRow("start state") << 1;
    QTest::newRow("New") << 2;
}

// Through the main window: any change that reaches the automaton clears the
// results, and Run All brings them back for the automaton as it now is.
void TestTestStrings::resultsClearedOnModelChange()
{
    QFETCH(int, change);

    modAll model = endsInA();
    ScriptedDialogs dialogs;
    frm_main main(model, &dialogs);
    main.edits().open(endsInA());
    main.findChild<QAction *>("cmd_test_strings")->trigger();
    auto *window = main.findChild<TestStringsWindow *>();
    QVERIFY(window && window->isVisible());
    window->paste("a\tACCEPTED\nb");
    window->runAll();
    QCOMPARE(window->summaryText(), QStringLiteral("1 of 1 as expected, 0 differ"));

    if (change == 0)
        main.edits().commitComment(QStringLiteral("changed"));
    else if (change == 1)
        main.edits().commitStartState(1);
    else
        main.newFile();
    QCOMPARE(window->summaryText(), QStringLiteral("Results out of date: press Run All (Ctrl+Return)"));
    QCOMPARE(window->table().data(window->table().index(0, StringTable::ResultColumn), Qt::DisplayRole).toString(),
             QString());
    window->runAll();
    QCOMPARE(window->summaryText(), change == 0 ? QStringLiteral("1 of 1 as expected, 0 differ")
                                                : change == 1 ? QStringLiteral("1 of 1 as expected, 0 differ")
                                                              : QStringLiteral("0 of 1 as expected, 1 differ"));
}

void TestTestStrings::toolsMenu()
{
    modAll model;
    ScriptedDialogs dialogs;
    frm_main main(model, &dialogs);
    QStringList menus;
    for (QAction *action : main.menuBar()->actions())
        menus.append(action->text());
    QCOMPARE(menus.mid(menus.size() - 2), (QStringList{"&Tools", "&Help"}));
    QCOMPARE(main.findChild<QAction *>("cmd_test_strings")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    QCOMPARE(main.findChild<QAction *>("cmd_step")->shortcut(), QKeySequence(Qt::Key_F8));
    QCOMPARE(main.findChild<QAction *>("cmd_step_back")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
    main.findChild<QAction *>("cmd_test_strings")->trigger();
    main.findChild<QAction *>("cmd_test_strings")->trigger();
    QCOMPARE(main.findChildren<TestStringsWindow *>().size(), 1);
    TestStringsWindow *window = main.findChild<TestStringsWindow *>();
    QCOMPARE(window->windowTitle(), QStringLiteral("Test Strings"));
    QVERIFY(!window->isModal());
}

// F8 and Shift+F8 step the main window's run forward and back.
void TestTestStrings::steppingFromTheMenu()
{
    modAll model;
    ScriptedDialogs dialogs;
    frm_main main(model, &dialogs);
    main.edits().open(endsInA());
    auto *input = main.findChild<QLineEdit *>("txt_input");
    input->setText(QStringLiteral("ab"));
    QAction *step = main.findChild<QAction *>("cmd_step");
    QAction *back = main.findChild<QAction *>("cmd_step_back");
    step->trigger();
    QCOMPARE(input->text(), QStringLiteral("b"));
    QCOMPARE(main.findChild<QLineEdit *>("txt_state")->text(), QStringLiteral("q1"));
    QVERIFY(!main.findChild<QWidget *>("cmd_play")->isEnabled());
    QVERIFY(main.findChild<QWidget *>("cmd_pause")->isEnabled());
    step->trigger();
    step->trigger();
    QCOMPARE(main.findChild<QLineEdit *>("txt_output")->text(), QStringLiteral("REJECTED"));
    back->trigger();
    back->trigger();
    QCOMPARE(input->text(), QStringLiteral("b"));
    QCOMPARE(main.findChild<QLineEdit *>("txt_output")->text(), QStringLiteral("PENDING"));
    QCOMPARE(main.findChild<QLineEdit *>("txt_state")->text(), QStringLiteral("q1"));
}

QTEST_MAIN(TestTestStrings)
#include "test_test_strings.moc"

#include "analysis/dot_text.h"
#include "cli/run_options.h"
#include "document/tw_file.h"
#include "document/tw_file_save.h"
#include "test_automata.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString example(const char *name)
{
    return QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + QLatin1String(name);
}

// Accepts the strings over a and b that hold an a.
modAll containsA()
{
    return makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{2, 1}, {2, 2}});
}

// Accepts exactly the two strings of one character: a tab and x.
modAll tabOrX()
{
    return makeAutomaton({"s", "t", "u"}, {"t"}, {"\t", "x"}, {{2, 2}, {3, 3}, {3, 3}});
}

} // namespace

// A JFLAP student's automaton for "ends in a", nondeterministic with a move on
// the empty string, and without a transition for every state and symbol.
const QByteArray studentJff = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><structure><type>fa</type><automaton>"
                              "<state id=\"0\" name=\"q0\"><initial/></state><state id=\"1\" name=\"q1\"/>"
                              "<state id=\"2\" name=\"q2\"><final/></state>"
                              "<transition><from>0</from><to>0</to><read>a</read></transition>"
                              "<transition><from>0</from><to>0</to><read>b</read></transition>"
                              "<transition><from>0</from><to>1</to><read>a</read></transition>"
                              "<transition><from>1</from><to>2</to><read/></transition>"
                              "</automaton></structure>";

// tarnwell-run's answers about an automaton: what it prints on standard output
// and standard error, then its exit status. It runs in a folder that holds
// merge.tw (mergeable() above), tab.tw (tabOrX()), no-start.tw (ends in a,
// with a start state that is none of its states), only-a.tw (accepts a, aa,
// ... over the one symbol a), big.tw (3,000 random states), control.tw (a
// symbol XML cannot hold), for grading solution.tw (containsA()), ends.tw
// (ends in a) and "odd<tab>name.tw" (ends in a, its final state named =A1,"x"),
// and student.jff (studentJff), pda.jff (a JFLAP pushdown automaton) and
// list.txt (strings for --expect).
class TestAutomatonAnswers : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    // Output, errors and exit status of tarnwell-run with `arguments`, in m_dir.
    QByteArray run(const QStringList &arguments, const QString &outputFile = {})
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
        process.start(TARNWELL_RUN_PATH, arguments);
        if (!process.waitForFinished())
            return "did not finish";
        return process.readAllStandardOutput() + process.readAllStandardError() + "exit "
               + QByteArray::number(process.exitCode());
    }

private Q_SLOTS:
    void initTestCase()
    {
        modAll noStart = endsInA(), oddName = endsInA();
        noStart.start_state = 2;
        oddName.states[1].name = QStringLiteral("=A1,\"x\"");
        const modAll control = makeAutomaton({"s"}, {}, {"\x01"}, {{1}});
        for (const auto &[name, automaton] : {std::pair{"merge.tw", mergeable()}, std::pair{"tab.tw", tabOrX()},
                                              std::pair{"no-start.tw", noStart},
                                              std::pair{"only-a.tw", makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{2}, {2}})},
                                              std::pair{"big.tw", randomAutomaton(3000, 19)}, std::pair{"solution.tw", containsA()},
                                              std::pair{"ends.tw", endsInA()}, std::pair{"odd\tname.tw", oddName},
                                              std::pair{"control.tw", control}})
            QCOMPARE(TwFile::save(automaton, m_dir.filePath(QLatin1String(name))).failure().message(), QString());
        for (const auto &[name, bytes] :
             {std::pair{"student.jff", studentJff}, std::pair{"pda.jff", QByteArray("<structure><type>pda</type></structure>")},
              std::pair{"list.txt", QByteArray("ba\tACCEPTED\nab\tREJECTED\n")}})
            QCOMPARE(TwFile::saveBytes(m_dir.filePath(QLatin1String(name)), bytes).failure().message(), QString());
    }

    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("check an example") << QStringList{"--check", example("even-number-of-a.tw")}
            << QByteArray("Start state: even\nUnreachable states: none\n"
                          "States from which no final state can be reached: none\n"
                          "Symbols that keep every state where it is:\n  b (symbol 2)\n"
                          "Repeated symbols (only the last column is used): none\n"
                          "Repeated state names (the table can only name the last): none\n"
                          "Symbols that are not one character (they never match): none\n"
                          "Equivalent states (the automaton is not minimal): none\n"
                          "Language: infinite\nShortest accepted string: \"\"\nShortest rejected string: a\nexit 0");
        QTest::newRow("check, a finite language listed with a tab escaped") << QStringList{"--check", "tab.tw"}
            << QByteArray("Start state: s\nUnreachable states: none\n"
                          "States from which no final state can be reached:\n  u (state 3)\n"
                          "Symbols that keep every state where it is: none\n"
                          "Repeated symbols (only the last column is used): none\n"
                          "Repeated state names (the table can only name the last): none\n"
                          "Symbols that are not one character (they never match): none\n"
                          "Equivalent states (the automaton is not minimal): none\n"
                          "Language: finite, 2 strings:\n  \\t\n  x\n"
                          "Shortest accepted string: \\t\nShortest rejected string: \"\"\nexit 0");

        QTest::newRow("compare: they differ on the empty string, OTHER's verdict first")
            << QStringList{"--compare", example("even-number-of-a.tw"), example("ends-in-a.tw")}
            << QByteArray("\tACCEPTED\tREJECTED\nexit 1");
        QTest::newRow("compare: a character only FILE has is ERROR in OTHER, with the reason")
            << QStringList{"--compare", example("contains-a-one.tw"), example("ends-in-a.tw")}
            << QByteArray("a\tERROR\tACCEPTED\tInvalid alphabet 'a'\nexit 1");
        QTest::newRow("compare: a character only OTHER has is ERROR in FILE, with the reason")
            << QStringList{"--compare", example("ends-in-a.tw"), "only-a.tw"}
            << QByteArray("b\tREJECTED\tERROR\tInvalid alphabet 'b'\nexit 1");
        QTest::newRow("compare: the string and the character escaped")
            << QStringList{"--compare", example("ends-in-a.tw"), "tab.tw"}
            << QByteArray("\\t\tERROR\tACCEPTED\tInvalid alphabet '\\t'\nexit 1");
        QTest::newRow("compare: an invalid start state is the reason")
            << QStringList{"--compare", "no-start.tw", example("ends-in-a.tw")}
            << QByteArray("\tERROR\tREJECTED\tInvalid start state\nexit 1");
        QTest::newRow("compare: equivalent, nothing printed") << QStringList{"--compare", "merge.tw", "merge.tw"}
                                                              << QByteArray("exit 0");
        QTest::newRow("compare: the other file cannot be read") << QStringList{"--compare", "gone.tw", "merge.tw"}
            << QByteArray("tarnwell-run: gone.tw: No such file or directory\nexit 2");
        QTest::newRow("compare: the file cannot be read") << QStringList{"--compare", "merge.tw", "gone.tw"}
            << QByteArray("tarnwell-run: gone.tw: No such file or directory\nexit 2");

        QTest::newRow("minimize: merged names quoted, unreachable gone, stays stay empty")
            << QStringList{"--minimize", "merge.tw"}
            << QByteArray("Q\r\n 2 \r\nq0\r\nFalse\r\n\"q1,<b>q2</b>\"\r\nTrue\r\nStart\r\n 0 \r\nE\r\n 3 \r\na\r\nb\r\nc\r\n"
                          "Q/E\r\n 2 \r\n 2 \r\n 0 \r\n 2 \r\n 2 \r\n 0 \r\nexit 0");
        QTest::newRow("minimize: refused without a valid start state") << QStringList{"--minimize", "no-start.tw"}
            << QByteArray("tarnwell-run: no-start.tw: The start state is not valid, so there is nothing to minimize. "
                          "Choose a start state first.\nexit 2");

        QTest::newRow("accepted") << QStringList{"--accepted", "5", example("ends-in-a.tw")}
            << QByteArray("a\tACCEPTED\naa\tACCEPTED\nba\tACCEPTED\naaa\tACCEPTED\naba\tACCEPTED\nexit 0");
        QTest::newRow("accepted: fewer than N, escaped") << QStringList{"--accepted", "5", "tab.tw"}
                                                         << QByteArray("\\t\tACCEPTED\nx\tACCEPTED\nexit 0");
        QTest::newRow("accepted: none asked") << QStringList{"--accepted", "0", "tab.tw"} << QByteArray("exit 0");
        QTest::newRow("rejected: the empty string is a line of its own")
            << QStringList{"--rejected", "3", example("ends-in-a.tw")}
            << QByteArray("\tREJECTED\nb\tREJECTED\nab\tREJECTED\nexit 0");
        QTest::newRow("rejected: none without a valid start state") << QStringList{"--rejected", "3", "no-start.tw"}
                                                                    << QByteArray("exit 0");

        QTest::newRow("grade: a line per file in the order given")
            << QStringList{"--grade", "solution.tw", "ends.tw", "solution.tw"}
            << QByteArray("ends.tw\t80\t1\t61.5\tab\tACCEPTED\tREJECTED\tq1 on b -> empty\n"
                          "solution.tw\t100\t0\t100.0\t\t\t\t\nexit 0");
        QTest::newRow("grade: a file not read says why in its line, the rest are graded")
            << QStringList{"--grade", "solution.tw", "gone.tw", "ends.tw"}
            << QByteArray("gone.tw\t\t\t\t\t\t\tNo such file or directory\n"
                          "ends.tw\t80\t1\t61.5\tab\tACCEPTED\tREJECTED\tq1 on b -> empty\nexit 2");
        QTest::newRow("grade: the file name escaped, the names as they are")
            << QStringList{"--grade", "solution.tw", "odd\tname.tw"}
            << QByteArray("odd\\tname.tw\t80\t1\t61.5\tab\tACCEPTED\tREJECTED\t=A1,\"x\" on b -> empty\nexit 0");
        QTest::newRow("grade as CSV: a header, quotes, a formula shown as text")
            << QStringList{"--csv", "--grade", "solution.tw", "odd\tname.tw", "solution.tw"}
            << QByteArray("FILE,SCORE,EDITS,AGREEMENT,COUNTEREXAMPLE,SOLUTION-VERDICT,FILE-VERDICT,FIXES\n"
                          "odd\\tname.tw,80,1,61.5,ab,ACCEPTED,REJECTED,\"'=A1,\"\"x\"\" on b -> empty\"\n"
                          "solution.tw,100,0,100.0,,,,\nexit 0");
        QTest::newRow("grade: the solution not read")
            << QStringList{"--grade", "gone.tw", "ends.tw"} << QByteArray("tarnwell-run: gone.tw: No such file or directory\nexit 2");

        const QByteArray usage(runUsage);
        QTest::newRow("refused: two questions") << QStringList{"--check", "--minimize", "merge.tw"}
            << "tarnwell-run: --check and --minimize cannot be used together\n\n" + usage + "exit 2";
        QTest::newRow("refused: a question with strings") << QStringList{"--check", "merge.tw", "ab"}
            << "tarnwell-run: --check takes no strings after the file\n\n" + usage + "exit 2";
        QTest::newRow("refused: accepted without N") << QStringList{"--accepted", "merge.tw"}
            << "tarnwell-run: --accepted needs a whole number N from 0 to 2147483647, not merge.tw\n\n" + usage
                   + "exit 2";
        QTest::newRow("help") << QStringList{"--help"} << usage + "exit 0";
        QTest::newRow("version, as tarnwell's") << QStringList{"--version"} << QByteArray("Tarnwell 1.1.5\nexit 0");
        QTest::newRow("version, before anything else") << QStringList{"--version", "--check"}
                                                       << QByteArray("Tarnwell 1.1.5\nexit 0");

        QTest::newRow("from an expression: the minimal automaton, breadth-first")
            << QStringList{"--from-regex", "(0|1(01*0)*1)*"}
            << QByteArray("Q\r\n 3 \r\nq0\r\nTrue\r\nq1\r\nFalse\r\nq2\r\nFalse\r\nStart\r\n 0 \r\nE\r\n 2 \r\n0\r\n1\r\n"
                          "Q/E\r\n 1 \r\n 2 \r\n 3 \r\n 1 \r\n 2 \r\n 3 \r\n\"From the expression (0|1(01*0)*1)*\"\r\nexit 0");
        QTest::newRow("from an expression over a given alphabet")
            << QStringList{"--alphabet", "ba", "--from-regex", "a"}
            << QByteArray("Q\r\n 3 \r\nq0\r\nFalse\r\nq1\r\nFalse\r\nq2\r\nTrue\r\nStart\r\n 0 \r\nE\r\n 2 \r\nb\r\na\r\n"
                          "Q/E\r\n 2 \r\n 3 \r\n 2 \r\n 2 \r\n 2 \r\n 2 \r\n\"From the expression a\"\r\nexit 0");
        QTest::newRow("from an expression: refused with the position")
            << QStringList{"--from-regex", "a(b"} << QByteArray("tarnwell-run: Position 2: '(' without ')'\nexit 2");
        QTest::newRow("to an expression") << QStringList{"--to-regex", example("ends-in-a.tw")}
                                          << QByteArray("b*a(a|b+a)*\nexit 0");
        QTest::newRow("to an expression: refused without a valid start state") << QStringList{"--to-regex", "no-start.tw"}
            << QByteArray("tarnwell-run: no-start.tw: The start state is not valid, so every string gives ERROR and no "
                          "expression describes what the automaton accepts. Choose a start state first.\nexit 2");
        QTest::newRow("to JFLAP: refused for a character XML cannot hold")
            << QStringList{"--to-jff", "control.tw"}
            << QByteArray("tarnwell-run: control.tw: the symbol 1 is the character U+0001, which a JFLAP file cannot "
                          "hold\nexit 2");

        // A JFLAP file is taken wherever an automaton file is.
        QTest::newRow("JFLAP: strings") << QStringList{"student.jff", "ba", "ab", "c"}
                                        << QByteArray("ba\tACCEPTED\nab\tREJECTED\nc\tERROR\tInvalid alphabet 'c'\nexit 1");
        QTest::newRow("JFLAP: compare, either side")
            << QStringList{"--compare", "student.jff", example("ends-in-a.tw")} << QByteArray("exit 0");
        QTest::newRow("JFLAP: compare, the other side")
            << QStringList{"--compare", example("even-number-of-a.tw"), "student.jff"}
            << QByteArray("\tACCEPTED\tREJECTED\nexit 1");
        QTest::newRow("JFLAP: expect") << QStringList{"--expect", "list.txt", "student.jff"}
                                       << QByteArray("2 of 2 as expected, 0 differ\nexit 0");
        QTest::newRow("JFLAP: to an expression") << QStringList{"--to-regex", "student.jff"}
                                                 << QByteArray("b*a(a|b+a)*\nexit 0");
        QTest::newRow("JFLAP: minimize") << QStringList{"--minimize", "student.jff"}
            << QByteArray("Q\r\n 2 \r\nq0\r\nFalse\r\n\"{q0,q1,q2}\"\r\nTrue\r\nStart\r\n 0 \r\nE\r\n 2 \r\na\r\nb\r\n"
                          "Q/E\r\n 2 \r\n 1 \r\n 2 \r\n 1 \r\nexit 0");
        QTest::newRow("JFLAP: count") << QStringList{"--count", "student.jff", "ba", "ab", "c"}
                                      << QByteArray("ACCEPTED 1\nREJECTED 1\nERROR 1\nexit 1");
        QTest::newRow("JFLAP: only") << QStringList{"--only", "REJECTED", "student.jff", "ba", "ab", "b"}
                                     << QByteArray("ab\nb\nexit 0");
        QTest::newRow("JFLAP: accepted") << QStringList{"--accepted", "3", "student.jff"}
                                         << QByteArray("a\tACCEPTED\naa\tACCEPTED\nba\tACCEPTED\nexit 0");
        QTest::newRow("JFLAP: a student's file graded") << QStringList{"--grade", "solution.tw", "student.jff", "pda.jff"}
            << QByteArray("student.jff\t80\t1\t61.5\tab\tACCEPTED\tREJECTED\t{q0,q1,q2} on b -> empty\n"
                          "pda.jff\t\t\t\t\t\t\tLine 1: it holds a pushdown automaton, not a finite automaton (JFLAP "
                          "type \"fa\")\nexit 2");
        QTest::newRow("JFLAP: a JFLAP solution") << QStringList{"--grade", "student.jff", "ends.tw"}
                                                 << QByteArray("ends.tw\t100\t0\t100.0\t\t\t\t\nexit 0");
        QTest::newRow("JFLAP: refused, not a finite automaton") << QStringList{"--check", "pda.jff"}
            << QByteArray("tarnwell-run: pda.jff: Line 1: it holds a pushdown automaton, not a finite automaton "
                          "(JFLAP type \"fa\")\nexit 2");
    }

    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, result);
        QCOMPARE(run(arguments), result);
    }

    // --dot prints the diagram's own DOT text.
    void dot()
    {
        const TwResult<modAll> loaded = TwFile::load(m_dir.filePath(QStringLiteral("merge.tw")));
        QVERIFY(loaded.ok());
        QCOMPARE(run({"--dot", "merge.tw"}), DotText::dotText(loaded.value()).toUtf8() + "exit 0");
    }

    // What --minimize writes reads back as an automaton that --compare finds
    // equivalent to the one it came from.
    void minimizedReadsBackEquivalent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("merged states") << QStringLiteral("merge.tw");
        QTest::newRow("an example with empty cells") << example("contains-a-one.tw");
        QTest::newRow("a finite language") << QStringLiteral("tab.tw");
    }

    void minimizedReadsBackEquivalent()
    {
        QFETCH(QString, file);
        const QString minimized = m_dir.filePath(QStringLiteral("minimized.tw"));
        QCOMPARE(run({"--minimize", file}, minimized), QByteArray("exit 0"));
        QCOMPARE(run({"--compare", minimized, file}), QByteArray("exit 0"));
        QCOMPARE(run({"--minimize", minimized}, m_dir.filePath(QStringLiteral("again.tw"))), QByteArray("exit 0"));
        QCOMPARE(TwFile::load(m_dir.filePath(QStringLiteral("again.tw"))).value().state_count,
                 TwFile::load(minimized).value().state_count);
    }

    // The automaton of an expression is the one the expression describes; what
    // --to-jff writes reads back as the same automaton.
    void writtenReadsBackEquivalent_data()
    {
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QString>("original");
        QTest::newRow("divisible by 3 from its expression") << QStringList{"--from-regex", "(0|1(01*0)*1)*"}
                                                            << example("divisible-by-3.tw");
        QTest::newRow("an expression of an example read back")
            << QStringList{"--from-regex", "b*a(a|b+a)*"} << example("ends-in-a.tw");
        QTest::newRow("a JFLAP file") << QStringList{"--to-jff", "merge.tw"} << QStringLiteral("merge.tw");
        QTest::newRow("a JFLAP file, a tab as a symbol") << QStringList{"--to-jff", "tab.tw"} << QStringLiteral("tab.tw");
    }

    void writtenReadsBackEquivalent()
    {
        QFETCH(QStringList, write);
        QFETCH(QString, original);
        const QString written = m_dir.filePath(QStringLiteral("written"));
        QCOMPARE(run(write, written), QByteArray("exit 0"));
        QCOMPARE(run({"--compare", written, original}), QByteArray("exit 0"));
    }

    // An answer that cannot be written ends with the reason and 2.
    void fullOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("accepted") << QStringList{"--accepted", "1000", example("ends-in-a.tw")};
        QTest::newRow("accepted, as many as there may be")
            << QStringList{"--accepted", "2147483647", example("ends-in-a.tw")};
        QTest::newRow("dot") << QStringList{"--dot", "big.tw"};
    }

    void fullOutput()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(run(arguments, QStringLiteral("/dev/full")),
                 QByteArray("tarnwell-run: cannot write the results: No space left on device\nexit 2"));
        QCOMPARE(run({"--grade", "solution.tw", "ends.tw"}, QStringLiteral("/dev/full")),
                 QByteArray("tarnwell-run: cannot write the grades: No space left on device\nexit 2"));
    }

    // Answers are written as they are made: a reader that takes the first
    // lines and goes ends the answer at once, whatever it would have held.
    void readerLeavesEarly_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("accepted, as many as there may be")
            << "--accepted 2147483647 \"$1\"" << QByteArray("a\tACCEPTED\naa\tACCEPTED\nba\tACCEPTED\n");
        QTest::newRow("rejected, as many as there may be")
            << "--rejected 2147483647 \"$1\"" << QByteArray("\tREJECTED\nb\tREJECTED\nab\tREJECTED\n");
        QTest::newRow("dot") << "--dot big.tw"
                             << QByteArray("digraph automaton {\n    rankdir=LR;\n"
                                           "    node [shape=circle, fontname=\"sans-serif\", fontsize=14];\n");
    }

    void readerLeavesEarly()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, lines);
        QProcess shell;
        shell.setWorkingDirectory(m_dir.path());
        shell.start("bash", {"-c", "\"$0\" " + arguments + " | head -3; echo \"exit ${PIPESTATUS[0]}\"",
                             TARNWELL_RUN_PATH, example("ends-in-a.tw")});
        QVERIFY2(shell.waitForFinished(20000), "tarnwell-run still runs after 20 s");
        QCOMPARE(shell.readAllStandardOutput(), lines + "exit 2\n");
        QCOMPARE(shell.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestAutomatonAnswers)
#include "test_automaton_answers.moc"

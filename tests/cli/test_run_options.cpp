#include "cli/run_options.h"

#include <QTest>

namespace {

// What the command line asked for, in one line: the action, then what goes
// with it.
QString describe(const RunOptions &options)
{
    switch (options.action) {
    case RunOptions::Action::Help:
        return QStringLiteral("help");
    case RunOptions::Action::Refuse:
        return QStringLiteral("refused: ") + options.fault;
    default:
        break;
    }
    QString text = options.action == RunOptions::Action::RunStrings ? QStringLiteral("run") : options.optionName();
    if (options.trace)
        text += QStringLiteral(" --trace");
    if (options.csv)
        text += QStringLiteral(" --csv");
    if (!options.other.isEmpty())
        text += QStringLiteral(" other=") + QString::fromUtf8(options.other);
    if (options.action == RunOptions::Action::FromRegex)
        return text + QStringLiteral(" RE=") + QString::fromUtf8(options.expression)
             + (options.alphabet ? QStringLiteral(" alphabet=") + QString::fromUtf8(*options.alphabet) : QString());
    if (options.action == RunOptions::Action::Accepted || options.action == RunOptions::Action::Rejected)
        text += QStringLiteral(" N=%1").arg(options.count);
    if (options.action == RunOptions::Action::Only)
        text += QStringLiteral(" VERDICT=") + verdictText(options.only);
    text += QStringLiteral(" file=") + QString::fromUtf8(options.file);
    for (const QByteArray &string : options.strings)
        text += QStringLiteral(" [") + QString::fromUtf8(string) + u']';
    if (!options.files.isEmpty())
        text += QStringLiteral(" files=") + QString::fromUtf8(options.files.join(','));
    return text;
}

} // namespace

// tarnwell-run's command line: options before the file, strings after it, and
// at most one question about the automaton, which takes no strings.
class TestRunOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("parsed");

        // Running strings, as before the questions came.
        QTest::newRow("strings after the file") << QStringList{"a.tw", "01", ""} << "run file=a.tw [01] []";
        QTest::newRow("no strings: standard input") << QStringList{"a.tw"} << "run file=a.tw";
        QTest::newRow("trace") << QStringList{"--trace", "a.tw", "0"} << "run --trace file=a.tw [0]";
        QTest::newRow("an option after the file is a string") << QStringList{"a.tw", "--check"}
                                                              << "run file=a.tw [--check]";
        QTest::newRow("-- ends the options") << QStringList{"--", "--check", "0"} << "run file=--check [0]";
        QTest::newRow("a lone dash is a file") << QStringList{"-"} << "run file=-";

        // The questions.
        QTest::newRow("check") << QStringList{"--check", "a.tw"} << "--check file=a.tw";
        QTest::newRow("compare") << QStringList{"--compare", "b.tw", "a.tw"} << "--compare other=b.tw file=a.tw";
        QTest::newRow("compare with a file named like an option")
            << QStringList{"--compare", "--x.tw", "--", "-a.tw"} << "--compare other=--x.tw file=-a.tw";
        QTest::newRow("minimize") << QStringList{"--minimize", "a.tw"} << "--minimize file=a.tw";
        QTest::newRow("accepted") << QStringList{"--accepted", "20", "a.tw"} << "--accepted N=20 file=a.tw";
        QTest::newRow("rejected none") << QStringList{"--rejected", "0", "a.tw"} << "--rejected N=0 file=a.tw";
        QTest::newRow("accepted, the largest N") << QStringList{"--accepted", "2147483647", "a.tw"}
                                                 << "--accepted N=2147483647 file=a.tw";
        QTest::newRow("dot") << QStringList{"--dot", "a.tw"} << "--dot file=a.tw";
        QTest::newRow("expect") << QStringList{"--expect", "l.txt", "a.tw"} << "--expect other=l.txt file=a.tw";
        QTest::newRow("grade: files where strings go")
            << QStringList{"--grade", "s.tw", "a.tw", "b.tw"} << "--grade other=s.tw file=a.tw files=a.tw,b.tw";
        QTest::newRow("grade as CSV, either side") << QStringList{"--grade", "s.tw", "--csv", "a.tw"}
                                                   << "--grade --csv other=s.tw file=a.tw files=a.tw";
        QTest::newRow("count: standard input") << QStringList{"--count", "a.tw"} << "--count file=a.tw";
        QTest::newRow("count: strings") << QStringList{"--count", "a.tw", "01"} << "--count file=a.tw [01]";
        QTest::newRow("only") << QStringList{"--only", "ERROR", "a.tw"} << "--only VERDICT=ERROR file=a.tw";
        QTest::newRow("to an expression") << QStringList{"--to-regex", "a.jff"} << "--to-regex file=a.jff";
        QTest::newRow("to JFLAP") << QStringList{"--to-jff", "a.tw"} << "--to-jff file=a.tw";
        QTest::newRow("from an expression, no file") << QStringList{"--from-regex", "a|b"} << "--from-regex RE=a|b";
        QTest::newRow("an expression that begins with -") << QStringList{"--from-regex", "-a"} << "--from-regex RE=-a";
        QTest::newRow("the alphabet before or after") << QStringList{"--alphabet", "ab", "--from-regex", "a*"}
                                                      << "--from-regex RE=a* alphabet=ab";
        QTest::newRow("an empty alphabet is given") << QStringList{"--from-regex", "a*", "--alphabet", ""}
                                                    << "--from-regex RE=a* alphabet=";
        QTest::newRow("help before anything else is read") << QStringList{"--check", "--help"} << "help";

        // Refused, with the usage.
        QTest::newRow("nothing") << QStringList{} << "refused: ";
        QTest::newRow("a question without a file") << QStringList{"--check"} << "refused: ";
        QTest::newRow("unknown option") << QStringList{"--checks", "a.tw"} << "refused: unknown option --checks";
        QTest::newRow("two questions") << QStringList{"--check", "--minimize", "a.tw"}
                                       << "refused: --check and --minimize cannot be used together";
        QTest::newRow("compare and accepted") << QStringList{"--compare", "b.tw", "--accepted", "3", "a.tw"}
                                              << "refused: --compare and --accepted cannot be used together";
        QTest::newRow("a question twice") << QStringList{"--dot", "--dot", "a.tw"}
                                          << "refused: --dot is given twice";
        QTest::newRow("a question with strings") << QStringList{"--accepted", "2", "a.tw", "01"}
                                                 << "refused: --accepted takes no strings after the file";
        QTest::newRow("a question with trace") << QStringList{"--trace", "--dot", "a.tw"}
                                               << "refused: --trace goes only with strings to run, not with --dot";
        QTest::newRow("compare without its files") << QStringList{"--compare"}
                                                   << "refused: --compare needs the other file";
        QTest::newRow("expect without its list") << QStringList{"--expect"}
                                                 << "refused: --expect needs the list file";
        QTest::newRow("expect with strings") << QStringList{"--expect", "l.txt", "a.tw", "01"}
                                             << "refused: --expect takes no strings after the file";
        QTest::newRow("only without its verdict") << QStringList{"--only"} << "refused: --only needs a verdict";
        QTest::newRow("only, a verdict in lower case") << QStringList{"--only", "accepted", "a.tw"}
            << "refused: --only needs ACCEPTED, REJECTED or ERROR, not accepted";
        QTest::newRow("count and only") << QStringList{"--count", "--only", "ERROR", "a.tw"}
                                        << "refused: --count and --only cannot be used together";
        QTest::newRow("only and a question") << QStringList{"--only", "ACCEPTED", "--dot", "a.tw"}
                                             << "refused: --only and --dot cannot be used together";
        QTest::newRow("count with trace") << QStringList{"--count", "--trace", "a.tw"}
                                          << "refused: --trace and --count cannot be used together";
        QTest::newRow("compare with one file") << QStringList{"--compare", "b.tw"} << "refused: ";
        QTest::newRow("grade without the solution") << QStringList{"--grade"}
                                                    << "refused: --grade needs the solution file";
        QTest::newRow("grade without files") << QStringList{"--csv", "--grade", "s.tw"}
                                             << "refused: --grade needs the files to grade";
        QTest::newRow("csv without grade") << QStringList{"--csv", "a.tw"} << "refused: --csv goes only with --grade";
        QTest::newRow("grade with trace") << QStringList{"--trace", "--grade", "s.tw", "a.tw"}
                                          << "refused: --trace goes only with strings to run, not with --grade";
        QTest::newRow("accepted without N") << QStringList{"--accepted"} << "refused: --accepted needs a number N";
        QTest::newRow("from an expression without one") << QStringList{"--from-regex"}
                                                        << "refused: --from-regex needs the expression";
        QTest::newRow("from an expression with a file") << QStringList{"--from-regex", "a", "a.tw"}
            << "refused: --from-regex takes no file: it prints the automaton of its expression";
        QTest::newRow("from an expression with trace") << QStringList{"--trace", "--from-regex", "a"}
            << "refused: --trace goes only with strings to run, not with --from-regex";
        QTest::newRow("an alphabet without an expression") << QStringList{"--alphabet", "ab", "--check", "a.tw"}
                                                           << "refused: --alphabet goes only with --from-regex";
        QTest::newRow("an alphabet without its characters") << QStringList{"--from-regex", "a", "--alphabet"}
                                                            << "refused: --alphabet needs its characters";
        QTest::newRow("an alphabet twice") << QStringList{"--alphabet", "a", "--alphabet", "b", "--from-regex", "a"}
                                           << "refused: --alphabet is given twice";
        QTest::newRow("an expression as CSV") << QStringList{"--csv", "--from-regex", "a"}
                                              << "refused: --csv goes only with --grade";
        QTest::newRow("an expression and a question") << QStringList{"--from-regex", "a", "--to-regex", "a.tw"}
                                                      << "refused: --from-regex and --to-regex cannot be used together";
        QTest::newRow("accepted with the file for N")
            << QStringList{"--accepted", "a.tw"} << "refused: --accepted needs a whole number N from 0 to 2147483647, not a.tw";
        QTest::newRow("rejected, a negative N")
            << QStringList{"--rejected", "-1", "a.tw"} << "refused: --rejected needs a whole number N from 0 to 2147483647, not -1";
        QTest::newRow("accepted, N past an int") << QStringList{"--accepted", "2147483648", "a.tw"}
            << "refused: --accepted needs a whole number N from 0 to 2147483647, not 2147483648";
        QTest::newRow("accepted, N with a sign") << QStringList{"--accepted", "+5", "a.tw"}
            << "refused: --accepted needs a whole number N from 0 to 2147483647, not +5";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, parsed);
        QByteArrayList bytes;
        for (const QString &argument : arguments)
            bytes.append(argument.toUtf8());
        QCOMPARE(describe(parseRunOptions(bytes)), parsed);
    }
};

QTEST_GUILESS_MAIN(TestRunOptions)
#include "test_run_options.moc"

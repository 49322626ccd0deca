#pragma once

#include "run/run_verdict.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <optional>

// What tarnwell-run's command line asks for. Without an answer option it runs
// strings: those after the file, or each line of standard input. --count and
// --only run them too, and print less. An answer option asks one question
// about the automaton instead; it takes no strings. None of these options goes
// with another or with --trace. --grade takes files where the others take
// strings; --from-regex takes an expression instead of a file.
struct RunOptions
{
    enum class Action {
        RunStrings, // run `strings`, or standard input when there are none
        Check,      // --check: the report of what is probably a mistake
        Compare,    // --compare OTHER.tw: the first string on which `other` differs
        Minimize,   // --minimize: the minimized automaton as a .tw file
        Accepted,   // --accepted N: the first `count` accepted strings
        Rejected,   // --rejected N: the first `count` rejected strings
        Dot,        // --dot: the automaton as Graphviz DOT
        Expect,     // --expect LIST.txt: the strings of `other` against their expected verdicts
        Grade,      // --grade SOLUTION.tw: each of `files` graded against `other`
        Count,      // --count: how many strings got each verdict
        Only,       // --only VERDICT: the strings whose verdict is `only`, as they were read
        ToRegex,    // --to-regex: a regular expression for the language
        ToJff,      // --to-jff: the automaton as a JFLAP file
        FromRegex,  // --from-regex RE: the minimal automaton of `expression`, with no file
        Help,       // --help: the usage on standard output, status 0
        Version,    // --version: the program's name and version on standard output, status 0
        Refuse,     // `fault` (when there is one) and the usage on standard error, status 2
    };

    Action action = Action::RunStrings;
    bool trace = false;
    bool csv = false;        // --csv: --grade's lines as CSV, with a header row
    QByteArray file;         // FILE.tw, as the bytes the system gave
    QByteArray other;        // --compare's OTHER.tw, --expect's LIST.txt, --grade's SOLUTION.tw
    QByteArrayList files;    // --grade's files, in the order given (`file` is the first)
    QByteArray expression;   // --from-regex's RE
    std::optional<QByteArray> alphabet; // --alphabet's CHARS, when given (only with --from-regex)
    int count = 0;           // --accepted's and --rejected's N
    RunVerdict only = RunVerdict::Accepted;   // --only's VERDICT
    QByteArrayList strings;  // the strings after the file
    QString fault;           // why the command line is refused; empty for the usage alone

    // The option that chose the action ("--check"), or "" for running strings.
    QString optionName() const;
    // The action runs the strings (those after the file, or standard input).
    bool runsStrings() const
    {
        return action == Action::RunStrings || action == Action::Count || action == Action::Only;
    }
};

// Reads the arguments after the program's name. Options come before the file;
// `--` ends them, so a file whose name begins with - can follow it.
RunOptions parseRunOptions(const QByteArrayList &arguments);

// The text --help prints.
extern const char runUsage[];

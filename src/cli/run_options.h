#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// What tarnwell-run's command line asks for. Without an answer option it runs
// strings: those after the file, or each line of standard input. An answer
// option asks one question about the automaton instead; it takes no strings,
// and no other answer option or --trace goes with it.
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
        Help,       // --help: the usage on standard output, status 0
        Version,    // --version: the program's name and version on standard output, status 0
        Refuse,     // `fault` (when there is one) and the usage on standard error, status 2
    };

    Action action = Action::RunStrings;
    bool trace = false;
    QByteArray file;         // FILE.tw, as the bytes the system gave
    QByteArray other;        // --compare's OTHER.tw, --expect's LIST.txt
    int count = 0;           // --accepted's and --rejected's N
    QByteArrayList strings;  // the strings after the file
    QString fault;           // why the command line is refused; empty for the usage alone

    // The option that chose the action ("--check"), or "" for running strings.
    QString optionName() const;
};

// Reads the arguments after the program's name. Options come before the file;
// `--` ends them, so a file whose name begins with - can follow it.
RunOptions parseRunOptions(const QByteArrayList &arguments);

// The text --help prints.
extern const char runUsage[];

#pragma once

#include <QByteArray>
#include <QString>

struct RunOptions;
struct modAll;

// What tarnwell-run prints for a question about the automaton, and its status.
struct AutomatonAnswer
{
    QByteArray output;  // for standard output
    QString refusal;    // for standard error; empty when the question was answered
    int status = 0;
};

// Answers --check, --compare, --minimize, --accepted, --rejected, --dot,
// --to-regex or --to-jff about
// `automaton` (`other` is --compare's OTHER.tw). Strings are written in the
// escaped one-line form of the result lines, a list of strings one result line
// per string (the string, a tab, its verdict), so the empty string is a line of
// its own; --compare's line holds the string, its verdict in `automaton`, then
// in `other`.
AutomatonAnswer answerAbout(const RunOptions &options, const modAll &automaton, const modAll &other);

// Answers --from-regex: the automaton of the expression, as a .tw file.
AutomatonAnswer answerFromRegex(const RunOptions &options);

#pragma once

#include <QString>

class BufferedOutput;
struct RunOptions;
struct modAll;

// How a question about the automaton was answered: its exit status, and the
// refusal for standard error when it was not.
struct AutomatonAnswer
{
    QString refusal;    // empty when the question was answered
    int status = 0;
};

// Answers --check, --compare, --minimize, --accepted, --rejected, --dot,
// --to-regex or --to-jff about `automaton` (`other` is --compare's OTHER.tw),
// writing the answer to `out` as it is made, so a long one takes little memory
// and stops at the first write that fails. Strings are written in the escaped
// one-line form of the result lines, a list of strings one result line per
// string (the string, a tab, its verdict), so the empty string is a line of its
// own. --compare's line holds the string, its verdict in `other` (the
// reference), then in `automaton`, and for the one that is ERROR a fourth
// column with the reason.
AutomatonAnswer answerAbout(const RunOptions &options, const modAll &automaton, const modAll &other, BufferedOutput &out);

// Answers --from-regex: the automaton of the expression, as a .tw file.
AutomatonAnswer answerFromRegex(const RunOptions &options, BufferedOutput &out);

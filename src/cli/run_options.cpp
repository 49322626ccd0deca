#include "cli/run_options.h"

#include <limits>
#include <optional>

const char runUsage[] =
    "Usage: tarnwell-run [--trace | --count | --only VERDICT] FILE.tw [STRING ...]\n"
    "       tarnwell-run --check FILE.tw\n"
    "       tarnwell-run --compare OTHER.tw FILE.tw\n"
    "       tarnwell-run --minimize FILE.tw > OUT.tw\n"
    "       tarnwell-run --accepted N FILE.tw\n"
    "       tarnwell-run --rejected N FILE.tw\n"
    "       tarnwell-run --dot FILE.tw\n"
    "       tarnwell-run --expect LIST.txt FILE.tw\n"
    "       tarnwell-run [--csv] --grade SOLUTION.tw FILE.tw ...\n"
    "       tarnwell-run --to-regex FILE.tw\n"
    "       tarnwell-run --to-jff FILE.tw > OUT.jff\n"
    "       tarnwell-run --from-regex RE [--alphabet CHARS] > OUT.tw\n"
    "\n"
    "Runs each STRING through the automaton in FILE.tw, or, when no STRING is\n"
    "given, each line of standard input (its LF or CR LF ending removed), the way\n"
    "the Play button runs it at 0 ms. Prints one line per string: the string, a\n"
    "tab, then ACCEPTED or REJECTED, or ERROR, a tab and the reason (\"Invalid\n"
    "alphabet 'x'\" at the first character that is not a symbol, or \"Invalid\n"
    "start state\"). Text is UTF-8; a byte that is not valid UTF-8 is never a\n"
    "symbol.\n"
    "\n"
    "The string, the character in the reason and the state names are escaped so\n"
    "that each result is one line and each column one column: \\\\ for a\n"
    "backslash, \\t for a tab, \\n for a line feed, \\r for a carriage return,\n"
    "and \\xHH, with two upper-case hex digits, for any other byte below 0x20,\n"
    "for 0x7F and for each byte that is not part of valid UTF-8 (\\x1B, \\xFF).\n"
    "Other text is printed as it is.\n"
    "\n"
    "FILE.tw (and OTHER.tw, SOLUTION.tw) may also be a JFLAP finite automaton\n"
    "file (.jff), told apart by its content: it is read as the deterministic\n"
    "automaton that accepts the same strings (a missing transition goes to a\n"
    "trap state; a nondeterministic one, moves on the empty string included,\n"
    "goes through the subset construction), its alphabet the characters it reads.\n"
    "\n"
    "  --trace   also print, after a tab each, the names of the states visited:\n"
    "            the start state and every state a transition leads to\n"
    "  --count   print only how many strings got each verdict, one line each\n"
    "            in this order: ACCEPTED n, REJECTED n, ERROR n\n"
    "  --only VERDICT\n"
    "            print only the strings whose verdict is VERDICT (ACCEPTED,\n"
    "            REJECTED or ERROR), as they were read: not escaped, each line\n"
    "            with its own ending (LF where the last has none):\n"
    "            tarnwell-run --only ACCEPTED a.tw < all.txt > accepted.txt\n"
    "            (both exit as running the strings does)\n"
    "  --help    print this text\n"
    "  --version print the program's name and version\n"
    "  --        end of the options (for a file name that begins with -)\n"
    "\n"
    "Questions about the automaton, answered for every string at once (one of\n"
    "them at a time, with no STRING and without --trace):\n"
    "\n"
    "  --check         report what is probably a mistake: unreachable states,\n"
    "                  states with no way to a final state, symbols that change\n"
    "                  nothing, repeated symbols and names, equivalent states; the\n"
    "                  language's size and its shortest accepted and rejected\n"
    "                  strings\n"
    "  --compare OTHER.tw\n"
    "                  nothing when both automata give the same verdict on every\n"
    "                  string; otherwise the shortest string on which they differ,\n"
    "                  a tab, its verdict in OTHER.tw (the reference, as a\n"
    "                  teacher's solution), a tab, its verdict in FILE.tw, and for\n"
    "                  the one that is ERROR a tab and the reason\n"
    "  --minimize      the equivalent automaton with the fewest states, written as\n"
    "                  a .tw file exactly as Save writes it\n"
    "  --accepted N    the first N accepted strings, shortest first, then in the\n"
    "                  alphabet's order, one result line each, written as they\n"
    "                  are found (fewer when there are fewer)\n"
    "  --rejected N    the same for the rejected strings\n"
    "  --dot           the automaton as a Graphviz DOT graph:\n"
    "                  tarnwell-run --dot a.tw | dot -Tsvg > a.svg\n"
    "  --expect LIST.txt\n"
    "                  run each line of LIST.txt (a string, escaped as above,\n"
    "                  optionally a tab and ACCEPTED, REJECTED or ERROR) and\n"
    "                  compare its verdict with the expected one; print each line\n"
    "                  that differs (string, expected, got, and for ERROR the\n"
    "                  reason) as it is found, and a summary on standard error.\n"
    "                  LIST.txt is a file or a pipe of at most 1 GiB\n"
    "  --grade SOLUTION.tw FILE.tw ...\n"
    "                  grade each FILE.tw against SOLUTION.tw: one line per file,\n"
    "                  in the order given, of tab-separated columns FILE SCORE\n"
    "                  EDITS AGREEMENT COUNTEREXAMPLE SOLUTION-VERDICT\n"
    "                  FILE-VERDICT FIXES (see Grading below)\n"
    "  --csv           with --grade: the same columns as CSV, after a header row\n"
    "  --to-regex      one regular expression for the strings the automaton\n"
    "                  accepts over its alphabet (syntax below)\n"
    "  --to-jff        the automaton as a JFLAP file, with the run's meaning: a\n"
    "                  transition for every state and symbol\n"
    "  --from-regex RE\n"
    "                  takes no FILE: the minimal automaton of the expression RE\n"
    "                  as a .tw file, its states named q0, q1, ... in breadth-\n"
    "                  first order from the start, with a state that rejects\n"
    "                  everything only when the language needs one\n"
    "  --alphabet CHARS\n"
    "                  with --from-regex: its alphabet, in this order; without it,\n"
    "                  the characters RE names, in code point order\n"
    "\n"
    "Grading. EDITS is the fewest edits that make FILE.tw give SOLUTION.tw's\n"
    "verdict on every string: 0 to 2, else 3+ (? for automata too large to\n"
    "search). An edit makes a state final or not final, sends one cell to another\n"
    "state or empties it, chooses another start state, adds a state (not final,\n"
    "its cells empty) or adds a symbol (its cells empty). FIXES is one least fix,\n"
    "its edits separated by ';', each one of: final NAME, not final NAME, NAME on\n"
    "SYMBOL -> NAME, NAME on SYMBOL -> empty, start NAME, add state NAME, add\n"
    "symbol SYMBOL (empty for 0 or 3+ edits). AGREEMENT is the mean, over the\n"
    "lengths 0 to 12, of the share of the strings of that length (over both\n"
    "alphabets) on which both give the same verdict, in percent with one decimal,\n"
    "counted exactly (? when there are too many pairs of states to count).\n"
    "COUNTEREXAMPLE is the shortest string on which they differ, as --compare\n"
    "finds it, followed by its verdict in SOLUTION.tw and in FILE.tw (all three\n"
    "empty when they never differ). Names, symbols and strings are escaped as\n"
    "above.\n"
    "SCORE, 0 to 100: 100 when they never differ; otherwise the larger of the\n"
    "whole part of AGREEMENT and 80 for one edit, 60 for two, 0 for more, but at\n"
    "most 99. The other columns are there to apply another rule.\n"
    "A FILE.tw that cannot be read gets a line with the reason in the place of\n"
    "FIXES and the other columns empty. In CSV, a field that begins with =, +, -\n"
    "or @ gets a ' before it, so that a spreadsheet shows it instead of computing\n"
    "it.\n"
    "\n"
    "Regular expressions: a character stands for itself; | is union, * zero or\n"
    "more, + one or more, ? optional, (...) a group, () or \xCE\xB5 the empty string,\n"
    "\xE2\x88\x85 the empty language, [abc] and [a-c] a class, [^ab] the other symbols\n"
    "of the alphabet, . any symbol of the alphabet, and \\ makes the next\n"
    "character literal (\\*, \\(, \\\\). Postfix operators bind tightest, then\n"
    "concatenation, then |. At most 10000 characters; . and [^...] need\n"
    "--alphabet. A string with a character outside the alphabet gives ERROR.\n"
    "\n"
    "Exit status: 0 when every string ran to a verdict, 1 when any gave ERROR,\n"
    "2 when the file cannot be read, the strings cannot be read or the results\n"
    "cannot be written (the reason goes to standard error), or the command line\n"
    "is wrong. It stops at the first read or write that fails; when whatever\n"
    "reads the results closes them (tarnwell-run ... | head -1), it ends at once\n"
    "with 2 and no message. The questions end with 0, or 2 as above; --compare\n"
    "ends with 1 when the automata differ, --expect with 1 when any verdict is\n"
    "not the one expected, --minimize and --to-regex with 2 when the start state\n"
    "is not valid, --grade with 2 when any FILE.tw could not be read, and\n"
    "--from-regex with 2 when the expression is refused (the reason, with its\n"
    "position, on standard error) or needs more than 32767 states.\n";

namespace {

// What follows an answer option on the command line.
enum class Argument { None, File, Count, Verdict, Expression };

struct AnswerOption
{
    const char *name;
    RunOptions::Action action;
    Argument argument;
};

// The options that choose what is done, which exclude each other. A new
// question about the automaton is one more row here, with its Action.
constexpr AnswerOption answerOptions[] = {
    {"--check", RunOptions::Action::Check, Argument::None},
    {"--compare", RunOptions::Action::Compare, Argument::File},
    {"--minimize", RunOptions::Action::Minimize, Argument::None},
    {"--accepted", RunOptions::Action::Accepted, Argument::Count},
    {"--rejected", RunOptions::Action::Rejected, Argument::Count},
    {"--dot", RunOptions::Action::Dot, Argument::None},
    {"--expect", RunOptions::Action::Expect, Argument::File},
    {"--grade", RunOptions::Action::Grade, Argument::File},
    {"--count", RunOptions::Action::Count, Argument::None},
    {"--only", RunOptions::Action::Only, Argument::Verdict},
    {"--to-regex", RunOptions::Action::ToRegex, Argument::None},
    {"--to-jff", RunOptions::Action::ToJff, Argument::None},
    {"--from-regex", RunOptions::Action::FromRegex, Argument::Expression},
};

QString missingArgument(const AnswerOption &option)
{
    switch (option.argument) {
    case Argument::Count:
        return QStringLiteral(" needs a number N");
    case Argument::Verdict:
        return QStringLiteral(" needs a verdict");
    case Argument::Expression:
        return QStringLiteral(" needs the expression");
    case Argument::File:
    case Argument::None:
        break;
    }
    if (option.action == RunOptions::Action::Expect)
        return QStringLiteral(" needs the list file");
    if (option.action == RunOptions::Action::Grade)
        return QStringLiteral(" needs the solution file");
    return QStringLiteral(" needs the other file");
}

const AnswerOption *answerOption(const QByteArray &argument)
{
    for (const AnswerOption &option : answerOptions)
        if (argument == option.name)
            return &option;
    return nullptr;
}

RunOptions refuse(const QString &fault)
{
    RunOptions refused;
    refused.action = RunOptions::Action::Refuse;
    refused.fault = fault;
    return refused;
}

// N: decimal digits only, from 0 up to what an int holds.
std::optional<int> count(const QByteArray &argument)
{
    if (argument.isEmpty() || argument.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const char digit : argument) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + (digit - '0');
    }
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// VERDICT: one of the words a result line ends with.
std::optional<RunVerdict> verdict(const QByteArray &argument)
{
    for (const RunVerdict verdict : {RunVerdict::Accepted, RunVerdict::Rejected, RunVerdict::Error})
        if (argument == verdictText(verdict).toLatin1())
            return verdict;
    return std::nullopt;
}

bool isOption(const QByteArray &argument)
{
    return argument.size() > 1 && argument.startsWith('-');
}

} // namespace

QString RunOptions::optionName() const
{
    for (const AnswerOption &option : answerOptions)
        if (option.action == action)
            return QLatin1String(option.name);
    return {};
}

RunOptions parseRunOptions(const QByteArrayList &arguments)
{
    RunOptions options;
    qsizetype next = 0;
    while (next < arguments.size() && isOption(arguments[next])) {
        const QByteArray &argument = arguments[next++];
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "--version") {
            options.action = argument == "--help" ? RunOptions::Action::Help : RunOptions::Action::Version;
            return options;
        }
        if (argument == "--trace") {
            options.trace = true;
            continue;
        }
        if (argument == "--csv") {
            options.csv = true;
            continue;
        }
        if (argument == "--alphabet") {
            if (options.alphabet)
                return refuse(QStringLiteral("--alphabet is given twice"));
            if (next >= arguments.size())
                return refuse(QStringLiteral("--alphabet needs its characters"));
            options.alphabet = arguments[next++];
            continue;
        }
        const AnswerOption *option = answerOption(argument);
        if (!option)
            return refuse(QStringLiteral("unknown option ") + QString::fromLocal8Bit(argument));
        if (options.action == option->action)
            return refuse(QLatin1String(option->name) + QStringLiteral(" is given twice"));
        if (options.action != RunOptions::Action::RunStrings)
            return refuse(options.optionName() + QStringLiteral(" and ") + QLatin1String(option->name)
                          + QStringLiteral(" cannot be used together"));
        options.action = option->action;
        if (option->argument == Argument::None)
            continue;
        if (next >= arguments.size())
            return refuse(QLatin1String(option->name) + missingArgument(*option));
        const QByteArray &value = arguments[next++];
        if (option->argument == Argument::Expression) {
            options.expression = value;
        } else if (option->argument == Argument::File) {
            options.other = value;
        } else if (option->argument == Argument::Verdict) {
            const std::optional<RunVerdict> only = verdict(value);
            if (!only)
                return refuse(QLatin1String(option->name) + QStringLiteral(" needs ACCEPTED, REJECTED or ERROR, not ")
                              + QString::fromLocal8Bit(value));
            options.only = *only;
        } else if (const std::optional<int> n = count(value)) {
            options.count = *n;
        } else {
            return refuse(QLatin1String(option->name) + QStringLiteral(" needs a whole number N from 0 to %1, not ")
                                                            .arg(std::numeric_limits<int>::max())
                          + QString::fromLocal8Bit(value));
        }
    }
    if (options.csv && options.action != RunOptions::Action::Grade)
        return refuse(QStringLiteral("--csv goes only with --grade"));
    if (options.alphabet && options.action != RunOptions::Action::FromRegex)
        return refuse(QStringLiteral("--alphabet goes only with --from-regex"));
    if (options.action == RunOptions::Action::FromRegex) {
        if (options.trace)
            return refuse(QStringLiteral("--trace goes only with strings to run, not with --from-regex"));
        if (next < arguments.size())
            return refuse(QStringLiteral("--from-regex takes no file: it prints the automaton of its expression"));
        return options;
    }
    if (next >= arguments.size())
        return refuse(options.action == RunOptions::Action::Grade ? QStringLiteral("--grade needs the files to grade")
                                                                   : QString());
    options.file = arguments[next++];
    options.strings = arguments.sliced(next);

    if (options.action == RunOptions::Action::Grade) {
        options.files = QByteArrayList{options.file} + options.strings;
        options.strings.clear();
    }
    if (options.action == RunOptions::Action::RunStrings)
        return options;
    if (options.trace && options.runsStrings())
        return refuse(QStringLiteral("--trace and ") + options.optionName() + QStringLiteral(" cannot be used together"));
    if (options.trace)
        return refuse(QStringLiteral("--trace goes only with strings to run, not with ") + options.optionName());
    if (!options.strings.isEmpty() && !options.runsStrings())
        return refuse(options.optionName() + QStringLiteral(" takes no strings after the file"));
    return options;
}

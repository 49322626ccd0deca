#pragma once

#include "cli/string_list.h"

#include <QByteArray>
#include <QString>

class DescriptorOutput;
struct modAll;

// A list of test strings checked against an automaton, as a teacher grades
// with it: each string is run as tarnwell-run runs it, and its verdict compared
// with the expected one. Strings without an expected verdict are only run.
struct ExpectReport
{
    // One line per string whose verdict differs: the string (escaped), a tab,
    // the expected verdict, a tab, the verdict it got, and for ERROR a tab and
    // the reason.
    QByteArray differences;
    QString summary;        // StringList::summaryText
    bool allAsExpected = true;
};

ExpectReport checkList(const modAll &model, const QList<ListedString> &strings);

// `tarnwell-run --expect LIST FILE`, once FILE is read: writes the differences
// to `out` and the summary on standard error; gives the exit status: 0 when
// every string got its expected verdict, 1 when any did not, 2 when the list
// cannot be read or the output cannot be written.
int runExpectCommand(const QByteArray &listPath, const modAll &automaton, DescriptorOutput &out);

#pragma once

#include "cli/string_list.h"
#include "run/byte_engine.h"

#include <QByteArray>
#include <QString>

class DescriptorOutput;
struct modAll;

// A list of test strings checked against an automaton, as a teacher grades
// with it: each string is run as tarnwell-run runs it, and its verdict compared
// with the expected one. Strings without an expected verdict are only run.
class ExpectCheck
{
public:
    explicit ExpectCheck(const modAll &model);

    // Runs one string; when its verdict is not the expected one, appends a
    // line to `differences`: the string (escaped), a tab, the expected
    // verdict, a tab, the verdict it got, and for ERROR a tab and the reason.
    void check(const ListedString &string, QByteArray &differences);

    QString summary() const;   // StringList::summaryText
    bool allAsExpected() const { return m_differing == 0; }

private:
    const ByteEngine m_engine;
    QByteArray m_escaped;
    qsizetype m_run = 0;
    qsizetype m_withExpectation = 0;
    qsizetype m_differing = 0;
};

// A whole list checked at once.
struct ExpectReport
{
    QByteArray differences;
    QString summary;
    bool allAsExpected = true;
};

ExpectReport checkList(const modAll &model, const QList<ListedString> &strings);

// `tarnwell-run --expect LIST FILE`, once FILE is read. LIST is read line by
// line as it comes, up to StringList::defaultSizeLimit bytes, and each
// difference is written as it is found, so memory stays small whatever the
// list's size. Writes the summary on standard error; gives the exit status: 0
// when every string got its expected verdict, 1 when any did not, 2 when the
// list cannot be read (at the first line that cannot be, after the
// differences before it) or the output cannot be written.
int runExpectCommand(const QByteArray &listPath, const modAll &automaton, DescriptorOutput &out);

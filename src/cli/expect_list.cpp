#include "cli/expect_list.h"

#include "cli/batch_run.h"
#include "cli/buffered_output.h"
#include "cli/descriptor_output.h"
#include "document/escaped_line.h"

#include <cstdio>

ExpectCheck::ExpectCheck(const modAll &model)
    : m_engine(model)
{
}

void ExpectCheck::check(const ListedString &string, QByteArray &differences)
{
    ++m_run;
    m_escaped.resize(0);
    const qsizetype valid = EscapedLine::append(m_escaped, string.bytes);
    const StringResult result = runWholeString(m_engine, string.bytes, valid);
    if (!string.expected)
        return;
    ++m_withExpectation;
    if (result.verdict == *string.expected)
        return;
    ++m_differing;
    differences += m_escaped + '\t' + verdictText(*string.expected).toLatin1() + '\t' + verdictText(result.verdict).toLatin1();
    if (result.verdict == RunVerdict::Error)
        differences += '\t' + result.status.toUtf8();
    differences += '\n';
}

QString ExpectCheck::summary() const
{
    return StringList::summaryText(m_run, m_withExpectation, m_differing);
}

ExpectReport checkList(const modAll &model, const QList<ListedString> &strings)
{
    ExpectCheck check(model);
    ExpectReport report;
    for (const ListedString &string : strings)
        check.check(string, report.differences);
    report.summary = check.summary();
    report.allAsExpected = check.allAsExpected();
    return report;
}

namespace {

int fail(const QString &about, const QString &reason)
{
    std::fprintf(stderr, "tarnwell-run: %s: %s\n", about.toLocal8Bit().constData(), reason.toLocal8Bit().constData());
    return 2;
}

} // namespace

int runExpectCommand(const QByteArray &listPath, const modAll &automaton, DescriptorOutput &out)
{
    ExpectCheck check(automaton);
    BufferedOutput written(out);
    QByteArray differences;
    const TwResult<> read = StringList::readFile(listPath, StringList::defaultSizeLimit, [&](ListedString &&string) {
        differences.resize(0);
        check.check(string, differences);
        return written.put(differences);
    });
    if (!written.flush())
        return out.readerGone() ? 2 : fail(QStringLiteral("standard output"),
                                           QStringLiteral("cannot write the differences: ") + out.errorString());
    if (!read.ok())
        return fail(QString::fromLocal8Bit(listPath), read.failure().message());
    std::fprintf(stderr, "%s\n", check.summary().toUtf8().constData());
    return check.allAsExpected() ? 0 : 1;
}

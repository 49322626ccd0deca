#include "cli/expect_list.h"

#include "cli/batch_run.h"
#include "cli/descriptor_output.h"
#include "document/escaped_line.h"

#include <QFile>

#include <cstdio>

ExpectReport checkList(const modAll &model, const QList<ListedString> &strings)
{
    ExpectReport report;
    const ByteEngine engine(model);
    qsizetype withExpectation = 0, differing = 0;
    QByteArray escaped;
    for (const ListedString &string : strings) {
        escaped.resize(0);
        const qsizetype valid = EscapedLine::append(escaped, string.bytes);
        const StringResult result = runWholeString(engine, string.bytes, valid);
        if (!string.expected)
            continue;
        ++withExpectation;
        if (result.verdict == *string.expected)
            continue;
        ++differing;
        report.differences += escaped + '\t' + verdictText(*string.expected).toLatin1() + '\t'
            + verdictText(result.verdict).toLatin1();
        if (result.verdict == RunVerdict::Error)
            report.differences += '\t' + result.status.toUtf8();
        report.differences += '\n';
    }
    report.summary = StringList::summaryText(strings.size(), withExpectation, differing);
    report.allAsExpected = differing == 0;
    return report;
}

namespace {

int fail(const QByteArray &path, const QString &reason)
{
    std::fprintf(stderr, "tarnwell-run: %s: %s\n", path.constData(), reason.toLocal8Bit().constData());
    return 2;
}

} // namespace

int runExpectCommand(const QByteArray &listPath, const modAll &automaton, DescriptorOutput &out)
{
    QFile listFile(QFile::decodeName(listPath));
    if (!listFile.open(QIODevice::ReadOnly))
        return fail(listPath, listFile.errorString());
    const QByteArray listText = listFile.readAll();
    if (listFile.error() != QFileDevice::NoError)
        return fail(listPath, listFile.errorString());
    const StringList::Parsed list = StringList::parse(listText);
    if (!list.ok())
        return fail(listPath, list.error);

    const ExpectReport report = checkList(automaton, list.strings);
    if (out.write(report.differences) != report.differences.size())
        return out.readerGone() ? 2 : fail("standard output", QStringLiteral("cannot write the differences: ") + out.errorString());
    std::fprintf(stderr, "%s\n", report.summary.toUtf8().constData());
    return report.allAsExpected ? 0 : 1;
}

// tarnwell-run: checks strings against a saved automaton from a shell, and
// answers questions about it.

#include "cli/automaton_answers.h"
#include "cli/batch_run.h"
#include "cli/buffered_output.h"
#include "cli/descriptor_output.h"
#include "cli/expect_list.h"
#include "cli/grade_lines.h"
#include "cli/line_filter.h"
#include "cli/run_options.h"
#include "document/tw_file.h"
#include "toolkit/application_info.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "tarnwell-run: %s\n", message.toLocal8Bit().constData());
    return 2;
}

// The one way tarnwell-run reads an automaton's file, .tw or JFLAP.
TwResult<modAll> read(const QByteArray &path)
{
    return TwFile::loadNative(path);
}

// Reads a file it cannot go on without: a failure is said on standard error.
TwResult<modAll> load(const QByteArray &path)
{
    TwResult<modAll> loaded = read(path);
    if (!loaded.ok())
        fail(QString::fromLocal8Bit(path) + QStringLiteral(": ") + loaded.failure().message());
    return loaded;
}

// Runs the strings of the command line, or each line of standard input,
// through `runner` (a BatchRun or a LineFilter), and gives the exit status.
template <typename Runner>
int runStrings(Runner &runner, const RunOptions &options, DescriptorOutput &out)
{
    if (!options.strings.isEmpty()) {
        for (qsizetype i = 0; i < options.strings.size() && runner.ok(); ++i)
            runner.runString(options.strings[i]);
    } else {
        QFile in;
        if (!in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            return fail(QStringLiteral("cannot read the strings: ") + in.errorString());
        runner.runLines(in);
    }
    if (!runner.flush())
        return out.readerGone() ? 2 : fail(runner.ioError());
    return runner.anyError() ? 1 : 0;
}

int runStrings(const modAll &automaton, const RunOptions &options, DescriptorOutput &out)
{
    if (options.action == RunOptions::Action::RunStrings) {
        BatchRun batch(automaton, options.trace, out);
        return runStrings(batch, options, out);
    }
    LineFilter filter(automaton, options.action == RunOptions::Action::Only ? std::optional(options.only) : std::nullopt,
                      out);
    return runStrings(filter, options, out);
}

// Ends an answer written to `written`: gives the exit status; a refusal is said
// about `subject`.
int finish(const AutomatonAnswer &answered, const QString &subject, BufferedOutput &written, DescriptorOutput &out)
{
    if (!answered.refusal.isEmpty())
        return fail(subject + answered.refusal);
    if (!written.flush())
        return out.readerGone() ? 2 : fail(QStringLiteral("cannot write the results: ") + out.errorString());
    return answered.status;
}

// Answers a question about the automaton and gives the exit status.
int answer(const modAll &automaton, const RunOptions &options, DescriptorOutput &out)
{
    modAll other;
    if (options.action == RunOptions::Action::Compare) {
        TwResult<modAll> loaded = load(options.other);
        if (!loaded.ok())
            return 2;
        other = std::move(loaded.value());
    }
    BufferedOutput written(out);
    return finish(answerAbout(options, automaton, other, written), QString::fromLocal8Bit(options.file) + QStringLiteral(": "),
                  written, out);
}

// Grades each file against the solution, writing each line as soon as it is
// made, and gives the exit status.
int grade(const RunOptions &options, DescriptorOutput &out)
{
    const TwResult<modAll> solution = load(options.other);
    if (!solution.ok())
        return 2;
    const GradeLines lines(solution.value(), options.csv);
    bool allRead = true;
    QByteArray text = lines.header();
    for (const QByteArray &path : options.files) {
        const TwResult<modAll> file = read(path);
        allRead = allRead && file.ok();
        text += file.ok() ? lines.graded(path, file.value()) : lines.unread(path, file.failure().message());
        if (out.write(text) != text.size())
            return out.readerGone() ? 2 : fail(QStringLiteral("cannot write the grades: ") + out.errorString());
        text.clear();
    }
    return allRead ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    TwFile::ignoreFileSizeLimitSignal();
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const RunOptions options = parseRunOptions(arguments);
    if (options.action == RunOptions::Action::Help) {
        std::fputs(runUsage, stdout);
        return 0;
    }
    if (options.action == RunOptions::Action::Version) {
        registerApplicationInfo();
        std::printf("%s\n", qPrintable(versionLine()));
        return 0;
    }
    if (options.action == RunOptions::Action::Refuse) {
        if (!options.fault.isEmpty())
            std::fprintf(stderr, "tarnwell-run: %s\n\n", options.fault.toLocal8Bit().constData());
        std::fputs(runUsage, stderr);
        return 2;
    }

    // A reader that goes away (a pipe into head) makes writes fail with EPIPE
    // instead of killing the process, so it ends like any other output error.
    std::signal(SIGPIPE, SIG_IGN);
    DescriptorOutput out(STDOUT_FILENO);
    out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (options.action == RunOptions::Action::Grade)
        return grade(options, out);
    if (options.action == RunOptions::Action::FromRegex) {
        BufferedOutput written(out);
        return finish(answerFromRegex(options, written), QString(), written, out);
    }

    const TwResult<modAll> loaded = load(options.file);
    if (!loaded.ok())
        return 2;
    if (options.runsStrings())
        return runStrings(loaded.value(), options, out);
    if (options.action == RunOptions::Action::Expect)
        return runExpectCommand(options.other, loaded.value(), out);
    return answer(loaded.value(), options, out);
}

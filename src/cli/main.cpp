// tarnwell-run: checks strings against a saved automaton from a shell, and
// answers questions about it.

#include "cli/automaton_answers.h"
#include "cli/batch_run.h"
#include "cli/descriptor_output.h"
#include "cli/expect_list.h"
#include "cli/run_options.h"
#include "document/tw_file.h"

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

TwResult<modAll> load(const QByteArray &path)
{
    TwResult<modAll> loaded = TwFile::loadNative(path);
    if (!loaded.ok())
        fail(QString::fromLocal8Bit(path) + QStringLiteral(": ") + loaded.failure().message());
    return loaded;
}

// Runs the strings of the command line, or each line of standard input, and
// gives the exit status.
int runStrings(const modAll &automaton, const RunOptions &options, DescriptorOutput &out)
{
    BatchRun batch(automaton, options.trace, out);
    if (!options.strings.isEmpty()) {
        for (qsizetype i = 0; i < options.strings.size() && batch.ok(); ++i)
            batch.runString(options.strings[i]);
    } else {
        QFile in;
        if (!in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            return fail(QStringLiteral("cannot read the strings: ") + in.errorString());
        batch.runLines(in);
    }
    if (!batch.flush())
        return out.readerGone() ? 2 : fail(batch.ioError());
    return batch.anyError() ? 1 : 0;
}

// Writes an answer and gives the exit status; a refusal is said about `subject`.
int write(const AutomatonAnswer &answered, const QString &subject, DescriptorOutput &out)
{
    if (!answered.refusal.isEmpty())
        return fail(subject + answered.refusal);
    if (out.write(answered.output) != answered.output.size())
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
    return write(answerAbout(options, automaton, other), QString::fromLocal8Bit(options.file) + QStringLiteral(": "),
                 out);
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
    if (options.action == RunOptions::Action::FromRegex)
        return write(answerFromRegex(options), QString(), out);

    const TwResult<modAll> loaded = load(options.file);
    if (!loaded.ok())
        return 2;
    if (options.action == RunOptions::Action::RunStrings)
        return runStrings(loaded.value(), options, out);
    if (options.action == RunOptions::Action::Expect)
        return runExpectCommand(options.other, loaded.value(), out);
    return answer(loaded.value(), options, out);
}

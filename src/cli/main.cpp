// tarnwell-run: checks strings against a saved automaton from a shell.

#include "cli/batch_run.h"
#include "cli/descriptor_output.h"
#include "cli/expect_list.h"
#include "document/tw_file.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char usage[] =
    "Usage: tarnwell-run [--trace] FILE.tw [STRING ...]\n"
    "       tarnwell-run --expect LIST.txt FILE.tw\n"
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
    "  --trace   also print, after a tab each, the names of the states visited:\n"
    "            the start state and every state a transition leads to\n"
    "  --expect LIST.txt\n"
    "            run each line of LIST.txt (a string, escaped as above,\n"
    "            optionally a tab and ACCEPTED, REJECTED or ERROR) and compare\n"
    "            its verdict with the expected one; print each line that differs\n"
    "            (string, expected, got) and a summary on standard error. Exit\n"
    "            status 0 when all are as expected, 1 when any differs, 2 when a\n"
    "            file cannot be read\n"
    "  --help    print this text\n"
    "  --        end of the options (for a file name that begins with -)\n"
    "\n"
    "Exit status: 0 when every string ran to a verdict, 1 when any gave ERROR,\n"
    "2 when the file cannot be read, the strings cannot be read or the results\n"
    "cannot be written (the reason goes to standard error), or the command line\n"
    "is wrong. It stops at the first read or write that fails; when whatever\n"
    "reads the results closes them (tarnwell-run ... | head -1), it ends at once\n"
    "with 2 and no message.\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "tarnwell-run: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    TwFile::ignoreFileSizeLimitSignal();
    if (argc > 1 && std::strcmp(argv[1], "--expect") == 0) {
        if (argc != 4) {
            std::fputs(usage, stderr);
            return 2;
        }
        return runExpectCommand(argv[2], argv[3]);
    }
    bool trace = false;
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-' && argv[arg][1] != '\0'; ++arg) {
        if (std::strcmp(argv[arg], "--") == 0) {
            ++arg;
            break;
        }
        if (std::strcmp(argv[arg], "--help") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[arg], "--trace") != 0) {
            std::fprintf(stderr, "tarnwell-run: unknown option %s\n\n%s", argv[arg], usage);
            return 2;
        }
        trace = true;
    }
    if (arg >= argc) {
        std::fputs(usage, stderr);
        return 2;
    }

    const QByteArray path(argv[arg++]);
    const TwResult<modAll> loaded = TwFile::loadNative(path);
    if (!loaded.ok())
        return fail(QString::fromLocal8Bit(path) + QStringLiteral(": ") + loaded.failure().message());

    // A reader that goes away (a pipe into head) makes writes fail with EPIPE
    // instead of killing the process, so it ends like any other output error.
    std::signal(SIGPIPE, SIG_IGN);
    DescriptorOutput out(STDOUT_FILENO);
    out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    BatchRun batch(loaded.value(), trace, out);
    if (arg < argc) {
        for (; arg < argc && batch.ok(); ++arg)
            batch.runString(QByteArrayView(argv[arg]));
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

#include "app/command_line.h"
#include "document/tw_file.h"
#include "model/mod_all.h"
#include "toolkit/application_info.h"
#include "windows/main/frm_main.h"

#include <QApplication>

#include <cstdio>

namespace {

QByteArrayList argumentBytes(int argc, char *argv[])
{
    QByteArrayList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

// Prints what the command line asked for and gives the exit status; nothing
// for a start of the window.
std::optional<int> answer(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(line.text.toLocal8Bit().constData(), stderr);
        return 2;
    case CommandLine::Action::Start:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    TwFile::ignoreFileSizeLimitSignal();
    registerApplicationInfo();
    // Help, the version and a refusal are answered before the toolkit starts,
    // so they need no display.
    const CommandLine line = parseCommandLine(argumentBytes(argc, argv));
    if (const std::optional<int> status = answer(line))
        return *status;

    QApplication app(argc, argv);

    // The one automaton of the program's life; every window works on it.
    modAll model;
    frm_main window(model);
    window.show();

    // A desktop opening a .tw file starts the program with the file's path.
    if (line.file && !line.fileRefusal.isEmpty())
        window.fileCommands().refuseToOpen(*line.file, line.fileRefusal);
    else if (line.file)
        window.fileCommands().openPath(*line.file);
    return app.exec();
}

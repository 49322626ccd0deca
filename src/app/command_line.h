#pragma once

#include <QByteArrayList>
#include <QString>
#include <optional>

// What tarnwell's command line asks for: `tarnwell [options] [FILE]`.
struct CommandLine
{
    enum class Action {
        Start,   // open the window, with `file` when one was given
        Help,    // print `text` (the usage) and end with status 0
        Version, // print `text` and end with status 0
        Refuse,  // print `text` (the fault, then the usage) on standard error and end with status 2
    };

    Action action = Action::Start;
    std::optional<QString> file; // none: start with a new, untitled automaton
    QString fileRefusal; // why `file` will not be opened; empty when it may be
    QString text;
};

// Reads the program's arguments, the program's own name first, as the bytes the
// system gave them, before the toolkit starts: the toolkit's own options
// (-platform, -style ...) are passed over, so help, the version and a refusal
// are answered without a display. A file name that is not UTF-8 could not be
// written back under the same name by a later Save, so it is refused with the
// reason.
CommandLine parseCommandLine(const QByteArrayList &arguments);

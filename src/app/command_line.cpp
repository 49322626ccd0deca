#include "app/command_line.h"

#include "toolkit/application_info.h"

#include <QCommandLineParser>

namespace {

// The parser's help with a usage line that reads the same however the program
// was started.
QString usage(const QCommandLineParser &parser)
{
    const QString help = parser.helpText();
    return QStringLiteral("Usage: tarnwell [options] [FILE]") + help.sliced(help.indexOf(u'\n'));
}

CommandLine refuse(const QString &fault, const QCommandLineParser &parser)
{
    return {CommandLine::Action::Refuse, {}, {}, QStringLiteral("tarnwell: ") + fault + u'\n' + u'\n' + usage(parser)};
}

} // namespace

CommandLine parseCommandLine(const QByteArrayList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a deterministic finite automaton and runs input strings through it.\n"
        "Starts with FILE open, or with a new, untitled automaton. Use -- before a\n"
        "FILE whose name begins with -. The toolkit's own options, such as\n"
        "-platform and -style, are taken as well."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The automaton (.tw) to open."),
                                 QStringLiteral("[FILE]"));

    QStringList decoded;
    decoded.reserve(arguments.size());
    for (const QByteArray &argument : arguments)
        decoded.append(QString::fromLocal8Bit(argument));
    if (!parser.parse(decoded))
        return refuse(parser.errorText(), parser);
    if (parser.isSet(help))
        return {CommandLine::Action::Help, {}, {}, usage(parser)};
    if (parser.isSet(version))
        return {CommandLine::Action::Version, {}, {}, versionLine() + u'\n'};

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("Only one FILE can be opened."), parser);

    CommandLine line;
    if (files.isEmpty())
        return line;
    line.file = files.constFirst();
    // Options are ASCII, so only the argument that gave the file name reads as it.
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (decoded[i] == line.file && !arguments[i].isValidUtf8())
            line.fileRefusal = QStringLiteral(
                "The file's name is not valid UTF-8, so the automaton could not be saved under it again.");
    return line;
}

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

// The toolkit's own options, which it takes out of the arguments when it
// starts, each with one dash or two. Those with a value take the next
// argument, or what follows '='.
constexpr const char *toolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session", "display", "geometry", "style", "stylesheet", "name", "visual", "qmljsdebugger",
};
constexpr const char *toolkitFlags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb", "testability"};

// How many arguments, from `at`, are one of the toolkit's options: 0 when the
// argument is not one.
qsizetype toolkitOptionLength(const QByteArrayList &arguments, qsizetype at)
{
    QByteArrayView argument = arguments[at];
    if (!argument.startsWith('-'))
        return 0;
    argument = argument.sliced(argument.startsWith("--") ? 2 : 1);
    const qsizetype equals = argument.indexOf('=');
    const QByteArrayView name = equals < 0 ? argument : argument.first(equals);
    for (const char *option : toolkitOptionsWithValue)
        if (name == option)
            return equals < 0 && at + 1 < arguments.size() ? 2 : 1;
    for (const char *flag : toolkitFlags)
        if (argument == flag)
            return 1;
    return 0;
}

// The arguments without the toolkit's options, up to a "--" that ends them.
QByteArrayList withoutToolkitOptions(const QByteArrayList &arguments)
{
    QByteArrayList kept;
    qsizetype at = 0;
    for (; at < arguments.size() && arguments[at] != "--";) {
        const qsizetype length = at == 0 ? 0 : toolkitOptionLength(arguments, at);
        if (length == 0)
            kept.append(arguments[at]);
        at += qMax<qsizetype>(length, 1);
    }
    kept.append(arguments.sliced(at));
    return kept;
}

CommandLine refuse(const QString &fault, const QCommandLineParser &parser)
{
    return {CommandLine::Action::Refuse, {}, {}, QStringLiteral("tarnwell: ") + fault + u'\n' + u'\n' + usage(parser)};
}

} // namespace

CommandLine parseCommandLine(const QByteArrayList &allArguments)
{
    const QByteArrayList arguments = withoutToolkitOptions(allArguments);
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

#include "document/automaton_file.h"

#include "document/jff_automaton.h"
#include "document/jff_reader.h"
#include "document/tw_reader.h"

namespace {

// Whether a file that begins with `start` is XML: a .tw file begins with its
// "Q" keyword, and none that Tarnwell writes begins with '<'.
bool isXml(QByteArrayView start)
{
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    while (!start.isEmpty() && (start.front() == ' ' || start.front() == '\t' || start.front() == '\r'
                                || start.front() == '\n'))
        start = start.sliced(1);
    return start.startsWith("<?xml") || start.startsWith("<!--") || start.startsWith("<structure");
}

// The first bytes of a file read in pieces, enough to tell its kind.
QByteArray beginning(const TwFileBytes &bytes)
{
    static constexpr qsizetype enough = 4096;
    QByteArray start;
    for (const QByteArray &piece : bytes.pieces) {
        start += piece.first(qMin(piece.size(), enough - start.size()));
        if (start.size() >= enough)
            break;
    }
    return start;
}

TwResult<LoadedAutomaton> fromJff(TwResult<JffMachine> &&machine)
{
    if (!machine.ok())
        return machine.failure();
    return automatonFromJff(machine.value());
}

TwResult<LoadedAutomaton> fromTw(TwResult<modAll> &&automaton)
{
    if (!automaton.ok())
        return automaton.failure();
    LoadedAutomaton loaded;
    loaded.automaton = std::move(automaton.value());
    return loaded;
}

} // namespace

TwResult<LoadedAutomaton> readAutomatonFile(TwFileBytes &&bytes)
{
    if (isXml(beginning(bytes)))
        return fromJff(readJffMachine(std::move(bytes)));
    return fromTw(readAutomaton(std::move(bytes)));
}

TwResult<LoadedAutomaton> readAutomatonFile(QByteArrayView bytes)
{
    if (isXml(bytes.first(qMin<qsizetype>(bytes.size(), 4096))))
        return fromJff(readJffMachine(bytes));
    return fromTw(readAutomaton(bytes));
}

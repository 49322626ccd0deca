#include "document/automaton_file.h"

#include "document/jff_automaton.h"
#include "document/jff_reader.h"
#include "document/tw_reader.h"

namespace {

// How many bytes at the start are a UTF-8 byte-order mark and blanks.
qsizetype leadingBlanks(QByteArrayView start)
{
    qsizetype skipped = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (skipped < start.size() && QByteArrayView(" \t\r\n").contains(start[skipped]))
        ++skipped;
    return skipped;
}

// Whether a file that begins with `start` is XML: a .tw file begins with its
// "Q" keyword, and none that Tarnwell writes begins with '<'.
bool isXml(QByteArrayView start)
{
    start = start.sliced(leadingBlanks(start));
    return start.startsWith("<?xml") || start.startsWith("<!--") || start.startsWith("<structure");
}

// XML allows nothing before its declaration; a JFLAP file with blank lines
// first is read all the same. UTF-8 needs no byte-order mark.
void dropLeadingBlanks(TwFileBytes &bytes)
{
    while (!bytes.pieces.isEmpty()) {
        QByteArray &first = bytes.pieces.first();
        first.remove(0, leadingBlanks(first));
        if (!first.isEmpty())
            return;
        bytes.pieces.removeFirst();
    }
}

// Enough of a file's start to tell its kind.
constexpr qsizetype telling = 4096;

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
    if (isXml(firstBytes(bytes, telling))) {
        dropLeadingBlanks(bytes);
        return fromJff(readJffMachine(std::move(bytes)));
    }
    return fromTw(readAutomaton(std::move(bytes)));
}

TwResult<LoadedAutomaton> readAutomatonFile(QByteArrayView bytes)
{
    if (isXml(bytes.first(qMin(bytes.size(), telling))))
        return fromJff(readJffMachine(bytes.sliced(leadingBlanks(bytes))));
    return fromTw(readAutomaton(bytes));
}

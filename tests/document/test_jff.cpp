// JFLAP files: what the reader makes of chosen files, each refusal with its
// message, random nondeterministic automata with moves on the empty string
// against a direct simulation of them written here, the writer's files read
// back equal, and the kind of a file told by its content through the one
// loader, whole or in pieces, from memory or from disk.

#include "document/automaton_file.h"
#include "document/jff_writer.h"
#include "document/tw_file.h"
#include "document/tw_file_save.h"
#include "document/tw_writer.h"
#include "brute_runs.h"
#include "test_automata.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A JFLAP 7 file of `states` (each "id name flags", flags of i for initial and
// f for final, x,y when placed) and `transitions` ("from to read").
QByteArray jff(const QList<QByteArray> &states, const QList<QByteArray> &transitions)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?><!--Created with JFLAP 7.1.-->"
                     "<structure>&#13;\n\t<type>fa</type>&#13;\n\t<automaton>&#13;\n";
    for (const QByteArray &state : states) {
        const QList<QByteArray> parts = state.split(' ');
        xml += "\t\t<state id=\"" + parts[0] + "\" name=\"" + parts[1] + "\">&#13;\n";
        if (parts.size() > 3) {
            const QList<QByteArray> place = parts[3].split(',');
            xml += "\t\t\t<x>" + place[0] + "</x>&#13;\n\t\t\t<y>" + place[1] + "</y>&#13;\n";
        }
        if (parts.size() > 2 && parts[2].contains('i'))
            xml += "\t\t\t<initial/>&#13;\n";
        if (parts.size() > 2 && parts[2].contains('f'))
            xml += "\t\t\t<final/>&#13;\n";
        xml += "\t\t</state>&#13;\n";
    }
    for (const QByteArray &transition : transitions) {
        const QList<QByteArray> parts = transition.split(' ');
        xml += "\t\t<transition>&#13;\n\t\t\t<from>" + parts[0] + "</from>&#13;\n\t\t\t<to>" + parts[1] + "</to>&#13;\n"
             + (parts.size() > 2 ? "\t\t\t<read>" + parts[2] + "</read>&#13;\n" : "\t\t\t<read/>&#13;\n")
             + "\t\t</transition>&#13;\n";
    }
    return xml + "\t</automaton>&#13;\n</structure>\n";
}

QString places(const LoadedAutomaton &loaded)
{
    QStringList shown;
    for (const std::optional<QPointF> &place : loaded.places)
        shown.append(place ? QStringLiteral("%1,%2").arg(place->x()).arg(place->y()) : QStringLiteral("-"));
    return shown.join(u' ');
}

QString outcome(const TwResult<LoadedAutomaton> &read)
{
    if (!read.ok())
        return QStringLiteral("refused: ") + read.failure().message();
    const LoadedAutomaton &loaded = read.value();
    return tableLine(loaded.automaton) + QStringLiteral(" | places ") + places(loaded)
         + (loaded.changes.isEmpty() ? QString() : QStringLiteral(" | ") + loaded.changes);
}

// A random automaton of JFLAP: states 0..n-1, transitions on a, b or the
// empty string, some states final, the first initial unless `noInitial`.
struct RandomNfa
{
    int states = 0;
    int initial = 0;
    QList<bool> final;
    QList<std::tuple<int, int, QChar>> moves;   // from, to, read (0 for the empty string)

    QByteArray file() const
    {
        QList<QByteArray> stateLines, transitionLines;
        for (int s = 0; s < states; ++s)
            stateLines.append(QByteArray::number(s) + " q" + QByteArray::number(s) + ' '
                              + (s == initial ? "i" : "") + (final[s] ? "f" : "") + "-");
        for (const auto &[from, to, read] : moves)
            transitionLines.append(QByteArray::number(from) + ' ' + QByteArray::number(to)
                                   + (read.isNull() ? QByteArray() : ' ' + QString(read).toUtf8()));
        return jff(stateLines, transitionLines);
    }

    // The characters some transition reads, in code point order.
    QString alphabet() const
    {
        QString characters;
        for (const QChar c : QStringLiteral("ab"))
            for (const auto &move : moves)
                if (std::get<2>(move) == c && !characters.contains(c))
                    characters += c;
        return characters;
    }

    // The states reachable from `from` on the empty string.
    QSet<int> closure(QSet<int> from) const
    {
        for (qsizetype before = -1; before != from.size();) {
            before = from.size();
            for (const auto &[source, to, read] : moves)
                if (read.isNull() && from.contains(source))
                    from.insert(to);
        }
        return from;
    }

    // The verdict of every string over the alphabet up to `length`, in the
    // order of BruteRuns, simulated on sets of states.
    QByteArray verdicts(int length) const
    {
        const QString characters = alphabet();
        QList<QSet<int>> level{initial < 0 ? QSet<int>() : closure({initial})};
        QByteArray verdicts;
        for (int l = 0; l <= length; ++l) {
            QList<QSet<int>> longer;
            for (const QSet<int> &set : std::as_const(level)) {
                bool accepted = false;
                for (const int s : set)
                    accepted = accepted || final[s];
                verdicts += initial < 0 ? 'E' : accepted ? 'A' : 'R';
                for (const QChar c : characters) {
                    QSet<int> next;
                    for (const auto &[from, to, read] : moves)
                        if (read == c && set.contains(from))
                            next.insert(to);
                    longer.append(closure(next));
                }
            }
            level = longer;
        }
        return verdicts;
    }
};

RandomNfa randomNfa(QRandomGenerator &random)
{
    RandomNfa nfa;
    nfa.states = 1 + random.bounded(6);
    nfa.initial = random.bounded(8) == 0 ? -1 : random.bounded(nfa.states);
    for (int s = 0; s < nfa.states; ++s)
        nfa.final.append(random.bounded(3) == 0);
    const int moves = random.bounded(3 * nfa.states + 1);
    for (int i = 0; i < moves; ++i) {
        const int kind = random.bounded(5);
        nfa.moves.append({random.bounded(nfa.states), random.bounded(nfa.states), kind == 0 ? QChar() : QChar(kind % 2 ? u'a' : u'b')});
    }
    return nfa;
}

bool isDeterministic(const RandomNfa &nfa)
{
    QSet<QPair<int, QChar>> cells;
    for (const auto &[from, to, read] : nfa.moves) {
        if (read.isNull())
            return false;
        for (const auto &[otherFrom, otherTo, otherRead] : nfa.moves)
            if (otherFrom == from && otherRead == read && otherTo != to)
                return false;
    }
    return true;
}

} // namespace

class TestJff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");

        QTest::newRow("deterministic: states, names, order and places kept")
            << jff({"0 even if 40.5,60", "1 odd - 140,60"}, {"0 1 a", "1 0 a", "0 0 b", "1 1 b"})
            << "ab | start 0 | even*: odd even | odd: even odd | places 40.5,60 140,60";
        QTest::newRow("a missing transition goes to a trap state")
            << jff({"0 q0 i", "1 q1 f"}, {"0 1 a", "1 1 b"})
            << "ab | start 0 | q0: q1 trap | q1*: trap q1 | trap: trap trap | places - - -"
               " | a trap state added for the missing transitions";
        QTest::newRow("the trap state takes a free name")
            << jff({"0 trap i", "1 trap2 f"}, {"0 1 a"})
            << "a | start 0 | trap: trap2 | trap2*: trap3 | trap3: trap3 | places - - -"
               " | a trap state added for the missing transitions";
        QTest::newRow("nondeterministic: sets of states, breadth-first")
            << jff({"0 q0 i", "1 q1 f", "2 q2 -"}, {"0 0 a", "0 1 a", "0 2 b", "1 2 b"})
            << "ab | start 0 | q0: {q0,q1} q2 | {q0,q1}*: {q0,q1} q2 | q2: trap trap | trap: trap trap"
               " | places - - - - | made deterministic, 4 states";
        QTest::newRow("the empty string: moves followed, places of single states kept")
            << jff({"0 s i 1,2", "1 t f 3,4"}, {"0 1", "1 1 x"})
            << "x | start 0 | {s,t}*: t | t*: t | places - 3,4 | made deterministic, 2 states";
        QTest::newRow("long set names shortened")
            << jff({"0 alpha i", "1 bravo -", "2 charlie -", "3 delta -", "4 echo f"},
                   {"0 1", "0 2", "0 3", "0 4", "0 0 z"})
            << "z | start 0 | {alpha,bravo,charlie +2}*: {alpha,bravo,charlie +2} | places -"
               " | made deterministic, 1 state";
        QTest::newRow("names that repeat told apart")
            << jff({"0 {x,y} i", "1 x -", "2 y f"}, {"0 0 a", "0 1 b", "0 2 b"})
            << "ab | start 0 | {x,y}: {x,y} {x,y} (2) | {x,y} (2)*: trap trap | trap: trap trap | places - - -"
               " | made deterministic, 3 states";
        QTest::newRow("no initial state: no start state, every string ERROR")
            << jff({"0 q0 f"}, {"0 0 a"}) << "a | start -1 | q0*: q0 | places -";
        QTest::newRow("no states at all") << jff({}, {}) << " | start -1 | places ";
        QTest::newRow("older files: states right under structure, no name")
            << QByteArray("<structure><type>fa</type><state id=\"7\"><initial/><final/></state>"
                          "<transition><from>7</from><to>7</to><read>0</read></transition></structure>")
            << "0 | start 0 | q7*: q7 | places -";
        QTest::newRow("other elements passed over, entities and CDATA read")
            << QByteArray("<?xml version=\"1.0\"?><structure><type> fa </type><automaton><note><text>hi</text></note>"
                          "<state id=\"0\" name=\"a&amp;b\"><label>l</label><initial/><x>oops</x><y>1</y></state>"
                          "<transition><from> 0 </from><to>0</to><read><![CDATA[<]]></read><foo/></transition>"
                          "</automaton></structure><!-- after -->")
            << "< | start 0 | a&b: a&b | places -";
        QTest::newRow("UTF-8 declared") << QByteArray("<?xml version=\"1.0\" encoding = \"utf-8\" ?><structure><type>fa</type>"
                                                      "<state id=\"0\" name=\"é\"/></structure>")
                                        << " | start -1 | é: | places -";
        QTest::newRow("a character beyond 16 bits is one character")
            << jff({"0 q i"}, {"0 0 😀"}) << "😀 | start 0 | q: q | places -";

        QTest::newRow("refused: a pushdown automaton")
            << QByteArray("<structure>\n<type>pda</type>\n<automaton/></structure>")
            << "refused: Line 2: it holds a pushdown automaton, not a finite automaton (JFLAP type \"fa\")";
        QTest::newRow("refused: a Turing machine")
            << QByteArray("<structure><type>turing</type></structure>")
            << "refused: Line 1: it holds a Turing machine, not a finite automaton (JFLAP type \"fa\")";
        QTest::newRow("refused: a grammar") << QByteArray("<structure><type>grammar</type></structure>")
                                            << "refused: Line 1: it holds a grammar, not a finite automaton (JFLAP type \"fa\")";
        QTest::newRow("refused: a type of its own") << QByteArray("<structure><type>xyz</type></structure>")
            << "refused: Line 1: it holds a machine of type \"xyz\", not a finite automaton (JFLAP type \"fa\")";
        QTest::newRow("refused: no type") << QByteArray("<structure><automaton/></structure>")
            << "refused: the JFLAP file does not say what it holds: it has no <type>";
        QTest::newRow("refused: another XML file") << QByteArray("<?xml version=\"1.0\"?>\n<svg/>")
            << "refused: Line 2: it is XML, but not a JFLAP file: it begins with <svg>, not <structure>";
        QTest::newRow("refused: a document type")
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE structure [<!ENTITY x \"xx\">]><structure/>")
            << "refused: Line 2: the file declares a document type, which Tarnwell does not read";
        QTest::newRow("refused: not well-formed") << QByteArray("<structure>\n<type>fa</typo></structure>")
            << "refused: Line 2: the file is not well-formed XML: Opening and ending tag mismatch.";
        QTest::newRow("refused: not UTF-8, whatever comes first")
            << QByteArray("<?xml version=\"1.0\"?><struct=\"q\"/>\xC3n") << "refused: the file is XML, but not valid UTF-8";
        QTest::newRow("refused: another encoding")
            << QByteArray("<?xml version=\"1.0\" encoding='ISO-8859-1'?><structure><type>fa</type></structure>")
            << "refused: its XML is in the encoding iso-8859-1; Tarnwell reads JFLAP files in UTF-8";
        QTest::newRow("refused: cut short") << QByteArray("<structure>\n<type>fa</type>\n<automaton>")
            << "refused: Line 3: the file ends before its XML is complete";
        QTest::newRow("refused: a state without an id") << jff({}, {}).replace("<automaton>&#13;\n", "<automaton><state/>")
            << "refused: Line 3: a state has no id";
        QTest::newRow("refused: two states with one id") << jff({"0 a i", "0 b -"}, {})
            << "refused: Line 7: two states have the id \"0\"";
        QTest::newRow("refused: a transition from no state") << jff({"0 a i"}, {"5 0 x"})
            << "refused: Line 7: a transition goes from the state with id \"5\", which the file does not have";
        QTest::newRow("refused: a transition to no state") << jff({"0 a i"}, {"0 9 x"})
            << "refused: Line 7: a transition goes to the state with id \"9\", which the file does not have";
        QTest::newRow("refused: a read of two characters") << jff({"0 a i"}, {"0 0 ab"})
            << "refused: Line 7: a transition reads \"ab\", more than one character; Tarnwell reads one at a time";
        QTest::newRow("refused: two initial states") << jff({"0 a i", "1 b i"}, {})
            << "refused: Line 8: a second initial state, \"b\"; a finite automaton has one";
        QTest::newRow("refused: nondeterministic without an initial state") << jff({"0 a -"}, {"0 0"})
            << "refused: the automaton is nondeterministic and has no initial state, so no deterministic automaton "
               "can be made of it";
    }

    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QCOMPARE(outcome(readAutomatonFile(bytes)), read);
        // In pieces of 5 bytes, each released as it is read: the same.
        TwFileBytes pieces;
        pieces.utf8 = bytes.isValidUtf8();
        for (qsizetype at = 0; at < bytes.size(); at += 5)
            pieces.pieces.append(bytes.mid(at, 5));
        QCOMPARE(outcome(readAutomatonFile(std::move(pieces))), read);
    }

    void limits()
    {
        QList<QByteArray> states;
        for (int s = 0; s < 32767; ++s)
            states.append(QByteArray::number(s) + " s" + QByteArray::number(s) + (s == 0 ? " i" : " -"));
        // As many states as an automaton holds: read, no trap needed.
        QCOMPARE(readAutomatonFile(jff(states, {})).value().automaton.state_count, qint16(32767));
        // One more transition needs a trap state, and there is no room for one.
        QCOMPARE(outcome(readAutomatonFile(jff(states, {"0 1 a"}))),
                 QStringLiteral("refused: the automaton needs a trap state for its missing transitions, and has no "
                                "room for one: it already has 32767 states"));
        states.append("32767 one-more -");
        QCOMPARE(outcome(readAutomatonFile(jff(states, {}))),
                 QStringLiteral("refused: Line 65539: the file has more than 32767 states, the most an automaton can have"));
        // A subset construction past the limit stops: the 16th symbol from the end.
        QList<QByteArray> nfa{"0 s i"}, moves{"0 0 a", "0 0 b", "0 1 a"};
        for (int s = 1; s <= 16; ++s) {
            nfa.append(QByteArray::number(s) + " n" + QByteArray::number(s) + (s == 16 ? " f" : " -"));
            if (s < 16)
                moves << QByteArray::number(s) + ' ' + QByteArray::number(s + 1) + " a"
                      << QByteArray::number(s) + ' ' + QByteArray::number(s + 1) + " b";
        }
        QCOMPARE(outcome(readAutomatonFile(jff(nfa, moves))),
                 QStringLiteral("refused: the automaton would need more than 32767 states, the most a Tarnwell "
                                "automaton can have"));
    }

    // Random automata with moves on the empty string and repeated cells: the
    // automaton read gives on every string up to 6 characters what a
    // simulation of the file's automaton on sets of states gives.
    void againstSimulation()
    {
        QRandomGenerator random(17);
        for (int round = 0; round < 400; ++round) {
            const RandomNfa nfa = randomNfa(random);
            const TwResult<LoadedAutomaton> read = readAutomatonFile(nfa.file());
            if (nfa.initial < 0 && !isDeterministic(nfa)) {
                QVERIFY(!read.ok());
                continue;
            }
            QCOMPARE(read.failure().message(), QString());
            const modAll &m = read.value().automaton;
            QCOMPARE(QString::fromUtf8(nfa.file()) + bruteForce(m, nfa.alphabet(), 6).verdicts,
                     QString::fromUtf8(nfa.file()) + nfa.verdicts(6));
            QCOMPARE(read.value().places.size(), qsizetype(m.state_count));
        }
    }

    // What the writer writes reads back as the same automaton, as the run
    // reads it: every state with its name, flag and place, the start state,
    // and for every character the state it leads to.
    void writtenReadsBack_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QString>("read");

        QTest::newRow("an example") << endsInA() << "ab | start 0 | q0: q1 q0 | q1*: q1 q0";
        QTest::newRow("stays, targets outside the states, repeated symbols, a symbol of two characters")
            << makeAutomaton({"p", "q"}, {"q"}, {"a", "b", "a", "cd"}, {{0, 2, 9, 1}, {-1, 1, 2, 2}})
            << "ab | start 0 | p: p q | q*: q p";
        const QString tag = QStringLiteral("<b>\"&'"), blanks = QStringLiteral(" x\r\ny\t");
        QTest::newRow("markup, quotes, blanks and line breaks in names and symbols")
            << makeAutomaton({tag, blanks}, {blanks}, {"<", "&", " ", "\n"}, {{2, 1, 1, 2}, {2, 2, 1, 1}})
            << QStringLiteral("\n &< | start 0 | %1: %2 %1 %1 %2 | %2*: %1 %1 %2 %2").arg(tag, blanks);
        modAll noStart = endsInA();
        noStart.start_state = 5;
        QTest::newRow("no valid start state: no initial state") << noStart << "ab | start -1 | q0: q1 q0 | q1*: q1 q0";
        QTest::newRow("no states: nothing") << modAll() << " | start -1";
    }

    void writtenReadsBack()
    {
        QFETCH(modAll, automaton);
        QFETCH(QString, read);
        const TwResult<QByteArray> written = jffBytes(automaton);
        QCOMPARE(written.failure().message(), QString());
        const TwResult<LoadedAutomaton> loaded = readAutomatonFile(written.value());
        QCOMPARE(loaded.failure().message(), QString());
        QCOMPARE(tableLine(loaded.value().automaton), read);
        QCOMPARE(loaded.value().changes, QString());
    }

    // Random automata written and read back run alike on every string.
    void writtenRunsAlike()
    {
        QRandomGenerator random(23);
        for (int round = 0; round < 300; ++round) {
            const modAll m = randomAutomaton(1 + random.bounded(5), random.generate());
            const TwResult<LoadedAutomaton> loaded = readAutomatonFile(jffBytes(m).value());
            QCOMPARE(bruteForce(loaded.value().automaton, QStringLiteral("012"), 6).verdicts,
                     bruteForce(m, QStringLiteral("012"), 6).verdicts);
            QCOMPARE(loaded.value().automaton.state_count, m.state_count);
        }
    }

    void placesWritten()
    {
        const QList<std::optional<QPointF>> given{QPointF(12.5, 40), QPointF(300, 7.25)};
        QCOMPARE(places(readAutomatonFile(jffBytes(endsInA(), given).value()).value()), QStringLiteral("12.5,40 300,7.25"));
        // Without a place for every state, all are laid out on a circle.
        QCOMPARE(places(readAutomatonFile(jffBytes(endsInA(), {given[0]}).value()).value()),
                 QStringLiteral("100,220 340,220"));
    }

    void writerRefusals_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QString>("message");
        QTest::newRow("a control character in a name") << makeAutomaton({"a\x01"}, {}, {"x"}, {{1}})
            << "the name of state 1 holds the character U+0001, which a JFLAP file cannot hold";
        QTest::newRow("a lone surrogate as a symbol") << makeAutomaton({"a"}, {}, {"x", QString(QChar(0xD800))}, {{1, 1}})
            << "the symbol 2 is the character U+D800, which a JFLAP file cannot hold";
    }

    void writerRefusals()
    {
        QFETCH(modAll, automaton);
        QFETCH(QString, message);
        QCOMPARE(jffBytes(automaton).failure().message(), message);
    }

    // The one loader tells the kinds apart by content, whatever the name.
    void kindByContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("kind");
        const QByteArray jflap = jff({"0 q i"}, {"0 0 a"});
        QTest::newRow("a .tw file") << automatonBytes(endsInA()) << "tw";
        QTest::newRow("XML") << jflap << "jff";
        QTest::newRow("XML after a byte-order mark and blanks") << "\xEF\xBB\xBF \r\n\t" + jflap << "jff";
        QTest::newRow("a comment first") << "<!-- hi -->" + jflap.mid(jflap.indexOf("<structure>")) << "jff";
        QTest::newRow("the root first") << jflap.mid(jflap.indexOf("<structure>")) << "jff";
        QTest::newRow("a .tw file whose keyword begins with <") << "<" + automatonBytes(endsInA()).mid(1) << "tw";
    }

    void kindByContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        const TwResult<LoadedAutomaton> read = readAutomatonFile(bytes);
        QCOMPARE(read.failure().message(), QString());
        QCOMPARE(read.value().format == LoadedAutomaton::Format::Jflap ? QStringLiteral("jff") : QStringLiteral("tw"), kind);
    }

    // From disk, through the guarded reader; saved through the one atomic save.
    void onDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("student.tw"));
        QCOMPARE(TwFile::saveBytes(path, jffBytes(endsInA()).value()).failure().message(), QString());
        const TwResult<LoadedAutomaton> loaded = TwFile::loadDocument(path);
        QVERIFY(loaded.ok() && loaded.value().format == LoadedAutomaton::Format::Jflap);
        QCOMPARE(tableLine(TwFile::load(path).value()), tableLine(endsInA()));
        QCOMPARE(TwFile::saveBytes(dir.filePath(QStringLiteral("none/a.jff")), "x").failure().message(),
                 QStringLiteral("No such file or directory"));

        // Read in pieces of 4 bytes, a mistake is reported at the same line as
        // when the file is read at once, line breaks in the declaration or not.
        const QByteArray broken = "<?xml \r\nversion=\"1.0\"?><structure><type>fa</type><automato></automaton>";
        QCOMPARE(TwFile::saveBytes(path, broken).failure().message(), QString());
        TwReadOptions smallest;
        smallest.pieceSize = 4;
        QCOMPARE(TwFile::loadNative(QFile::encodeName(path), smallest).failure().message(),
                 QStringLiteral("Line 2: the file is not well-formed XML: Opening and ending tag mismatch."));
        QCOMPARE(readAutomatonFile(broken).failure().message(), TwFile::load(path).failure().message());
    }
};

QTEST_GUILESS_MAIN(TestJff)
#include "test_jff.moc"

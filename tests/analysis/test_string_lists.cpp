#include "analysis/string_lists.h"
#include "brute_force.h"
#include "test_automata.h"

#include <QTest>

namespace {

// States c0 .. c(n-1): "0" moves on, "1" keeps the state; the last is final.
// The shortest accepted string has n - 1 characters.
modAll chain(int states)
{
    QStringList names;
    QList<QList<qint16>> table;
    for (int s = 0; s < states; ++s) {
        names.append(QStringLiteral("c%1").arg(s));
        table.append({qint16(s + 1 < states ? s + 2 : 0), 0});
    }
    return makeAutomaton(names, {names.back()}, {"0", "1"}, table);
}

QString listed(const QStringList &strings)
{
    QStringList shown;
    for (const QString &s : strings)
        shown.append(s.isEmpty() ? QStringLiteral("\"\"") : s);
    return strings.isEmpty() ? QStringLiteral("(none)") : shown.join(u' ');
}

} // namespace

class TestStringLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lists_data();
    void lists();
    void longChain();
    void randomAutomata_data();
    void randomAutomata();
};

void TestStringLists::lists_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");

    const modAll ends = endsInA();
    modAll noStart = ends;
    noStart.start_state = -1;
    const modAll noStates = makeAutomaton({}, {}, {"a", "b"}, {});
    const QString grin = QString::fromUcs4(U"\U0001F600");

    QTest::newRow("shortest first, then by the alphabet") << ends << true << 6 << "a aa ba aaa aba baa";
    QTest::newRow("rejected, the empty string first") << ends << false << 4 << "\"\" b ab bb";
    QTest::newRow("alphabet order is the symbols' order")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"b", "a"}, {{1, 2}, {1, 2}}) << true << 4 << "a ba aa bba";
    QTest::newRow("repeated symbol: first place orders, last column moves")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"b", "a", "b"}, {{1, 1, 2}, {1, 1, 2}}) << true << 3 << "b bb ab";
    QTest::newRow("finite language: fewer than asked")
        << makeAutomaton({"q0", "q1", "q2", "t"}, {"q0", "q1", "q2"}, {"a", "b"}, {{2, 4}, {4, 3}, {4, 4}, {4, 4}})
        << true << 10 << "\"\" a ab";
    QTest::newRow("no states: every string rejected") << noStates << false << 4 << "\"\" a b aa";
    QTest::newRow("no states: none accepted") << noStates << true << 4 << "(none)";
    QTest::newRow("invalid start: none accepted") << noStart << true << 4 << "(none)";
    QTest::newRow("invalid start: none rejected") << noStart << false << 4 << "(none)";
    QTest::newRow("a longer symbol never matches")
        << makeAutomaton({"q0"}, {"q0"}, {"ab", "a"}, {{0, 0}}) << true << 3 << "\"\" a aa";
    QTest::newRow("limit 0") << ends << true << 0 << "(none)";
    QTest::newRow("surrogate pair is one character")
        << makeAutomaton({"q0"}, {"q0"}, {grin}, {{0}}) << true << 3 << "\"\" " + grin + " " + grin + grin;
}

void TestStringLists::lists()
{
    QFETCH(modAll, model);
    QFETCH(bool, accepted);
    QFETCH(int, limit);
    QFETCH(QString, expected);

    const QStringList strings = accepted ? Analysis::acceptedStrings(model, limit) : Analysis::rejectedStrings(model, limit);
    QCOMPARE(listed(strings), expected);
}

void TestStringLists::longChain()
{
    const QString zeros = QString(999, u'0');
    QCOMPARE(Analysis::acceptedStrings(chain(1000), 4),
             (QStringList{zeros, zeros + u'0', zeros + u'1', zeros.first(998) + QStringLiteral("10")}));
    QCOMPARE(Analysis::acceptedStrings(chain(1000), 1000).size(), 1000);
    QCOMPARE(Analysis::rejectedStrings(chain(3), 3), (QStringList{"", "0", "1"}));
}

void TestStringLists::randomAutomata_data()
{
    addSeedRows(3, 500);
}

// Where the lists reach past the strings brute force runs, the part it runs
// must agree; a list shorter than asked must be the whole language.
void TestStringLists::randomAutomata()
{
    forRandomAutomata(500, [](const modAll &model, QRandomGenerator &) {
        const BruteRuns runs = bruteForce(model, bruteOrder(bruteAlphabet(model)));
        const QString name = dump(model) + QStringLiteral(": ");
        for (const bool accepted : {true, false})
            for (const int limit : {1, 5, 40}) {
                const QStringList brute = bruteWith(runs, accepted ? 'A' : 'R', limit + 1);
                const QStringList strings = accepted ? Analysis::acceptedStrings(model, limit)
                                                     : Analysis::rejectedStrings(model, limit);
                QStringList withinReach;
                for (const QString &s : strings)
                    if (s.size() <= bruteLength)
                        withinReach.append(s);
                QCOMPARE(name + listed(withinReach), name + listed(brute.first(qMin(qsizetype(limit), brute.size()))));
                if (strings.size() < limit)
                    QCOMPARE(name + listed(strings), name + listed(bruteWith(runs, accepted ? 'A' : 'R')));
            }
    });
}

QTEST_GUILESS_MAIN(TestStringLists)
#include "test_string_lists.moc"

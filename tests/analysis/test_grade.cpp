// Grading a file against a solution. On small random automata: the agreement
// against every string up to length 8, the fewest edits against trying every
// edit, and every fix given by making it as a user would and running every
// string. On examples: the whole grade, the forms of the fixes, the score rule.

#include "analysis/agreement.h"
#include "analysis/grade_automaton.h"
#include "analysis/joint_graph.h"
#include "analysis/least_edits.h"
#include "analysis_cases.h"
#include "test_automata.h"

#include <QRegularExpression>
#include <QTest>

using Analysis::GradeFix;

namespace {

// An automaton as plain lists, edited as a user edits one.
struct Plain
{
    QStringList names;
    QList<bool> finals;
    QStringList symbols;
    QList<QList<qint16>> table;
    int start = 0;

    modAll model() const
    {
        QStringList finalNames;
        for (qsizetype i = 0; i < names.size(); ++i)
            if (finals[i])
                finalNames.append(names[i]);
        return makeAutomaton(names, finalNames, symbols, table, qint16(start));
    }
};

// Makes one fix given in its short form, looking a name up as the transition
// table does and a symbol as a run does (the last one wins). False when the
// form or a name is not known.
bool makeFix(Plain &p, const QString &fix)
{
    static const QRegularExpression cell(QStringLiteral("^(.+) on (.) -> (.+)$"));
    const auto state = [&](const QString &name) { return int(p.names.lastIndexOf(name)); };
    if (fix.startsWith(QStringLiteral("not final ")) || fix.startsWith(QStringLiteral("final "))) {
        const int s = state(fix.section(u' ', -1));
        if (s < 0)
            return false;
        p.finals[s] = !fix.startsWith(u'n');
    } else if (fix.startsWith(QStringLiteral("start "))) {
        p.start = state(fix.mid(6));
        return p.start >= 0;
    } else if (fix.startsWith(QStringLiteral("add state "))) {
        p.names.append(fix.mid(10));
        p.finals.append(false);
        p.table.append(QList<qint16>(p.symbols.size(), 0));
    } else if (fix.startsWith(QStringLiteral("add symbol "))) {
        p.symbols.append(fix.mid(11));
        for (QList<qint16> &row : p.table)
            row.append(0);
    } else if (const QRegularExpressionMatch match = cell.match(fix); match.hasMatch()) {
        const int s = state(match.captured(1)), j = int(p.symbols.lastIndexOf(match.captured(2)));
        const int target = match.captured(3) == QStringLiteral("empty") ? -1 : state(match.captured(3));
        if (s < 0 || j < 0 || (target < 0 && match.captured(3) != QStringLiteral("empty")))
            return false;
        p.table[s][j] = qint16(target + 1);
    } else {
        return false;
    }
    return true;
}

QString unionOf(const modAll &a, const modAll &b)
{
    QString characters;
    for (const QChar c : bruteAlphabet(a) + bruteAlphabet(b))
        if (!characters.contains(c))
            characters += c;
    return characters;
}

// Same verdicts on every string long enough to tell any two states of the two apart.
bool sameOnEveryString(const modAll &a, const modAll &b)
{
    const int length = a.state_count + b.state_count + 2;
    return bruteForce(a, unionOf(a, b), length).verdicts == bruteForce(b, unionOf(a, b), length).verdicts;
}

// The agreement counted string by string: per length, the strings with the
// same verdict, as tenths of a percent of the mean share, rounded half up.
int bruteTenths(const modAll &a, const modAll &b, int longest)
{
    const QString characters = unionOf(a, b);
    const QByteArray va = bruteForce(a, characters, longest).verdicts, vb = bruteForce(b, characters, longest).verdicts;
    const qint64 k = characters.size();
    if (k == 0)
        return va[0] == vb[0] ? 1000 : 0;
    qint64 sum = 0, power = 1, at = 0; // sum of agreeing(l) * k^(longest - l), built from the longest down
    std::vector<qint64> agreeing;
    for (int length = 0; length <= longest; ++length, power *= k) {
        qint64 same = 0;
        for (qint64 i = 0; i < power; ++i, ++at)
            same += va[at] == vb[at] ? 1 : 0;
        agreeing.push_back(same);
    }
    qint64 scale = 1;
    for (int length = longest; length >= 0; --length, scale *= k)
        sum += agreeing[size_t(length)] * scale;
    const qint64 whole = (longest + 1) * (scale / k);
    return int((2000 * sum + whole) / (2 * whole));
}

int libraryTenths(const modAll &a, const modAll &b, int longest)
{
    const Analysis::DenseAutomaton da(a), db(b);
    return Analysis::agreement(Analysis::JointGraph(da, db), longest).tenths;
}

// One to three states, one to three of the symbols a, b, c, a quarter of the cells empty.
Plain randomPlain(QRandomGenerator &random)
{
    Plain p;
    const int states = random.bounded(1, 4);
    QString characters = pool;
    for (int i = 0; i < 3; ++i)
        std::swap(characters[i], characters[random.bounded(3)]);
    for (const QChar c : characters.first(random.bounded(1, 4)))
        p.symbols.append(QString(c));
    for (int s = 0; s < states; ++s) {
        p.names.append(QStringLiteral("q%1").arg(s));
        p.finals.append(random.bounded(2) == 0);
        QList<qint16> row;
        for (qsizetype j = 0; j < p.symbols.size(); ++j)
            row.append(random.bounded(4) == 0 ? qint16(0) : qint16(random.bounded(1, states + 1)));
        p.table.append(row);
    }
    p.start = random.bounded(states);
    return p;
}

// One edit that a single edit undoes: a final mark, a cell or the start.
Plain withRandomEdit(Plain p, QRandomGenerator &random)
{
    const int states = int(p.names.size());
    const int kind = random.bounded(states > 1 ? 3 : 2);
    const int s = random.bounded(states);
    if (kind == 0) {
        p.finals[s] = !p.finals[s];
    } else if (kind == 1) {
        qint16 &cell = p.table[s][random.bounded(int(p.symbols.size()))];
        cell = qint16((cell + random.bounded(1, states + 1)) % (states + 1));
    } else {
        p.start = (p.start + random.bounded(1, states)) % states;
    }
    return p;
}

// Every automaton one edit away, over the edits grading knows.
QList<Plain> oneEditAway(const Plain &p, const QString &solutionCharacters)
{
    QList<Plain> away;
    const qsizetype states = p.names.size();
    for (qsizetype s = 0; s < states; ++s) {
        Plain q = p;
        q.finals[s] = !q.finals[s];
        away.append(q);
        if (s != p.start) {
            q = p;
            q.start = int(s);
            away.append(q);
        }
        for (qsizetype j = 0; j < p.symbols.size(); ++j)
            for (qint16 target = 0; target <= states; ++target)
                if (target != p.table[s][j]) {
                    q = p;
                    q.table[s][j] = target;
                    away.append(q);
                }
    }
    Plain added = p;
    makeFix(added, QStringLiteral("add state n%1").arg(states));
    away.append(added);
    for (const QChar c : solutionCharacters)
        if (!p.symbols.contains(QString(c))) {
            Plain q = p;
            makeFix(q, QStringLiteral("add symbol ") + c);
            away.append(q);
        }
    return away;
}

// The fewest edits by trying every edit and every two edits, each checked by
// compare (itself checked against every string in test_analysis).
QString bruteEdits(const Plain &file, const modAll &solution)
{
    const QString characters = bruteAlphabet(solution);
    const auto same = [&](const Plain &p) { return Analysis::compareAutomata(p.model(), solution).equivalent; };
    if (same(file))
        return QStringLiteral("0");
    const QList<Plain> ones = oneEditAway(file, characters);
    if (std::any_of(ones.begin(), ones.end(), same))
        return QStringLiteral("1");
    for (const Plain &one : ones) {
        const QList<Plain> twos = oneEditAway(one, characters);
        if (std::any_of(twos.begin(), twos.end(), same))
            return QStringLiteral("2");
    }
    return QStringLiteral("3+");
}

// Makes every fix of a grade; gives what went wrong, or "" when the result
// gives the solution's verdict on every string.
QString fixesFail(Plain file, const Analysis::GradeResult &grade, const modAll &solution)
{
    for (const GradeFix &fix : grade.fixes)
        if (!makeFix(file, fix.text(testEscape)))
            return QStringLiteral("cannot make ") + fix.text(testEscape);
    return sameOnEveryString(file.model(), solution) ? QString() : QStringLiteral("not fixed");
}

QString describe(const Plain &p)
{
    return dump(p.model());
}

// A grade as one line: "score | edits | agreement | comparison | fixes".
QString line(const Analysis::GradeResult &grade)
{
    return QStringList{QString::number(grade.score), grade.editsText(), grade.agreement.text(),
                       grade.compared.text(testEscape), Analysis::fixesText(grade.fixes, testEscape)}
        .join(QStringLiteral(" | "));
}

Analysis::GradeResult grade(const modAll &file, const modAll &solution)
{
    return Analysis::gradeAutomaton(file, Analysis::GradeSolution(solution));
}

// Every string over `count` symbols (from U+0100 on) accepted; without the
// first symbol when `withoutFirst`, where it leads to a dead state instead.
modAll allStrings(int count, bool withoutFirst)
{
    QStringList symbols;
    QList<qint16> row, dead;
    for (int j = 0; j < count; ++j) {
        symbols.append(QString(QChar(0x100 + j)));
        row.append(qint16(withoutFirst && j == 0 ? 2 : 1));
        dead.append(2);
    }
    return makeAutomaton({"all", "dead"}, {"all"}, symbols, {row, dead});
}

} // namespace

class TestGrade : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreement_data();
    void agreement();
    void agreementAgainstEveryString_data();
    void agreementAgainstEveryString();
    void graded_data();
    void graded();
    void fixPlaces_data();
    void fixPlaces();
    void fixForms_data();
    void fixForms();
    void score_data();
    void score();
    void oneEditUndone_data();
    void oneEditUndone();
    void fewestAgainstEveryEdit_data();
    void fewestAgainstEveryEdit();
    void searchBounded();
};

void TestGrade::agreement_data()
{
    QTest::addColumn<modAll>("a");
    QTest::addColumn<modAll>("b");
    QTest::addColumn<QString>("expected");

    const modAll startsWithA = makeAutomaton({"s", "f", "d"}, {"f"}, {"a", "b"}, {{2, 3}, {2, 2}, {3, 3}});
    const modAll nonEmpty = makeAutomaton({"s", "f"}, {"f"}, {"a", "b"}, {{2, 2}, {2, 2}});
    const modAll onlyA = makeAutomaton({"s"}, {"s"}, {"a"}, {{1}});
    const modAll anyAB = makeAutomaton({"s"}, {"s"}, {"a", "b"}, {{1, 1}});
    QTest::newRow("half of each length but the empty string") << startsWithA << nonEmpty << "53.8";
    QTest::newRow("a character one lacks gives ERROR") << onlyA << anyAB << "15.4";
    QTest::newRow("all but the empty string") << anyAB << nonEmpty << "92.3";
    QTest::newRow("no characters, differing on the empty string")
        << makeAutomaton({"s"}, {"s"}, {}, {{}}) << makeAutomaton({"s"}, {}, {}, {{}}) << "0.0";
    QTest::newRow("no start state against none: ERROR alike")
        << withStart(endsInA(), -1) << withStart(anyAB, 5) << "100.0";
    // 50^12 needs two words, 2000^12 four.
    QTest::newRow("50 symbols") << allStrings(50, false) << allStrings(50, true) << "88.8";
    QTest::newRow("2000 symbols") << allStrings(2000, false) << allStrings(2000, true) << "99.7";
    QTest::newRow("40 symbols, one word") << allStrings(40, false) << allStrings(40, true) << "86.3";
}

void TestGrade::agreement()
{
    QFETCH(modAll, a);
    QFETCH(modAll, b);
    QFETCH(QString, expected);
    const Analysis::DenseAutomaton da(a), db(b);
    QCOMPARE(Analysis::agreement(Analysis::JointGraph(da, db)).text(), expected);
}

void TestGrade::agreementAgainstEveryString_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 3; ++seed)
        QTest::addRow("300 random pairs, seed %d", seed) << seed;
}

// Random automata as crafted files hold them (repeated and long symbols, short
// rows, targets naming no state, no states, no start state), in pairs and
// against themselves with one change.
void TestGrade::agreementAgainstEveryString()
{
    QFETCH(int, seed);
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < 300 && !QTest::currentTestFailed(); ++i) {
        const modAll a = randomAutomaton(random), b = randomAutomaton(random);
        QCOMPARE(dump(a) + QStringLiteral(" ~ ") + dump(b) + u' ' + QString::number(libraryTenths(a, b, 8)),
                 dump(a) + QStringLiteral(" ~ ") + dump(b) + u' ' + QString::number(bruteTenths(a, b, 8)));
        const modAll changed = withOneChange(a, random);
        QCOMPARE(dump(a) + u' ' + QString::number(libraryTenths(a, changed, 8)),
                 dump(a) + u' ' + QString::number(bruteTenths(a, changed, 8)));
    }
}

void TestGrade::graded_data()
{
    QTest::addColumn<modAll>("file");
    QTest::addColumn<modAll>("solution");
    QTest::addColumn<QString>("expected");

    const modAll solution = endsInA();
    modAll noFinal = endsInA(), twoFinals = endsInA(), tabName = endsInA();
    noFinal.states[1].is_final = false;
    twoFinals.states[0].is_final = true;
    tabName.states[1] = {QStringLiteral("q\t1"), false};
    const modAll containsA = makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{2, 1}, {2, 2}});
    const modAll exactlyA = makeAutomaton({"s", "f", "d"}, {"f"}, {"a"}, {{2}, {3}, {3}});
    const modAll aPlus = makeAutomaton({"s", "q2"}, {"q2"}, {"a"}, {{2}, {0}});
    const modAll anyA = makeAutomaton({"s"}, {"s"}, {"a"}, {{1}});
    const modAll anyAB = makeAutomaton({"s"}, {"s"}, {"a", "b"}, {{1, 1}});
    const modAll mod3 = makeAutomaton({"r0", "r1", "r2"}, {"r0"}, {"a"}, {{2}, {3}, {1}});

    QTest::newRow("equivalent") << solution << solution << "100 | 0 | 100.0 | equivalent | ";
    QTest::newRow("a final mark missing")
        << noFinal << solution << "80 | 1 | 53.8 | a  this: REJECTED  other: ACCEPTED | final q1";
    QTest::newRow("a final mark too many")
        << twoFinals << solution << "80 | 1 | 46.2 | \"\"  this: ACCEPTED  other: REJECTED | not final q0";
    QTest::newRow("a cell that should stay")
        << solution << containsA << "80 | 1 | 61.5 | ab  this: REJECTED  other: ACCEPTED | q1 on b -> empty";
    QTest::newRow("a cell that should move")
        << containsA << solution << "80 | 1 | 61.5 | ab  this: ACCEPTED  other: REJECTED | q1 on b -> q0";
    QTest::newRow("the start state")
        << withStart(solution, 1) << solution << "92 | 1 | 92.3 | \"\"  this: ACCEPTED  other: REJECTED | start q0";
    QTest::newRow("no start state")
        << withStart(solution, -1) << solution << "80 | 1 | 0.0 | \"\"  this: ERROR  other: REJECTED | start q0";
    QTest::newRow("a missing dead state, named after its place unless taken")
        << aPlus << exactlyA << "60 | 2 | 15.4 | aa  this: ACCEPTED  other: REJECTED | add state q3;q2 on a -> q3";
    QTest::newRow("a cell stepped on twice by the counterexample")
        << makeAutomaton({"s0", "s1", "s2"}, {"s2"}, {"a"}, {{1}, {3}, {3}})
        << makeAutomaton({"t0", "t1", "t2"}, {"t2"}, {"a"}, {{2}, {3}, {3}})
        << "80 | 1 | 15.4 | aa  this: REJECTED  other: ACCEPTED | s0 on a -> s1";
    QTest::newRow("a missing symbol")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{2}, {2}}) << solution
        << "60 | 2 | 15.4 | b  this: ERROR  other: REJECTED | add symbol b;q1 on b -> q0";
    QTest::newRow("a symbol the solution lacks cannot be removed")
        << anyAB << anyA << "15 | 3+ | 15.4 | b  this: ACCEPTED  other: ERROR | ";
    QTest::newRow("no states: one added, the start at once")
        << makeAutomaton({}, {}, {"a"}, {}) << anyA << "60 | 2 | 0.0 | \"\"  this: REJECTED  other: ACCEPTED | add state q0;final q0";
    QTest::newRow("no states, no start once added")
        << withStart(makeAutomaton({}, {}, {"a"}, {}), -1) << anyA << "0 | 3+ | 0.0 | \"\"  this: REJECTED  other: ACCEPTED | ";
    QTest::newRow("three states short: the agreement scores")
        << makeAutomaton({"s"}, {}, {"a"}, {{1}}) << mod3 << "61 | 3+ | 61.5 | \"\"  this: REJECTED  other: ACCEPTED | ";
    QTest::newRow("names escaped")
        << tabName << solution << "80 | 1 | 53.8 | a  this: REJECTED  other: ACCEPTED | final q\\t1";
}

void TestGrade::graded()
{
    QFETCH(modAll, file);
    QFETCH(modAll, solution);
    QFETCH(QString, expected);
    QCOMPARE(line(grade(file, solution)), expected);
}

void TestGrade::fixPlaces_data()
{
    QTest::addColumn<modAll>("file");
    QTest::addColumn<modAll>("solution");
    QTest::addColumn<QString>("expected"); // each fix: its text @ state, symbol, target

    QTest::newRow("a repeated symbol: the column a run reads")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b", "a"}, {{2, 1, 1}, {2, 1, 2}}) << endsInA()
        << "q0 on a -> q1 @ 0,2,1";
    QTest::newRow("a symbol added after the last")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{2}, {2}}) << endsInA()
        << "add symbol b @ -1,1,-1; q1 on b -> q0 @ 1,1,0";
    QTest::newRow("a state added after the last")
        << makeAutomaton({"s", "f"}, {"f"}, {"a"}, {{2}, {0}})
        << makeAutomaton({"s", "f", "d"}, {"f"}, {"a"}, {{2}, {3}, {3}})
        << "add state q2 @ 2,-1,-1; f on a -> q2 @ 1,0,2";
}

// Where each fix lies in the file, for the diagram to mark.
void TestGrade::fixPlaces()
{
    QFETCH(modAll, file);
    QFETCH(modAll, solution);
    QFETCH(QString, expected);
    QStringList places;
    for (const GradeFix &fix : grade(file, solution).fixes)
        places.append(QStringLiteral("%1 @ %2,%3,%4").arg(fix.text(testEscape)).arg(fix.state).arg(fix.symbol).arg(fix.target));
    QCOMPARE(places.join(QStringLiteral("; ")), expected);
}

void TestGrade::fixForms_data()
{
    QTest::addColumn<GradeFix>("fix");
    QTest::addColumn<QString>("expected"); // text | sentence | states touched | a cell touched

    using Kind = GradeFix::Kind;
    QTest::newRow("final") << GradeFix{Kind::MakeFinal, 2, -1, -1, "q2", {}, {}}
                           << "final q2 | Make q2 final. | 2 | no cell";
    QTest::newRow("not final") << GradeFix{Kind::MakeNotFinal, 0, -1, -1, "a\tb", {}, {}}
                               << "not final a\\tb | Make a\\tb not final. | 0 | no cell";
    QTest::newRow("a cell sent") << GradeFix{Kind::SendCell, 1, 1, 0, "q1", "b", "q0"}
                                 << "q1 on b -> q0 | q1 on b should go to q0. | 1,0 | cell";
    QTest::newRow("a cell emptied") << GradeFix{Kind::EmptyCell, 1, 0, -1, "q1", "\\", {}}
                                    << "q1 on \\\\ -> empty | q1 on \\\\ should stay in q1 (an empty cell). | 1 | cell";
    QTest::newRow("the start") << GradeFix{Kind::ChooseStart, 3, -1, -1, "", {}, {}}
                               << "start \"\" | Make \"\" the start state. | 3 | no cell";
    QTest::newRow("a state added") << GradeFix{Kind::AddState, 4, -1, -1, "q4", {}, {}}
                                   << "add state q4 | Add a state q4 (not final, its cells empty). | 4 | no cell";
    QTest::newRow("a symbol added") << GradeFix{Kind::AddSymbol, -1, 2, -1, {}, "c", {}}
                                    << "add symbol c | Add the symbol c. |  | no cell";
}

void TestGrade::fixForms()
{
    QFETCH(GradeFix, fix);
    QFETCH(QString, expected);
    QStringList states;
    for (const int state : fix.touchedStates())
        states.append(QString::number(state));
    QCOMPARE(QStringList({fix.text(testEscape), fix.sentence(testEscape), states.join(u','),
                          fix.touchesCell() ? "cell" : "no cell"})
                 .join(QStringLiteral(" | ")),
             expected);
}

void TestGrade::score_data()
{
    QTest::addColumn<bool>("equivalent");
    QTest::addColumn<int>("tenths"); // -1: not counted
    QTest::addColumn<QString>("edits");
    QTest::addColumn<int>("expected");

    QTest::newRow("equivalent") << true << 1000 << "0" << 100;
    QTest::newRow("one edit over the agreement") << false << 538 << "1" << 80;
    QTest::newRow("two edits under the agreement") << false << 759 << "2" << 75;
    QTest::newRow("two edits over the agreement") << false << 599 << "2" << 60;
    QTest::newRow("the agreement's whole percent") << false << 429 << "3+" << 42;
    QTest::newRow("differing only past length 12: at most 99") << false << 1000 << "3+" << 99;
    QTest::newRow("not counted: the edits alone") << false << -1 << "1" << 80;
    QTest::newRow("not searched: the agreement alone") << false << 427 << "?" << 42;
}

void TestGrade::score()
{
    QFETCH(bool, equivalent);
    QFETCH(int, tenths);
    QFETCH(QString, edits);
    QFETCH(int, expected);
    using Edits = Analysis::GradeResult::Edits;
    const Edits found = edits == "3+" ? Edits::MoreThanTwo : edits == "?" ? Edits::NotSearched : Edits::Found;
    QCOMPARE(Analysis::gradeScore(equivalent, Analysis::Agreement{tenths >= 0, qMax(0, tenths)}, found, edits.toInt()),
             expected);
}

void TestGrade::oneEditUndone_data()
{
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 2; ++seed) {
        QTest::addRow("one edit, seed %d", seed) << 1 << seed;
        QTest::addRow("two edits, seed %d", seed) << 2 << seed;
    }
}

// A random solution with edits made that change what it accepts: grades as
// many edits (one exactly, two at most), and the fixes given make it the
// solution again, string for string.
void TestGrade::oneEditUndone()
{
    QFETCH(int, edits);
    QFETCH(int, seed);
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < 150 && !QTest::currentTestFailed(); ++i) {
        const Plain solution = randomPlain(random);
        Plain file = solution;
        for (int e = 0; e < edits; ++e)
            file = withRandomEdit(file, random);
        if (sameOnEveryString(file.model(), solution.model()))
            continue;
        const Analysis::GradeResult graded = grade(file.model(), solution.model());
        const QString name = describe(file) + QStringLiteral(" against ") + describe(solution) + QStringLiteral(": ");
        if (edits == 1)
            QCOMPARE(name + graded.editsText(), name + QStringLiteral("1"));
        else
            QVERIFY2(graded.editsText() == "1" || graded.editsText() == "2", qPrintable(name + graded.editsText()));
        QCOMPARE(name + fixesFail(file, graded, solution.model()), name);
    }
}

void TestGrade::fewestAgainstEveryEdit_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 3; ++seed)
        QTest::addRow("40 files, seed %d", seed) << seed;
}

// Files a few edits from a solution and unrelated ones, among them files
// without the solution's dead state or one of its symbols: as many edits as
// trying every edit and every two edits finds, the fixes making it the solution.
void TestGrade::fewestAgainstEveryEdit()
{
    QFETCH(int, seed);
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < 40 && !QTest::currentTestFailed(); ++i) {
        Plain solution = randomPlain(random);
        const bool dead = random.bounded(2) == 0;
        if (dead) {
            makeFix(solution, QStringLiteral("add state d"));
            for (int cells = random.bounded(1, 3); cells > 0; --cells)
                solution.table[random.bounded(int(solution.names.size()) - 1)][random.bounded(int(solution.symbols.size()))] =
                    qint16(solution.names.size());
        }
        Plain file = random.bounded(6) == 0 ? randomPlain(random) : solution;
        const bool withoutDead = dead && file.names.contains(QStringLiteral("d")) && random.bounded(3) != 0;
        if (withoutDead) {
            file.names.removeLast();
            file.finals.removeLast();
            file.table.removeLast();
            for (QList<qint16> &row : file.table)
                std::replace(row.begin(), row.end(), qint16(solution.names.size()), qint16(0));
        }
        for (int e = random.bounded(withoutDead ? 0 : 1, 3); e > 0; --e) {
            if (random.bounded(4) == 0 && file.symbols.size() > 1) {
                const int j = random.bounded(int(file.symbols.size()));
                file.symbols.removeAt(j);
                for (QList<qint16> &row : file.table)
                    row.removeAt(j);
            } else {
                file = withRandomEdit(file, random);
            }
        }
        const Analysis::GradeResult graded = grade(file.model(), solution.model());
        const QString name = describe(file) + QStringLiteral(" against ") + describe(solution) + QStringLiteral(": ");
        QCOMPARE(name + graded.editsText(), name + bruteEdits(file, solution.model()));
        if (graded.editsFound == Analysis::GradeResult::Edits::Found)
            QCOMPARE(name + fixesFail(file, graded, solution.model()), name);
    }
}

// A search that would take too long ends saying so, and leaves the table as it was.
void TestGrade::searchBounded()
{
    const modAll file = makeAutomaton({"s"}, {}, {"a"}, {{1}});
    const modAll solution = makeAutomaton({"r0", "r1", "r2"}, {"r0"}, {"a"}, {{2}, {3}, {1}});
    const Analysis::DenseAutomaton fileAutomaton(file), solutionAutomaton(solution);
    Analysis::JointGraph graph(fileAutomaton, solutionAutomaton);
    Analysis::EditRules rules;
    rules.stepLimit = 1;
    QCOMPARE(int(Analysis::leastEdits(graph, rules).outcome), int(Analysis::LeastEdits::Outcome::TooLarge));
    rules.stepLimit = quint64(1) << 28;
    QCOMPARE(int(Analysis::leastEdits(graph, rules).outcome), int(Analysis::LeastEdits::Outcome::MoreThanMost));
    QCOMPARE(graph.nodeCount(), 5);
}

QTEST_GUILESS_MAIN(TestGrade)
#include "test_grade.moc"

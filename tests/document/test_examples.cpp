#include "automaton_builder.h"
#include "document/tw_file.h"
#include "document/tw_writer.h"

#include <QFile>
#include <QTest>

// The automata in examples/ are built here and written by our own writer.
// Run with TARNWELL_WRITE_EXAMPLES=1 to write them anew; otherwise the files
// must be exactly what the writer makes of them and read back as built.
// (The batch runner's test runs strings through them.)
class TestExamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void examples_data();
    void examples();
};

void TestExamples::examples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<modAll>("automaton");

    QTest::newRow("ends in a") << "ends-in-a.tw" << endsInA();
    QTest::newRow("divisible by 3")
        << "divisible-by-3.tw"
        << makeAutomaton({{"remainder 0", true}, {"remainder 1", false}, {"remainder 2", false}}, 0, {"0", "1"},
                         {{1, 2}, {3, 1}, {2, 3}},
                         "Binary numbers divisible by 3, most significant bit first.\r\n"
                         "Each state is the remainder of the bits read so far: reading a bit\r\n"
                         "doubles the number and adds the bit.");
    QTest::newRow("even number of a")
        << "even-number-of-a.tw"
        << makeAutomaton({{"even", true}, {"odd", false}}, 0, {"a", "b"}, {{2, 1}, {1, 2}},
                         "Words over a and b with an even number of a's.\r\nA b never changes the count.");
    QTest::newRow("contains a one")
        << "contains-a-one.tw"
        << makeAutomaton({{"no 1 yet", false}, {"seen a 1", true}}, 0, {"0", "1"}, {{0, 2}, {0, 0}},
                         "Binary strings with at least one 1.\r\n"
                         "The empty cells keep the automaton in its state: a 0 changes nothing,\r\n"
                         "and once a 1 was seen, nothing leaves the state seen a 1.");
}

void TestExamples::examples()
{
    QFETCH(QString, file);
    QFETCH(modAll, automaton);

    const QString path = QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + file;
    if (qEnvironmentVariableIsSet("TARNWELL_WRITE_EXAMPLES"))
        QCOMPARE(TwFile::save(automaton, path), std::nullopt);

    QFile onDisk(path);
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QCOMPARE(onDisk.readAll(), automatonBytes(automaton));

    const TwFile::Loaded loaded = TwFile::load(path);
    QVERIFY2(loaded.automaton, qPrintable(loaded.failure));
    QCOMPARE(describe(*loaded.automaton), describe(automaton));
}

QTEST_GUILESS_MAIN(TestExamples)
#include "test_examples.moc"

// Feeds arbitrary bytes to the .tw reader through a real file, the way the two
// programs open one: TwFile::loadNative (which reads a JFLAP file too), and
// readAutomaton on a QFile, both reading in small pieces (the smallest, 4
// bytes, and one that depends on the input's size), so that fields, line ends,
// doubled quotes, XML and UTF-8 sequences are cut everywhere. Both must give
// exactly what reading the bytes in memory the same way gives. What is
// accepted is saved with TwFile::save, which must write the writer's bytes and
// read back as the same automaton.

#include "document/automaton_file.h"
#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"

#include <QDebug>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QString describe(const TwResult<modAll> &result)
{
    if (!result.ok())
        return result.failure().message();
    const modAll &m = result.value();
    QString text;
    QDebug(&text) << m.state_count << m.start_state << m.symbol_count << m.symbols << m.transitions << m.comment;
    for (const StateEntry &s : m.states)
        QDebug(&text) << s.name << s.is_final;
    return text;
}

void require(bool condition, const char *what)
{
    if (!condition) {
        qWarning("%s", what);
        std::abort();
    }
}

const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString input = folder().filePath(QStringLiteral("input.tw"));
    {
        QFile file(input);
        require(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), bytes.size()) == bytes.size(),
                "cannot write the input file");
    }

    const TwResult<modAll> inMemory = readAutomaton(bytes);
    const QString expected = describe(inMemory);
    TwResult<LoadedAutomaton> loaded = readAutomatonFile(bytes);
    const QString expectedOfEither = describe(loaded.ok() ? TwResult<modAll>(std::move(loaded.value().automaton))
                                                          : TwResult<modAll>(loaded.failure()));
    TwReadOptions smallest;
    smallest.pieceSize = 4;
    require(describe(TwFile::loadNative(QFile::encodeName(input), smallest)) == expectedOfEither,
            "TwFile::loadNative differs from reading in memory");
    TwReadOptions varied;
    varied.pieceSize = 5 + qsizetype(size % 12);
    QFile file(input);
    require(file.open(QIODevice::ReadOnly), "cannot open the input file");
    require(describe(readAutomaton(file, varied)) == expected, "reading a QFile differs from reading in memory");
    if (!inMemory.ok())
        return 0;

    const QString output = folder().filePath(QStringLiteral("output.tw"));
    require(TwFile::save(inMemory.value(), output).ok(), "TwFile::save failed");
    QFile saved(output);
    require(saved.open(QIODevice::ReadOnly) && saved.readAll() == automatonBytes(inMemory.value()),
            "TwFile::save wrote other bytes than the writer");
    require(describe(TwFile::load(output)) == describe(readAutomaton(automatonBytes(inMemory.value()))),
            "the saved file reads back differently");
    return 0;
}

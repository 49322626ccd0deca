#include "document/tw_file.h"

#include "document/automaton_file.h"
#include "document/tw_file_read.h"
#include "document/tw_file_save.h"
#include "document/tw_writer.h"
#include "model/mod_all.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace TwFile {

TwResult<> save(const modAll &model, const QString &path)
{
    return saveWith(path, [&model](QIODevice &out) { return writeAutomaton(model, out); });
}

TwResult<LoadedAutomaton> loadDocumentNative(const QByteArray &path, const TwReadOptions &options)
{
    TwFileBytes bytes;
    const TwResult<> read = readNative(path, options, gatherInto(bytes));
    if (!read.ok())
        return read.failure();
    return readAutomatonFile(std::move(bytes)).aboutFile(QFile::decodeName(path));
}

TwResult<LoadedAutomaton> loadDocument(const QString &path)
{
    return loadDocumentNative(QFile::encodeName(path)).aboutFile(path);
}

TwResult<modAll> loadNative(const QByteArray &path, const TwReadOptions &options)
{
    TwResult<LoadedAutomaton> loaded = loadDocumentNative(path, options);
    if (!loaded.ok())
        return loaded.failure();
    return std::move(loaded.value().automaton);
}

TwResult<modAll> load(const QString &path)
{
    return loadNative(QFile::encodeName(path)).aboutFile(path);
}

void ignoreFileSizeLimitSignal()
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace TwFile

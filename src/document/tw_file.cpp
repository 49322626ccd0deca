#include "document/tw_file.h"

#include "document/tw_file_read.h"
#include "document/tw_file_save.h"
#include "document/tw_reader.h"
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

TwResult<modAll> loadNative(const QByteArray &path, const TwReadOptions &options)
{
    TwFileBytes bytes;
    const TwResult<> read = readNative(path, options, gatherInto(bytes));
    if (!read.ok())
        return read.failure();
    return readAutomaton(std::move(bytes)).aboutFile(QFile::decodeName(path));
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

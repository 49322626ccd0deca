#include "document/tw_file.h"

#include "document/tw_reader.h"
#include "document/tw_writer.h"
#include "model/mod_all.h"

#include <QFile>
#include <QSaveFile>

namespace TwFile {

std::optional<QString> save(const modAll &model, const QString &path)
{
    QSaveFile file(path);
    // Unbuffered, so that each write's result is the file's own and a full
    // disk shows at the write that hit it rather than being lost in commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    QString reason;
    if (!writeAutomaton(model, file, &reason) || file.error() != QFileDevice::NoError) {
        if (reason.isEmpty())
            reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

Loaded load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    TwReadResult result = readAutomaton(file);
    if (!result.automaton)
        return {std::nullopt, result.error.message()};
    return {std::move(result.automaton), {}};
}

} // namespace TwFile

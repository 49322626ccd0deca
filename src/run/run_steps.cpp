#include "run/run_steps.h"

namespace RunSteps {

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype pos = 0; pos < text.size(); pos += firstCharacterLength(text.sliced(pos)))
        ++count;
    return count;
}

SymbolIndex::SymbolIndex(const modAll &model)
{
    const qsizetype count = qMin<qsizetype>(model.symbol_count, model.symbols.size());
    char16_t highest = 0;
    for (qsizetype i = 0; i < count; ++i)
        if (model.symbols[i].size() == 1)
            highest = qMax(highest, model.symbols[i][0].unicode());
    m_basic.assign(size_t(highest) + 1, 0);
    // Later entries overwrite earlier ones: with repeated symbols the last wins,
    // as in findSymbol. A symbol that is not exactly one character never matches.
    for (qsizetype i = 0; i < count; ++i) {
        const QString &symbol = model.symbols[i];
        if (!isOneCharacter(symbol))
            continue;
        if (symbol.size() == 1)
            m_basic[symbol[0].unicode()] = qint16(i + 1);
        else
            m_supplementary.insert(QChar::surrogateToUcs4(symbol[0], symbol[1]), qint16(i + 1));
    }
}

} // namespace RunSteps

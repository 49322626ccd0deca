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
    : m_basic(std::make_unique<std::array<qint16, 0x10000>>())
{
    m_basic->fill(0);
    const qsizetype count = qMin<qsizetype>(model.symbol_count, model.symbols.size());
    // Later entries overwrite earlier ones: with repeated symbols the last wins,
    // as in findSymbol. A symbol that is not exactly one character never matches.
    for (qsizetype i = 0; i < count; ++i) {
        const QString &symbol = model.symbols[i];
        if (symbol.size() == 1)
            (*m_basic)[symbol[0].unicode()] = qint16(i + 1);
        else if (symbol.size() == 2 && firstCharacterLength(symbol) == 2)
            m_supplementary.insert(QChar::surrogateToUcs4(symbol[0], symbol[1]), qint16(i + 1));
    }
}

} // namespace RunSteps

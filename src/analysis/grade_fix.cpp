#include "analysis/grade_fix.h"

#include <QStringList>

namespace Analysis {

QString GradeFix::text(const Escape &escape) const
{
    const QString name = shown(stateName, escape);
    const QString cell = name + QStringLiteral(" on ") + shown(symbolText, escape) + QStringLiteral(" -> ");
    switch (kind) {
    case Kind::MakeFinal:
        return QStringLiteral("final ") + name;
    case Kind::MakeNotFinal:
        return QStringLiteral("not final ") + name;
    case Kind::SendCell:
        return cell + shown(targetName, escape);
    case Kind::EmptyCell:
        return cell + QStringLiteral("empty");
    case Kind::ChooseStart:
        return QStringLiteral("start ") + name;
    case Kind::AddState:
        return QStringLiteral("add state ") + name;
    case Kind::AddSymbol:
        break;
    }
    return QStringLiteral("add symbol ") + shown(symbolText, escape);
}

QString GradeFix::sentence(const Escape &escape) const
{
    const QString name = shown(stateName, escape);
    const QString cell = name + QStringLiteral(" on ") + shown(symbolText, escape);
    switch (kind) {
    case Kind::MakeFinal:
        return QStringLiteral("Make %1 final.").arg(name);
    case Kind::MakeNotFinal:
        return QStringLiteral("Make %1 not final.").arg(name);
    case Kind::SendCell:
        return QStringLiteral("%1 should go to %2.").arg(cell, shown(targetName, escape));
    case Kind::EmptyCell:
        return QStringLiteral("%1 should stay in %2 (an empty cell).").arg(cell, name);
    case Kind::ChooseStart:
        return QStringLiteral("Make %1 the start state.").arg(name);
    case Kind::AddState:
        return QStringLiteral("Add a state %1 (not final, its cells empty).").arg(name);
    case Kind::AddSymbol:
        break;
    }
    return QStringLiteral("Add the symbol %1.").arg(shown(symbolText, escape));
}

QList<int> GradeFix::touchedStates() const
{
    if (kind == Kind::AddSymbol)
        return {};
    if (kind == Kind::SendCell && target != state)
        return {state, target};
    return {state};
}

QString fixesText(const QList<GradeFix> &fixes, const Escape &escape)
{
    QStringList texts;
    for (const GradeFix &fix : fixes)
        texts.append(fix.text(escape));
    return texts.join(u';');
}

} // namespace Analysis

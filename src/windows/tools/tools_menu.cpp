#include "windows/tools/tools_menu.h"

#include "windows/tools/analysis_tools.h"

#include <QMenuBar>

ToolsMenu::ToolsMenu(QMenuBar *bar, QMenu *help)
    : QMenu(QStringLiteral("&Tools"), bar)
{
    setObjectName(QStringLiteral("cmd_tools"));
    bar->insertMenu(help->menuAction(), this);
}

void ToolsMenu::addAnalysisCommands(AnalysisTools &tools)
{
    addCommand("cmd_check", QStringLiteral("&Check Automaton"), [&tools] { tools.checkAutomaton(); });
    addCommand("cmd_compare", QStringLiteral("C&ompare With..."), [&tools] { tools.compareWith(); });
    addCommand("cmd_minimize", QStringLiteral("&Minimize"), [&tools] { tools.minimize(); });
    addCommand("cmd_accepted", QStringLiteral("&Accepted Strings..."), [&tools] { tools.acceptedStrings(); });
    addSeparator()->setObjectName(QStringLiteral("sep_expression"));
    addCommand("cmd_from_expression", QStringLiteral("New From &Expression..."), [&tools] { tools.newFromExpression(); });
}

QAction *ToolsMenu::addCommand(const char *name, const QString &caption, std::function<void()> command)
{
    QAction *action = addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, std::move(command));
    return action;
}

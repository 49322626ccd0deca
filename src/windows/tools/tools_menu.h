#pragma once

#include <QMenu>

#include <functional>

class AnalysisTools;
class QMenuBar;

// The main window's "&Tools" menu: every command that works on the automaton
// as a whole rather than editing it. It always sits just before the Help menu,
// so it stays last among the menus the automaton has whatever menus come
// before it. Each item is named like the other menu items (cmd_check ...), so
// tests trigger it by name.
class ToolsMenu : public QMenu
{
    Q_OBJECT

public:
    // Puts the empty menu into `bar` before `help`.
    ToolsMenu(QMenuBar *bar, QMenu *help);

    // One more item at the end of the menu, which runs `command` when chosen.
    QAction *addCommand(const char *name, const QString &caption, std::function<void()> command);
    // The questions about the automaton as a whole, at the end of the menu.
    void addAnalysisCommands(AnalysisTools &tools);
};

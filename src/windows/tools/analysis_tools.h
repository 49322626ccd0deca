#pragma once

class Dialogs;
class FileCommands;
class QDialog;
class QString;
class QWidget;
struct modAll;

// The commands of the main window's Tools menu: questions about the automaton
// as a run of Play at 0 ms answers them. The answers are shown in modal windows
// owned by `owner` and opened beside it, as plain text with strings in their
// escaped one-line form.
class AnalysisTools
{
public:
    // `files` puts a minimized automaton in place, after the question Open asks.
    AnalysisTools(const modAll &model, FileCommands &files, Dialogs &dialogs, QWidget *owner);

    // Check Automaton: what is probably a mistake, the language's size, and a
    // regular expression for it (cut past `shownExpression` characters, with a
    // button that copies the whole).
    void checkAutomaton();
    static constexpr int shownExpression = 500;
    // Compare With...: another automaton's file, chosen in a file dialog of its
    // own (File > Open keeps offering its own last name), against this one;
    // with this one's grade, the other taken as the solution, and its fixes.
    void compareWith();
    // Minimize: the minimized automaton as a new untitled document with changes
    // to save, like an Open; refused with a message, before any question, when
    // the start state is not valid.
    void minimize();
    // Accepted Strings...: the first accepted and rejected strings.
    void acceptedStrings();
    // New From Expression...: the minimal automaton of a regular expression as
    // a new untitled document with changes to save, like Minimize.
    void newFromExpression();

private:
    // Opens `window` modally beside the owner, where it was left last time;
    // gives how it was closed (QDialog::Accepted or Rejected).
    int showBeside(QDialog &window, const QString &place);

    const modAll &m_model;
    FileCommands &m_files;
    Dialogs &m_dialogs;
    QWidget *m_owner;
};

#pragma once

#include "document/file_commands.h"
#include "model/model_edits.h"
#include "run/run_panel.h"
#include "run/simulation_run.h"
#include "windows/tools/analysis_tools.h"
#include "undo/undo_history.h"

#include <QMainWindow>
#include <memory>

class DiagramWindow;
class Dialogs;
class GraphLayout;
class GuideWindow;
class QAction;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TestStringsWindow;
class TickTimer;
struct modAll;

// The main window: the input string, the run's displays and buttons, the speed
// options, the status bar, and the menus that open every other window. It lives
// as long as the program; closing it ends the program.
//
// Every control carries its established name as its object name (txt_input,
// cmd_play, com_speed, cmd_states ...), so tests find them with findChild().
class frm_main : public QMainWindow, private RunPanel, private FileCommandsWindow, private ModelListener
{
    Q_OBJECT

public:
    // Without `dialogs` the window shows real message boxes and file dialogs;
    // without `diagramLayout` Graphviz lays out the Diagram window's drawing.
    explicit frm_main(modAll &model, Dialogs *dialogs = nullptr, GraphLayout *diagramLayout = nullptr,
                      QWidget *parent = nullptr);
    ~frm_main() override;

    // Resets the model to an empty, untitled, unchanged automaton.
    void newFile();
    // Every change of the automaton goes through here.
    ModelEdits &edits() { return m_edits; }
    // The File menu's commands and the question about unsaved changes.
    FileCommands &fileCommands() { return m_files; }
    // Undo and Redo of the Edit menu.
    UndoHistory &history() { return m_history; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createSpeedFrame();
    void createMenus();
    void createDiagram(GraphLayout *layout);
    void createKeys();
    void nameForAssistiveTechnology();
    void orderTabs();
    void Form_Load();
    void Form_Resize();

    void opn_presets_clicked();
    void opn_custom_clicked();
    void cmd_alphabets_clicked();
    void cmd_sstate_clicked();
    void cmd_ttable_clicked();
    void cmd_states_clicked();
    void cmd_comment_clicked();
    void cmd_help_clicked();
    void cmd_about_clicked();
    void cmd_test_strings_clicked();
    void cmd_guide_clicked();
    // Shows a window of its own beside this one, in front.
    void showBeside(QWidget &window);

    void openEditor(QDialog &editor);
    void pressIfEnabled(QPushButton *button);

    bool requireStates();
    bool requireSymbols();
    void showError(const QString &text);

    // ModelListener: every change of the automaton, after it reached the model.
    void modelChanged(ModelChange change, const modAll &before) override;

    // FileCommandsWindow (with setStatusText below).
    void clearRunDisplays() override;

    // RunPanel: what the run sees of this window.
    QString inputText() const override;
    void setInputText(const QString &text) override;
    void setStateText(const QString &text) override;
    void setOutputText(const QString &text) override;
    void setStatusText(const QString &text) override;
    double progressMinimum() const override;
    double progressMaximum() const override;
    double progressValue() const override;
    void setProgressMaximum(double maximum) override;
    void setProgressValue(double value) override;
    int timerInterval() const override;
    void setTimerInterval(int milliseconds) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;
    void setPlayEnabled(bool enabled) override;
    void setPauseEnabled(bool enabled) override;
    void setRunGoing(bool going) override;
    SpeedChoice speedChoice() const override;

    modAll &m_model;
    ModelEdits m_edits;
    UndoHistory m_history{m_edits, this};
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs &m_dialogs;

    QLineEdit *txt_input = nullptr;
    QLineEdit *txt_output = nullptr;
    QLineEdit *txt_state = nullptr;
    QProgressBar *pBar = nullptr;
    QPushButton *cmd_play = nullptr;
    QPushButton *cmd_pause = nullptr;
    QGroupBox *fm1 = nullptr;
    QRadioButton *opn_presets = nullptr;
    QComboBox *com_speed = nullptr;
    QRadioButton *opn_custom = nullptr;
    QLineEdit *txt_speed = nullptr;
    QLabel *lbl_custom = nullptr;
    QLabel *sBar_text = nullptr;
    TickTimer *timer = nullptr;
    QAction *cmd_diagram = nullptr;
    QAction *cmd_step = nullptr;
    QAction *cmd_step_back = nullptr;
    DiagramWindow *m_diagram = nullptr;

    SimulationRun m_run;
    FileCommands m_files;
    AnalysisTools m_tools;
    TestStringsWindow *m_testStrings = nullptr; // made at its first opening
    GuideWindow *m_guide = nullptr;             // made at its first opening
};

#pragma once

#include "windows/diagram/graph_layout.h"

#include <QPointer>
#include <QTimer>

class QProcess;

// The programs to run, found on PATH unless given with a path.
struct GraphvizPrograms
{
    QString dot = QStringLiteral("dot");
    QString sfdp = QStringLiteral("sfdp");
};

// How long each program may take, and how much it may say.
struct GraphvizBudgets
{
    int dotMilliseconds = 1000;    // then sfdp takes over
    int sfdpMilliseconds = 20000;  // then the layout fails
    // The most output taken: the JSON of 500 states with 20 edges each is some
    // 4 MiB. A program that writes more is stopped and the layout fails.
    qint64 outputBytes = qint64(64) << 20;
};

// Graphviz's layout programs, run as child processes: a layout that takes long
// never holds up the windows, and one that crashes takes nothing with it.
//
// `dot` draws automata best, left to right, but its time grows steeply with
// the number of edges: a random 3-symbol automaton of 20 states takes 0.05 s,
// of 40 states about 1 s, of 60 states 8 s. A graph beyond what it does quickly
// goes straight to `sfdp` (0.05 to 0.3 s for 100 states, about 1 s for 500);
// and when `dot` outlasts its budget on a smaller one, it is killed and `sfdp`
// takes over. The output is read on a worker thread: for 500 states it is half
// a megabyte of JSON, which would hold up the windows for tens of milliseconds.
//
// Nothing the program writes is trusted: its output is taken as it comes, in
// bounded reads, up to a limit; of its errors only the first few kilobytes are
// kept and one line of them shown; every number of its JSON is checked before
// anything is drawn.
class GraphvizLayout final : public GraphLayout
{
    Q_OBJECT

public:
    enum class Engine { Dot, Sfdp };

    using Programs = GraphvizPrograms;
    using Budgets = GraphvizBudgets;

    explicit GraphvizLayout(QObject *parent = nullptr, Programs programs = {}, Budgets budgets = {});
    ~GraphvizLayout() override;

    void start(const QString &dot, Size size) override;

    // The engine tried first for a graph of `size`.
    static Engine firstEngine(Size size);
    // The engine's name as the user knows it ("dot").
    static QString engineName(Engine engine);

private:
    void run(Engine engine);
    void stop();
    void outOfTime();
    void finished();
    void takeOutput();
    void takeErrors();
    void read(const QByteArray &output);
    void fail(const QString &reason);

    Programs m_programs;
    Budgets m_budgets;
    QByteArray m_dot;
    Engine m_engine = Engine::Dot;
    QPointer<QProcess> m_process;
    QByteArray m_output;   // of the running program
    QByteArray m_errors;   // its first few kilobytes
    QTimer m_budget;
    quint64 m_generation = 0; // counts the layouts begun, so a late answer is known

};

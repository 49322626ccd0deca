#include "windows/diagram/graphviz_layout.h"

#include <QFutureWatcher>
#include <QLocale>
#include <QProcess>
#include <QtConcurrent>

namespace {

// The largest graph `dot` is tried on: 30 states with three symbols each lay
// out in about 0.3 s; past that its time can grow to many seconds.
constexpr int dotMostNodes = 30;
constexpr int dotMostEdges = 90;

QStringList arguments(GraphvizLayout::Engine engine)
{
    // json0: positions and splines without the drawing operations, a quarter
    // of the full JSON, which keeps reading it quick.
    if (engine == GraphvizLayout::Engine::Dot)
        return {QStringLiteral("-Tjson0")};
    // States must not overlap; sfdp draws straight edges (its spline router is
    // slow and can crash on these graphs).
    return {QStringLiteral("-Tjson0"), QStringLiteral("-Goverlap=prism"), QStringLiteral("-Gsep=+6")};
}

// What a worker thread made of the output.
struct Reading
{
    std::optional<LaidOutGraph> graph;
    QString error;
};

// Of what the program says on its standard error, this much is kept: room
// for the line shown.
constexpr qsizetype errorsKept = 4096;
// The line shown is cut here, so a long one never widens the window.
constexpr qsizetype longestShownLine = 200;

// Reads what `channel` holds in bounded pieces, keeping in `into` no more than
// `most` bytes; gives how many arrived.
qint64 drain(QProcess &process, QProcess::ProcessChannel channel, QByteArray &into, qint64 most)
{
    process.setReadChannel(channel);
    char piece[16384];
    qint64 arrived = 0;
    for (qint64 got; (got = process.read(piece, sizeof piece)) > 0;) {
        arrived += got;
        const qint64 kept = qBound<qint64>(0, most - into.size(), got);
        into.append(piece, qsizetype(kept));
    }
    return arrived;
}

// The first line that says something, cut to a length a message can show.
QString firstLine(const QByteArray &text)
{
    const QString line = QString::fromUtf8(text).trimmed().section(u'\n', 0, 0).trimmed();
    return line.size() > longestShownLine ? line.first(longestShownLine) + QStringLiteral("...") : line;
}

} // namespace

GraphvizLayout::GraphvizLayout(QObject *parent, Programs programs, Budgets budgets)
    : GraphLayout(parent)
    , m_programs(std::move(programs))
    , m_budgets(budgets)
{
    m_budget.setSingleShot(true);
    connect(&m_budget, &QTimer::timeout, this, &GraphvizLayout::outOfTime);
}

// A process killed moments ago may not be reaped yet; waiting for it here, after
// SIGKILL, takes no time and leaves no child behind.
GraphvizLayout::~GraphvizLayout()
{
    stop();
    for (QProcess *process : findChildren<QProcess *>()) {
        process->kill();
        process->waitForFinished();
    }
}

GraphvizLayout::Engine GraphvizLayout::firstEngine(Size size)
{
    return size.nodes <= dotMostNodes && size.edges <= dotMostEdges ? Engine::Dot : Engine::Sfdp;
}

QString GraphvizLayout::engineName(Engine engine)
{
    return engine == Engine::Dot ? QStringLiteral("dot") : QStringLiteral("sfdp");
}

void GraphvizLayout::start(const QString &dot, Size size)
{
    m_dot = dot.toUtf8();
    run(firstEngine(size));
}

void GraphvizLayout::run(Engine engine)
{
    stop();
    ++m_generation;
    m_engine = engine;
    auto *process = new QProcess(this);
    m_process = process;
    // Queued, so that even a program that cannot start is answered after start()
    // has returned, as every other answer is.
    connect(
        process, &QProcess::errorOccurred, this,
        [this, guard = QPointer<QProcess>(process)](QProcess::ProcessError error) {
            if (guard && guard == m_process && error == QProcess::FailedToStart)
                fail(guard->errorString());
        },
        Qt::QueuedConnection);
    connect(process, &QProcess::finished, this, &GraphvizLayout::finished);
    connect(process, &QProcess::readyReadStandardOutput, this, &GraphvizLayout::takeOutput);
    connect(process, &QProcess::readyReadStandardError, this, &GraphvizLayout::takeErrors);
    m_output.clear();
    m_errors.clear();
    process->start(engine == Engine::Dot ? m_programs.dot : m_programs.sfdp, arguments(engine));
    process->write(m_dot);
    process->closeWriteChannel();
    m_budget.start(engine == Engine::Dot ? m_budgets.dotMilliseconds : m_budgets.sfdpMilliseconds);
}

// Drops the process still running, if any. Killing it returns at once; the
// process object goes when the system has reaped the child.
void GraphvizLayout::stop()
{
    m_budget.stop();
    QProcess *process = m_process;
    m_process = nullptr;
    if (!process)
        return;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

void GraphvizLayout::outOfTime()
{
    if (m_engine == Engine::Dot) {
        run(Engine::Sfdp);
        return;
    }
    fail(QStringLiteral("it did not finish within %1 seconds").arg(m_budgets.sfdpMilliseconds / 1000.0));
}

// Output past the budget stops the program: what it would write is not wanted.
void GraphvizLayout::takeOutput()
{
    if (!m_process)
        return;
    const qint64 most = m_budgets.outputBytes;
    if (drain(*m_process, QProcess::StandardOutput, m_output, most + 1) > 0 && m_output.size() > most)
        fail(QStringLiteral("it wrote more than %1").arg(QLocale::c().formattedDataSize(most, 0)));
}

void GraphvizLayout::takeErrors()
{
    if (m_process)
        drain(*m_process, QProcess::StandardError, m_errors, errorsKept);
}

void GraphvizLayout::finished()
{
    QProcess *process = m_process;
    if (!process)
        return;
    takeErrors();
    takeOutput();
    if (!m_process)
        return;   // it wrote too much, and said so
    const QByteArray output = std::exchange(m_output, QByteArray());
    const QByteArray errors = std::exchange(m_errors, QByteArray());
    const bool crashed = process->exitStatus() == QProcess::CrashExit;
    const int code = process->exitCode();
    stop();

    if (crashed) {
        fail(QStringLiteral("it crashed"));
        return;
    }
    if (code != 0) {
        const QString said = firstLine(errors);
        fail(said.isEmpty() ? QStringLiteral("it exited with code %1").arg(code)
                            : QStringLiteral("it exited with code %1: %2").arg(code).arg(said));
        return;
    }
    read(output);
}

void GraphvizLayout::read(const QByteArray &output)
{
    auto *watcher = new QFutureWatcher<Reading>(this);
    connect(watcher, &QFutureWatcher<Reading>::finished, this, [this, watcher, generation = m_generation] {
        watcher->deleteLater();
        if (generation != m_generation)
            return; // a newer text is being laid out
        const Reading reading = watcher->result();
        if (reading.graph)
            Q_EMIT laidOut(*reading.graph);
        else
            fail(reading.error);
    });
    watcher->setFuture(QtConcurrent::run([output] {
        Reading reading;
        reading.graph = parseGraphvizJson(output, reading.error);
        return reading;
    }));
}

void GraphvizLayout::fail(const QString &reason)
{
    const Engine engine = m_engine;
    stop();
    Q_EMIT failed(QStringLiteral("Graphviz's %1 could not be run: %2").arg(engineName(engine), reason));
}

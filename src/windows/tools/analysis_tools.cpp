#include "windows/tools/analysis_tools.h"

#include "analysis/automaton_regex.h"
#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/grade_automaton.h"
#include "analysis/minimize_automaton.h"
#include "document/escaped_line.h"
#include "document/file_commands.h"
#include "document/tw_file.h"
#include "toolkit/window_places.h"
#include "windows/tools/expression_window.h"
#include "windows/tools/report_window.h"
#include "windows/tools/string_lists_window.h"

#include "model/characters.h"

#include <QDir>

namespace {

// Strings, names and symbols in a report read as in every list of strings.
const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The first `most` characters of `text`, and "..." when there were more.
QString cut(const QString &text, int most)
{
    qsizetype end = 0;
    for (int characters = 0; characters < most && end < text.size(); ++characters)
        end += Characters::firstLength(QStringView(text).sliced(end));
    return end < text.size() ? text.first(end) + QStringLiteral("...") : text;
}

} // namespace

AnalysisTools::AnalysisTools(const modAll &model, FileCommands &files, Dialogs &dialogs, QWidget *owner)
    : m_model(model)
    , m_files(files)
    , m_dialogs(dialogs)
    , m_owner(owner)
{
}

void AnalysisTools::checkAutomaton()
{
    const Analysis::CheckReport report = Analysis::checkAutomaton(m_model);
    const Analysis::AutomatonRegex regex = Analysis::automatonRegex(m_model);
    // Without a valid start state the report has said why there is none.
    const QString expression = !regex.refused()   ? cut(regex.expression, shownExpression)
                             : !report.startValid ? QStringLiteral("none")
                                                  : QStringLiteral("none: ") + regex.refusal;
    ReportWindow window(QStringLiteral("Check Automaton"), shownPath(m_model.file_name),
                        Analysis::checkReportText(report, escape) + QStringLiteral("Regular expression: ") + expression,
                        m_owner);
    if (!regex.refused())
        window.addCopyButton("cmd_copy_expression", QStringLiteral("&Copy Expression"), regex.expression);
    showBeside(window, QStringLiteral("CheckAutomaton"));
}

void AnalysisTools::compareWith()
{
    Dialogs::FileSettings settings = readableFileSettings(QStringLiteral("Compare With"));
    settings.fileMustExist = true;
    settings.ownDialog = QStringLiteral("compare");
    const std::optional<QString> chosen = m_dialogs.openFile(settings);
    if (!chosen)
        return;
    const TwResult<modAll> other = TwFile::load(*chosen);
    if (!other.ok()) {
        m_dialogs.inform(QStringLiteral("The automaton to compare with could not be read.\n\n") + shownPath(*chosen)
                             + u'\n' + other.failure().message(),
                         QStringLiteral("NOT COMPARED"), Dialogs::Icon::Critical);
        return;
    }
    const QString heading = QStringLiteral("This: ") + shownPath(m_model.file_name) + QStringLiteral("\nOther: ")
                          + shownPath(*chosen);
    // The grade's comparison is compare's own: this automaton against the other.
    const Analysis::GradeResult grade = Analysis::gradeAutomaton(m_model, Analysis::GradeSolution(other.value()));
    ReportWindow window(QStringLiteral("Compare"), heading,
                        grade.compared.text(escape) + QStringLiteral("\n\n") + Analysis::gradeReportText(grade, escape),
                        m_owner);
    showBeside(window, QStringLiteral("Compare"));
}

void AnalysisTools::minimize()
{
    Analysis::MinimizeResult minimized = Analysis::minimizeAutomaton(m_model);
    if (minimized.refused()) {
        m_dialogs.inform(minimized.refusal, QStringLiteral("NOT MINIMIZED"), Dialogs::Icon::Critical);
        return;
    }
    const QString status = minimized.statusText();
    m_files.openUntitled(std::move(minimized.automaton), status);
}

void AnalysisTools::acceptedStrings()
{
    StringListsWindow window(m_model, m_owner);
    showBeside(window, QStringLiteral("AcceptedStrings"));
}

// Each window is new at each opening, so its place is the one remembered under `place`.
int AnalysisTools::showBeside(QDialog &window, const QString &place)
{
    if (m_owner)
        WindowPlaces::keepBeside(window, place, *m_owner);
    return window.exec();
}

void AnalysisTools::newFromExpression()
{
    ExpressionWindow window(m_owner);
    if (showBeside(window, QStringLiteral("NewFromExpression")) != QDialog::Accepted)
        return;
    const int states = window.automaton().state_count;
    m_files.openUntitled(std::move(window.automaton()),
                         QStringLiteral("New From Expression: %1 state%2").arg(states).arg(states == 1 ? "" : "s"));
}

#include "windows/tools/analysis_tools.h"

#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/grade_automaton.h"
#include "analysis/minimize_automaton.h"
#include "document/escaped_line.h"
#include "document/file_commands.h"
#include "document/tw_file.h"
#include "toolkit/window_places.h"
#include "windows/tools/report_window.h"
#include "windows/tools/string_lists_window.h"

#include <QDir>

namespace {

// Strings, names and symbols in a report read as in every list of strings.
const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
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
    ReportWindow window(QStringLiteral("Check Automaton"), shownPath(m_model.file_name),
                        Analysis::checkReportText(Analysis::checkAutomaton(m_model), escape), m_owner);
    showBeside(window, QStringLiteral("CheckAutomaton"));
}

void AnalysisTools::compareWith()
{
    Dialogs::FileSettings settings = automatonFileSettings(QStringLiteral("Compare With"));
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
void AnalysisTools::showBeside(QDialog &window, const QString &place)
{
    if (m_owner)
        WindowPlaces::keepBeside(window, place, *m_owner);
    window.exec();
}

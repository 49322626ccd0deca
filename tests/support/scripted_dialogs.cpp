#include "scripted_dialogs.h"

#include <QTest>

namespace {

const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message: return "message box";
    case ScriptedDialogs::Kind::Input: return "input box";
    case ScriptedDialogs::Kind::OpenFile: return "open dialog";
    case ScriptedDialogs::Kind::SaveFile: return "save dialog";
    }
    return "box";
}

} // namespace

void ScriptedDialogs::answerMessage(Answer answer, std::function<void()> whileShown)
{
    m_script.append({Kind::Message, answer, {}, {}, std::move(whileShown)});
}

void ScriptedDialogs::answerInput(const QString &text, std::function<void()> whileShown)
{
    m_script.append({Kind::Input, Answer::Ok, text, {}, std::move(whileShown)});
}

void ScriptedDialogs::answerOpenFile(std::optional<QString> path)
{
    m_script.append({Kind::OpenFile, Answer::Ok, {}, std::move(path), {}});
}

void ScriptedDialogs::answerSaveFile(std::optional<QString> path)
{
    m_script.append({Kind::SaveFile, Answer::Ok, {}, std::move(path), {}});
}

QStringList ScriptedDialogs::transcript() const
{
    QStringList lines;
    for (const Call &call : m_calls)
        lines.append(call.title + QStringLiteral(": ") + call.text);
    return lines;
}

void ScriptedDialogs::clear()
{
    m_script.clear();
    m_calls.clear();
}

bool ScriptedDialogs::take(Kind kind, Scripted &out)
{
    if (m_script.isEmpty() || m_script.constFirst().kind != kind) {
        const Call &call = m_calls.constLast();
        const QByteArray what = QByteArray("unscripted ") + kindName(kind) + ": \""
            + call.title.toUtf8() + "\" / \"" + call.text.toUtf8() + "\""
            + (m_script.isEmpty() ? QByteArray() : QByteArray(" (script expected a ") + kindName(m_script.constFirst().kind) + ")");
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return false;
    }
    out = m_script.takeFirst();
    if (out.whileShown)
        out.whileShown();
    return true;
}

Dialogs::Answer ScriptedDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    m_calls.append({Kind::Message, text, title, icon, buttons, {}, {}});
    Scripted answer;
    if (!take(Kind::Message, answer))
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    return answer.answer;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    m_calls.append({Kind::Input, prompt, title, Icon::None, Buttons::Ok, defaultText, {}});
    Scripted answer;
    return take(Kind::Input, answer) ? answer.text : QString();
}

std::optional<QString> ScriptedDialogs::openFile(const FileSettings &settings)
{
    m_calls.append({Kind::OpenFile, {}, settings.title, Icon::None, Buttons::Ok, {}, settings});
    Scripted answer;
    return take(Kind::OpenFile, answer) ? answer.path : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileSettings &settings)
{
    m_calls.append({Kind::SaveFile, {}, settings.title, Icon::None, Buttons::Ok, {}, settings});
    Scripted answer;
    return take(Kind::SaveFile, answer) ? answer.path : std::nullopt;
}

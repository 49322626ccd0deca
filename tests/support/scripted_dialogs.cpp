#include "scripted_dialogs.h"

#include <QTest>

QStringList ScriptedDialogs::transcript() const
{
    QStringList lines;
    for (const Call &call : m_calls)
        lines.append(call.title + QStringLiteral(": ") + call.text);
    return lines;
}

std::optional<ScriptedDialogs::Scripted> ScriptedDialogs::take(const Call &call)
{
    m_calls.append(call);
    if (m_script.isEmpty() || m_script.constFirst().kind != call.kind) {
        const QByteArray what = "unscripted box \"" + call.title.toUtf8() + "\": \"" + call.text.toUtf8() + '"';
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_script.takeFirst();
}

Dialogs::Answer ScriptedDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    const std::optional<Scripted> answer = take({Kind::Message, text, title, icon, {}});
    return answer ? answer->answer : buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title, const QString &)
{
    const std::optional<Scripted> answer = take({Kind::Input, prompt, title, Icon::None, {}});
    return answer ? answer->text : QString();
}

std::optional<QString> ScriptedDialogs::openFile(const FileSettings &settings)
{
    const std::optional<Scripted> answer = take({Kind::OpenFile, {}, settings.title, Icon::None, settings});
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileSettings &settings)
{
    const std::optional<Scripted> answer = take({Kind::SaveFile, {}, settings.title, Icon::None, settings});
    return answer ? answer->path : std::nullopt;
}

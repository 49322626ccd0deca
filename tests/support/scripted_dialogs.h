#pragma once

#include "toolkit/dialogs.h"

#include <QList>

// Answers the program's modal boxes from a script, in order, and records every
// box shown with its texts. A box nobody scripted fails the running test (and is
// answered with Cancel, the empty text or no file, so the program never blocks).
class ScriptedDialogs final : public Dialogs
{
public:
    enum class Kind { Message, Input, OpenFile, SaveFile };

    struct Call
    {
        Kind kind = Kind::Message;
        QString text;  // message text or input prompt
        QString title;
        Icon icon = Icon::None;
        FileSettings file;
    };

    void answerMessage(Answer answer = Answer::Ok) { m_script.append({Kind::Message, answer, {}, {}}); }
    void answerInput(const QString &text) { m_script.append({Kind::Input, Answer::Ok, text, {}}); }
    void answerOpenFile(std::optional<QString> path) { m_script.append({Kind::OpenFile, Answer::Ok, {}, path}); }
    void answerSaveFile(std::optional<QString> path) { m_script.append({Kind::SaveFile, Answer::Ok, {}, path}); }

    const QList<Call> &calls() const { return m_calls; }
    const Call &lastCall() const { return m_calls.constLast(); }
    // The boxes shown, as "title: text" lines.
    QStringList transcript() const;
    bool allAnswered() const { return m_script.isEmpty(); }
    void clear() { m_script.clear(), m_calls.clear(); }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> openFile(const FileSettings &settings) override;
    std::optional<QString> saveFile(const FileSettings &settings) override;

private:
    struct Scripted
    {
        Kind kind;
        Answer answer;
        QString text;
        std::optional<QString> path;
    };

    // Records the call; the scripted answer for it, or nothing (and a failure).
    std::optional<Scripted> take(const Call &call);

    QList<Scripted> m_script;
    QList<Call> m_calls;
};

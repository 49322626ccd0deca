#pragma once

#include "toolkit/dialogs.h"

#include <QList>
#include <functional>

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
        QString text;   // message text or input prompt
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString defaultText;  // input box
        FileSettings file;    // file dialogs
    };

    // Queue the answer for the next box of that kind. `whileShown` runs while the
    // box would be on screen, before the answer is given.
    void answerMessage(Answer answer = Answer::Ok, std::function<void()> whileShown = {});
    void answerInput(const QString &text, std::function<void()> whileShown = {});
    void answerOpenFile(std::optional<QString> path);
    void answerSaveFile(std::optional<QString> path);

    const QList<Call> &calls() const { return m_calls; }
    const Call &lastCall() const { return m_calls.constLast(); }
    // The boxes shown, as "title: text" lines, for compact comparisons.
    QStringList transcript() const;
    bool allAnswered() const { return m_script.isEmpty(); }
    void clear();

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> openFile(const FileSettings &settings) override;
    std::optional<QString> saveFile(const FileSettings &settings) override;

private:
    struct Scripted
    {
        Kind kind;
        Answer answer = Answer::Ok;
        QString text;
        std::optional<QString> path;
        std::function<void()> whileShown;
    };

    bool take(Kind kind, Scripted &out);

    QList<Scripted> m_script;
    QList<Call> m_calls;
};

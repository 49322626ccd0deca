#pragma once

#include "scripted_dialogs.h"
#include "windows/main/frm_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

// One shown main window over its own model, with scripted boxes.
struct Fixture
{
    Fixture() { window.show(); }
    modAll model;
    ScriptedDialogs dialogs;
    frm_main window{model, &dialogs};

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString text(const char *name) const { return child<QLineEdit>(name)->text(); }
    QString status() const { return child<QLabel>("sBar_text")->text(); }
    void click(const char *button) { QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton); }
    void trigger(const char *action) { child<QAction>(action)->trigger(); }
    // Which controls are enabled, in one line.
    QString enabled(std::initializer_list<const char *> names) const
    {
        QStringList on;
        for (const char *name : names)
            if (child(name)->isEnabled())
                on << QLatin1String(name);
        return on.join(u' ');
    }
    // Chooses `action` and, once its modal window is up, lets `use` work in it.
    void withEditor(const char *action, const std::function<void(QDialog *)> &use)
    {
        QTimer::singleShot(0, &window, [&] { use(qobject_cast<QDialog *>(QApplication::activeModalWidget())); });
        trigger(action);
        QVERIFY(!QApplication::activeModalWidget());
    }
    // Types `input` and presses Play: "output state status".
    QString run(const QString &input)
    {
        child<QLineEdit>("txt_input")->setText(input);
        click("cmd_play");
        return text("txt_output") + u' ' + text("txt_state") + u' ' + status();
    }
};

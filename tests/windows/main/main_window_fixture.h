#pragma once

#include "diagram_probe.h"
#include "recorded_layout.h"
#include "scripted_dialogs.h"
#include "windows/diagram/diagram_window.h"
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

inline QString examplePath(const QString &name)
{
    return QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + name + QStringLiteral(".tw");
}

// One shown main window over its own model, with scripted boxes; its Diagram
// window is laid out from recordings unless given another layout.
struct Fixture
{
    explicit Fixture(GraphLayout *diagramLayout = nullptr)
        : window(model, &dialogs, diagramLayout ? diagramLayout : &layout)
    {
        window.show();
    }
    modAll model;
    ScriptedDialogs dialogs;
    RecordedLayout layout;
    frm_main window;

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
    DiagramWindow *diagram() const { return child<DiagramWindow>("frm_diagram"); }
    // View > Diagram, then an example opened and drawn from its recording.
    void openDiagramOn(const QString &example)
    {
        trigger("cmd_diagram");
        window.fileCommands().openPath(examplePath(example));
        layout.answer(example);
    }
    // What the diagram shows of the run, once it has caught up with it.
    QString highlight() const
    {
        if (!DiagramProbe::settled(*diagram()))
            return QStringLiteral("(the diagram never caught up)");
        return DiagramProbe::highlight(*diagram(), model);
    }
    // Types `input` and presses Play: "output state status".
    QString run(const QString &input)
    {
        child<QLineEdit>("txt_input")->setText(input);
        click("cmd_play");
        return text("txt_output") + u' ' + text("txt_state") + u' ' + status();
    }
};

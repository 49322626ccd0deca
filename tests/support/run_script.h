#pragma once

#include "plain_run_panel.h"
#include "run/simulation_run.h"

#include "model/mod_all.h"

#include <QString>

// Acts out a script of words, blank apart, on one run, as a user and the
// timer would:
//   play, pause, tick, step, back (Step Back)  the run's own actions
//   fast                   RealTime (0 ms) chosen
//   type:TEXT              TEXT typed at the end of the input box
//   start:N, shrink:N      the model's start state, its state count set
//   final:N                state N's final mark toggled
//   new                    the model and the input box emptied
//   forget                 the model changed: the steps are forgotten
//   detach                 the run's observer taken away
inline void actOnRun(const QString &script, SimulationRun &run, modAll &model, PlainRunPanel &panel)
{
    for (const QString &action : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString argument = action.section(u':', 1);
        if (action == "play")
            run.play();
        else if (action == "pause")
            run.pause();
        else if (action == "tick")
            run.tick();
        else if (action == "step")
            run.step();
        else if (action == "back")
            run.stepBack();
        else if (action == "fast")
            panel.preset(2);
        else if (action == "detach")
            run.setObserver(nullptr);
        else if (action == "forget")
            run.forgetSteps();
        else if (action.startsWith("type:")) {
            panel.input += argument;
            run.inputEdited();
        } else if (action.startsWith("start:"))
            model.start_state = qint16(argument.toInt());
        else if (action.startsWith("final:"))
            model.states[argument.toInt()].is_final = !model.states[argument.toInt()].is_final;
        else if (action.startsWith("shrink:"))
            model.state_count = qint16(argument.toInt());
        else if (action == "new") {
            model = modAll();
            panel.input.clear();
        } else
            qFatal("unknown script word %s", qPrintable(action));
    }
}

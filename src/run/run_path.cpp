#include "run/run_path.h"

#include "model/characters.h"
#include "model/lookup.h"
#include "model/mod_all.h"
#include "run/run_steps.h"

RunPath runPath(const modAll &model, QStringView text)
{
    RunPath path;
    const SymbolIndex symbols(model);
    if (!RunSteps::startIsValid(model))
        return path;
    path.start = model.start_state;
    qint16 state = path.start;
    while (!text.isEmpty()) {
        const qsizetype length = Characters::firstLength(text);
        const qint16 symbol = symbols.find(text, length);
        if (symbol == 0) {
            path.stopped = true;
            break;
        }
        RunStep step;
        step.character = text.first(length).toString();
        step.from = state;
        step.symbol = qint16(symbol - 1);
        step.followed = RunSteps::follow(model, state, step.symbol);
        step.to = state;
        path.steps.append(std::move(step));
        text = text.sliced(length);
    }
    return path;
}

#pragma once

#include "document/tw_file_bytes.h"
#include "document/tw_result.h"

#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// A JFLAP finite automaton as its file holds it: states in file order, and
// transitions between them that read one character or, with an empty read,
// the empty string. Nothing about it is changed yet: it may be nondeterministic
// and leave transitions out.
struct JffMachine
{
    struct State
    {
        QString name;
        std::optional<QPointF> place;  // the state's x and y, when both are numbers
        bool final = false;
    };
    struct Transition
    {
        int from = 0;    // positions in `states`
        int to = 0;
        QString read;    // one character, or empty for the empty string
    };

    QList<State> states;
    int initial = -1;    // position in `states`; -1 when no state is initial
    QList<Transition> transitions;
};

// Reads JFLAP's XML (<structure><type>fa</type><automaton>, or the states and
// transitions right under <structure> as older files have them) with
// QXmlStreamReader: no document type is read, so no entity is declared and
// nothing is fetched. Refused with the reason (and the line where it applies):
// anything but well-formed XML whose root is <structure>, a machine that is not
// a finite automaton, states without an id or with the same id, transitions
// from or to no state, a read of more than one character, more than one
// initial state, more states than an automaton can have, and any encoding
// but UTF-8.
TwResult<JffMachine> readJffMachine(TwFileBytes &&bytes);
TwResult<JffMachine> readJffMachine(QByteArrayView bytes);

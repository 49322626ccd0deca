#pragma once

#include "document/tw_file_bytes.h"
#include "document/tw_result.h"
#include "model/mod_all.h"

#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// An automaton as a file gave it: a .tw file, or a JFLAP file turned into the
// deterministic automaton with the same meaning.
struct LoadedAutomaton
{
    enum class Format { Tarnwell, Jflap };

    modAll automaton;
    Format format = Format::Tarnwell;
    // By state: where the file placed it (JFLAP's x and y), when it did.
    QList<std::optional<QPointF>> places;
    // What was done to keep a JFLAP automaton's meaning, for the user ("a trap
    // state added"); empty when nothing was.
    QString changes;
};

// Reads an automaton's file of either kind, told apart by its content: a file
// that starts (after a byte-order mark and blanks) with "<?xml", "<!--" or
// "<structure" is a JFLAP file (see readJffAutomaton), anything else a .tw
// file (see readAutomaton).
TwResult<LoadedAutomaton> readAutomatonFile(TwFileBytes &&bytes);
TwResult<LoadedAutomaton> readAutomatonFile(QByteArrayView bytes);

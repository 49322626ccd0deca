#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Writes an answer of any length to a device in large pieces: what is put is
// gathered and written once a block's worth has gathered. After the first
// write that fails nothing more is written and every put says so, so that a
// long answer stops at once when its reader has gone or the disk is full.
class BufferedOutput
{
public:
    explicit BufferedOutput(QIODevice &out) : m_out(out) {}

    // False once a write has failed.
    bool put(QByteArrayView bytes);
    // Writes what is held; false once a write has failed.
    bool flush();
    bool ok() const { return m_ok; }

private:
    QIODevice &m_out;
    QByteArray m_held;
    bool m_ok = true;
};

#include "cli/buffered_output.h"

#include "document/tw_file_bytes.h"

#include <QIODevice>

bool BufferedOutput::put(QByteArrayView bytes)
{
    if (!m_ok)
        return false;
    m_held += bytes;
    return m_held.size() < ioBlockSize || flush();
}

bool BufferedOutput::flush()
{
    if (m_ok && !m_held.isEmpty())
        m_ok = m_out.write(m_held) == m_held.size();
    m_held.resize(0);
    return m_ok;
}

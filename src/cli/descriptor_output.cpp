#include "cli/descriptor_output.h"

#include <cerrno>
#include <unistd.h>

DescriptorOutput::DescriptorOutput(int descriptor)
    : m_descriptor(descriptor)
{
}

bool DescriptorOutput::readerGone() const
{
    return m_writeError == EPIPE;
}

qint64 DescriptorOutput::readData(char *, qint64)
{
    return -1;
}

qint64 DescriptorOutput::writeData(const char *data, qint64 size)
{
    // A pipe or a terminal may take less than asked, and a signal may cut a
    // write short: go on until every byte is written or the system refuses.
    qint64 written = 0;
    while (written < size) {
        const ssize_t count = ::write(m_descriptor, data + written, size_t(size - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            m_writeError = count < 0 ? errno : EIO;
            setErrorString(qt_error_string(m_writeError));
            return -1;
        }
        written += count;
    }
    return written;
}

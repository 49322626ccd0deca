#include "cli/descriptor_output.h"

#include "document/tw_file_kinds.h"

#include <cerrno>

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
    m_writeError = TwFile::writeWhole(m_descriptor, data, size);
    if (m_writeError == 0)
        return size;
    setErrorString(qt_error_string(m_writeError));
    return -1;
}

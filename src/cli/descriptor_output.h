#pragma once

#include <QIODevice>

// An open file descriptor (standard output) as a write-only device that keeps
// the system's reason for a failed write, so that a reader that went away can
// be told from a disk that is full.
class DescriptorOutput : public QIODevice
{
public:
    explicit DescriptorOutput(int descriptor);

    bool isSequential() const override { return true; }
    // The last write failed because nothing reads the other end of the pipe
    // any more (EPIPE; SIGPIPE must be ignored for a write to get that far).
    bool readerGone() const;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    int m_descriptor;
    int m_writeError = 0;   // errno of the last failed write
};

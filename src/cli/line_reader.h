#pragma once

#include <QByteArrayView>
#include <QString>

class QIODevice;

// What takes the lines readLines() cuts a device into.
class LineSink
{
public:
    // Nothing failed: reading goes on.
    virtual bool ok() const = 0;
    // Runs the lines that end with LF in [p, end) and gives where the bytes
    // after the last LF begin, or where it stopped when it failed.
    virtual const char *whole(const char *p, const char *end) = 0;
    // The next part of a line that goes on past a read, without its ending;
    // a line's first piece begins it.
    virtual void piece(QByteArrayView bytes) = 0;
    // That line ends, with "\n" or "\r\n", or "" at the end of the input.
    virtual void endPieces(QByteArrayView ending) = 0;

protected:
    ~LineSink() = default;
};

// Cuts what a device gives into lines for `lines`: each ends at LF, and a CR
// just before the LF belongs to the ending (a CR anywhere else is part of the
// line). The device is read `chunkSize` bytes at a time into one buffer; no
// more than that of a line is ever held. Returns why reading failed, or
// nothing.
QString readLines(QIODevice &in, qint64 chunkSize, LineSink &lines);

#include "cli/line_reader.h"

#include <QByteArray>
#include <QIODevice>

#include <cstring>

QString readLines(QIODevice &in, qint64 chunkSize, LineSink &lines)
{
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    bool inPieces = false;     // a line began in an earlier read and goes on
    bool heldReturn = false;   // a CR ended the last piece: the line's end, if LF follows
    // The part of a line up to the end of a read; a CR at its end waits for
    // the next read, which tells whether it ends the line.
    const auto pieceUpTo = [&](QByteArrayView piece) {
        heldReturn = piece.endsWith('\r');
        if (heldReturn)
            piece.chop(1);
        lines.piece(piece);
        inPieces = true;
    };
    while (lines.ok()) {
        const qint64 count = in.read(chunk.data(), chunkSize);
        if (count < 0)
            return QStringLiteral("cannot read the strings: ") + in.errorString();
        if (count == 0)
            break;
        const char *p = chunk.constData();
        const char *const end = p + count;
        if (inPieces) {
            const auto *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            QByteArrayView piece(p, newline ? newline : end);
            if (heldReturn && !piece.isEmpty())
                lines.piece("\r");   // not before LF: part of the line
            if (!newline) {
                pieceUpTo(piece);
                continue;
            }
            const bool crlf = piece.isEmpty() ? heldReturn : piece.endsWith('\r');
            lines.piece(crlf && !piece.isEmpty() ? piece.chopped(1) : piece);
            lines.endPieces(crlf ? QByteArrayView("\r\n") : QByteArrayView("\n"));
            inPieces = heldReturn = false;
            p = newline + 1;
        }
        if (!lines.ok())
            break;
        p = lines.whole(p, end);
        if (p != end && lines.ok())
            pieceUpTo(QByteArrayView(p, end));
    }
    if (inPieces && lines.ok()) {
        if (heldReturn)
            lines.piece("\r");
        lines.endPieces({});
    }
    return {};
}

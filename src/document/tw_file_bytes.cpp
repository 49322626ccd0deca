#include "document/tw_file_bytes.h"

#include "model/utf8.h"

#include <cstring>

TwPiecesEnd readPieces(const TwReadSome &readSome, const TwReadOptions &options, const TwTakePiece &take)
{
    // Four bytes hold any UTF-8 sequence, so every full piece has a whole
    // sequence to cut after.
    const qsizetype pieceSize = qMax<qsizetype>(options.pieceSize, 4);
    qint64 total = 0;
    QByteArray carried;   // the start of a sequence the previous piece ended in
    for (;;) {
        QByteArray piece(pieceSize, Qt::Uninitialized);
        std::memcpy(piece.data(), carried.constData(), size_t(carried.size()));
        qsizetype filled = carried.size();
        bool atEnd = false;
        while (filled < pieceSize) {
            // Never more than one byte past the limit, even from an endless pipe.
            const qint64 wanted = qMin<qint64>(pieceSize - filled, options.sizeLimit + 1 - total);
            const qint64 got = readSome(piece.data() + filled, wanted);
            if (got < 0)
                return TwPiecesEnd::ReadFailed;
            if (got == 0) {
                atEnd = true;
                break;
            }
            filled += qsizetype(got);
            total += got;
            if (total > options.sizeLimit)
                return TwPiecesEnd::TooLarge;
        }
        piece.truncate(filled);
        const qsizetype whole = atEnd ? filled : Utf8::completeLength(piece);
        carried = piece.sliced(whole);
        piece.truncate(whole);
        if (!piece.isEmpty() && !take(std::move(piece)))
            return TwPiecesEnd::Stopped;
        if (atEnd)
            return TwPiecesEnd::Complete;
    }
}

TwTakePiece gatherInto(TwFileBytes &bytes)
{
    return [&bytes](QByteArray &&piece) {
        bytes.utf8 = bytes.utf8 && QByteArrayView(piece).isValidUtf8();
        bytes.pieces.append(std::move(piece));
        return true;
    };
}

QByteArray firstBytes(const TwFileBytes &bytes, qsizetype count)
{
    QByteArray start;
    for (const QByteArray &piece : bytes.pieces) {
        start += piece.first(qMin(piece.size(), count - start.size()));
        if (start.size() >= count)
            break;
    }
    return start;
}

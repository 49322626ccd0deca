#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

// Results and files are written in blocks of this size: few system calls, and
// little memory whatever the size of what is written.
inline constexpr qsizetype ioBlockSize = 64 * 1024;

// How much of a file is read, and in what pieces.
struct TwReadOptions
{
    // A larger file is refused. Reading takes up to some 2.5 times the file's
    // size in memory, and a line number always fits in an int.
    qint64 sizeLimit = qint64(1) << 30;
    // The file is held in pieces of this size (at least 4 bytes), each released
    // as soon as the reader has gone past it, so the raw bytes and the text
    // decoded from them are never both held in full.
    qsizetype pieceSize = qsizetype(1) << 20;
};

// A whole file as read: its bytes in order, cut only between UTF-8 sequences,
// so that each piece is checked and decoded on its own.
struct TwFileBytes
{
    QList<QByteArray> pieces;   // none of them empty
    bool utf8 = true;           // the whole file is valid UTF-8
};

// How reading the pieces ended.
enum class TwPiecesEnd { Complete, TooLarge, ReadFailed, Stopped };

// Fills at most `max` bytes at `into` and gives how many it read, 0 at the
// end, -1 on failure.
using TwReadSome = std::function<qint64(char *into, qint64 max)>;
// Takes the next piece (never empty); false stops the reading.
using TwTakePiece = std::function<bool(QByteArray &&piece)>;

// Reads through `readSome` until it reports the end, handing each piece of
// options.pieceSize bytes (or the last, shorter one) to `take` as soon as it
// is full, cut only between UTF-8 sequences. Stops as soon as more than
// options.sizeLimit bytes have arrived, or when `take` says so (Stopped).
TwPiecesEnd readPieces(const TwReadSome &readSome, const TwReadOptions &options, const TwTakePiece &take);

// A taker that gathers every piece in `bytes`.
TwTakePiece gatherInto(TwFileBytes &bytes);

// The first `count` bytes of a file read in pieces (all of them when it is
// shorter), however small its pieces.
QByteArray firstBytes(const TwFileBytes &bytes, qsizetype count);

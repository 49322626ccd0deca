#pragma once

#include <QtGlobal>

#include <cstring>

// Copies a line with moves of fixed size where it is short, which become
// single loads and stores: for a line of ten bytes, calling memcpy costs more
// than the copy. Writes exactly `size` bytes.
inline void copyLine(char *to, const char *from, qsizetype size)
{
    if (size >= 8 && size <= 16) {
        quint64 head, tail;   // two moves that overlap in the middle
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + size - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + size - 8, &tail, 8);
    } else if (size > 16) {
        std::memcpy(to, from, size_t(size));
    } else {
        for (qsizetype i = 0; i < size; ++i)
            to[i] = from[i];
    }
}

#include "run/byte_engine_vector.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARNWELL_VECTOR_PATH 1
#include <tmmintrin.h>
#endif

namespace ByteEngineVector {

#ifdef TARNWELL_VECTOR_PATH

bool available()
{
    static const bool supported = __builtin_cpu_supports("ssse3");
    return supported;
}

// Compiled for SSSE3 whatever the rest of the program is built for; called only
// when available() says the processor has it.
__attribute__((target("ssse3"))) const uchar *runBlocks(const Lanes *lanesByByte, const uchar *p, const uchar *end,
                                                         quint8 &state)
{
    const __m128i identity = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    alignas(16) quint8 reached[laneCount];
    alignas(16) quint8 seen[laneCount];
    while (end - p >= blockSize) {
        __m128i lanes = identity;
        __m128i any = _mm_setzero_si128();
        for (qsizetype i = 0; i < blockSize; ++i) {
            const __m128i step = _mm_load_si128(reinterpret_cast<const __m128i *>(&lanesByByte[p[i]]));
            lanes = _mm_shuffle_epi8(step, lanes);
            any = _mm_or_si128(any, lanes);
        }
        _mm_store_si128(reinterpret_cast<__m128i *>(seen), any);
        if (seen[state] & stopped)
            return p;
        _mm_store_si128(reinterpret_cast<__m128i *>(reached), lanes);
        state = reached[state];
        p += blockSize;
    }
    return p;
}

#else

bool available()
{
    return false;
}

const uchar *runBlocks(const Lanes *, const uchar *p, const uchar *, quint8 &)
{
    return p;
}

#endif

} // namespace ByteEngineVector

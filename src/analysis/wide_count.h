#pragma once

#include <QtGlobal>
#include <array>

namespace Analysis {

// A count of strings too large for 64 bits: there are k^12 strings of twelve
// characters over k characters, up to 2^192 for the largest alphabets. Unsigned,
// `Limbs` 64-bit words, least significant first; only what counting needs.
template <int Limbs>
struct WideCount
{
    std::array<quint64, Limbs> limb{};

    static WideCount of(quint64 value)
    {
        WideCount count;
        count.limb[0] = value;
        return count;
    }

    WideCount &operator+=(const WideCount &other)
    {
        quint64 carry = 0;
        for (int i = 0; i < Limbs; ++i) {
            const quint64 withCarry = other.limb[size_t(i)] + carry;
            carry = withCarry < carry ? 1 : 0;
            limb[size_t(i)] += withCarry;
            carry += limb[size_t(i)] < withCarry ? 1 : 0;
        }
        return *this;
    }

    // Multiplied by a factor below 2^32. Gives whether the product still fits.
    bool multiply(quint32 factor)
    {
        quint64 carry = 0;
        for (int i = 0; i < Limbs; ++i) {
            const quint64 low = (limb[size_t(i)] & 0xFFFFFFFFu) * factor + carry;
            const quint64 high = (limb[size_t(i)] >> 32) * factor + (low >> 32);
            limb[size_t(i)] = (high << 32) | (low & 0xFFFFFFFFu);
            carry = high >> 32;
        }
        return carry == 0;
    }

    // The same count in more words.
    template <int Wider>
    WideCount<Wider> widened() const
    {
        static_assert(Wider >= Limbs);
        WideCount<Wider> wide;
        for (int i = 0; i < Limbs; ++i)
            wide.limb[size_t(i)] = limb[size_t(i)];
        return wide;
    }

    friend bool operator<=(const WideCount &a, const WideCount &b)
    {
        for (int i = Limbs - 1; i >= 0; --i)
            if (a.limb[size_t(i)] != b.limb[size_t(i)])
                return a.limb[size_t(i)] < b.limb[size_t(i)];
        return true;
    }
};

} // namespace Analysis

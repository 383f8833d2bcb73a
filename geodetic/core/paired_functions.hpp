#pragma once
// Sine, cosine and arctangent of two arguments at once, in the two lanes of
// one vector register: sine and cosine within two ulps of the exact value,
// the arctangent within 2.5 (the library's functions are within one). A
// projection that needs, per point, the sine and cosine of both latitude
// and longitude, or two unrelated angles, pays for one evaluation instead of
// two library calls, and the evaluations stay in line with the formulas
// around them.
//
// The polynomials are near-minimax fits (Chebyshev interpolation in 50-digit
// arithmetic) on the reduced intervals; their own error is below 1e-17 of
// the result, so what is left is the rounding of the last few operations.

#include <array>
#include <cstddef>
#include <cstdint>

namespace geodetic_detail {

// Two doubles that every arithmetic operator treats lane by lane.
using Pair = double __attribute__((vector_size(16)));
// Their bits, and the all-ones or all-zeros lanes a comparison gives.
using PairBits = std::int64_t __attribute__((vector_size(16)));

[[gnu::always_inline]] inline Pair select(PairBits mask, Pair whereSet, Pair elsewhere) {
    return (Pair)((mask & (PairBits)whereSet) | (~mask & (PairBits)elsewhere));
}

inline constexpr std::int64_t signBit = INT64_MIN;

[[gnu::always_inline]] inline Pair absolute(Pair x) {
    return (Pair)((PairBits)x & ~signBit);
}

// c[0] + c[1] z + ... by Estrin's scheme: pairs first, so that the products
// of one level do not wait for each other. z and the result are a double or
// a Pair; the coefficients a double (the same in both lanes) or a Pair.
template <typename Value, typename Coefficient, std::size_t N>
[[gnu::always_inline]] inline Value polynomial(const std::array<Coefficient, N>& c, Value z) {
    std::array<Value, (N + 1) / 2> level{};
    for (std::size_t i = 0; i < N / 2; ++i)
        level[i] = c[2 * i] + z * c[2 * i + 1];
    if (N % 2 == 1)
        level[N / 2] = Value{} + c[N - 1];
    std::size_t count = (N + 1) / 2;
    Value power = z * z;
    while (count > 1) {
        for (std::size_t i = 0; i < count / 2; ++i)
            level[i] = level[2 * i] + power * level[2 * i + 1];
        if (count % 2 == 1)
            level[count / 2] = level[count - 1];
        count = (count + 1) / 2;
        power *= power;
    }
    return level[0];
}

namespace paired {

// The constants, defined in paired_functions.cpp: with their values out of
// sight the compiler takes each pair straight from memory as an operand,
// instead of loading one double and copying it into the other lane.
struct Constants {
    // pi/2 in three parts: the first two of 33 bits, so that k times them is
    // exact for |k| < 2^20 and the reduction x - k pi/2 loses nothing.
    Pair halfPi1, halfPi2, halfPi3, twoOverPi;
    // Adding it rounds a double below 2^51 to an integer, held in the low bits.
    Pair roundingShift;
    // sin r = r + r^3 S(r^2) and cos r = 1 - r^2/2 + r^4 C(r^2) on |r| <= pi/4.
    std::array<Pair, 6> sineTerms, cosineTerms;
    // atan t = t + t^3 R(t^2) on |t| <= tan(pi/8).
    std::array<Pair, 11> arctangentTerms;
    Pair tanEighthPi, tanThreeEighthsPi, one, half;
    // pi/4 and pi/2 as the double nearest and the rest.
    Pair quarterPi, quarterPiRest, halfPi, halfPiRest;
};

extern const Constants constants;

} // namespace paired

// The largest |x| quarterTurnsOf takes: the quadrant k then stays below 2^19.
inline constexpr double maxPairedAngle = 0x1p19;

// x = k pi/2 + r with |r| <= pi/4, lane by lane: x less k pi/2 in three
// exact steps, for |x| <= maxPairedAngle (a NaN gives NaNs).
struct QuarterTurns {
    Pair r, z;                 // r and r^2
    PairBits odd;              // all ones where k is odd
    PairBits sinSign, cosSign; // the sign bits sin x and cos x take from k

    // The value of f(sin x), for an odd f, from f(sin r) and f(cos r).
    Pair sineLike(Pair ofSinR, Pair ofCosR) const {
        return (Pair)((PairBits)select(odd, ofCosR, ofSinR) ^ sinSign);
    }
    // cos x from cos r and sin r.
    Pair cosine(Pair cosR, Pair sinR) const {
        return (Pair)((PairBits)select(odd, sinR, cosR) ^ cosSign);
    }
};

[[gnu::always_inline]] inline QuarterTurns quarterTurnsOf(Pair x) {
    const paired::Constants& c = paired::constants;
    const Pair shifted = x * c.twoOverPi + c.roundingShift;
    const Pair k = shifted - c.roundingShift;
    const Pair r = ((x - k * c.halfPi1) - k * c.halfPi2) - k * c.halfPi3;
    const PairBits quadrant = (PairBits)shifted;
    return {r, r * r, -(quadrant & 1), (quadrant & 2) << 62, ((quadrant + 1) & 2) << 62};
}

struct SinCosPair {
    Pair sin, cos;
};

// sin and cos of both lanes of x by the two short polynomials on r.
[[gnu::always_inline]] inline SinCosPair sinCosOf(const QuarterTurns& turns) {
    const paired::Constants& c = paired::constants;
    const Pair r = turns.r, z = turns.z;
    const Pair sinR = r + r * z * polynomial(c.sineTerms, z);
    const Pair cosR = (c.one - c.half * z) + z * z * polynomial(c.cosineTerms, z);
    return {turns.sineLike(sinR, cosR), turns.cosine(cosR, sinR)};
}

// An angle as a double and a small rest, hi + lo: the rest carries what the
// rounding of hi drops, for a caller that adds a small term before rounding.
struct AnglePair {
    Pair hi, lo;
};

// atan2(y, x) of both lanes for x > 0, within 2.5 ulps of the exact angle
// once hi + lo is rounded (the rounding of the reduced ratio, where y - x
// is not exact, takes most of that). The ratio is brought to |t| <= tan(pi/8) about
// 0, pi/4 or pi/2 with one division, and takes y's sign at the end.
//
// Each mask is a comparison's own result and each choice one select: a mask
// combined by logic first would make the compiler test it lane by lane.
[[gnu::always_inline]] inline AnglePair rightHalfAtan2Pair(Pair y, Pair x) {
    const paired::Constants& c = paired::constants;
    const Pair ay = absolute(y);
    const PairBits steep = ay > x * c.tanThreeEighthsPi;
    const PairBits aboveEighth = ay > x * c.tanEighthPi;
    const Pair numerator = select(steep, -x, select(aboveEighth, ay - x, ay));
    const Pair denominator = select(steep, ay, select(aboveEighth, ay + x, x));
    const Pair t = numerator / denominator;
    const Pair z = t * t;
    const Pair reduced = t + t * z * polynomial(c.arctangentTerms, z);
    const Pair hi = select(steep, c.halfPi, (Pair)(aboveEighth & (PairBits)c.quarterPi));
    const Pair lo = select(steep, c.halfPiRest, (Pair)(aboveEighth & (PairBits)c.quarterPiRest));
    const PairBits ySign = (PairBits)y & signBit;
    return {(Pair)((PairBits)hi ^ ySign), (Pair)((PairBits)(lo + reduced) ^ ySign)};
}

} // namespace geodetic_detail

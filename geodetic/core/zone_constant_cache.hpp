#pragma once
// The constants a projection derives from its zone, computed once for a run
// of points on the same zone rather than for every point.
//
// The cache is keyed by the values the constants come from, compared bit for
// bit, never by the address of a record: a caller may change a record
// between calls, or pass a copy each time. On a hit the stored constants are
// exactly those the computation would give again, so results do not change
// by a bit. One cache per thread, each remembering the last zone it saw;
// callers declare theirs thread_local with the initial-exec model, which the
// library, loaded with the program, allows: the cache is then reached
// without a call per point.

#include <array>
#include <cstring>

namespace geodetic_detail {

template <std::size_t N, typename Constants> class LastZoneCache {
public:
    using Inputs = std::array<double, N>;

    // The constants of `inputs`: those remembered when the inputs are the
    // same bits as last time, else `compute(inputs)`, remembered from now on.
    template <typename Compute>
    [[gnu::always_inline]] const Constants& get(const Inputs& inputs, Compute compute) {
        if (!filled_ || std::memcmp(inputs.data(), inputs_.data(), sizeof(Inputs)) != 0)
            remember(inputs, compute);
        return constants_;
    }

private:
    // Out of the line of the calls that find their zone: one per new zone.
    template <typename Compute> [[gnu::noinline, gnu::cold]] void remember(const Inputs& inputs,
                                                                           Compute compute) {
        constants_ = compute();
        inputs_ = inputs;
        filled_ = true;
    }

    Inputs inputs_{};
    Constants constants_{};
    bool filled_ = false;
};

} // namespace geodetic_detail

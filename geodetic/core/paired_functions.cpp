// The constants of the paired functions (paired_functions.hpp).

#include "paired_functions.hpp"

namespace geodetic_detail::paired {
namespace {

constexpr Pair both(double value) {
    return Pair{value, value};
}

template <std::size_t N> constexpr std::array<Pair, N> both(const std::array<double, N>& values) {
    std::array<Pair, N> pairs{};
    for (std::size_t i = 0; i < N; ++i)
        pairs[i] = both(values[i]);
    return pairs;
}

} // namespace

const Constants constants{
    both(0x1.921fb544p+0),
    both(0x1.0b4611a6p-34),
    both(0x1.3198a2e037073p-69),
    both(0.6366197723675814),
    both(0x1.8p52),
    both<6>({-0.16666666666666664624, 0.0083333333333309484855, -0.00019841269836758574323,
             2.7557316102552440119e-6, -2.5051131845003624417e-8, 1.5918129294866608667e-10}),
    both<6>({0.041666666666666665389, -0.0013888888888887397237, 0.000024801587298765687927,
             -2.7557317271729792882e-7, 2.0876146268403197893e-9, -1.1382632425521718005e-11}),
    both<11>({-0.3333333333333333016, 0.19999999999995520678, -0.14285714284666542922,
              0.11111111015256361727, -0.090909045781239018905, 0.076921831908260865637,
              -0.066645114473819480001, 0.058581489128022098816, -0.050854497379402598613,
              0.039231658295587191303, -0.019176887119062258989}),
    both(0.41421356237309503),
    both(2.414213562373095),
    both(1.0),
    both(0.5),
    both(0x1.921fb54442d18p-1),
    both(0x1.1a62633145c07p-55),
    both(0x1.921fb54442d18p+0),
    both(0x1.1a62633145c07p-54),
};

} // namespace geodetic_detail::paired

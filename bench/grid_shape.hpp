#pragma once
// The shape of the benchmarks' grid networks: points numbered row by row,
// `side` points to a row.

#include <cmath>
#include <vector>

namespace gridshape {

// Full rows only: the longest row of at most sqrt(count) points that
// divides the count.
inline int rowLength(int count) {
    int side = static_cast<int>(std::sqrt(static_cast<double>(count)));
    while (count % side != 0)
        --side;
    return side;
}

// The neighbours of point i of a grid of `count` points in rows of `side`,
// in the order west, north, east, south.
inline std::vector<int> gridNeighbours(int i, int side, int count) {
    std::vector<int> n;
    const int row = i / side, col = i % side;
    if (col > 0)
        n.push_back(i - 1);
    if (i + side < count)
        n.push_back(i + side);
    if (col + 1 < side && i + 1 < count)
        n.push_back(i + 1);
    if (row > 0)
        n.push_back(i - side);
    return n;
}

} // namespace gridshape

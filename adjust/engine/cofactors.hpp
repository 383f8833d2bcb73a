#pragma once
// Q = N^-1 of a converged adjustment without forming it: the elements of Q
// on the pattern of N's sparse Cholesky factor L (P N P^T = L L^T), found by
// the selected inversion of L (Takahashi's recurrence). That pattern holds
// every element the reports read: each point's own block, and the blocks of
// every two points that an observation joins. An element outside it costs
// two triangular solves with L for its column (kept for the next few calls).

#include <array>
#include <functional>
#include <vector>

// Column j of a lower-triangular factor: rows rowIndex[columnStart[j] ..
// columnStart[j + 1]), ascending, the diagonal first.
struct LowerFactor {
    int n = 0;
    std::vector<int> columnStart;
    std::vector<int> rowIndex;
    std::vector<double> value;
    // Row k of P N P^T is row permutation[k] of N.
    std::vector<int> permutation;
};

// Told the columns done and the total now and then; answers true to stop.
using StopAsked = std::function<bool(long long done, long long total)>;

class Cofactors {
public:
    // Q of no unknowns.
    Cofactors() = default;
    // The selected inverse of `factor`; `stopAsked` (may be empty) is asked
    // as the columns go. `stopped` tells whether it answered yes, and the
    // elements are then incomplete.
    Cofactors(LowerFactor factor, const StopAsked& stopAsked);

    bool stopped() const { return stopped_; }
    // The number of unknowns.
    int size() const { return factor_.n; }
    // Q_ij in the unknowns' own order.
    double at(int i, int j) const;
    // The size x size block of Q from (row, column): a point's 2 x 2
    // (easting, northing) or 3 x 3 block, or the cross block of two points.
    std::array<std::array<double, 3>, 3> block(int row, int column, int size) const;

private:
    void invert(const StopAsked& stopAsked);
    double onPattern(int place) const { return inverse_[static_cast<std::size_t>(place)]; }
    int placeOf(int permutedRow, int permutedColumn) const;
    double alongMerge(int from, int to, int k, double lkj, double* sums) const;
    const std::vector<double>& solvedColumn(int j) const;

    LowerFactor factor_;
    std::vector<int> position_; // position_[j]: the permuted index of unknown j
    std::vector<double> inverse_;
    bool stopped_ = false;

    struct SolvedColumn {
        int column;
        std::vector<double> values;
    };
    mutable std::vector<SolvedColumn> solved_;
};

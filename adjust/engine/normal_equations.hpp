#pragma once
// The normal equations N x = A^T W L of an adjustment, kept sparse: the
// upper triangle of N (with its diagonal) by columns, in compressed form.
// The pattern depends only on which unknowns each row touches, so it is laid
// out once per adjustment; each iteration refills the values.

#include "engine/cofactors.hpp"
#include "engine/linearised_network.hpp"

#include <vector>

// The upper triangle of a symmetric n x n matrix by columns: the rows of
// column j are rowIndex[columnStart[j] .. columnStart[j + 1]), ascending, the
// diagonal last; value[k] belongs to rowIndex[k].
struct UpperPattern {
    int n = 0;
    std::vector<int> columnStart;
    std::vector<int> rowIndex;

    // The place of element (i, j), i <= j, in the values; -1 when it is not
    // in the pattern.
    int find(int i, int j) const;
};

class NormalEquations {
public:
    // The pattern of A^T W A for `unknowns` unknowns and the design rows as
    // the network gives them (rows r and r + 1 or r + 2 coupled where the
    // weights couple them).
    NormalEquations(int unknowns, const std::vector<DesignRow>& design, const RowWeights& weights);

    // N = A^T W A and b = A^T W L at the rows' current values. The rows touch
    // the same unknowns as those the pattern was laid out from, in the same
    // order, with the same weights coupling them.
    void form(const std::vector<DesignRow>& design, const RowWeights& weights,
              const std::vector<double>& misclosures);

    const UpperPattern& pattern() const { return pattern_; }
    const std::vector<double>& values() const { return values_; }
    const std::vector<double>& rightHandSide() const { return rightHandSide_; }
    // The diagonal element N_jj.
    double diagonal(int j) const {
        return values_[static_cast<std::size_t>(pattern_.columnStart[j + 1] - 1)];
    }

private:
    void placeRowProduct(const DesignRow& a);
    void placeCoupledProduct(const DesignRow& a, const DesignRow& b);
    void addRowProduct(const DesignRow& a, double weight, const int*& slot);
    void addCoupledProduct(const DesignRow& a, const DesignRow& b, double weight, const int*& slot);

    UpperPattern pattern_;
    // The place in the values of each product that form() adds, in the order
    // it adds them: found once, so an iteration adds without searching.
    std::vector<int> slots_;
    std::vector<double> values_;
    std::vector<double> rightHandSide_;
};

// a Q a^T for a design row a: the variance factor of the adjusted
// observation. The row's columns are joined in N, so the elements lie on
// the pattern of the selected inverse.
double quadraticForm(const DesignRow& a, const Cofactors& Q);

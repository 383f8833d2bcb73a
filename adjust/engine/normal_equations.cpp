#include "engine/normal_equations.hpp"

#include <algorithm>

namespace {

// Gathers the (row, column) pairs of the upper triangle that some
// observation couples, every diagonal among them, in one array, and sorts
// them into columns at the end: a growing array per column cost several
// allocations for each unknown of a large network.
class PatternBuilder {
public:
    explicit PatternBuilder(int n) : n_(n) {
        pairs_.reserve(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j)
            pairs_.push_back({j, j});
    }

    void couple(const DesignRow& a, const DesignRow& b) {
        for (int p = 0; p < a.count; ++p)
            for (int q = 0; q < b.count; ++q)
                pairs_.push_back(
                    {std::min(a.column[p], b.column[q]), std::max(a.column[p], b.column[q])});
    }

    UpperPattern finish() {
        std::vector<int> rows = rowsByColumn();
        UpperPattern pattern;
        pattern.n = n_;
        pattern.columnStart.reserve(static_cast<std::size_t>(n_) + 1);
        pattern.columnStart.push_back(0);
        for (int j = 0; j < n_; ++j) {
            const auto first = rows.begin() + columnFirst_[static_cast<std::size_t>(j)];
            const auto last = rows.begin() + columnFirst_[static_cast<std::size_t>(j) + 1];
            std::sort(first, last);
            pattern.rowIndex.insert(pattern.rowIndex.end(), first, std::unique(first, last));
            pattern.columnStart.push_back(static_cast<int>(pattern.rowIndex.size()));
        }
        return pattern;
    }

private:
    struct pair {
        int row;
        int column;
    };

    // The rows of the pairs, column by column (a counting sort); the pairs
    // are given back.
    std::vector<int> rowsByColumn() {
        columnFirst_.assign(static_cast<std::size_t>(n_) + 1, 0);
        for (const pair& p : pairs_)
            ++columnFirst_[static_cast<std::size_t>(p.column) + 1];
        for (std::size_t j = 0; j < static_cast<std::size_t>(n_); ++j)
            columnFirst_[j + 1] += columnFirst_[j];
        std::vector<int> next(columnFirst_.begin(), columnFirst_.end() - 1);
        std::vector<int> rows(pairs_.size());
        for (const pair& p : pairs_)
            rows[static_cast<std::size_t>(next[static_cast<std::size_t>(p.column)]++)] = p.row;
        std::vector<pair>().swap(pairs_);
        return rows;
    }

    int n_;
    std::vector<pair> pairs_;
    std::vector<int> columnFirst_;
};

} // namespace

int UpperPattern::find(int i, int j) const {
    const auto first = rowIndex.begin() + columnStart[j];
    const auto last = rowIndex.begin() + columnStart[j + 1];
    const auto at = std::lower_bound(first, last, i);
    return at != last && *at == i ? static_cast<int>(at - rowIndex.begin()) : -1;
}

NormalEquations::NormalEquations(int unknowns, const std::vector<DesignRow>& design,
                                 const RowWeights& weights) {
    PatternBuilder builder(unknowns);
    for (std::size_t r = 0; r < design.size(); ++r) {
        builder.couple(design[r], design[r]);
        if (weights.pairWeight[r] != 0.0)
            builder.couple(design[r], design[r + 1]);
        if (weights.skipWeight[r] != 0.0)
            builder.couple(design[r], design[r + 2]);
    }
    pattern_ = builder.finish();
    for (std::size_t r = 0; r < design.size(); ++r) {
        placeRowProduct(design[r]);
        if (weights.pairWeight[r] != 0.0)
            placeCoupledProduct(design[r], design[r + 1]);
        if (weights.skipWeight[r] != 0.0)
            placeCoupledProduct(design[r], design[r + 2]);
    }
    values_.assign(pattern_.rowIndex.size(), 0.0);
    rightHandSide_.assign(static_cast<std::size_t>(unknowns), 0.0);
}

void NormalEquations::placeRowProduct(const DesignRow& a) {
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < a.count; ++q)
            if (a.column[p] <= a.column[q])
                slots_.push_back(pattern_.find(a.column[p], a.column[q]));
}

void NormalEquations::placeCoupledProduct(const DesignRow& a, const DesignRow& b) {
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < b.count; ++q)
            slots_.push_back(pattern_.find(std::min(a.column[p], b.column[q]),
                                           std::max(a.column[p], b.column[q])));
}

// w a^T a: every pair of the row's entries whose columns are in order, so a
// column named twice in one row still counts each product once per order.
void NormalEquations::addRowProduct(const DesignRow& a, double weight, const int*& slot) {
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < a.count; ++q)
            if (a.column[p] <= a.column[q])
                values_[static_cast<std::size_t>(*slot++)] += weight * a.value[p] * a.value[q];
}

// w (a^T b + b^T a): each product lands once in the upper triangle, twice on
// the diagonal.
void NormalEquations::addCoupledProduct(const DesignRow& a, const DesignRow& b, double weight,
                                        const int*& slot) {
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < b.count; ++q) {
            const double product = weight * a.value[p] * b.value[q];
            values_[static_cast<std::size_t>(*slot++)] +=
                a.column[p] == b.column[q] ? 2.0 * product : product;
        }
}

void NormalEquations::form(const std::vector<DesignRow>& design, const RowWeights& weights,
                           const std::vector<double>& misclosures) {
    std::fill(values_.begin(), values_.end(), 0.0);
    std::fill(rightHandSide_.begin(), rightHandSide_.end(), 0.0);
    const std::vector<double> wL = weighted(weights, misclosures);
    const int* slot = slots_.data();
    for (std::size_t r = 0; r < design.size(); ++r) {
        const DesignRow& a = design[r];
        addRowProduct(a, weights.diagonal[r], slot);
        if (weights.pairWeight[r] != 0.0)
            addCoupledProduct(a, design[r + 1], weights.pairWeight[r], slot);
        if (weights.skipWeight[r] != 0.0)
            addCoupledProduct(a, design[r + 2], weights.skipWeight[r], slot);
        for (int p = 0; p < a.count; ++p)
            rightHandSide_[static_cast<std::size_t>(a.column[p])] += a.value[p] * wL[r];
    }
}

double quadraticForm(const DesignRow& a, const Cofactors& Q) {
    double sum = 0.0;
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < a.count; ++q)
            sum += a.value[p] * a.value[q] * Q.at(a.column[p], a.column[q]);
    return sum;
}

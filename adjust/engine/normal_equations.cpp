#include "engine/normal_equations.hpp"

#include <algorithm>

namespace {

// Gathers, for each column, the rows of the upper triangle that some
// observation couples it with; every column holds its diagonal.
class PatternBuilder {
public:
    explicit PatternBuilder(int n) : rowsOf_(static_cast<std::size_t>(n)) {
        for (int j = 0; j < n; ++j)
            rowsOf_[static_cast<std::size_t>(j)].push_back(j);
    }

    void couple(const DesignRow& a, const DesignRow& b) {
        for (int p = 0; p < a.count; ++p)
            for (int q = 0; q < b.count; ++q) {
                const int i = std::min(a.column[p], b.column[q]);
                const int j = std::max(a.column[p], b.column[q]);
                rowsOf_[static_cast<std::size_t>(j)].push_back(i);
            }
    }

    UpperPattern finish() {
        UpperPattern pattern;
        pattern.n = static_cast<int>(rowsOf_.size());
        pattern.columnStart.reserve(rowsOf_.size() + 1);
        pattern.columnStart.push_back(0);
        for (std::vector<int>& rows : rowsOf_) {
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            pattern.rowIndex.insert(pattern.rowIndex.end(), rows.begin(), rows.end());
            pattern.columnStart.push_back(static_cast<int>(pattern.rowIndex.size()));
            std::vector<int>().swap(rows);
        }
        return pattern;
    }

private:
    std::vector<std::vector<int>> rowsOf_;
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

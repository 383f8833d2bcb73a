#include "engine/cofactors.hpp"

#include <algorithm>

namespace {

// Solved columns kept for the next calls: enough for the cross block of two
// points of three unknowns each.
constexpr std::size_t keptColumns = 6;
// Columns inverted between two questions to `stopAsked`.
constexpr int columnsPerQuestion = 64;

} // namespace

Cofactors::Cofactors(LowerFactor factor, const StopAsked& stopAsked)
    : factor_(std::move(factor)), position_(static_cast<std::size_t>(factor_.n)) {
    for (int k = 0; k < factor_.n; ++k)
        position_[static_cast<std::size_t>(factor_.permutation[static_cast<std::size_t>(k)])] = k;
    invert(stopAsked);
}

// Z = (L L^T)^-1 on the pattern of L, from the last column back:
//   Z_ij = -(1 / L_jj) sum_k L_kj Z_ik       (i > j, i and k in the pattern of column j)
//   Z_jj = (1 / L_jj) (1 / L_jj - sum_k L_kj Z_kj)
// Every Z_ik the sums read lies in column min(i, k) of the pattern, already
// done, because the rows of column j below k are rows of column k; column k
// is walked along with them (alongMerge) rather than looked up per element.
void Cofactors::invert(const StopAsked& stopAsked) {
    const std::vector<int>& start = factor_.columnStart;
    const std::vector<int>& row = factor_.rowIndex;
    const std::vector<double>& l = factor_.value;
    const int n = factor_.n;
    inverse_.assign(l.size(), 0.0);
    std::vector<double> sum;
    for (int j = n - 1; j >= 0; --j) {
        if (stopAsked && j % columnsPerQuestion == 0 && stopAsked(n - j, n)) {
            stopped_ = true;
            return;
        }
        const int first = start[j] + 1, end = start[j + 1];
        const int m = end - first;
        sum.assign(static_cast<std::size_t>(m), 0.0);
        for (int b = 0; b < m; ++b) {
            const int k = row[first + b];
            const double lkj = l[first + b];
            sum[b] += lkj * inverse_[start[k]];
            // Column k holding just the rows of column j below k (columns of
            // one supernode) lines up with them: no look-up is needed.
            if (start[k + 1] - start[k] == m - b) {
                const double* z = &inverse_[start[k] + 1];
                const double* la = &l[first + b + 1];
                double* sa = &sum[b + 1];
                double toB = 0.0;
                for (int t = 0; t < m - b - 1; ++t) {
                    sa[t] += lkj * z[t];
                    toB += la[t] * z[t];
                }
                sum[b] += toB;
                continue;
            }
            sum[b] += alongMerge(first + b + 1, end, k, lkj, sum.data() + b + 1);
        }
        const double ljj = l[start[j]];
        double along = 0.0;
        for (int a = 0; a < m; ++a) {
            const double z = -sum[a] / ljj;
            inverse_[first + a] = z;
            along += l[first + a] * z;
        }
        inverse_[start[j]] = (1.0 / ljj - along) / ljj;
    }
}

// Column k against the rows [from, to) of a column j whose row k has the
// factor value lkj: adds lkj Z(s, k) to sums[s] for each of those rows s and
// returns the sum of L(s, j) Z(s, k). The rows are all in column k, which
// may hold many more, so it is searched with growing steps.
double Cofactors::alongMerge(int from, int to, int k, double lkj, double* sums) const {
    const std::vector<int>& row = factor_.rowIndex;
    const int* rows = row.data();
    const int* at = rows + factor_.columnStart[k] + 1;
    const int* end = rows + factor_.columnStart[k + 1];
    const double* z = inverse_.data();
    const double* l = factor_.value.data();
    double toK = 0.0;
    for (int t = from; t < to; ++t) {
        const int target = row[t];
        if (at != end && *at != target)
            at = std::lower_bound(at, end, target);
        if (at == end || *at != target)
            continue;
        const double zsk = z[at - rows];
        sums[t - from] += lkj * zsk;
        toK += l[t] * zsk;
        ++at;
    }
    return toK;
}

int Cofactors::placeOf(int permutedRow, int permutedColumn) const {
    const auto first = factor_.rowIndex.begin() + factor_.columnStart[permutedColumn];
    const auto last = factor_.rowIndex.begin() + factor_.columnStart[permutedColumn + 1];
    const auto at = std::lower_bound(first, last, permutedRow);
    return at != last && *at == permutedRow ? static_cast<int>(at - factor_.rowIndex.begin()) : -1;
}

// Q e_j in the permuted order: L y = P e_j, then L^T z = y.
const std::vector<double>& Cofactors::solvedColumn(int j) const {
    for (const SolvedColumn& kept : solved_)
        if (kept.column == j)
            return kept.values;
    const std::vector<int>& start = factor_.columnStart;
    const std::vector<int>& row = factor_.rowIndex;
    const std::vector<double>& l = factor_.value;
    const int n = factor_.n;
    std::vector<double> x(static_cast<std::size_t>(n), 0.0);
    const int p = position_[static_cast<std::size_t>(j)];
    x[static_cast<std::size_t>(p)] = 1.0;
    for (int c = p; c < n; ++c) {
        if (x[c] == 0.0)
            continue;
        x[c] /= l[start[c]];
        for (int t = start[c] + 1; t < start[c + 1]; ++t)
            x[row[t]] -= l[t] * x[c];
    }
    for (int c = n - 1; c >= 0; --c) {
        double s = x[c];
        for (int t = start[c] + 1; t < start[c + 1]; ++t)
            s -= l[t] * x[row[t]];
        x[c] = s / l[start[c]];
    }
    if (solved_.size() == keptColumns)
        solved_.erase(solved_.begin());
    solved_.push_back({j, std::move(x)});
    return solved_.back().values;
}

double Cofactors::at(int i, int j) const {
    const int pi = position_[static_cast<std::size_t>(i)];
    const int pj = position_[static_cast<std::size_t>(j)];
    const int place = placeOf(std::max(pi, pj), std::min(pi, pj));
    if (place >= 0)
        return onPattern(place);
    return solvedColumn(j)[static_cast<std::size_t>(pi)];
}

std::array<std::array<double, 3>, 3> Cofactors::block(int row, int column, int size) const {
    std::array<std::array<double, 3>, 3> q{};
    for (int a = 0; a < size; ++a)
        for (int b = 0; b < size; ++b)
            q[a][b] = at(row + a, column + b);
    return q;
}

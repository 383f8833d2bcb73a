#include "engine/sparse_cholesky.hpp"

#include <cblas.h>
#include <cholmod.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <numeric>
#include <stdexcept>

struct SparseCholesky::Cholmod {
    cholmod_common common;
    cholmod_factor* factor = nullptr;

    Cholmod() {
        cholmod_start(&common);
        // Statuses are read from `common`; nothing is printed.
        common.print = 0;
        // A simplicial factor ends as L L^T, like a supernodal one.
        common.final_ll = 1;
    }
    ~Cholmod() {
        if (factor != nullptr)
            cholmod_free_factor(&factor, &common);
        cholmod_finish(&common);
    }

    // Out of memory becomes the standard library's failure; any other error
    // is a fault of this code, never of the user's data.
    void check() const {
        if (common.status == CHOLMOD_OUT_OF_MEMORY)
            throw std::bad_alloc();
        if (common.status < CHOLMOD_OK)
            throw std::logic_error("sparse Cholesky: invalid call");
    }
};

namespace {

// The supernodal factor runs OpenMP teams over the columns and hands the
// BLAS dense blocks of a few hundred rows at most: threads cost more there
// than they give, and on a busy machine many times more (a 4,900-point
// network took 20 s instead of 0.3 s on a loaded one). So the factor and
// the BLAS work on the calling thread: no OpenMP team becomes active here.
void factorOnCallingThread() {
    static std::once_flag once;
    std::call_once(once, [] { openblas_set_num_threads(1); });
    omp_set_max_active_levels(0);
}

// The leading `columns` x `columns` block of the symmetric matrix whose upper
// triangle `pattern` holds; the values stay the caller's. A pattern-only view
// when `values` is null.
cholmod_sparse upperView(const UpperPattern& pattern, const double* values, int columns) {
    cholmod_sparse view{};
    view.nrow = view.ncol = static_cast<std::size_t>(columns);
    view.nzmax = static_cast<std::size_t>(pattern.columnStart[columns]);
    view.p = const_cast<int*>(pattern.columnStart.data());
    view.i = const_cast<int*>(pattern.rowIndex.data());
    view.x = const_cast<double*>(values);
    view.stype = 1;
    view.itype = CHOLMOD_INT;
    view.xtype = values != nullptr ? CHOLMOD_REAL : CHOLMOD_PATTERN;
    view.dtype = CHOLMOD_DOUBLE;
    view.sorted = 1;
    view.packed = 1;
    return view;
}

// L_kk of a supernodal or simplicial L L^T factor.
std::vector<double> factorDiagonal(const cholmod_factor& f) {
    std::vector<double> d(f.n);
    const double* x = static_cast<const double*>(f.x);
    if (f.is_super == 0) {
        const int* p = static_cast<const int*>(f.p);
        for (std::size_t k = 0; k < f.n; ++k)
            d[k] = x[p[k]];
        return d;
    }
    const int* super = static_cast<const int*>(f.super);
    const int* pi = static_cast<const int*>(f.pi);
    const int* px = static_cast<const int*>(f.px);
    for (std::size_t s = 0; s < f.nsuper; ++s) {
        const int rows = pi[s + 1] - pi[s];
        for (int k = super[s]; k < super[s + 1]; ++k) {
            const int local = k - super[s];
            d[static_cast<std::size_t>(k)] = x[px[s] + local * rows + local];
        }
    }
    return d;
}

// Whether the factor just computed has a dependent unknown.
bool hasDependentUnknown(const cholmod_factor& f, const cholmod_common& common,
                         const UpperPattern& pattern, const std::vector<double>& values,
                         double share) {
    if (common.status == CHOLMOD_NOT_POSDEF || f.minor < f.n)
        return true;
    const std::vector<double> pivots = factorDiagonal(f);
    const int* perm = static_cast<const int*>(f.Perm);
    for (std::size_t k = 0; k < f.n; ++k) {
        const int j = perm[k];
        const double diagonal = values[static_cast<std::size_t>(pattern.columnStart[j + 1] - 1)];
        if (!std::isfinite(pivots[k]) || pivots[k] * pivots[k] <= share * diagonal)
            return true;
    }
    return false;
}

// The rows of each column of a simplicial factor in ascending order, its
// diagonal first.
void sortColumns(LowerFactor& l) {
    for (int j = 0; j < l.n; ++j) {
        const auto first = l.rowIndex.begin() + l.columnStart[j];
        const auto last = l.rowIndex.begin() + l.columnStart[j + 1];
        if (std::is_sorted(first, last))
            continue;
        std::vector<int> order(static_cast<std::size_t>(last - first));
        std::iota(order.begin(), order.end(), l.columnStart[j]);
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return l.rowIndex[a] < l.rowIndex[b]; });
        std::vector<int> rows;
        std::vector<double> values;
        for (const int t : order) {
            rows.push_back(l.rowIndex[t]);
            values.push_back(l.value[t]);
        }
        std::copy(rows.begin(), rows.end(), first);
        std::copy(values.begin(), values.end(), l.value.begin() + l.columnStart[j]);
    }
}

// A simplicial factor's columns, values and order.
LowerFactor copyOf(const cholmod_factor& f) {
    LowerFactor l;
    l.n = static_cast<int>(f.n);
    const int* p = static_cast<const int*>(f.p);
    const int* i = static_cast<const int*>(f.i);
    const double* x = static_cast<const double*>(f.x);
    const int* perm = static_cast<const int*>(f.Perm);
    l.columnStart.assign(p, p + l.n + 1);
    l.rowIndex.assign(i, i + p[l.n]);
    l.value.assign(x, x + p[l.n]);
    l.permutation.assign(perm, perm + l.n);
    return l;
}

} // namespace

SparseCholesky::SparseCholesky(const UpperPattern& pattern, double dependentShare)
    : cholmod_(std::make_unique<Cholmod>()), pattern_(pattern), dependentShare_(dependentShare) {
    cholmod_sparse view = upperView(pattern_, nullptr, pattern_.n);
    cholmod_->factor = cholmod_analyze(&view, &cholmod_->common);
    cholmod_->check();
}

SparseCholesky::~SparseCholesky() = default;

bool SparseCholesky::factor(const std::vector<double>& values) {
    factorOnCallingThread();
    cholmod_sparse view = upperView(pattern_, values.data(), pattern_.n);
    cholmod_factorize(&view, cholmod_->factor, &cholmod_->common);
    cholmod_->check();
    return !hasDependentUnknown(*cholmod_->factor, cholmod_->common, pattern_, values,
                                dependentShare_);
}

std::vector<double> SparseCholesky::solve(const std::vector<double>& b) {
    cholmod_dense rhs{};
    rhs.nrow = rhs.d = rhs.nzmax = b.size();
    rhs.ncol = 1;
    rhs.x = const_cast<double*>(b.data());
    rhs.xtype = CHOLMOD_REAL;
    rhs.dtype = CHOLMOD_DOUBLE;
    cholmod_dense* x = cholmod_solve(CHOLMOD_A, cholmod_->factor, &rhs, &cholmod_->common);
    cholmod_->check();
    const double* values = static_cast<const double*>(x->x);
    std::vector<double> solution(values, values + b.size());
    cholmod_free_dense(&x, &cholmod_->common);
    return solution;
}

// The leading blocks of a positive semi-definite N only gain dependent
// unknowns as they grow, so the first block with one is found by halving;
// its last unknown is the one an elimination in the unknowns' order stops at.
int SparseCholesky::firstDependentUnknown(const std::vector<double>& values) {
    cholmod_common& common = cholmod_->common;
    factorOnCallingThread();
    const auto dependentWithin = [&](int columns) {
        cholmod_sparse view = upperView(pattern_, values.data(), columns);
        cholmod_factor* f = cholmod_analyze(&view, &common);
        cholmod_->check();
        cholmod_factorize(&view, f, &common);
        cholmod_->check();
        const bool dependent = hasDependentUnknown(*f, common, pattern_, values, dependentShare_);
        cholmod_free_factor(&f, &common);
        return dependent;
    };
    int low = 1, high = pattern_.n;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (dependentWithin(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low - 1;
}

// The factor turns simplicial (one column at a time, in ascending rows) for
// the recurrence, and moves out of CHOLMOD's storage.
std::unique_ptr<Cofactors> SparseCholesky::cofactors(const StopAsked& stopAsked) {
    cholmod_factor* f = cholmod_->factor;
    cholmod_change_factor(CHOLMOD_REAL, 1, 0, 1, 1, f, &cholmod_->common);
    cholmod_->check();
    LowerFactor l = copyOf(*f);
    cholmod_free_factor(&cholmod_->factor, &cholmod_->common);
    sortColumns(l);
    return std::make_unique<Cofactors>(std::move(l), stopAsked);
}

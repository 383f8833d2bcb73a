#pragma once
// The Cholesky factor of a sparse symmetric positive-definite N, through
// CHOLMOD: the pattern is ordered to keep the fill small (P N P^T = L L^T)
// and analysed once; each iteration refactors the new values on it.
//
// An unknown is taken as dependent when its pivot's square falls below
// `dependentShare` of its diagonal element of N, or the pivot is not
// positive: a datum defect or a point that the observations do not fix.

#include "engine/cofactors.hpp"
#include "engine/normal_equations.hpp"

#include <memory>
#include <vector>

class SparseCholesky {
public:
    SparseCholesky(const UpperPattern& pattern, double dependentShare);
    ~SparseCholesky();
    SparseCholesky(const SparseCholesky&) = delete;
    SparseCholesky& operator=(const SparseCholesky&) = delete;

    // Factors N, given by its values on the pattern. False when an unknown
    // is dependent.
    bool factor(const std::vector<double>& values);
    // x with N x = b, N the last matrix factored without a dependent unknown.
    std::vector<double> solve(const std::vector<double>& b);
    // The first unknown, in the unknowns' own order, that depends on those
    // before it: the one where an elimination in that order breaks down.
    // For an N that `factor` found to have a dependent unknown.
    int firstDependentUnknown(const std::vector<double>& values);
    // The selected inverse of the last factor (see Cofactors). The factor
    // moves into it: nothing may be factored or solved afterwards.
    std::unique_ptr<Cofactors> cofactors(const StopAsked& stopAsked);

private:
    struct Cholmod;
    std::unique_ptr<Cholmod> cholmod_;
    const UpperPattern& pattern_;
    double dependentShare_;
};

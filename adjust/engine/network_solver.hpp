#pragma once
// Gauss-Newton iterations of a least-squares adjustment (2D or 3D network)
// and the statistics of a converged solution, without any report: the entry
// points of the adjustments (run/horizontal_adjustment.hpp,
// run/adjustment_3d.hpp) run these and write the listings.
//
// Each iteration linearises the network at its current positions (design
// rows A, misclosures L), forms N = A^T W A and A^T W L sparse, factors N by
// a sparse Cholesky (ordered and analysed once, on the first iteration),
// solves N x = A^T W L and moves the positions by x, in the network and in
// its program-wide list.

#include "engine/cofactors.hpp"
#include "engine/linearised_network.hpp"
#include "engine/normal_equations.hpp"
#include "engine/sparse_cholesky.hpp"

#include <memory>
#include <string>
#include <vector>

enum class SolveStatus { converged, notConverged, cancelled, overflow, singular };

// A pivot of the Cholesky factor whose square falls below this share of its
// diagonal element of N is taken as a dependent unknown: a datum defect (too
// little control) or a point that the observations do not fix.
inline constexpr double dependentPivotShare = 1e-10;

class NetworkSolver {
public:
    NetworkSolver(LinearisedNetwork& network, const RowWeights& weights);
    ~NetworkSolver();

    // Iterates from the network's current coordinates until every correction
    // is at most `convergeLimit` (converged, also on the last allowed
    // iteration), `maxIterations` iterations are used up (notConverged; at
    // least one iteration runs), a correction is not finite (overflow, the
    // corrections applied), N has a dependent unknown (singular, nothing
    // applied) or, with a `progress` shell, the user cancels. With a shell
    // every iteration sets its message "Iteration: %2d" and posts the
    // progress of the design rows, and the shell is pumped and asked for a
    // cancel between the steps of an iteration; null runs silently.
    SolveStatus iterate(int maxIterations, double convergeLimit, ShellServices* progress);

    int iterations() const { return iterations_; }
    // The dependent unknown of a singular N in words: "the easting of
    // point C".
    std::string dependentUnknown() const;

    // Results of the converged solution; call once, after `converged`. With
    // a `progress` shell each long step posts its progress and asks for a
    // cancel; a cancelled call says so in `cancelled` and its other results
    // are incomplete.
    struct Statistics {
        std::unique_ptr<Cofactors> cofactors;  // Q = N^-1, u x u, on the factor's pattern
        std::vector<double> residuals;         // v = A x - L, in the rows' units
        double referenceVariance = 0.0;        // s0^2 = v^T W v / (k - u)
        std::vector<double> unknownSigmas;     // sqrt(Q_jj) s0
        std::vector<double> observationSigmas; // s0 sqrt((A Q A^T)_rr)
        bool cancelled = false;
        // Every value above is a finite number: weights beyond the range of
        // doubles leave infinities or NaN, which no listing may show.
        bool finite = true;
    };
    Statistics statistics(ShellServices* progress = nullptr);

private:
    static bool stepDone(ShellServices* progress);
    bool observationSigmas(Statistics& s, ShellServices* progress) const;

    LinearisedNetwork& network_;
    const RowWeights& weights_;
    int u_;
    std::vector<DesignRow> design_;
    std::vector<double> misclosures_;
    std::vector<double> corrections_;
    std::unique_ptr<NormalEquations> normal_;
    std::unique_ptr<SparseCholesky> factor_;
    int iterations_ = 0;
    int dependentColumn_ = -1;
};

#include "engine/network_solver.hpp"

#include "engine/step_progress.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Rows between two questions to the progress of a step.
constexpr std::size_t rowsPerQuestion = 1024;

} // namespace

NetworkSolver::NetworkSolver(LinearisedNetwork& network, const RowWeights& weights)
    : network_(network), weights_(weights), u_(network.unknowns()) {}

NetworkSolver::~NetworkSolver() = default;

bool NetworkSolver::stepDone(ShellServices* progress) {
    if (progress == nullptr)
        return true;
    progress->pump();
    return !progress->cancelled();
}

SolveStatus NetworkSolver::iterate(int maxIterations, double convergeLimit,
                                   ShellServices* progress) {
    const int budget = std::max(1, maxIterations);
    for (;;) {
        if (progress != nullptr)
            progress->setMessage(platform::formatC("Iteration: %2d", iterations_ + 1));
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        design_ = network_.design(progress);
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        misclosures_ = network_.misclosures();
        if (!normal_) {
            normal_ = std::make_unique<NormalEquations>(u_, design_, weights_);
            factor_ = std::make_unique<SparseCholesky>(normal_->pattern(), dependentPivotShare);
        }
        normal_->form(design_, weights_, misclosures_);
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        if (!factor_->factor(normal_->values())) {
            dependentColumn_ = factor_->firstDependentUnknown(normal_->values());
            return SolveStatus::singular;
        }
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        corrections_ = factor_->solve(normal_->rightHandSide());
        network_.applyCorrections(corrections_);
        ++iterations_;
        if (!std::all_of(corrections_.begin(), corrections_.end(),
                         [](double x) { return std::isfinite(x); }))
            return SolveStatus::overflow;
        // Convergence counts on every iteration of the budget, the last one too.
        if (std::all_of(corrections_.begin(), corrections_.end(),
                        [&](double x) { return std::fabs(x) <= convergeLimit; }))
            return SolveStatus::converged;
        if (iterations_ >= budget)
            return SolveStatus::notConverged;
        if (!stepDone(progress))
            return SolveStatus::cancelled;
    }
}

std::string NetworkSolver::dependentUnknown() const {
    return dependentColumn_ < 0 ? std::string() : network_.unknownName(dependentColumn_);
}

bool NetworkSolver::observationSigmas(Statistics& s, ShellServices* shell) const {
    StepProgress progress(shell);
    const double s0 = std::sqrt(s.referenceVariance);
    const std::size_t k = design_.size();
    s.observationSigmas.resize(k);
    for (std::size_t r = 0; r < k; ++r) {
        if (r % rowsPerQuestion == 0 &&
            progress.stopAsked(static_cast<long long>(r), static_cast<long long>(k)))
            return false;
        s.observationSigmas[r] =
            s0 * std::sqrt(std::max(0.0, quadraticForm(design_[r], *s.cofactors)));
    }
    return true;
}

namespace {

bool allFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

NetworkSolver::Statistics NetworkSolver::statistics(ShellServices* progress) {
    Statistics s;
    StepProgress inversion(progress);
    s.cofactors = factor_->cofactors(
        [&](long long done, long long total) { return inversion.stopAsked(done, total); });
    if (s.cofactors->stopped()) {
        s.cancelled = true;
        return s;
    }

    const std::size_t k = design_.size();
    s.residuals.resize(k);
    for (std::size_t r = 0; r < k; ++r)
        s.residuals[r] = rowTimes(design_[r], corrections_) - misclosures_[r];
    const std::vector<double> wv = weighted(weights_, s.residuals);
    double vtWv = 0.0;
    for (std::size_t r = 0; r < k; ++r)
        vtWv += s.residuals[r] * wv[r];
    const int dof = static_cast<int>(k) - u_;
    s.referenceVariance = dof > 0 ? vtWv / dof : 0.0;
    const double s0 = std::sqrt(s.referenceVariance);

    s.unknownSigmas.resize(static_cast<std::size_t>(u_));
    for (int j = 0; j < u_; ++j)
        s.unknownSigmas[static_cast<std::size_t>(j)] = std::sqrt(s.cofactors->at(j, j)) * s0;
    s.cancelled = !observationSigmas(s, progress);
    s.finite = allFinite(s.residuals) && std::isfinite(s.referenceVariance) &&
               allFinite(s.unknownSigmas) && allFinite(s.observationSigmas);
    return s;
}

#include "engine/horizontal_solver.hpp"

#include "engine/statistical_distributions.hpp"
#include "model/angle_math.hpp"
#include "model/point_name.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Adds w a^T b to the upper triangle (with the diagonal) of the full n x n
// matrix held in `upper`.
void addOuterProduct(double* upper, int n, const DesignRow& a, const DesignRow& b, double w) {
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < b.count; ++q)
            if (a.column[p] <= b.column[q])
                upper[a.column[p] * n + b.column[q]] += w * a.value[p] * b.value[q];
}

double rowTimes(const DesignRow& a, const std::vector<double>& x) {
    double sum = 0.0;
    for (int p = 0; p < a.count; ++p)
        sum += a.value[p] * x[static_cast<std::size_t>(a.column[p])];
    return sum;
}

// a Q b^T for two design rows and the full symmetric Q.
double quadraticForm(const DesignRow& a, const DesignRow& b, Matrix& Q) {
    const int n = Q.cols;
    double sum = 0.0;
    for (int p = 0; p < a.count; ++p)
        for (int q = 0; q < b.count; ++q)
            sum += a.value[p] * b.value[q] * Q.data[a.column[p] * n + b.column[q]];
    return sum;
}

// (W y)_r of the block-diagonal W.
std::vector<double> weighted(const RowWeights& w, const std::vector<double>& y) {
    std::vector<double> wy(y.size());
    for (std::size_t r = 0; r < y.size(); ++r)
        wy[r] = w.diagonal[r] * y[r];
    for (std::size_t r = 0; r + 1 < y.size(); ++r) {
        wy[r] += w.pairWeight[r] * y[r + 1];
        wy[r + 1] += w.pairWeight[r] * y[r];
    }
    return wy;
}

} // namespace

HorizontalSolver::HorizontalSolver(HorizontalNetwork& network, const RowWeights& weights)
    : network_(network), weights_(weights), u_(network.unknowns()) {}

bool HorizontalSolver::stepDone(ShellServices* progress) {
    if (progress == nullptr)
        return true;
    progress->pump();
    return !progress->cancelled();
}

void HorizontalSolver::formNormalEquations() {
    const int n = u_;
    normal_ = std::make_unique<Matrix>(n, n);
    rightHandSide_ = std::make_unique<Matrix>(n, 1);
    double* N = normal_->data;
    double* b = rightHandSide_->data;
    const std::vector<double> wL = weighted(weights_, misclosures_);
    for (std::size_t r = 0; r < design_.size(); ++r) {
        const DesignRow& a = design_[r];
        addOuterProduct(N, n, a, a, weights_.diagonal[r]);
        if (weights_.pairWeight[r] != 0.0) {
            addOuterProduct(N, n, a, design_[r + 1], weights_.pairWeight[r]);
            addOuterProduct(N, n, design_[r + 1], a, weights_.pairWeight[r]);
        }
        for (int p = 0; p < a.count; ++p)
            b[a.column[p]] += a.value[p] * wL[r];
    }
}

// The first column whose pivot is not positive, or so small against its
// diagonal element that the unknown depends on those before it; -1 when none.
int HorizontalSolver::dependentColumn() {
    factorDiagonal_ = std::make_unique<Matrix>(u_, 1);
    const int status = normal_->NRCholesky(factorDiagonal_.get());
    for (int j = 0; j < u_; ++j) {
        const double pivot = factorDiagonal_->data[j];
        const double diagonal = normal_->data[j * u_ + j];
        if (!std::isfinite(pivot) || pivot * pivot <= dependentPivotShare * diagonal)
            return j;
    }
    return status == matrixOk ? -1 : u_ - 1;
}

SolveStatus HorizontalSolver::iterate(int maxIterations, double convergeLimit,
                                      ShellServices* progress) {
    const int budget = std::max(1, maxIterations);
    for (;;) {
        if (progress != nullptr)
            progress->setMessage(platform::formatC("Iteration: %2d", iterations_ + 1));
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        design_ = buildDesign2D(network_, progress);
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        misclosures_ = buildMisclosures2D(network_);
        formNormalEquations();
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        dependentColumn_ = dependentColumn();
        if (dependentColumn_ >= 0)
            return SolveStatus::singular;
        if (!stepDone(progress))
            return SolveStatus::cancelled;
        rightHandSide_->solve(normal_.get(), factorDiagonal_.get());
        corrections_.assign(rightHandSide_->data, rightHandSide_->data + u_);
        applyCorrections2D(network_, corrections_);
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

std::string HorizontalSolver::dependentUnknown() const {
    if (dependentColumn_ < 0)
        return {};
    const int pair = dependentColumn_ / 2;
    const NetworkPoint& p =
        network_
            .points[static_cast<std::size_t>(network_.adjustable[static_cast<std::size_t>(pair)])];
    return std::string(dependentColumn_ % 2 == 0 ? "the easting" : "the northing") + " of point " +
           p.name;
}

MatrixRowCheck HorizontalSolver::rowCheck(ShellServices* progress, int fromPercent,
                                          int toPercent) {
    if (progress == nullptr)
        return {};
    return [progress, fromPercent, toPercent](int row, int count) {
        progress->setPercent(fromPercent + (toPercent - fromPercent) * row / count);
        return stepDone(progress);
    };
}

// Of N^-1 = L^-T L^-1, the product walks the columns of L^-1 and takes some
// twenty times as long as L^-1 itself: the bar's first 5 % are L^-1.
HorizontalSolver::Statistics HorizontalSolver::statistics(ShellServices* progress) {
    constexpr int inverseShare = 5;
    Statistics s;
    const int n = u_;
    if (normal_->NRCholeskyInverse(factorDiagonal_.get(),
                                   rowCheck(progress, 0, inverseShare)) == matrixStopped) {
        s.cancelled = true;
        return s;
    }
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            normal_->data[i * n + j] = 0.0;
    s.cofactors = std::make_unique<Matrix>(n, n);
    if (normal_->NRCholeskyVarCovFromInv(
            s.cofactors.get(), rowCheck(progress, inverseShare, 100)) == matrixStopped) {
        s.cofactors.reset();
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
    const int dof = static_cast<int>(k) - n;
    s.referenceVariance = dof > 0 ? vtWv / dof : 0.0;
    const double s0 = std::sqrt(s.referenceVariance);

    s.unknownSigmas.resize(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        s.unknownSigmas[static_cast<std::size_t>(j)] = std::sqrt(s.cofactors->data[j * n + j]) * s0;
    s.observationSigmas.resize(k);
    for (std::size_t r = 0; r < k; ++r)
        s.observationSigmas[r] =
            s0 * std::sqrt(std::max(0.0, quadraticForm(design_[r], design_[r], *s.cofactors)));
    return s;
}

errEllipseRec pointErrorEllipse(double qEE, double qNN, double qEN, double s0,
                                double confidenceFactor) {
    errEllipseRec e;
    double theta = 0.5 * std::atan2(2.0 * qEN, qNN - qEE);
    if (theta < 0.0)
        theta += angle::pi;
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    const double major = s * s * qEE + 2.0 * qEN * s * c + c * c * qNN;
    const double minor = c * c * qEE - 2.0 * qEN * s * c + s * s * qNN;
    e.orientation = theta;
    e.semiMajor = s0 * std::sqrt(std::max(0.0, major)) * confidenceFactor;
    e.semiMinor = s0 * std::sqrt(std::max(0.0, minor)) * confidenceFactor;
    e.sigmaE = s0 * std::sqrt(std::max(0.0, qEE)) * confidenceFactor;
    e.sigmaN = s0 * std::sqrt(std::max(0.0, qNN)) * confidenceFactor;
    return e;
}

double ellipseConfidenceFactor(int dof) {
    return std::sqrt(2.0 * ellipseCriticalF(dof));
}

std::vector<errEllipseRec> pointErrorEllipses(const HorizontalNetwork& network, Matrix& cofactors,
                                              double s0) {
    const double factor = ellipseConfidenceFactor(network.observations() - network.unknowns());
    const int n = cofactors.cols;
    std::vector<errEllipseRec> ellipses;
    for (const int index : network.adjustable) {
        const NetworkPoint& p = network.points[static_cast<std::size_t>(index)];
        const int j = p.column;
        errEllipseRec e =
            pointErrorEllipse(cofactors.data[j * n + j], cofactors.data[(j + 1) * n + j + 1],
                              cofactors.data[j * n + j + 1], s0, factor);
        setFixedText(e.name, p.name);
        ellipses.push_back(e);
    }
    return ellipses;
}

#pragma once
// The Gauss-Helmert estimate that the four- and seven-parameter
// transformations share: weights from the standard errors of both systems,
// the passes, residuals and statistics. A model supplies the linearisation
// of its condition F(P1) - P2 = 0 at the current parameters and its own stop
// thresholds.

#include <array>
#include <vector>

class Matrix;

namespace geodetic_detail {

inline constexpr int maxXformParameters = 7;
inline constexpr int maxXformPasses = 10;

// One common point: coordinates and variances in both systems.
struct CommonPoint {
    std::array<double, 3> p1, var1, p2, var2;
};

// The 12-doubles-a-point array of the interface.
std::vector<CommonPoint> commonPointsOf(int n, const double* pts);

// The condition of one point, linearised: F(P1) with its derivatives.
struct XformLinearisation {
    double dP1[3][3];                     // dF/dP1 (dF/dP2 is -I)
    double design[3][maxXformParameters]; // dF/d(parameters)
    double misclosure[3];                 // P2 - F(P1)
};

class XformModel {
public:
    virtual ~XformModel() = default;
    virtual int parameterCount() const = 0;
    virtual XformLinearisation linearise(const double* params, const CommonPoint& point) const = 0;
    // True when an update is small enough to stop after its pass.
    virtual bool updateIsSmall(const double* delta) const = 0;
};

struct XformSolution {
    bool solved = false;
    std::array<double, maxXformParameters> params{};
    std::array<double, maxXformParameters> standardErrors{};
    double variance = 0.0, sigma0 = 0.0, statistic = 0.0;
    std::vector<double> residuals; // 3n, empty when not solved
};

// Runs the passes from `start`. Not solved (everything zero) when a weight
// block or the normal matrix is singular or a result is not finite.
XformSolution estimateXform(const XformModel& model, const std::vector<CommonPoint>& points,
                            const double* start);

// Solves the square system m x = rhs (row-major m, size k) by the library's
// Gauss-Jordan inverse; false when it is singular or the answer not finite.
bool solveSmallSystem(int k, const double* m, const double* rhs, double* x);

// The residuals as the owned 3n x 1 matrix of the classes; null when empty.
Matrix* residualMatrixOf(const std::vector<double>& residuals);
// A deep copy of such a matrix (null stays null).
Matrix* copyOfResiduals(Matrix* residuals);
// Residual i of such a matrix: 0, or 1 without writing when there is none.
int residualAt(Matrix* residuals, int i, double* r);

} // namespace geodetic_detail

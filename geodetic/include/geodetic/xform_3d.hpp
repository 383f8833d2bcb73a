#pragma once
// Three-dimensional transformations between two Cartesian systems, estimated
// from common points known in both, and applied to points.
//
// - Four parameters (one scale, three shifts):   P2 = s P1 + T.
// - Seven parameters (scale, rotations, shifts):  P2 = s R P1 + T.
//
// Estimation: a Gauss-Helmert adjustment (condition equations with unknown
// parameters), every coordinate of every common point in both systems an
// observation with its own standard error; weights W = (B Q B^T)^-1 with the
// a priori standard error of unit weight 1; at most 10 passes, each
// linearised at the current parameters with the measured coordinates.
// Because Q is diagonal and each condition involves one point only, B Q B^T
// is block diagonal (one 3 x 3 block per point) and is inverted block by
// block: the result is that of the dense inverse, with memory and time
// growing linearly with the point count.
//
// Common-point array (input of every estimate, read only): n points of 12
// doubles each: X1, sX1, Y1, sY1, Z1, sZ1, X2, sX2, Y2, sY2, Z2, sZ2 (system 1
// coordinates with their standard errors, then system 2). One linear unit of
// the caller's choosing; shifts come out in it. The scale is a plain factor
// (1.0 is no change).
//
// Rotations (seven parameters). Internally the estimate works with angles
// omega, phi, kappa (radians) about X, Y, Z and R = Rx(omega) Ry(phi)
// Rz(kappa), each factor the active rotation of the point. Every rotation
// that crosses this interface, in either direction, is the NEGATIVE of the
// internal angle: rx = -omega, ry = -phi, rz = -kappa. So reported values
// (s, rx, ry, rz, T) map p to s R(-rx, -ry, -rz) p + T, the "coordinate
// frame" convention: with rz = e alone, X = x cos e + y sin e,
// Y = -x sin e + y cos e. The angles are never reduced to a principal range:
// the start values of omega and kappa lie in [0, 2 pi), so a small positive
// reported rx or rz comes out as that angle minus 2 pi.
//
// Statistics: residual r (3n values, X, Y, Z per point in input order) is
// the system-1 point transformed with the final parameters minus its
// system-2 point (the linearised value of the last pass); sigma0^2 =
// r^T W r / (3n - u) with u the parameter count; standard error of
// parameter k = sigma0 sqrt(N^-1[k][k]); residual statistic
// 3 sqrt(sum r_i^2) / n.
//
// Failure: fewer points than parameters allow (2 for four parameters, 3 for
// seven), and degenerate input that makes a start, weight or normal system
// singular or a start scale infinite (coincident first points, a coordinate
// with zero standard error in both systems, first points on one line), give
// xformRefused with every parameter, standard error and statistic 0 and no
// residuals. A run that stops after the tenth pass without meeting the
// thresholds keeps that pass's values and reports success.
//
// Objects are complete after construction and never change; they are safe to
// read from several threads. The free functions keep nothing between calls.

inline constexpr int xformSolved = 0;
inline constexpr int xformRefused = 1;

class Matrix;

// The four-parameter estimate, made in the constructor.
class CXform3D4Param {
public:
    // Estimates from n points of the common-point array.
    CXform3D4Param(int n, double* pts);
    virtual ~CXform3D4Param();
    // A copy owns a copy of the residuals.
    CXform3D4Param(const CXform3D4Param& other);
    CXform3D4Param& operator=(const CXform3D4Param& other);

    // xformSolved (0) when the estimate was made, xformRefused (1) otherwise.
    int solutionFound();
    // Scale and shifts. Returns 0.
    int getXformParams(double* scale, double* tx, double* ty, double* tz);
    // Their standard errors. Returns 0.
    int getXformParamsSE(double* scale, double* tx, double* ty, double* tz);
    // Residual statistic, sigma0^2 and sigma0, in that order. Returns 0.
    int getXformStats(double* statistic, double* variance, double* sigma0);
    // Residual i (0 <= i < 3n; 3k + 0/1/2 for X/Y/Z of point k). Returns 0,
    // or 1 without writing when there is no estimate or i is out of range.
    int getXformObservationResidual(int i, double* r);
    // (X, Y, Z) = scale (x, y, z) + (tx, ty, tz) with the given values, not the
    // object's. Returns 0.
    int xform3D4_Pt(double scale, double tx, double ty, double tz, double x, double y, double z,
                    double* X, double* Y, double* Z);

private:
    int computeXform(double* pts);

    // Everything but the residuals, so that a copy is one assignment.
    struct Values {
        int pointCount;
        int parameterCount;
        int observationCount;
        int status;
        double referenceVariance;
        double residualStatistic;
        double sigma0;
        double aprioriSigma0;
        double scale, tx, ty, tz;
        double scaleSE, txSE, tySE, tzSE;
    };
    Values v;
    Matrix* residuals; // 3n x 1, owned; null when there is no estimate
};

// The same estimate as CXform3D4Param. Sets all six outputs to 0, then
// returns xformRefused for n < 2 or degenerate input, else writes the
// parameters, sigma0^2 and the residual statistic and returns xformSolved.
int xform_3D_4Param(int n, double* pts, double* scale, double* tx, double* ty, double* tz,
                    double* variance, double* statistic);

// (X, Y, Z) = scale (x, y, z) + (tx, ty, tz). Returns 0.
int xform3D4Parm_Pt(double scale, double tx, double ty, double tz, double x, double y, double z,
                    double* X, double* Y, double* Z);

// The seven-parameter estimate, made in the constructor.
class CXform3D7Param {
public:
    // Estimates from n points of the common-point array.
    CXform3D7Param(int n, double* pts);
    virtual ~CXform3D7Param();
    // A copy owns a copy of the residuals.
    CXform3D7Param(const CXform3D7Param& other);
    CXform3D7Param& operator=(const CXform3D7Param& other);

    // xformSolved (0) when the estimate was made, xformRefused (1) otherwise.
    int solutionFound();
    // Scale, reported rotations (radians), shifts. Returns 0.
    int getXformParams(double* scale, double* rx, double* ry, double* rz, double* tx, double* ty,
                       double* tz);
    // Their standard errors, same order (rotations in radians). Returns 0.
    int getXformParamsSE(double* scale, double* rx, double* ry, double* rz, double* tx, double* ty,
                         double* tz);
    // Residual statistic, sigma0^2 and sigma0, in that order. Returns 0.
    int getXformStats(double* statistic, double* variance, double* sigma0);
    // As CXform3D4Param::getXformObservationResidual.
    int getXformObservationResidual(int i, double* r);
    // Seven-parameter application of the given values, as xform3D_Pt, despite
    // its name. Returns 0.
    int xform3D4_Pt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
                    double x, double y, double z, double* X, double* Y, double* Z);
    // Applies this object's estimate. Returns 0.
    int xform3D_Pt(double x, double y, double z, double* X, double* Y, double* Z);

private:
    int computeXform(int n, double* pts);

    // Everything but the residuals, so that a copy is one assignment.
    struct Values {
        int pointCount;
        int parameterCount;
        int observationCount;
        int status;
        double referenceVariance;
        double residualStatistic;
        double sigma0;
        double aprioriSigma0;
        double scale, tx, ty, tz;
        double omega, phi, kappa; // internal angles, the negatives of what is reported
        double scaleSE, txSE, tySE, tzSE, omegaSE, phiSE, kappaSE;
    };
    Values v;
    Matrix* residuals; // 3n x 1, owned; null when there is no estimate
};

// The same estimate as CXform3D7Param. Sets all nine outputs to 0, then
// returns xformRefused for n < 3 or degenerate input, else writes scale,
// shifts, reported rotations, sigma0^2 and the residual statistic (note the
// order: shifts before rotations) and returns xformSolved.
int xform_3D_7Param(int n, double* pts, double* scale, double* tx, double* ty, double* tz,
                    double* rx, double* ry, double* rz, double* variance, double* statistic);

// (X, Y, Z) = scale R(-rx, -ry, -rz) (x, y, z) + (tx, ty, tz): rotations in
// radians, coordinate-frame convention. Returns 0.
int xform3D_Pt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
               double x, double y, double z, double* X, double* Y, double* Z);

// (X, Y, Z) = scale R(-rx, -ry, -rz) ((x, y, z) + (tx, ty, tz)): the shifts are
// added before the point is rotated and scaled, so this equals xform3D_Pt
// only when the shifts are zero. Returns 0.
int xform3D_PtAlt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
                  double x, double y, double z, double* X, double* Y, double* Z);

#pragma once
// Critical values of the chi-square and F distributions, from the regularized
// incomplete gamma and beta functions (series and modified-Lentz continued
// fractions, after Press et al., Numerical Recipes 2nd ed., sections 6.1-6.4),
// inverted by bisection. Status results: 0 success, 1 failure; nothing is
// written or shown on failure.

inline constexpr int distributionOk = 0;
inline constexpr int distributionFailed = 1;

// ln Gamma(x) for x > 0 (Lanczos, six terms; relative error below 2e-10).
double lnGamma(double x);

// Regularized lower incomplete gamma P(a, x) by its series; lnGammaA receives ln Gamma(a).
int gammaSeries(double* result, double a, double x, double* lnGammaA);
// Q(a, x) = 1 - P(a, x) by its continued fraction (x >= a + 1 converges fast).
int gammaContinuedFraction(double* result, double a, double x, double* lnGammaA);
// Q(a, x): the upper-tail probability of chi-square with 2a degrees of freedom at 2x.
int gammaQ(double a, double x, double* result);

// The continued fraction of the incomplete beta function.
int betaContinuedFraction(double a, double b, double x, double* result);
// The regularized incomplete beta function I_x(a, b), 0 <= x <= 1.
int incompleteBeta(double a, double b, double x, double* result);

// The chi-square value whose upper-tail probability is p.
int chiSquareInverse(int dof, double p, double* result);
// The F value (dof1, dof2) whose upper-tail probability is p.
int fInverse(int dof1, int dof2, double p, double* result);

// Two-sided bounds of chi-square at a confidence percentage: `upper` has the
// upper-tail probability (1 - c/100)/2, `lower` its complement. Always 0.
int chiSquareBounds(int dof, double* upper, double* lower, double confidence);

// F for 2 and dof degrees of freedom at the project's `confidenceInterval`;
// the error-ellipse factor is sqrt(2 ellipseCriticalF(dof)).
double ellipseCriticalF(int dof);

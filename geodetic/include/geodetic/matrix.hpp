#pragma once
// The dense matrix of the geodetic library and the Cholesky chain of the
// least-squares adjustment:
//   N = (J^T W) J         matrixMultiplyJtWJ (upper triangle only)
//   N = L L^T             NRCholesky (L below the diagonal, its diagonal apart)
//   L L^T x = b           solve
//   L -> L^-1             NRCholeskyInverse
//   N^-1 = L^-T L^-1      NRCholeskyVarCovFromInv
// The factorisation and inverse follow Press et al., Numerical Recipes in C,
// 2nd ed., 2.9 (choldc, cholsl) and 2.1 (gaussj, Gauss-Jordan with full
// pivoting); above a small order the chain and the inverse are LAPACK's
// (dpotrf, dtrtri, dlauum; dgetrf, dgetri), with the same layouts and results.
//
// Storage forms (element (i, j) is row i, column j, from 0):
//   0 full             rows x cols, row-major, owned
//   1 transposed view  a caller's row-major rows x cols array seen as its
//                      transpose (cols x rows); not owned, must outlive the view
//   2 diagonal         n x n, n values; off-diagonal elements read 0
//   3 packed symmetric n x n, the lower triangle by rows; (i, j) and (j, i) are
//                      one stored value
// Values start at 0. Nothing checks shapes: callers pass conforming ones.
// The fields are public and read directly by the adjustment; their order is
// part of the interface.

#include <cstdint>

inline constexpr int matrixFull = 0;
inline constexpr int matrixTransposedView = 1;
inline constexpr int matrixDiagonal = 2;
inline constexpr int matrixPackedSymmetric = 3;

// Results of the inverse and the Cholesky chain.
inline constexpr int matrixOk = 0;
inline constexpr int matrixFailed = 1;
// The constant result of init, multiplyScalar, matrixCopy, matrixSubtract,
// matrixInit and matrixMultiplyScalar.
inline constexpr int matrixDone = 1;

class Matrix {
public:
    double zero;            // 0.0: what an off-diagonal element of a diagonal matrix reads
    std::int32_t count;     // stored values (rows*cols, n, or n(n+1)/2)
    double* data;           // the stored values
    std::int32_t storage;   // matrixFull .. matrixPackedSymmetric
    std::int32_t rows;      // rows passed to the constructor
    std::int32_t cols;      // columns passed to the constructor
    std::int32_t* rowStart; // packed only: rowStart[i] = i(i+1)/2, n + 1 entries

    // A full rows x cols matrix.
    Matrix(int rows, int cols);
    // Full (0), diagonal (2, rows = cols) or packed (3, rows = cols). Any other
    // storage, or a non-square 2 or 3, makes a matrix without values that may
    // only be destroyed.
    Matrix(int rows, int cols, int storage);
    // A transposed view (storage 1) of the caller's row-major rows x cols
    // array, which stays the caller's. Only storage 1 is meaningful here.
    Matrix(int rows, int cols, int storage, double* array);
    ~Matrix();
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;

    // The element (i, j) addressed by storage; no bounds check.
    double& element(int i, int j);
    // The shape: rows x cols, or cols x rows for a view.
    void size(int* rowsOut, int* colsOut) const;
    double* getMAry() { return data; }
    // Sets every stored value to 0. Returns matrixDone.
    int init();
    // Multiplies every stored value by s. Returns matrixDone.
    int multiplyScalar(double s);
    // Appends the matrix as text to matDump.dat in the temporary folder
    // ($TMPDIR, else /tmp); writes nothing when the file cannot be opened.
    void print(const char* title);

    // Factors this full symmetric matrix, of which only the diagonal and the
    // upper triangle are read, as L L^T: L's off-diagonal part into the strict
    // lower triangle, its diagonal into `diag` (n x 1). matrixFailed when a
    // pivot is not positive (the matrix is not positive definite); `diag` then
    // holds NaN from the failing column on, so a later solve cannot return a
    // finite answer.
    int NRCholesky(Matrix* diag);
    // This column b (n x 1) becomes x with L L^T x = b, L in the strict lower
    // triangle of `factor` and its diagonal in `diag`. matrixFailed, with x
    // all NaN, when a diagonal value is 0 or NaN.
    int solve(Matrix* factor, Matrix* diag);
    // Replaces L (diagonal and strict lower triangle) by L^-1; the strict
    // upper triangle is not touched. Returns matrixOk.
    int NRCholeskyInverse(Matrix* diag);
    // out(i, j) = out(j, i) = sum over the rows k of M(k, i) M(k, j), M this
    // matrix taken as lower triangular (its strict upper triangle is not
    // read): with M = L^-1, N^-1. Returns matrixOk.
    int NRCholeskyVarCovFromInv(Matrix* out);
    // This column b <- L^-1 b, L lower triangular in packed storage. Returns matrixOk.
    int forwardSub(Matrix* L);
    // This column b <- L^-T b, L in packed storage. Returns matrixOk.
    int backwardSub(Matrix* L);

private:
    bool ownsData_ = true;

    void allocate(int valueCount);
    int storedValueCount() const;
};

// C = A B over the shapes `size` reports; C must be distinct from A and B. A
// full C gets every element, a diagonal C only its diagonal, a packed C its
// lower triangle. Returns matrixOk.
int matrixMultiply(Matrix* A, Matrix* B, Matrix* C);
// C = A B for a product known to be symmetric: with all three full only the
// diagonal and upper triangle of C are written; otherwise matrixMultiply.
// Returns matrixOk.
int matrixMultiplyJtWJ(Matrix* A, Matrix* B, Matrix* C);
// In-place inverse: Gauss-Jordan with full pivoting for full storage,
// reciprocals for diagonal storage (a zero becomes infinity). matrixFailed
// for a singular full matrix, for storage 1 or 3, or when the work vectors
// cannot be allocated; the matrix is then left as far as the work had gone.
int matrixInverse(Matrix* A);
// dst(i, j) = src(i, j) over src's shape. Returns matrixDone.
int matrixCopy(Matrix* src, Matrix* dst);
// C = A - B over A's shape; C distinct from A and B. Returns matrixDone.
int matrixSubtract(Matrix* A, Matrix* B, Matrix* C);
// Every element 0. Returns matrixDone.
int matrixInit(Matrix* A);
// Every element times s. Returns matrixDone.
int matrixMultiplyScalar(Matrix* A, double s);
// Swaps the full-storage elements (r1, c1) and (r2, c2).
void swapMatrixElem(Matrix* A, int r1, int c1, int r2, int c2);

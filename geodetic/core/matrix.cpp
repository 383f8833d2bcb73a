// The Matrix class: storage forms, element access and the text dump.

#include "geodetic/matrix.hpp"
#include "plain_text.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::filesystem::path dumpFilePath() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        folder = "/tmp";
    return folder / "matDump.dat";
}

} // namespace

Matrix::Matrix(int rowCount, int colCount)
    : zero(0.0), count(0), data(nullptr), storage(matrixFull), rows(rowCount), cols(colCount),
      rowStart(nullptr) {
    allocate(rowCount * colCount);
}

Matrix::Matrix(int rowCount, int colCount, int storageForm)
    : zero(0.0), count(0), data(nullptr), storage(storageForm), rows(rowCount), cols(colCount),
      rowStart(nullptr) {
    const bool square = rowCount == colCount;
    if (storageForm == matrixFull) {
        allocate(rowCount * colCount);
    } else if (storageForm == matrixDiagonal && square) {
        allocate(rowCount);
    } else if (storageForm == matrixPackedSymmetric && square) {
        allocate(rowCount * (rowCount + 1) / 2);
        rowStart = new std::int32_t[rowCount + 1];
        for (int i = 0; i <= rowCount; ++i)
            rowStart[i] = i * (i + 1) / 2;
    }
}

Matrix::Matrix(int rowCount, int colCount, int storageForm, double* array)
    : zero(0.0), count(rowCount * colCount), data(array), storage(storageForm), rows(rowCount),
      cols(colCount), rowStart(nullptr), ownsData_(false) {}

Matrix::~Matrix() {
    if (ownsData_)
        delete[] data;
    delete[] rowStart;
}

void Matrix::allocate(int valueCount) {
    count = valueCount;
    data = new double[valueCount]();
}

double& Matrix::element(int i, int j) {
    switch (storage) {
    case matrixTransposedView:
        return data[i + j * cols];
    case matrixDiagonal:
        if (i == j)
            return data[i];
        // A caller that wrote through an earlier reference must not change
        // what the off-diagonal elements read.
        zero = 0.0;
        return zero;
    case matrixPackedSymmetric:
        return data[rowStart[std::max(i, j)] + std::min(i, j)];
    default:
        return data[i * cols + j];
    }
}

void Matrix::size(int* rowsOut, int* colsOut) const {
    if (storage == matrixTransposedView) {
        *rowsOut = cols;
        *colsOut = rows;
    } else {
        *rowsOut = rows;
        *colsOut = cols;
    }
}

int Matrix::storedValueCount() const {
    if (data == nullptr)
        return 0;
    return storage == matrixFull || storage == matrixTransposedView ? rows * cols : count;
}

int Matrix::init() {
    std::fill(data, data + storedValueCount(), 0.0);
    return matrixDone;
}

int Matrix::multiplyScalar(double s) {
    std::for_each(data, data + storedValueCount(), [s](double& value) { value *= s; });
    return matrixDone;
}

void Matrix::print(const char* title) {
    std::FILE* file = std::fopen(dumpFilePath().c_str(), "a");
    if (file == nullptr)
        return;
    int shapeRows = 0, shapeCols = 0;
    size(&shapeRows, &shapeCols);
    std::string text = std::string("\n *** Two-dimensional array (matrix): ") + title + " \n\n";
    text += "    ";
    for (int j = 0; j < shapeCols; ++j)
        text += "   col " + std::to_string(j);
    text += "\n\n";
    for (int i = 0; i < shapeRows; ++i) {
        text += "row " + std::to_string(i) + " ";
        const int lastCol = storage == matrixPackedSymmetric ? i : shapeCols - 1;
        for (int j = 0; j <= lastCol; ++j)
            text += " " + geodetic_detail::fixedDecimals(element(i, j), 4) + " ";
        text += "\n";
    }
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

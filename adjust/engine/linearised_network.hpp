#pragma once
// What a Gauss-Newton solver needs of a network, whatever its model: the
// design rows and misclosures at the current positions, the block-diagonal
// weights of its rows, and the step that moves the positions by the
// corrections. The horizontal (2D) and the three-dimensional networks both
// offer it, so one solver (network_solver.hpp) iterates either.

#include "platform/shell_services.hpp"

#include <array>
#include <string>
#include <vector>

// Partial derivatives of one row with respect to the unknowns it touches: at
// most three points of up to three unknowns each.
struct DesignRow {
    static constexpr int maxEntries = 9;
    int count = 0;
    std::array<int, maxEntries> column = {};
    std::array<double, maxEntries> value = {};

    void add(int col, double v) {
        column[count] = col;
        value[count] = v;
        ++count;
    }
};

// Weights of the rows: W is block diagonal with blocks of one, two or three
// rows (the components of a GPS vector). `pairWeight[r]` is W(r, r + 1) and
// `skipWeight[r]` is W(r, r + 2); both 0 outside a block.
struct RowWeights {
    std::vector<double> diagonal;
    std::vector<double> pairWeight;
    std::vector<double> skipWeight;

    // k rows, every weight 0.
    void assign(std::size_t k) {
        diagonal.assign(k, 0.0);
        pairWeight.assign(k, 0.0);
        skipWeight.assign(k, 0.0);
    }
    std::size_t rows() const { return diagonal.size(); }
    // W(r, s) for |r - s| <= 2.
    double at(std::size_t r, std::size_t s) const;
    // Gives row r the diagonal weight `weight` and scales its couplings with
    // the rows of its block by sqrt(weight / old weight): a congruence of the
    // block, so a positive-definite block stays positive definite whatever
    // the new weight.
    void setRowWeight(std::size_t r, double weight);
};

// (W y)_r of the block-diagonal W.
std::vector<double> weighted(const RowWeights& w, const std::vector<double>& y);

// a x for a design row a.
double rowTimes(const DesignRow& a, const std::vector<double>& x);

// observed - computed of an angle or azimuth (radians), in seconds of arc,
// compared across north: a value just past 0 and one just short of a full
// turn are a small difference, not nearly 2 pi (only the computed value is
// moved by a turn).
double angularMisclosure(double observed, double computed);

// The k design rows that `rowAt(r)` gives, in order; the progress bar of
// `progress` (may be null) is told the share built, 0 to 100, whenever it
// changes.
template <class RowAt>
std::vector<DesignRow> buildDesignRows(std::size_t k, ShellServices* progress, RowAt rowAt) {
    std::vector<DesignRow> design;
    design.reserve(k);
    int posted = -1;
    for (std::size_t r = 0; r < k; ++r) {
        design.push_back(rowAt(r));
        const int percent = static_cast<int>((r + 1) * 100 / k);
        if (progress != nullptr && percent != posted) {
            posted = percent;
            progress->setPercent(percent);
        }
    }
    return design;
}

class LinearisedNetwork {
public:
    virtual ~LinearisedNetwork() = default;

    // The number of unknowns u.
    virtual int unknowns() const = 0;
    // The design rows at the current positions. The progress bar of
    // `progress` (may be null) is told the share of rows built.
    virtual std::vector<DesignRow> design(ShellServices* progress) const = 0;
    // L = observed - computed of every row at the current positions.
    virtual std::vector<double> misclosures() const = 0;
    // Moves the positions by the corrections x and writes them back into
    // the program-wide list the network was read from.
    virtual void applyCorrections(const std::vector<double>& x) = 0;
    // The unknown of a column in words: "the easting of point C".
    virtual std::string unknownName(int column) const = 0;

protected:
    LinearisedNetwork() = default;
    LinearisedNetwork(const LinearisedNetwork&) = default;
    LinearisedNetwork& operator=(const LinearisedNetwork&) = default;
};

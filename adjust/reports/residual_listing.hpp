#pragma once
// What the 2D and 3D listings of adjusted observations share: the walk
// through the residual entries in the order of the adjustment's rows, the
// mark of the floated observation, the root mean square of each kind, and
// the standardized residual with its flag. The lines go to the file in
// blocks (output/line_buffer.hpp): nothing else writes to it while a listing
// lives, and flush() ends a listing.

#include "model/observation_records.hpp"
#include "output/line_buffer.hpp"

#include <initializer_list>
#include <string>
#include <vector>

// |v| / sigma, sigma the observation's a-priori standard error.
double standardizedResidual(double residual, double stdErr);
// '*' for a standardized residual above 2, else a blank.
char residualFlag(double standardized);
// The flag, a blank and the standardized residual of an angle or direction:
// a number without unit, printed alike in both angle units.
std::string standardizedAngleText(double standardized);

class ResidualListing {
public:
    // `mark`: the entry whose line ends with " **"; -1 marks none.
    ResidualListing(int handle, const std::vector<double>& residuals,
                    const std::vector<double>& sigmas, int mark)
        : out_(handle), v_(residuals), sigma_(sigmas), mark_(mark) {}

    // The residual and the adjusted observation's standard deviation of the
    // current entry; NaN past the end of either vector (its line then fails).
    double v() const;
    double sigma() const;
    // The residual `offset` entries after the current one (NaN past the end).
    double ahead(std::size_t offset) const;
    // Writes the current entry's line (marked when floated), counts its
    // residual times `unitFactor` into the kind's RMS and steps to the next
    // entry. False after a failed write or past the end of the entries.
    bool entryLine(std::string line, double unitFactor = 1.0);
    // Steps over entries that are not listed.
    void skip(std::size_t entries) { entry_ += entries; }
    // Starts the RMS of a new kind.
    void startKind();
    int listed() const { return listed_; }
    double rms() const;
    // Writes the lines in order; false at the first failed write.
    bool lines(std::initializer_list<std::string> texts);
    // Writes the kind's RMS line when the kind listed any entry.
    bool rmsLine(const std::string& line);
    // Writes the lines still pending; false once a write failed.
    bool flush() { return out_.flush(); }

    // The current entry's line of a distance: from, to, the adjusted
    // distance (observed + v), v, flag and standardized residual, standard
    // deviation; lengths times `unitFactor`.
    std::string distanceText(const pointNameField& from, const pointNameField& to,
                             double observed, double stdErr, double unitFactor) const;
    // The four value columns of the current entry of an angle kind: the
    // adjusted angle (observed + residual) as text, the residual, flag and
    // standardized residual, standard deviation (seconds of arc).
    struct AngleColumns {
        std::string adjusted;
        std::string residual;
        std::string standardized;
        std::string sigma;
    };
    AngleColumns angleColumns(double observed_rad, double residual_s, double stdErr_s) const;
    // The current entry's line of an azimuth: from, to, the adjusted
    // direction, v, flag and standardized residual, standard deviation
    // (seconds of arc).
    std::string azimuthText(const azimuthObs& azimuth) const;

private:
    bool inRange() const { return entry_ < v_.size() && entry_ < sigma_.size(); }

    LineBuffer out_;
    const std::vector<double>& v_;
    const std::vector<double>& sigma_;
    int mark_;
    std::size_t entry_ = 0;
    double sumOfSquares_ = 0.0;
    int listed_ = 0;
};

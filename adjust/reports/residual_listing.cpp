#include "reports/residual_listing.hpp"

#include "model/angle_math.hpp"
#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>
#include <limits>

double standardizedResidual(double residual, double stdErr) {
    return std::fabs(residual) / stdErr;
}

char residualFlag(double standardized) {
    return standardized > 2.0 ? '*' : ' ';
}

std::string standardizedAngleText(double standardized) {
    return residualFlag(standardized) + std::string(" ") + formatAngleValue9(standardized);
}

double ResidualListing::v() const {
    return entry_ < v_.size() ? v_[entry_] : std::numeric_limits<double>::quiet_NaN();
}

double ResidualListing::ahead(std::size_t offset) const {
    return entry_ + offset < v_.size() ? v_[entry_ + offset]
                                       : std::numeric_limits<double>::quiet_NaN();
}

double ResidualListing::sigma() const {
    return entry_ < sigma_.size() ? sigma_[entry_] : std::numeric_limits<double>::quiet_NaN();
}

bool ResidualListing::entryLine(std::string line, double unitFactor) {
    if (!inRange())
        return false;
    if (static_cast<long long>(entry_) == mark_)
        line += " **";
    const double scaled = v() * unitFactor;
    sumOfSquares_ += scaled * scaled;
    ++listed_;
    ++entry_;
    return out_.line(line);
}

void ResidualListing::startKind() {
    sumOfSquares_ = 0.0;
    listed_ = 0;
}

double ResidualListing::rms() const {
    return std::sqrt(sumOfSquares_ / listed_);
}

bool ResidualListing::lines(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
        if (!out_.line(text))
            return false;
    return true;
}

bool ResidualListing::rmsLine(const std::string& line) {
    return listed_ == 0 || out_.line(line);
}

std::string ResidualListing::distanceText(const pointNameField& from, const pointNameField& to,
                                          double observed, double stdErr,
                                          double unitFactor) const {
    const double z = standardizedResidual(v(), stdErr);
    return platform::formatC(" %-10.10s    %-10.10s %s   %s      %s  %s", from, to,
                             formatDistance((observed + v()) * unitFactor).c_str(),
                             formatDistanceSigned(v() * unitFactor).c_str(),
                             (residualFlag(z) + formatDistanceShort(z)).c_str(),
                             formatDistanceShort(sigma() * unitFactor).c_str());
}

ResidualListing::AngleColumns ResidualListing::angleColumns(double observed_rad,
                                                           double residual_s,
                                                           double stdErr_s) const {
    return {angleToText(observed_rad + residual_s / angle::secondsPerRadian),
            formatAngleSeconds(residual_s),
            standardizedAngleText(standardizedResidual(residual_s, stdErr_s)),
            formatAngleSeconds(sigma())};
}

std::string ResidualListing::azimuthText(const azimuthObs& azimuth) const {
    return platform::formatC(
        " %-10.10s  %-10.10s %s   %s    %s    %s", azimuth.from, azimuth.to,
        directionToText(azimuth.azimuth + v() / angle::secondsPerRadian).c_str(),
        formatAngleSeconds(v()).c_str(),
        standardizedAngleText(standardizedResidual(v(), azimuth.stdErr)).c_str(),
        formatAngleSeconds(sigma()).c_str());
}

#include "model/settings/settings_units.hpp"

#include "model/angle_text.hpp"
#include "model/packed_degrees.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/record_fields.hpp"

#include <numbers>

namespace {

constexpr int gradsShown = 1;

bool showsGrads(int angleType) {
    return angleType != 0;
}

} // namespace

double shownAngularError(double seconds, int angleType) {
    return angleType == gradsShown ? seconds / arcSecondsPerGrad : seconds;
}

double angularErrorSeconds(double shown, int angleType) {
    return angleType == gradsShown ? shown * arcSecondsPerGrad : shown;
}

std::string angleToleranceText(double tolerance_rad, int angleType) {
    return showsGrads(angleType) ? angleToGonPlainCString(tolerance_rad)
                                 : angleToDmsPackedText(tolerance_rad);
}

std::optional<double> angleToleranceFromText(const std::string& text, int angleType) {
    const platform::FieldValue<double> typed = platform::readNumber(text, "angle tolerance");
    if (!typed)
        return std::nullopt;
    if (showsGrads(angleType))
        return *typed * std::numbers::pi / 200.0;
    if (checkDmsText(text))
        return std::nullopt;
    return dmsTextToRadians(text);
}

std::string distanceToleranceText(double tolerance) {
    return fmtDouble4CString(tolerance);
}

std::optional<double> distanceToleranceFromText(const std::string& text) {
    const platform::FieldValue<double> typed = platform::readNumber(text, "distance tolerance");
    return typed ? std::optional<double>(*typed) : std::nullopt;
}

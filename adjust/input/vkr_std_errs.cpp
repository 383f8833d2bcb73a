#include "input/vkr_std_errs.hpp"

#include "model/raw_record.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

enum class Value { angular, linear, control };

struct StdErrKey {
    std::string_view name;
    double rawRec::*field;
    int projectElement; // the element of the project's block that "*" takes
    Value kind;
};

// Longest keys first: the scan takes the first that ends at the colon.
constexpr std::array<StdErrKey, 14> keys = {{
    {"PPM", &rawRec::stErrDistPPM, seDistPpm, Value::angular},
    {"ROD", &rawRec::rodStErr, seRodHeight, Value::linear},
    {"AZ", &rawRec::stErrAz, seAzimuth, Value::angular},
    {"PE", &rawRec::stErrPoint, seHorizPointing, Value::angular},
    {"RE", &rawRec::stErrRead, seHorizReading, Value::angular},
    {"VP", &rawRec::vStErrPoint, seVertPointing, Value::angular},
    {"VR", &rawRec::vStErrRead, seVertReading, Value::angular},
    {"TE", &rawRec::stErrTrgtCentering, seTargetCentering, Value::linear},
    {"IE", &rawRec::stErrInstrCentering, seInstrumentCentering, Value::linear},
    {"HI", &rawRec::HIStErr, seInstrumentHeight, Value::linear},
    {"X", &rawRec::stErrX, seEasting, Value::control},
    {"Y", &rawRec::stErrY, seNorthing, Value::control},
    {"Z", &rawRec::stErrZ, seElevation, Value::control},
    {"D", &rawRec::stErrDist, seDistConstant, Value::linear},
}};

constexpr double smallestControlError = 1e-6;
constexpr double zeroLimit = 1e-15;

const StdErrKey* keyBefore(std::string_view text, std::size_t colon) {
    for (const StdErrKey& key : keys) {
        if (key.name.size() <= colon &&
            text.substr(colon - key.name.size(), key.name.size()) == key.name)
            return &key;
    }
    return nullptr;
}

bool isMarker(const StdErrKey& key, std::string_view value) {
    return value == "*" || (key.kind == Value::control && (value == "!" || value == "#"));
}

// A value that is no marker is a number: it was checked by stdErrValueFault.
double numberOf(std::string_view value) {
    return platform::parseDataNumber(value).value_or(0.0);
}

double valueOf(const StdErrKey& key, std::string_view value, double unitFactor) {
    if (value == "*")
        // The project's block holds linear values already in the reader's unit.
        return projectStdErrs(projectVars)[static_cast<std::size_t>(key.projectElement)];
    const double scale = key.kind == Value::angular ? 1.0 : unitFactor;
    if (key.kind != Value::control)
        return numberOf(value) * scale;
    if (value == "!")
        return stdErrFixed;
    if (value == "#")
        return stdErrNotGiven;
    const double magnitude = std::fabs(numberOf(value));
    return (magnitude <= zeroLimit ? smallestControlError : magnitude) * scale;
}

// Calls `take` with each recognised key of `text` and the value after its colon.
template <typename Take> void forEachStdErrToken(std::string_view all, Take take) {
    for (std::size_t colon = all.find(':'); colon != std::string_view::npos;
         colon = all.find(':', colon + 1)) {
        const std::size_t end = all.find_first_of(" ,", colon + 1);
        const std::string_view value =
            all.substr(colon + 1, end == std::string_view::npos ? end : end - colon - 1);
        if (const StdErrKey* key = keyBefore(all, colon))
            take(*key, value);
    }
}

} // namespace

void scanStdErrTokens(const std::string& text, rawRec& record, double unitFactor) {
    forEachStdErrToken(text, [&](const StdErrKey& key, std::string_view value) {
        record.*(key.field) = valueOf(key, value, unitFactor);
    });
}

namespace {

struct KeyedValue {
    const StdErrKey* key = nullptr;
    std::size_t first = 0; // after the colon
    std::size_t end = 0;   // after the value's last piece
};

// The values of the recognised keys, each running over the pieces without
// a colon that follow it. Pieces before the first key are no value.
std::vector<KeyedValue> keyedValues(std::string_view all) {
    std::vector<KeyedValue> values;
    for (std::size_t start = all.find_first_not_of(" ,"); start != std::string_view::npos;) {
        const std::size_t end = std::min(all.find_first_of(" ,", start), all.size());
        const std::size_t colon = all.substr(start, end - start).find(':');
        if (colon != std::string_view::npos)
            values.push_back({keyBefore(all.substr(start), colon), start + colon + 1, end});
        else if (!values.empty())
            values.back().end = end;
        start = all.find_first_not_of(" ,", end);
    }
    return values;
}

} // namespace

std::optional<platform::FieldError> stdErrValueFault(std::string_view text) {
    for (const KeyedValue& value : keyedValues(text)) {
        const std::string_view valueText = text.substr(value.first, value.end - value.first);
        if (value.key == nullptr || isMarker(*value.key, valueText))
            continue;
        const platform::FieldValue<double> number =
            platform::readNumber(valueText, "standard error " + std::string(value.key->name));
        if (!number)
            return number.error();
    }
    return std::nullopt;
}

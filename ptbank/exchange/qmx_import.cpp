#include "text_exchange.hpp"

#include "ptbank/crd_overwrite_rec.h"
#include "ptbank/crd_text.hpp"
#include "ptbank/crd_ui_provider.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/line_reader.hpp"
#include "platform/sentinels.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace ptbank {
namespace {

constexpr const char* importTitle = "Converting to Coordinates";
constexpr const char* promptTitle = "Overwrite Point";
constexpr const char* promptAppKey = "PTBANK";
constexpr int promptDecimals = 5;
constexpr std::size_t shortNameLength = 10;
constexpr std::size_t shortCodeLength = 4;
constexpr std::size_t shortDescriptionLength = 100;
// Lines named in the message about lines that are not points; the rest are counted.
constexpr std::size_t namedBadLines = 20;

// What the user has said about stored points so far in this import.
enum class StoredPoints { ask, overwriteAll, keepAll };

enum class Outcome { imported, failed, cancelled };

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

std::vector<std::string_view> commaFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// A finite number, the whole field.
std::optional<double> coordinate(std::string_view field) {
    const std::optional<double> value = platform::parseDouble(field);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

// A QMX line as a point: a northing and an easting are required; an empty
// or missing elevation means none. None when the line is not a point.
std::optional<crdPointRec> parsedPoint(std::string_view line, std::size_t descriptionWidth) {
    std::vector<std::string_view> f = commaFields(line);
    f.resize(std::max<std::size_t>(f.size(), 6));
    const std::optional<double> northing = coordinate(f[1]);
    const std::optional<double> easting = coordinate(f[2]);
    std::optional<double> elevation = missingElevation;
    if (!trimmedText(f[3]).empty())
        elevation = coordinate(f[3]);
    if (!northing || !easting || !elevation)
        return std::nullopt;
    crdPointRec p{};
    setField(p.name, trimmedText(f[0]).substr(0, shortNameLength));
    setField(p.code, trimmedText(f[4]).substr(0, shortCodeLength));
    setField(p.description,
             trimmedText(f[5]).substr(0, std::min(shortDescriptionLength, descriptionWidth)));
    p.northing = *northing;
    p.easting = *easting;
    p.elevation = *elevation;
    return p;
}

// The stored point as the question shows it, as the exchange passes points.
crdPointRec shortened(const crdPointRec& stored) {
    const crdShortPointRec s = trimmedShortPoint(stored);
    crdPointRec shown{};
    setField(shown.name, s.name);
    setField(shown.code, s.code);
    setField(shown.description, s.description);
    shown.northing = s.northing;
    shown.easting = s.easting;
    shown.elevation = s.elevation;
    return shown;
}

class QmxImport {
public:
    explicit QmxImport(CfInfoStruct& info) : info_(info) {}

    // Imports one point; false when the user cancelled.
    bool importLine(const std::string& line, int lineNumber) {
        const auto point = parsedPoint(line, static_cast<std::size_t>(cfDescSize(info_) - 1));
        if (!point) {
            notPoints_.push_back(lineNumber);
            ++failures_;
            return true;
        }
        const Outcome outcome = importPoint(*point);
        if (outcome == Outcome::failed)
            ++failures_;
        return outcome != Outcome::cancelled;
    }

    int failures() const { return failures_; }
    const std::vector<int>& notPoints() const { return notPoints_; }

private:
    Outcome write(crdPointRec point, bool isNew) {
        return cfWritePoint(isNew ? 1 : 0, point, info_) == cf_result::ok ? Outcome::imported
                                                                          : Outcome::failed;
    }

    Outcome importPoint(const crdPointRec& point) {
        crdPointRec stored{};
        const int read = cfReadPoint(point.name, stored, info_);
        if (read == cf_result::noPoint || stored_ == StoredPoints::overwriteAll)
            return write(point, read == cf_result::noPoint);
        if (read != cf_result::ok)
            return Outcome::failed;
        if (stored_ == StoredPoints::keepAll)
            return Outcome::imported;
        return settle(point, stored);
    }

    // Asks the user about the stored point; a cancel writes nothing.
    Outcome settle(const crdPointRec& point, const crdPointRec& stored) {
        crdOverwriteRec request{};
        resetOverwriteRec(&request);
        setField(request.title, promptTitle);
        setField(request.appKey, promptAppKey);
        request.useRegistry = 0;
        request.coordDecimals = promptDecimals;
        request.elevDecimals = promptDecimals;
        request.current = shortened(stored);
        request.proposed = point;
        switch (VkCrdApi_overwrite_point(&request, nullptr)) {
        case VKCRD_ANSWER_OVERWRITE_ALL:
            stored_ = StoredPoints::overwriteAll;
            return write(request.proposed, false);
        case VKCRD_ANSWER_OVERWRITE:
            return write(request.proposed, false);
        case VKCRD_ANSWER_RENAMED: // under a name that holds no point
            return write(request.proposed, true);
        case VKCRD_ANSWER_KEEP_ALL:
            stored_ = StoredPoints::keepAll;
            return Outcome::imported;
        case VKCRD_ANSWER_CANCEL:
            return Outcome::cancelled;
        default: // kept, or no question could be shown
            return Outcome::imported;
        }
    }

    CfInfoStruct& info_;
    StoredPoints stored_ = StoredPoints::ask;
    int failures_ = 0;
    std::vector<int> notPoints_;
};

void reportNotPoints(const std::string& path, const std::vector<int>& lines) {
    std::string text = "Lines without a northing and an easting were not imported:";
    for (std::size_t i = 0; i < std::min(lines.size(), namedBadLines); ++i)
        text += "\n" + path + " line " + std::to_string(lines[i]);
    if (lines.size() > namedBadLines)
        text += "\n(and " + std::to_string(lines.size() - namedBadLines) + " more)";
    crdUi().message(text, "Errors", CrdMessageIcon::exclamation);
}

} // namespace
} // namespace ptbank

extern "C" int QMXtoCRD(const char* textPath, const char* crdPath) {
    using namespace ptbank;
    const std::string source = textPath ? textPath : "";
    const std::string target = crdPath ? crdPath : "";
    platform::TextFileReader reader(source);
    if (source.empty() || !reader.isOpen())
        return finishTextExchange(importTitle, exchange_message::inputOpenFailed, source);
    if (!openExchangeFile(target, true))
        return finishTextExchange(importTitle, exchange_message::openFailed, target);
    QmxImport import(defaultCfInfo());
    bool cancelled = false;
    for (std::string line; !cancelled && reader.next(line);)
        if (!trimmedText(line).empty())
            cancelled = !import.importLine(line, reader.lineNumber());
    if (!import.notPoints().empty())
        reportNotPoints(source, import.notPoints());
    if (import.failures() > 0)
        crdUi().message("Error writing points to coordinate file.\n\tNumber of errors = " +
                            std::to_string(import.failures()),
                        "Errors", CrdMessageIcon::exclamation);
    const int message =
        import.failures() > 0 ? exchange_message::writeFailed : exchange_message::none;
    const int result = finishTextExchange(importTitle, message, "");
    return cancelled ? 0 : result;
}

#include "input/gps_vector_file.hpp"

#include "input/raw_text.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/record_fields.hpp"

#include <algorithm>

#include <cmath>

using platform::formatC;

namespace {

bool isFieldSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t';
}

// The three numbers of a G2 or G3 line, named by `names`: empty, or the
// refusal's sentence. A fourth field is a slip (a decimal comma splits a
// number in two), never a field to pass over.
std::string threeNumbers(std::string_view text, const char* const (&names)[3],
                         double (&values)[3]) {
    const std::vector<std::string_view> fields = gpsFields(text);
    if (const auto count = platform::checkFieldCount(fields.size(), 3, 3))
        return count->sentence();
    for (int i = 0; i < 3; ++i) {
        const platform::FieldValue<double> value = platform::readNumber(fields[i], names[i]);
        if (!value)
            return value.error().sentence();
        values[i] = *value;
    }
    return {};
}

// A name of the pair: empty stays empty (the reader asks about it); a name
// is never cut.
std::string readPairName(std::string_view text, const char* field, pointNameField& name) {
    if (text.empty()) {
        setPointName(name, "");
        return {};
    }
    const platform::FieldValue<std::string> read = platform::readName(text, field, pointNameMax);
    if (!read)
        return read.error().sentence();
    setPointName(name, *read);
    return {};
}

std::string g1Line(const gpsVectorRec& v) {
    std::string line =
        formatC("G1  %s-%s %16.8lf %16.8lf %16.8lf", std::string(fixedText(v.from)).c_str(),
                std::string(fixedText(v.to)).c_str(), v.dX, v.dY, v.dZ);
    const std::string_view comment = fixedText(v.comment);
    if (!comment.empty())
        line += " --" + std::string(comment);
    return line + "\r\n";
}

} // namespace

gpsLineKind classifyGpsLine(std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    line = first == std::string::npos
               ? std::string()
               : line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    if (line.empty())
        return gpsLineKind::other;
    gpsLineKind kind = gpsLineKind::other;
    switch (line.front()) {
    case 'G':
        kind = gpsLineKind::vector;
        break;
    case 'C':
        kind = gpsLineKind::control;
        break;
    case '.':
        kind = gpsLineKind::header;
        break;
    default:
        return gpsLineKind::other;
    }
    line.erase(0, 1);
    return kind;
}

std::vector<std::string_view> gpsFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isFieldSeparator(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !isFieldSeparator(text[at]))
            ++at;
        if (at > start)
            fields.push_back(text.substr(start, at - start));
    }
    return fields;
}

void parseGpsHeader(std::string_view text, int& mode) {
    const std::vector<std::string_view> fields = gpsFields(text);
    if (fields.size() < 3 || fields[0] != "GPS" || fields[1] != "WEIGHT")
        return;
    if (fields[2] == "COVARIANCE")
        mode = gpsModeCovariance;
    else if (fields[2] == "STDERRCORRELATION")
        mode = gpsModeStdErrCorrelation;
}

std::string splitVectorPointNames(pointNameField& from, pointNameField& to, std::string_view pair) {
    const std::size_t first = pair.find('-');
    if (first == std::string_view::npos)
        return "The from-to \"" + platform::recordExcerpt(pair) +
               "\" has no '-' between the two point names.";
    if (std::string fault = readPairName(pair.substr(0, first), "from point name", from);
        !fault.empty())
        return fault;
    return readPairName(pair.substr(pair.rfind('-') + 1), "to point name", to);
}

std::string_view g1Comment(std::string_view text) {
    if (text.size() <= 2)
        return {};
    std::size_t marker = text.rfind("--");
    const std::size_t firstDash = text.find('-');
    if (firstDash != std::string_view::npos && text.substr(firstDash, 2) == "--")
        marker = firstDash;
    if (marker == std::string_view::npos)
        return {};
    return text.substr(marker + 2, gpsCommentMax);
}

std::string parseG1Line(std::string_view text, gpsVectorRec& rec) {
    std::vector<std::string_view> fields = gpsFields(text);
    const auto comment = std::find_if(fields.begin(), fields.end(),
                                      [](std::string_view f) { return f.starts_with("--"); });
    if (const auto count =
            platform::checkFieldCount(static_cast<std::size_t>(comment - fields.begin()), 4, 4))
        return count->sentence();
    static constexpr const char* names[] = {"dX", "dY", "dZ"};
    double d[3];
    for (int i = 0; i < 3; ++i) {
        const platform::FieldValue<double> value = platform::readNumber(fields[i + 1], names[i]);
        if (!value)
            return value.error().sentence();
        d[i] = *value;
    }
    gpsVectorRec read = rec;
    if (std::string fault = splitVectorPointNames(read.from, read.to, fields[0]); !fault.empty())
        return fault;
    rec = read;
    rec.dX = d[0];
    rec.dY = d[1];
    rec.dZ = d[2];
    setFixedText(rec.comment, g1Comment(text));
    return {};
}

std::string parseG2Line(std::string_view text, gpsVectorRec& rec, int mode) {
    static constexpr const char* variances[] = {"variance of dX", "variance of dY",
                                                "variance of dZ"};
    static constexpr const char* standardErrors[] = {"standard error of dX", "standard error of dY",
                                                     "standard error of dZ"};
    double v[3];
    if (std::string fault =
            threeNumbers(text, mode == gpsModeCovariance ? variances : standardErrors, v);
        !fault.empty())
        return fault;
    if (mode == gpsModeCovariance && (v[0] < 0.0 || v[1] < 0.0 || v[2] < 0.0))
        return "A variance is below 0.";
    const bool stdErrs = mode == gpsModeStdErrCorrelation;
    rec.varX = stdErrs ? v[0] * v[0] : v[0];
    rec.varY = stdErrs ? v[1] * v[1] : v[1];
    rec.varZ = stdErrs ? v[2] * v[2] : v[2];
    return {};
}

std::string parseG3Line(std::string_view text, gpsVectorRec& rec, int mode) {
    static constexpr const char* covariances[] = {"covariance XY", "covariance XZ",
                                                  "covariance YZ"};
    static constexpr const char* correlations[] = {"correlation XY", "correlation XZ",
                                                   "correlation YZ"};
    double c[3];
    if (std::string fault =
            threeNumbers(text, mode == gpsModeCovariance ? covariances : correlations, c);
        !fault.empty())
        return fault;
    if (mode == gpsModeStdErrCorrelation) {
        for (const double rho : c)
            if (rho < -1.0 || rho > 1.0)
                return "A correlation coefficient is outside -1 to 1.";
        const double sX = std::sqrt(rec.varX), sY = std::sqrt(rec.varY), sZ = std::sqrt(rec.varZ);
        c[0] *= sX * sY;
        c[1] *= sX * sZ;
        c[2] *= sY * sZ;
    }
    rec.covXY = c[0];
    rec.covXZ = c[1];
    rec.covYZ = c[2];
    return {};
}

void clearGpsVectorRec(gpsVectorRec& rec) {
    rec = gpsVectorRec{};
    for (double* value : {&rec.dX, &rec.dY, &rec.dZ, &rec.varX, &rec.varY, &rec.varZ, &rec.covXY,
                          &rec.covXZ, &rec.covYZ})
        *value = 0.0;
}

void scaleGpsVectorToMetres(gpsVectorRec& v, double u) {
    for (double* length : {&v.dX, &v.dY, &v.dZ, &v.spareValues[0], &v.spareValues[1]})
        *length *= u;
    for (double* squared : {&v.varX, &v.varY, &v.varZ, &v.covXY, &v.covXZ, &v.covYZ})
        *squared *= u * u;
}

void applyGpsVectorWeighting(gpsVectorRec& rec) {
    const double c = projectVars.stErrGPSCentering * units::metresPerUnit(projectVars.HorizUnits);
    const double factor = std::pow(2.0, projectVars.stErrGPSMultFactor);
    const double centering = 0.5 * (2.0 * c) * (2.0 * c);
    for (double* variance : {&rec.varX, &rec.varY, &rec.varZ})
        *variance = centering + factor * *variance;
    for (double* covariance : {&rec.covXY, &rec.covXZ, &rec.covYZ})
        *covariance *= factor;
}

int writeGpsVectorRecords(std::string& text, const seqList<gpsVectorRec>& list) {
    gpsVectorRec v;
    for (int i = 0; list.getAt(i, v) == 0; ++i) {
        text += g1Line(v);
        text += formatC("G2  %14.6e %14.6e %14.6e\r\n", v.varX, v.varY, v.varZ);
        text += formatC("G3  %14.6e %14.6e %14.6e\r\n", v.covXY, v.covXZ, v.covYZ);
    }
    return 0;
}

std::string gpsControlLine(const ptGPSXYZCntrl& p) {
    const std::string name(fixedText(p.name));
    if (!isSet(p.sX) || !isSet(p.sY) || !isSet(p.sZ))
        return formatC("C %s %f %f %f\r\n", name.c_str(), p.X, p.Y, p.Z);
    return formatC("C %s %f %f %f %e %e %e %s\r\n", name.c_str(), p.X, p.Y, p.Z, p.sX, p.sY, p.sZ,
                   std::string(fixedText(p.description)).c_str());
}

int writeGpsControlLines(std::string& text) {
    for (const ptGPSXYZCntrl& p : gpsXyzControlArray)
        text += gpsControlLine(p);
    return 0;
}

#include "input/converters/baseline_text_file.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "input/refused_records.hpp"
#include "platform/record_fields.hpp"

#include <optional>

namespace {

constexpr double usFoot = 1200.0 / 3937.0;
constexpr double internationalFoot = 0.3048;

std::optional<double> unitFactor(std::string_view unit) {
    if (unit == "m")
        return 1.0;
    if (unit == "fts")
        return usFoot;
    if (unit == "fti")
        return internationalFoot;
    return std::nullopt;
}

// The records of one file; a vector is under way from its '-' record to its
// '=' record.
class BaselineReading {
public:
    BaselineReading(std::string path, seqList<gpsVectorRec>& vectors,
                    std::vector<ptGPSXYZCntrl>& basePoints)
        : path_(std::move(path)), vectors_(vectors), basePoints_(basePoints) {}

    bool read(const std::vector<std::string>& lines, std::string& message) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            line_ = static_cast<int>(i) + 1;
            const std::string_view line = trimmedText(lines[i]);
            if (line.size() < 2 || line[0] != '@')
                continue;
            const std::string fault = readRecord(line[1], line.substr(2));
            if (!fault.empty()) {
                message = refusedRecordLine(path_, line_, fault, lines[i]);
                return false;
            }
        }
        if (vectorLine_ != 0) {
            message = faultAtLine(path_, vectorLine_, noCovariance);
            return false;
        }
        return true;
    }

private:
    static constexpr const char* noCovariance = "this vector has no covariance record";

    // A field beyond a record's last is a slip (a decimal comma or a blank
    // splits a number in two), never one to pass over.
    static bool fitsCount(const std::vector<std::string_view>& fields, std::size_t least,
                          std::size_t most) {
        return !platform::checkFieldCount(fields.size(), least, most);
    }

    std::string readRecord(char kind, std::string_view text) {
        switch (kind) {
        case '%':
            return readHeader(text);
        case '+':
            return readBasePoint(text);
        case '-':
            return readVector(text);
        case '=':
            return readCovariance(text);
        default:
            return {};
        }
    }

    std::string readHeader(std::string_view text) {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos)
            return {};
        const std::string_view key = trimmedText(text.substr(0, colon));
        const std::string_view value = trimmedText(text.substr(colon + 1));
        if (key == "Unit") {
            const std::optional<double> u = unitFactor(value);
            if (!u)
                return "unknown unit " + std::string(value) + " (m, fts or fti)";
            unit_ = *u;
        } else if (key == "Coordinate type" && value != "Cartesian") {
            return "only baseline files of Cartesian coordinates can be converted";
        }
        return {};
    }

    // A base point: its name starts the vectors that follow; its position
    // is control, taken once by name.
    std::string readBasePoint(std::string_view text) {
        const std::vector<std::string_view> fields = gpsFields(text);
        constexpr const char* needs = "a base point needs a name, X, Y and Z (and CTRL)";
        const auto n = fieldNumbers(fields, 1, {"X", "Y", "Z"});
        const bool control = fields.size() == 5 && fields[4] == "CTRL";
        if (!n)
            return fieldFault(n.error(), needs);
        if (!fitsCount(fields, 4, control ? 5 : 4))
            return needs;
        std::string fault = controlNameFault(fields[0]);
        if (!fault.empty())
            return fault;
        from_ = fields[0];
        for (const ptGPSXYZCntrl& known : basePoints_)
            if (fixedText(known.name) == from_)
                return {};
        ptGPSXYZCntrl point;
        setPointName(point.name, from_);
        point.X = (*n)[0] * unit_;
        point.Y = (*n)[1] * unit_;
        point.Z = (*n)[2] * unit_;
        point.sX = point.sY = point.sZ = notComputed;
        basePoints_.push_back(point);
        return {};
    }

    std::string readVector(std::string_view text) {
        if (vectorLine_ != 0)
            return std::string(noCovariance) + " (vector at line " + std::to_string(vectorLine_) +
                   ")";
        const std::vector<std::string_view> fields = gpsFields(text);
        constexpr const char* needs = "a vector needs a name, dX, dY and dZ";
        const auto n = fieldNumbers(fields, 1, {"dX", "dY", "dZ"});
        if (!n)
            return fieldFault(n.error(), needs);
        if (!fitsCount(fields, 4, 4))
            return needs;
        if (from_.empty())
            return "a vector before any base point";
        clearGpsVectorRec(vector_);
        std::string fault = setVectorNames(vector_, from_, fields[0]);
        if (!fault.empty())
            return fault;
        vector_.dX = (*n)[0] * unit_;
        vector_.dY = (*n)[1] * unit_;
        vector_.dZ = (*n)[2] * unit_;
        vectorLine_ = line_;
        return {};
    }

    // The cofactors a times the variance factor s^2, both in the file's unit:
    // squared lengths, so u^2 turns them into square metres.
    std::string readCovariance(std::string_view text) {
        if (vectorLine_ == 0)
            return "a covariance record without its vector";
        const std::vector<std::string_view> fields = gpsFields(text);
        constexpr const char* needs =
            "a covariance record needs s and the six elements a11 a12 a13 a22 a23 a33";
        const auto n = fieldNumbers(fields, 0, {"s", "a11", "a12", "a13", "a22", "a23", "a33"});
        if (!n)
            return fieldFault(n.error(), needs);
        if (!fitsCount(fields, 7, 7))
            return needs;
        const double k = (*n)[0] * (*n)[0] * unit_ * unit_;
        vector_.varX = k * (*n)[1];
        vector_.covXY = k * (*n)[2];
        vector_.covXZ = k * (*n)[3];
        vector_.varY = k * (*n)[4];
        vector_.covYZ = k * (*n)[5];
        vector_.varZ = k * (*n)[6];
        vectors_.append(vector_);
        vectorLine_ = 0;
        return {};
    }

    std::string path_;
    int line_ = 0;
    int vectorLine_ = 0;
    double unit_ = 1.0;
    std::string from_;
    gpsVectorRec vector_;
    seqList<gpsVectorRec>& vectors_;
    std::vector<ptGPSXYZCntrl>& basePoints_;
};

} // namespace

bool readBaselineTextFile(const std::string& path, seqList<gpsVectorRec>& vectors,
                          std::vector<ptGPSXYZCntrl>& basePoints, std::string& message) {
    std::vector<std::string> lines;
    if (!readVectorInputLines(path, lines, message))
        return false;
    return BaselineReading(path, vectors, basePoints).read(lines, message);
}

int convertBaselineTextToGps(const std::string& inputPath, const std::string& outputPath,
                             int writeControl, std::string& message) {
    seqList<gpsVectorRec> vectors;
    std::vector<ptGPSXYZCntrl> basePoints;
    if (!readBaselineTextFile(inputPath, vectors, basePoints, message))
        return conversionFailed;
    std::string text = ".GPS WEIGHT COVARIANCE\r\n";
    if (writeControl != 0)
        for (const ptGPSXYZCntrl& point : basePoints)
            text += gpsControlLine(point);
    writeGpsVectorRecords(text, vectors);
    return writeGpsTextFile(outputPath, text, message);
}

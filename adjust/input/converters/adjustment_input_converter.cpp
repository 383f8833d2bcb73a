#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "input/refused_records.hpp"
#include "platform/record_fields.hpp"

#include <optional>

namespace {

std::string_view withoutLeadingZeros(std::string_view name) {
    const std::size_t first = name.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : name.substr(first);
}

// One GRP group under way: its vector, the COV offset and scale, and how
// many ELEM rows have been taken.
class IobReading {
public:
    IobReading(std::string path, int stripLeadingZeros)
        : path_(std::move(path)), strip_(stripLeadingZeros != 0) {}

    // False with `message` set at the first fault.
    bool read(const std::vector<std::string>& lines, std::string& message) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            line_ = static_cast<int>(i) + 1;
            const std::string fault = readLine(gpsFields(lines[i]));
            if (!fault.empty()) {
                message = refusedRecordLine(path_, line_, fault, lines[i]);
                return false;
            }
        }
        if (inGroup_ && hasDxyz_) {
            message = faultAtLine(path_, dxyzLine_, unfinished);
            return false;
        }
        return true;
    }

    const seqList<gpsVectorRec>& vectors() const { return vectors_; }

private:
    static constexpr const char* unfinished =
        "the vector of this DXYZ line has no COV line with three ELEM rows";

    // A field beyond a record's last is a slip (a decimal comma or a blank
    // splits a number in two), never one to pass over.
    static bool fitsCount(const std::vector<std::string_view>& fields, std::size_t count) {
        return !platform::checkFieldCount(fields.size(), count, count);
    }

    std::string readLine(const std::vector<std::string_view>& f) {
        if (f.empty())
            return {};
        if (f[0] == "GRP")
            return openGroup();
        if (!inGroup_)
            return {};
        if (f[0] == "DXYZ")
            return readDxyz(f);
        if (f[0] == "COV")
            return readCov(f);
        if (f[0] == "ELEM")
            return readElem(f);
        return {};
    }

    std::string openGroup() {
        if (inGroup_ && hasDxyz_)
            return faultAtLineText(unfinished);
        inGroup_ = true;
        hasDxyz_ = hasCov_ = false;
        rows_ = 0;
        clearGpsVectorRec(vector_);
        return {};
    }

    std::string faultAtLineText(const char* what) const {
        return std::string(what) + " (DXYZ at line " + std::to_string(dxyzLine_) + ")";
    }

    std::string readDxyz(const std::vector<std::string_view>& f) {
        constexpr const char* needs = "DXYZ needs from, to, dX, dY and dZ";
        const auto n = fieldNumbers(f, 3, {"dX", "dY", "dZ"});
        if (!n)
            return fieldFault(n.error(), needs);
        if (!fitsCount(f, 6))
            return needs;
        const std::string_view from = strip_ ? withoutLeadingZeros(f[1]) : f[1];
        const std::string_view to = strip_ ? withoutLeadingZeros(f[2]) : f[2];
        std::string fault = setVectorNames(vector_, from, to);
        if (!fault.empty())
            return fault;
        vector_.dX = (*n)[0], vector_.dY = (*n)[1], vector_.dZ = (*n)[2];
        hasDxyz_ = true;
        dxyzLine_ = line_;
        return {};
    }

    std::string readCov(const std::vector<std::string_view>& f) {
        if (f.size() < 3 || f[1] != "CT" || f[2] != "UPPR")
            return "only COV CT UPPR covariances are read";
        const auto n = fieldNumbers(f, 3, {"a", "s"});
        if (!n)
            return fieldFault(n.error(), "COV CT UPPR needs the numbers a and s");
        offset_ = (*n)[0];
        scale_ = (*n)[1];
        hasCov_ = true;
        rows_ = 0;
        return {};
    }

    std::string readElem(const std::vector<std::string_view>& f) {
        if (!hasCov_)
            return "an ELEM row before its COV line";
        if (!hasDxyz_)
            return "an ELEM row before the DXYZ line of its group";
        const std::size_t count = 3 - static_cast<std::size_t>(rows_);
        const std::string needs = "ELEM row " + std::to_string(rows_ + 1) + " needs " +
                                  std::to_string(count) + " numbers";
        static const std::vector<const char*> names[3] = {
            {"ELEM 1 1", "ELEM 1 2", "ELEM 1 3"}, {"ELEM 2 2", "ELEM 2 3"}, {"ELEM 3 3"}};
        const auto n = fieldNumbers(f, 1, names[rows_]);
        if (!n)
            return fieldFault(n.error(), needs);
        if (!fitsCount(f, 1 + count))
            return needs;
        static constexpr double gpsVectorRec::*cells[3][3] = {
            {&gpsVectorRec::varX, &gpsVectorRec::covXY, &gpsVectorRec::covXZ},
            {&gpsVectorRec::varY, &gpsVectorRec::covYZ, nullptr},
            {&gpsVectorRec::varZ, nullptr, nullptr}};
        for (std::size_t i = 0; i < count; ++i)
            vector_.*cells[rows_][i] = ((*n)[i] + offset_) * scale_;
        if (++rows_ == 3) {
            vectors_.append(vector_);
            inGroup_ = false;
            hasDxyz_ = false;
        }
        return {};
    }

    std::string path_;
    bool strip_;
    int line_ = 0;
    int dxyzLine_ = 0;
    bool inGroup_ = false;
    bool hasDxyz_ = false;
    bool hasCov_ = false;
    int rows_ = 0;
    double offset_ = 0.0;
    double scale_ = 1.0;
    gpsVectorRec vector_;
    seqList<gpsVectorRec> vectors_;
};

} // namespace

int convertAdjustmentInputToGps(const std::string& inputPath, const std::string& outputPath,
                                int stripLeadingZeros, std::string& message) {
    std::vector<std::string> lines;
    if (!readVectorInputLines(inputPath, lines, message))
        return conversionFailed;
    IobReading reading(inputPath, stripLeadingZeros);
    if (!reading.read(lines, message))
        return conversionFailed;
    return writeGpsVectorFile(outputPath, gpsModeCovariance, reading.vectors(), message);
}

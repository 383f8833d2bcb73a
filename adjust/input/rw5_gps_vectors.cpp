#include "input/rw5_gps_vectors.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_file.hpp"
#include "input/raw_text.hpp"
#include "input/rw5_base_points.hpp"
#include "input/rw5_lines.hpp"
#include "input/rw5_numbers.hpp"
#include "input/rw5_reader.hpp"
#include "model/point_name.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/record_fields.hpp"

#include <array>
#include <optional>
#include <vector>

using platform::formatC;

namespace {

// A vector read, with the place of its G1 record.
struct Rw5Vector {
    gpsVectorRec vector;
    std::string path;
    int line = 0;
};

struct ReadOptions {
    bool interactive = true;
    bool weigh = true;
};

// Metres in one unit of an MO record's UN code.
std::optional<double> moUnitFactor(std::string_view code) {
    if (code == "0")
        return units::usSurveyFootMetres;
    if (code == "1")
        return 1.0;
    if (code == "2")
        return units::internationalFootMetres;
    return std::nullopt;
}

// A token's two-letter prefix and how a refusal names its number.
struct Prefixed {
    std::string_view prefix;
    std::string_view field;
};

// The numbers of the tokens from `first` on, each with its prefix in its
// place. A token without its prefix is missing; one whose number is not
// wholly one is refused naming the field and quoting the token.
template <std::size_t N>
platform::FieldValue<std::array<double, N>>
prefixedNumbers(const Rw5Record& record, std::size_t first, const std::array<Prefixed, N>& tokens) {
    std::array<double, N> numbers{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view token = trimmedBlanks(rw5Token(record, first + i));
        if (!startsWithIgnoringCase(token, tokens[i].prefix))
            return platform::missingField(tokens[i].field, token);
        const platform::FieldValue<double> value = rw5TokenNumber(token, 2, tokens[i].field);
        if (!value)
            return value.error();
        numbers[i] = *value;
    }
    return numbers;
}

// One .RW5 file read record by record; the vector under way runs from its
// GPS or G1 record to its G3 record.
class Rw5VectorReading {
public:
    Rw5VectorReading(const RunContext& context, const Rw5File& file, ReadOptions options,
                     std::vector<Rw5Vector>& vectors)
        : context_(context), file_(file), options_(options), vectors_(vectors),
          v_(units::metresPerUnit(projectVars.Rw5GPSUnits)), h_(v_) {}

    bool read() {
        for (std::size_t i = 0; i < file_.lines.size(); ++i) {
            line_ = static_cast<int>(i) + 1;
            const std::string fault = readRecord(file_.lines[i]);
            if (!fault.empty())
                return failAt(line_, fault);
        }
        if (stage_ != stage::none)
            return failAt(g1Line_, unfinished);
        return true;
    }

private:
    enum class stage { none, started, g1, g2 };
    static constexpr const char* unfinished = "the vector of this G1 record has no G3 record";

    std::string readRecord(const std::string& line) {
        const Rw5Record record = splitRw5Record(line);
        if (std::string refusal = rw5CodeRefusal(line, record); !refusal.empty())
            return refusal;
        if (record.code == "BP")
            return readBase(record);
        if (record.code == "LS")
            return readRoverHeight(record);
        if (record.code == "MO")
            return readUnit(record);
        if (record.code == "GPS")
            return startVector(line);
        if (record.code == "G1")
            return readG1(record);
        if (record.code == "G2")
            return readG2(record);
        if (record.code == "G3")
            return readG3(record);
        return {};
    }

    std::string readBase(const Rw5Record& record) {
        const platform::FieldValue<Rw5BasePoint> base = parseRw5BaseRecord(record);
        if (!base) {
            base_.reset();
            return base.error().sentence();
        }
        base_ = *base;
        return {};
    }

    std::string readRoverHeight(const Rw5Record& record) {
        const std::string_view first = trimmedBlanks(rw5Token(record, 0));
        if (!startsWithIgnoringCase(first, "HR"))
            return {};
        const platform::FieldValue<double> height = rw5TokenNumber(first, 2, "rover height");
        if (!height)
            return height.error().sentence();
        roverHeight_m_ = *height * h_;
        return {};
    }

    std::string readUnit(const Rw5Record& record) {
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string_view token = trimmedBlanks(rw5Token(record, i));
            if (!startsWithIgnoringCase(token, "UN"))
                continue;
            const std::string code = rw5ValueText(token, 2);
            const std::optional<double> factor = moUnitFactor(code);
            if (!factor)
                return "unknown unit code UN" + code + " (0, 1 or 2)";
            h_ = *factor;
        }
        return {};
    }

    std::string startVector(std::string_view line) {
        if (stage_ == stage::g1 || stage_ == stage::g2)
            return unfinishedAt();
        clearGpsVectorRec(work_);
        const std::size_t dashes = line.rfind("--");
        if (dashes != std::string_view::npos)
            setFixedText(work_.comment,
                         trimmedBlanks(line.substr(dashes + 2)).substr(0, gpsCommentMax));
        stage_ = stage::started;
        return {};
    }

    std::string readG1(const Rw5Record& record) {
        if (stage_ == stage::g1 || stage_ == stage::g2)
            return unfinishedAt();
        if (stage_ == stage::none)
            clearGpsVectorRec(work_);
        const std::string_view from = trimmedBlanks(rw5Token(record, 0));
        const std::string_view to = trimmedBlanks(rw5Token(record, 1));
        constexpr const char* needs = "a G1 record needs BP, PN, DX, DY and DZ";
        if (!startsWithIgnoringCase(from, "BP") || !startsWithIgnoringCase(to, "PN"))
            return needs;
        const auto d = prefixedNumbers<3>(record, 2, {{{"DX", "dX"}, {"DY", "dY"}, {"DZ", "dZ"}}});
        if (!d)
            return fieldFault(d.error(), needs);
        // An empty name is told once the vector is complete; a longer one
        // than the lists hold was cut.
        for (const auto& [token, field] :
             {std::pair{from, "from point"}, std::pair{to, "to point"}})
            if (const std::string name = rw5Name(token); !name.empty())
                if (const auto fault = platform::readName(name, field, pointNameMax).fault())
                    return fault->sentence();
        setPointName(work_.from, rw5Name(from));
        setPointName(work_.to, rw5Name(to));
        work_.dX = (*d)[0];
        work_.dY = (*d)[1];
        work_.dZ = (*d)[2];
        g1Line_ = line_;
        stage_ = stage::g1;
        return {};
    }

    std::string readG2(const Rw5Record& record) {
        if (stage_ != stage::g1)
            return "a G2 record must follow its G1 record";
        const auto var = prefixedNumbers<3>(
            record, 0, {{{"VX", "variance VX"}, {"VY", "variance VY"}, {"VZ", "variance VZ"}}});
        if (!var)
            return fieldFault(var.error(), "a G2 record needs the variances VX, VY and VZ");
        if ((*var)[0] < 0.0 || (*var)[1] < 0.0 || (*var)[2] < 0.0)
            return "a variance is negative";
        work_.varX = (*var)[0];
        work_.varY = (*var)[1];
        work_.varZ = (*var)[2];
        stage_ = stage::g2;
        return {};
    }

    std::string readG3(const Rw5Record& record) {
        if (stage_ != stage::g2)
            return "a G3 record must follow the G1 and G2 records of its vector";
        const auto cov = prefixedNumbers<3>(
            record, 0,
            {{{"XY", "covariance XY"}, {"XZ", "covariance XZ"}, {"YZ", "covariance YZ"}}});
        if (!cov)
            return fieldFault(cov.error(), "a G3 record needs the covariances XY, XZ and YZ");
        work_.covXY = (*cov)[0];
        work_.covXZ = (*cov)[1];
        work_.covYZ = (*cov)[2];
        stage_ = stage::none;
        finishVector();
        return {};
    }

    void finishVector() {
        const std::string from(fixedText(work_.from)), to(fixedText(work_.to));
        if (!base_ || !roverHeight_m_) {
            if (!base_)
                tellMissing({"base antenna height", "base antenna phase center"}, from, to);
            if (!roverHeight_m_)
                tellMissing({"rover antenna height"}, from, to);
            return;
        }
        scaleGpsVectorToMetres(work_, v_);
        if (options_.weigh)
            applyGpsVectorWeighting(work_);
        reduceVectorToMarks(work_, base_->antennaHeight * v_, base_->phaseCentre * v_,
                            *roverHeight_m_, base_->latitude_rad, base_->longitude_rad,
                            base_->height * v_);
        vectors_.push_back({work_, file_.path, g1Line_});
        if (options_.interactive && (from.empty() || to.empty()))
            context_.message(
                formatC("Invalid Point number in GPS vector\nFrom Pt.: %s -> To Pt.:%s",
                        from.c_str(), to.c_str()));
    }

    void tellMissing(std::initializer_list<const char*> values, const std::string& from,
                     const std::string& to) const {
        if (!options_.interactive)
            return;
        for (const char* what : values)
            context_.message(formatC("Invalid %s in GPS vector\nFrom Pt.: %s -> To Pt.:%s", what,
                                     from.c_str(), to.c_str()));
    }

    std::string unfinishedAt() const {
        return std::string(unfinished) + " (G1 at line " + std::to_string(g1Line_) + ")";
    }

    bool failAt(int line, const std::string& what) const {
        const std::string text = faultAtLine(file_.path, line, what);
        writeLine(errFile, text);
        context_.message(text);
        return false;
    }

    const RunContext& context_;
    const Rw5File& file_;
    const ReadOptions options_;
    std::vector<Rw5Vector>& vectors_;
    const double v_; // metres per unit of the vectors and base points
    double h_;       // metres per unit of the rover heights
    std::optional<Rw5BasePoint> base_;
    std::optional<double> roverHeight_m_;
    stage stage_ = stage::none;
    gpsVectorRec work_;
    int line_ = 0;
    int g1Line_ = 0;
};

bool readVectorsOf(const RunContext& context, const std::string& fileList, ReadOptions options,
                   std::vector<Rw5Vector>& vectors) {
    const std::vector<std::string> names = fileListNames(fileList);
    if (names.empty()) {
        if (options.interactive)
            context.message("No .RW5 file specified.");
        return false;
    }
    for (const std::string& name : names) {
        const std::string path = projectRelativePath(name);
        Rw5File file;
        std::string error;
        if (!loadRw5File(path, file, error)) {
            if (options.interactive)
                context.message(error);
            return false;
        }
        context.shell.setMessage("Reading GPS Vectors");
        if (!Rw5VectorReading(context, file, options, vectors).read())
            return false;
    }
    return true;
}

} // namespace

int readRw5GpsVectors(const RunContext& context, const std::string& fileList, int interactive,
                      seqList<gpsVectorRec>& list) {
    std::vector<Rw5Vector> vectors;
    const bool read = readVectorsOf(context, fileList, {interactive != 0, true}, vectors);
    for (const Rw5Vector& v : vectors)
        list.append(v.vector);
    return read ? 0 : 1;
}

int convertRw5VectorsToGps(const RunContext& context, const std::string& fileList,
                           const std::string& outputPath) {
    std::vector<Rw5Vector> vectors;
    if (!readVectorsOf(context, fileList, {true, false}, vectors))
        return conversionFailed;
    seqList<gpsVectorRec> list;
    for (Rw5Vector& v : vectors) {
        const std::string from(fixedText(v.vector.from)), to(fixedText(v.vector.to));
        const std::string fault = setVectorNames(v.vector, from, to);
        if (!fault.empty()) {
            context.message(faultAtLine(v.path, v.line, fault));
            return conversionFailed;
        }
        list.append(v.vector);
    }
    std::string message;
    if (writeGpsVectorFile(outputPath, gpsModeCovariance, list, message) == conversionDone)
        return conversionDone;
    context.message(message);
    return conversionFailed;
}

// Every converter meets damaged copies of its fixture: truncated at many
// places, with garbage bytes written in, with very long runs of one
// character. It must never crash (the test build runs under AddressSanitizer
// and UndefinedBehaviorSanitizer); a failure must come with a message and
// leave no output file, a success must leave the whole output, and neither
// may leave a temporary file behind.

#include "converter_test_support.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/data_word_level_converter.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/lettered_level_converter.hpp"
#include "input/converters/total_station_converters.hpp"
#include "input/rw5_gps_vectors.hpp"
#include "model/run_context.hpp"

#include <gtest/gtest.h>

#include <random>

using namespace convertertest;

namespace {

using Converter = int (*)(const std::string&, const std::string&, std::string&);

int convertIobDroppingZeros(const std::string& in, const std::string& out, std::string& message) {
    return convertAdjustmentInputToGps(in, out, 1, message);
}

int convertReportGFiles(const std::string& in, const std::string& out, std::string& message) {
    return convertGFileToGps(in, out, 1, message);
}

int convertDataCollector(const std::string& in, const std::string& out, std::string& message) {
    std::vector<repairedName> repaired;
    return convertDataCollectorToGps(in, out, repaired, message);
}

int convertAscVectors(const std::string& in, const std::string& out, std::string& message) {
    std::vector<repairedName> repaired;
    return convertAscExportToGps(in, out, repaired, message);
}

int convertBaselinesWithControl(const std::string& in, const std::string& out,
                                std::string& message) {
    return convertBaselineTextToGps(in, out, 1, message);
}

int convertObservations(const std::string& in, const std::string& out, std::string& message) {
    return convertObservationFileToGps(in, out, 1, message);
}

int convertGFile(const std::string& in, const std::string& out, std::string& message) {
    return convertGFileToGps(in, out, 0, message);
}

int convertLandXml(const std::string& in, const std::string& out, std::string& message) {
    std::string notice;
    return convertLandXmlToGps(in, out, 1, message, notice);
}

// The .RW5 vector converter tells its faults through the shell.
int convertRw5Vectors(const std::string& in, const std::string& out, std::string& message) {
    RecordingShell shell;
    const RunContext context{shell};
    const int result = convertRw5VectorsToGps(context, in + "\n", out);
    if (!shell.boxes.empty())
        message = shell.boxes.back().text;
    return result;
}

struct ConverterCase {
    const char* name;
    const char* fixture;
    Converter convert;
};

const ConverterCase converterCases[] = {
    {"AscToRw5", "export.asc", convertAscExportToRw5},
    {"AscToVkr", "export.asc", convertAscExportToVkr},
    {"XmlToRw5", "fieldbook.xml", convertFieldBookXmlToRw5},
    {"XmlToVkr", "fieldbook.xml", convertFieldBookXmlToVkr},
    {"DataWordLevel", "word_run.dat", convertDataWordLevelFile},
    {"LetteredLevel", "lettered_run.txt", convertLetteredLevelFile},
    {"VectorText", "vectors.tvf", convertTvfVectorTextToGps},
    {"BaselineText", "baselines.txt", convertBaselinesWithControl},
    {"GFile", "vectors.g", convertGFile},
    {"DataCollector", "job.dat", convertDataCollector},
    {"AscVectors", "vectors.asc", convertAscVectors},
    {"ObservationFile", "observations.obn", convertObservations},
    {"ReportGFiles", "vectors.g", convertReportGFiles},
    {"AdjustmentInput", "adjustment.iob", convertIobDroppingZeros},
    {"VectorXml", "vectors.xml", convertVectorXmlToGps},
    {"LandXml", "survey.xml", convertLandXml},
    {"FieldBookGps", "fieldbook_gps.xml", convertFieldBookXmlToGps},
    {"Rw5Vectors", "vectors.rw5", convertRw5Vectors},
};

// Bytes that mean something to one of the formats, and some that mean nothing.
constexpr char interestingBytes[] = {'\0',   '\n',   '\r', ',', ';', '-', '+', '*', '<', '>',
                                     '/',    '=',    '[',  ']', '9', '0', '.', 'e', ' ', '\x7f',
                                     '\x80', '\xff', 'b',  'g', 'i', 'k', 'w', 'y', '&', '"'};

class ConverterMutation : public ConverterTest,
                          public ::testing::WithParamInterface<ConverterCase> {
protected:
    void convertOnce(const std::string& bytes, const std::string& what) {
        SCOPED_TRACE(what);
        const std::string input = write("in.dat", bytes);
        std::filesystem::remove(path("out.txt"));
        std::string message;
        const int result = GetParam().convert(input, path("out.txt"), message);
        if (result == conversionDone) {
            EXPECT_TRUE(std::filesystem::exists(path("out.txt")));
        } else {
            EXPECT_EQ(result, conversionFailed);
            EXPECT_FALSE(message.empty());
            EXPECT_FALSE(std::filesystem::exists(path("out.txt")));
        }
        EXPECT_TRUE(otherFiles({"in.dat", "out.txt"}).empty());
    }

    std::string original() const { return testsupport::readBytes(fixture(GetParam().fixture)); }

    std::mt19937 random{39};
    std::size_t offsetIn(const std::string& bytes) {
        return std::uniform_int_distribution<std::size_t>(0, bytes.size())(random);
    }
};

} // namespace

TEST_P(ConverterMutation, TruncatedInputs) {
    const std::string bytes = original();
    const std::size_t step = std::max<std::size_t>(1, bytes.size() / 80);
    for (std::size_t length = 0; length <= bytes.size(); length += step)
        convertOnce(bytes.substr(0, length), "cut at " + std::to_string(length));
}

TEST_P(ConverterMutation, GarbageBytes) {
    const std::string bytes = original();
    std::uniform_int_distribution<std::size_t> pick(0, std::size(interestingBytes) - 1);
    std::uniform_int_distribution<int> count(1, 8);
    for (int round = 0; round < 120; ++round) {
        std::string damaged = bytes;
        const int n = count(random);
        for (int i = 0; i < n; ++i) {
            const std::size_t at = offsetIn(damaged);
            const char c = interestingBytes[pick(random)];
            if (round % 2 == 0 && at < damaged.size())
                damaged[at] = c;
            else
                damaged.insert(at, 1, c);
        }
        convertOnce(damaged, "round " + std::to_string(round));
    }
}

TEST_P(ConverterMutation, VeryLongLines) {
    const std::string bytes = original();
    const char fills[] = {'x', '9', ',', '0', ' ', '-'};
    for (int round = 0; round < 12; ++round) {
        std::string damaged = bytes;
        damaged.insert(offsetIn(damaged), std::string(200000, fills[round % std::size(fills)]));
        convertOnce(damaged, "round " + std::to_string(round));
    }
}

INSTANTIATE_TEST_SUITE_P(EachConverter, ConverterMutation, ::testing::ValuesIn(converterCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The numbers of a field are data only when finite and of survey size: an
// overflow or "inf" is a fault of its line, not a value to convert.
TEST(ConverterFields, NumbersBeyondSurveySizeAreNoNumbers) {
    EXPECT_EQ(*platform::readNumber(" 12.5 ", "dX"), 12.5);
    EXPECT_EQ(*platform::readNumber("-999999999", "dX"), -999999999.0);
    for (const char* text : {"1e308", "-1e13", "inf", "NaN", "1e400"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(platform::readNumber(text, "dX").ok());
    }
}

#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/gps_vector_output.hpp"
#include "input/gps_vector_file.hpp"
#include "platform/c_locale_text.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t headerSize = 84;
constexpr std::size_t recordSize = 2180;
constexpr std::size_t nameSlot = 130;
constexpr char headerText[] = "VECTOR FILE"; // with its zero: 12 bytes

template <class T> T littleEndian(const std::string& bytes, std::size_t at) {
    static_assert(std::endian::native == std::endian::little);
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

// The zero-terminated text of a name slot, never beyond the slot.
std::string_view slotText(const std::string& bytes, std::size_t at) {
    const std::string_view slot(bytes.data() + at, nameSlot);
    return slot.substr(0, slot.find('\0'));
}

std::string_view withoutLeadingZeros(std::string_view name) {
    const std::size_t first = name.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : name.substr(first);
}

std::string offsetFault(const std::string& path, std::size_t offset, const std::string& what) {
    return path + ", offset " + std::to_string(offset) + ": " + what;
}

} // namespace

std::string observationSessionLabel(int n, int week, double seconds) {
    const double d = seconds / 86400.0;
    const double dw = std::floor(d);
    const double hours = (d - dw) * 24.0;
    const double hh = std::floor(hours);
    const int mm = static_cast<int>((hours - hh) * 60.0 + 1e-11);
    const double y = week * 7.0 / 365.0;
    const int day = static_cast<int>((y - std::floor(y)) * 365.0 + dw + 1.0 + 1e-11);
    return platform::formatC("V%d  Day%d  %02d:%02d", n, day, static_cast<int>(hh), mm);
}

int convertObservationFileToGps(const std::string& inputPath, const std::string& outputPath,
                                int stripLeadingZeros, std::string& message) {
    std::string bytes;
    if (!readInputBytes(inputPath, bytes)) {
        message = "Error opening " + inputPath;
        return conversionFailed;
    }
    if (bytes.size() < headerSize ||
        std::memcmp(bytes.data(), headerText, sizeof headerText) != 0) {
        message = offsetFault(inputPath, 0, "the file does not begin with the header VECTOR FILE");
        return conversionFailed;
    }
    if ((bytes.size() - headerSize) % recordSize != 0) {
        const std::size_t last = headerSize + (bytes.size() - headerSize) / recordSize * recordSize;
        message = offsetFault(inputPath, last, "the last vector record is cut short");
        return conversionFailed;
    }
    const std::string fileName = std::filesystem::path(inputPath).filename().string();
    std::string text = ".GPS WEIGHT STDERRCORRELATION\r\n";
    int n = 0;
    for (std::size_t at = headerSize; at < bytes.size(); at += recordSize) {
        gpsVectorRec v;
        clearGpsVectorRec(v);
        std::string_view from = slotText(bytes, at);
        std::string_view to = slotText(bytes, at + nameSlot);
        if (stripLeadingZeros != 0) {
            from = withoutLeadingZeros(from);
            to = withoutLeadingZeros(to);
        }
        const std::string fault = setVectorNames(v, from, to);
        if (!fault.empty()) {
            message = offsetFault(inputPath, at, fault);
            return conversionFailed;
        }
        v.varX = littleEndian<float>(bytes, at + 2046);
        v.varY = littleEndian<float>(bytes, at + 2050);
        v.varZ = littleEndian<float>(bytes, at + 2054);
        v.covXY = littleEndian<float>(bytes, at + 2062);
        v.covXZ = littleEndian<float>(bytes, at + 2066);
        v.covYZ = littleEndian<float>(bytes, at + 2070);
        v.dX = littleEndian<double>(bytes, at + 2098);
        v.dY = littleEndian<double>(bytes, at + 2106);
        v.dZ = littleEndian<double>(bytes, at + 2114);
        const int week = littleEndian<std::int16_t>(bytes, at + 2128);
        const double seconds = littleEndian<double>(bytes, at + 2136);
        constexpr double secondsPerWeek = 7 * 86400.0;
        if (!(seconds >= 0.0 && seconds < secondsPerWeek)) {
            message = offsetFault(inputPath, at + 2136, "the seconds of week are out of range");
            return conversionFailed;
        }
        for (double value : {v.varX, v.varY, v.varZ, v.covXY, v.covXZ, v.covYZ, v.dX, v.dY, v.dZ}) {
            if (!std::isfinite(value)) {
                message = offsetFault(inputPath, at, "a value of this vector is not a number");
                return conversionFailed;
            }
        }
        text += "G0  '" + observationSessionLabel(++n, week, seconds) + " " + fileName + "\r\n";
        seqList<gpsVectorRec> one;
        one.append(v);
        writeGpsVectorRecords(text, one);
    }
    return writeGpsTextFile(outputPath, text, message);
}

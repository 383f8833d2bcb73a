#include "ring_network.hpp"

#include "platform/c_locale_text.hpp"
#include "support/temp_folder.hpp"

#include <cmath>
#include <string>
#include <vector>

namespace guitest {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double legLength = 150.0;
constexpr double instrumentHeight = 1.5;
constexpr double targetHeight = 1.6;
constexpr double elevation = 50.0;

struct Station {
    double northing, easting;
};

std::string nameOf(int i) {
    return "P" + std::to_string(i);
}

double azimuthDegrees(const Station& from, const Station& to) {
    const double degrees =
        std::atan2(to.easting - from.easting, to.northing - from.northing) * 180.0 / pi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

// Degrees as the packed dd.mmssS text, seconds rounded to 0.1".
std::string packed(double degrees) {
    const long fullCircle = 360L * 36000L;
    const long tenths = std::lround(degrees * 36000.0) % fullCircle;
    const long minutesAndTenths = tenths % 36000;
    const long seconds = minutesAndTenths % 600;
    return platform::formatC("%ld.%02ld%02ld%ld", tenths / 36000, minutesAndTenths / 600,
                             seconds / 10, seconds % 10);
}

// The slope distance and zenith angle between equal elevations, from the
// instrument to the target above them.
struct Sight {
    std::string distance, zenith;
};
Sight sight(const Station& from, const Station& to) {
    const double flat = std::hypot(to.northing - from.northing, to.easting - from.easting);
    const double rise = targetHeight - instrumentHeight;
    return {platform::formatC("%.3f", std::hypot(flat, rise)),
            packed(std::atan2(flat, rise) * 180.0 / pi)};
}

// A setup line (station, instrument height, backsight) or a foresight line.
std::string rawLine(const std::string& station, const std::string& backsight,
                    const std::string& reading, const Sight& s, const std::string& foresight) {
    std::string line = platform::formatC(
        "1%-10s %8s %-10s %8.3f %10s %9s %9s %-10s %-4s%s", station.c_str(),
        station.empty() ? "" : platform::formatC("%.3f", instrumentHeight).c_str(),
        backsight.c_str(), targetHeight, reading.c_str(), s.distance.c_str(), s.zenith.c_str(),
        foresight.c_str(), foresight.empty() ? "" : "IP", foresight.empty() ? "" : "pin");
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string header(std::size_t records) {
    std::string text(498, ' ');
    text.replace(190, 3, "100");
    text.replace(198, 10, "VER 1.0   ");
    text.replace(209, 10, platform::formatC("%010zu", records));
    return text;
}

} // namespace

void writeRingNetwork(const std::filesystem::path& path, int points) {
    const double radius = legLength * points / (2.0 * pi);
    std::vector<Station> ring;
    for (int i = 0; i < points; ++i) {
        const double t = 2.0 * pi * i / points;
        ring.push_back({5000.0 + radius * std::cos(t), 5000.0 + radius * std::sin(t)});
    }
    std::vector<std::string> records = {"6SE X:! Y:! Z:!"};
    for (int i = 0; i < 2; ++i)
        records.push_back(platform::formatC("6C %s %.3f %.3f %.3f 'CP,control", nameOf(i).c_str(),
                                            ring[i].northing, ring[i].easting, elevation));
    for (int i = 0; i < points; ++i) {
        const int back = (i + points - 1) % points;
        const int fore = (i + 1) % points;
        const double angle =
            azimuthDegrees(ring[i], ring[fore]) - azimuthDegrees(ring[i], ring[back]);
        records.push_back(
            rawLine(nameOf(i), nameOf(back), packed(0.0), sight(ring[i], ring[back]), ""));
        records.push_back(rawLine("", "", packed(angle < 0.0 ? angle + 360.0 : angle),
                                  sight(ring[i], ring[fore]), nameOf(fore)));
    }
    std::string text = header(records.size()) + "\r\n";
    for (const std::string& record : records)
        text += record + "\r\n";
    testsupport::writeBytes(path, text);
}

} // namespace guitest

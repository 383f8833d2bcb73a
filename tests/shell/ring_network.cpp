#include "ring_network.hpp"

#include "platform/c_locale_text.hpp"
#include "support/raw_file_text.hpp"
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

std::string packed(double degrees) {
    return testsupport::packedDegrees(degrees, 1);
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
    const bool setup = foresight.empty();
    return testsupport::rawObservationLine(
        {station, setup ? platform::formatC("%.3f", instrumentHeight) : "", backsight,
         platform::formatC("%.3f", targetHeight), reading, s.distance, s.zenith, foresight,
         setup ? "" : "IP", setup ? "" : "pin"});
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
    std::string text = testsupport::rawFileHeader(records.size()) + "\r\n";
    for (const std::string& record : records)
        text += record + "\r\n";
    testsupport::writeBytes(path, text);
}

} // namespace guitest

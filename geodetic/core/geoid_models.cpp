// The eight geoid models, their file names and their tiles.

#include "geoid_models.hpp"

#include "geoid_grid_data.hpp"

#include "geodetic/geoid_grid.hpp"
#include "plain_text.hpp"

#include <array>
#include <cctype>
#include <fstream>
#include <optional>
#include <string>

namespace geodetic_detail {
namespace {

// The file pattern whose presence marks each model, by kind 1-8.
constexpr std::array<const char*, 8> presencePatterns = {"g1999*.grd",  "g2003???.grd", "egm96.grd",
                                                         "au_s???.grd", "cngeoid.grd",  "HT2_0.grd",
                                                         "HT1_01.grd",  "osgm02.grd"};

bool validKind(int kind) {
    return kind >= geoidGeoid99 && kind <= geoidOsgm02;
}

struct TileBox {
    double south, north, west, east; // degrees, longitudes east 0-360
};

// GEOID99 tiles 1-14; GEOID03 uses tiles 1-8.
constexpr std::array<TileBox, 14> geoid99Boxes = {{{41, 58, 230, 248},
                                                   {41, 58, 248, 265},
                                                   {41, 58, 265, 282},
                                                   {41, 58, 282, 300},
                                                   {24, 41, 230, 248},
                                                   {24, 41, 248, 265},
                                                   {24, 41, 265, 282},
                                                   {24, 41, 282, 300},
                                                   {60, 72, 172, 204},
                                                   {60, 72, 202, 234},
                                                   {49, 61, 172, 204},
                                                   {49, 61, 202, 234},
                                                   {18, 24, 199, 206},
                                                   {20, 26, 291, 296}}};

int lastBoxHolding(double lat, double lon, std::size_t boxCount) {
    int tile = 0;
    for (std::size_t i = 0; i < boxCount; ++i) {
        const TileBox& box = geoid99Boxes[i];
        if (lat >= box.south && lat <= box.north && lon >= box.west && lon <= box.east)
            tile = static_cast<int>(i) + 1;
    }
    return tile;
}

std::string geoid99TileName(int tile) {
    if (tile <= 8)
        return "g1999u0" + std::to_string(tile) + ".grd";
    if (tile <= 12)
        return "g1999a0" + std::to_string(tile - 8) + ".grd";
    return tile == 13 ? "g1999h01.grd" : "g1999p01.grd";
}

// The first file of the folder (the current folder when empty) whose name
// matches the pattern without regard to case.
std::optional<std::filesystem::path> firstFileMatching(const std::filesystem::path& folder,
                                                       std::string_view pattern) {
    std::error_code ec;
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    for (std::filesystem::directory_iterator it(where, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (matchesWildcardIgnoringCase(it->path().filename().string(), pattern) &&
            it->is_regular_file(ec))
            return it->path();
    }
    return std::nullopt;
}

// The path of a fixed file name in the folder: the exact name when it
// exists, else a case-insensitive match, else the exact name (which then
// fails to open).
std::filesystem::path fileInFolder(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path exact = folder / name;
    std::error_code ec;
    if (std::filesystem::exists(exact, ec))
        return exact;
    return firstFileMatching(folder, name).value_or(exact);
}

enum class TileRead { covers, elsewhere, unreadable, damaged };

// Whether the tile file covers the point strictly inside its bounds (the
// first four header lines); `damaged`, with the refusal in *fault, when a
// bound is not wholly a number.
TileRead gda94TileCovers(const std::filesystem::path& file, double lat, double lon,
                         std::string* fault) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open())
        return TileRead::unreadable;
    platform::LineReader lines(in);
    double bounds[4] = {}; // south, west, north, east
    if (readGrdHeader(lines, file, 4, bounds, fault) == GrdRead::damaged)
        return TileRead::damaged;
    const bool inside = bounds[0] < lat && lat < bounds[2] && bounds[1] < lon && lon < bounds[3];
    return inside ? TileRead::covers : TileRead::elsewhere;
}

// GDA94 tiles au_sc49 ... au_sl57: numbers 49-57, within each the letters c-l.
int findGda94Tile(const std::filesystem::path& folder, double lat, double lon,
                  std::filesystem::path* file, std::string* fault) {
    bool incomplete = false;
    for (int number = 49; number <= 57; ++number)
        for (char letter = 'c'; letter <= 'l'; ++letter) {
            const std::filesystem::path candidate = fileInFolder(
                folder, "au_s" + std::string(1, letter) + std::to_string(number) + ".grd");
            switch (gda94TileCovers(candidate, lat, lon, fault)) {
            case TileRead::covers:
                *file = candidate;
                return geoidOk;
            case TileRead::damaged:
                return geoidFileDamaged;
            case TileRead::unreadable:
                incomplete = true;
                break;
            case TileRead::elsewhere:
                break;
            }
        }
    return incomplete ? geoidFileUnavailable : geoidNoTile;
}

} // namespace

bool isTiledGeoidModel(int kind) {
    return kind == geoidGeoid99 || kind == geoidGeoid03 || kind == geoidGda94;
}

bool matchesWildcardIgnoringCase(std::string_view name, std::string_view pattern) {
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*')
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (matchesWildcardIgnoringCase(name.substr(skip), pattern.substr(1)))
                return true;
    if (pattern[0] == '*' || name.empty())
        return false;
    const bool same = pattern[0] == '?' || std::tolower(static_cast<unsigned char>(pattern[0])) ==
                                               std::tolower(static_cast<unsigned char>(name[0]));
    return same && matchesWildcardIgnoringCase(name.substr(1), pattern.substr(1));
}

bool geoidModelPresent(const std::filesystem::path& folder, int kind) {
    return validKind(kind) &&
           firstFileMatching(folder, presencePatterns[static_cast<std::size_t>(kind - 1)]);
}

int geoid99Tile(double lat, double lon) {
    return lastBoxHolding(lat, lon, 14);
}

int geoid03Tile(double lat, double lon) {
    return lastBoxHolding(lat, lon, 8);
}

int chooseGeoidFile(const std::filesystem::path& folder, int kind, double lat, double lon,
                    std::filesystem::path* file, std::string* fault) {
    std::string unasked;
    if (fault == nullptr)
        fault = &unasked;
    if (lon < 0.0)
        lon += 360.0;
    switch (kind) {
    case geoidGeoid99: {
        const int tile = geoid99Tile(lat, lon);
        if (tile == 0)
            return geoidNoTile;
        *file = fileInFolder(folder, geoid99TileName(tile));
        return geoidOk;
    }
    case geoidGeoid03: {
        const int tile = geoid03Tile(lat, lon);
        if (tile == 0)
            return geoidNoTile;
        *file = fileInFolder(folder, "g2003u0" + std::to_string(tile) + ".grd");
        return geoidOk;
    }
    case geoidGda94:
        return findGda94Tile(folder, lat, lon, file, fault);
    default:
        if (!validKind(kind))
            return geoidUnknownKind;
        *file = fileInFolder(folder, presencePatterns[static_cast<std::size_t>(kind - 1)]);
        return geoidOk;
    }
}

} // namespace geodetic_detail

#pragma once
// The geoid models: which files mark a model as present, and which file or
// tile covers a point.

#include <filesystem>
#include <string>
#include <string_view>

namespace geodetic_detail {

// True for the models whose grid comes in tiles (GEOID99, GEOID03, GDA94).
bool isTiledGeoidModel(int kind);

// True when `folder` holds a file of model `kind` (1-8): a name that matches
// the model's pattern ('*' any run of characters, '?' one character)
// without regard to ASCII case.
bool geoidModelPresent(const std::filesystem::path& folder, int kind);

// '*' and '?' wildcard match of a file name, ASCII case ignored.
bool matchesWildcardIgnoringCase(std::string_view name, std::string_view pattern);

// The GEOID99 tile (1-14) or GEOID03 tile (1-8) for a point (degrees,
// longitude east 0-360): the last box, in table order, that holds it,
// bounds included. 0 when none does.
int geoid99Tile(double lat, double lon);
int geoid03Tile(double lat, double lon);

// The grid file of model `kind` that covers the point (longitude east,
// negative taken plus 360), looked up exactly and then without regard to
// case. geoidOk with *file set, geoidNoTile, geoidFileUnavailable (a GDA94
// tile that could not be read and none covering the point),
// geoidFileDamaged (a GDA94 tile whose bounds are not wholly numbers, the
// refusal in *fault) or geoidUnknownKind.
int chooseGeoidFile(const std::filesystem::path& folder, int kind, double lat, double lon,
                    std::filesystem::path* file, std::string* fault = nullptr);

} // namespace geodetic_detail

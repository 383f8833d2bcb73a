#include "ptbank/dialog_positions.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"
#include "platform/line_reader.hpp"
#include "platform/profile_store.hpp"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>

namespace ptbank {
namespace {

constexpr const char* profileRoot = "V & K Software Systems/";
constexpr const char* leftValue = "X";
constexpr const char* topValue = "Y";
constexpr std::size_t numbersAfterName = 5;

const std::map<int, std::string>& dialogTable() {
    static const std::map<int, std::string> table = {{overwriteDialogNumber, overwriteDialogName}};
    return table;
}

bool usableAppKey(const std::string& appKey) {
    return appKey.find('/') == std::string::npos && appKey != "." && appKey != "..";
}

std::optional<platform::ProfileStore> loadedProfile(const std::string& appKey) {
    if (!usableAppKey(appKey))
        return std::nullopt;
    platform::ProfileStore store(profileRoot + appKey);
    std::string error;
    if (!store.load(error))
        return std::nullopt;
    return store;
}

bool beginsWith(const std::string& line, const std::string& prefix) {
    return line.compare(0, prefix.size(), prefix) == 0;
}

// Every line of the file; none when it exists but cannot be read.
std::optional<std::vector<std::string>> fileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return lines;
    platform::TextFileReader reader(path);
    if (!reader.isOpen())
        return std::nullopt;
    for (std::string line; reader.next(line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> commaFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != std::string::npos;
         start = comma + 1, comma = line.find(',', start))
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<ScreenPoint> cornerOfLine(const std::string& line) {
    const std::vector<std::string> fields = commaFields(line);
    if (fields.size() != 1 + numbersAfterName)
        return std::nullopt;
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (!platform::parseLong(fields[i]))
            return std::nullopt;
    const long left = *platform::parseLong(fields[1]);
    const long top = *platform::parseLong(fields[2]);
    if (left < INT_MIN || left > INT_MAX || top < INT_MIN || top > INT_MAX)
        return std::nullopt;
    return ScreenPoint{static_cast<int>(left), static_cast<int>(top)};
}

std::optional<ScreenPoint> cornerFromFile(const DialogPositionStore& store) {
    std::error_code ec;
    if (!std::filesystem::exists(store.positionFile, ec))
        return ScreenPoint{0, 0};
    const auto lines = fileLines(store.positionFile);
    if (!lines)
        return std::nullopt;
    for (const std::string& line : *lines)
        if (beginsWith(line, store.dialogName))
            return cornerOfLine(line);
    return std::nullopt;
}

void saveToFile(const DialogPositionStore& store, const ScreenArea& window, bool maximised) {
    const auto lines = fileLines(store.positionFile);
    if (!lines)
        return;
    std::string contents;
    for (const std::string& line : *lines)
        if (!beginsWith(line, store.dialogName))
            contents += line + "\r\n";
    contents += platform::formatC("%s,%ld,%ld,%ld,%ld,%d\r\n", store.dialogName.c_str(),
                                  static_cast<long>(window.x), static_cast<long>(window.y),
                                  static_cast<long>(window.x) + window.width,
                                  static_cast<long>(window.y) + window.height, maximised ? 1 : 0);
    std::string error;
    platform::replaceFile(store.positionFile, contents, error);
}

// Pixels of the window that the display shows.
long overlap(const ScreenArea& a, const ScreenArea& b) {
    const long w = std::min<long>(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long h = std::min<long>(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the point to the nearest pixel of the area.
long long distanceSquared(ScreenPoint p, const ScreenArea& area) {
    const long long dx =
        std::max<long long>({area.x - p.x, 0LL, p.x - (area.x + area.width - 1LL)});
    const long long dy =
        std::max<long long>({area.y - p.y, 0LL, p.y - (area.y + area.height - 1LL)});
    return dx * dx + dy * dy;
}

const ScreenArea& chosenDisplay(ScreenPoint corner, int width, int height,
                                const std::vector<ScreenArea>& displays) {
    const ScreenArea window{corner.x, corner.y, width, height};
    const auto most = std::max_element(displays.begin(), displays.end(),
                                       [&](const ScreenArea& a, const ScreenArea& b) {
                                           return overlap(window, a) < overlap(window, b);
                                       });
    if (overlap(window, *most) > 0)
        return *most;
    return *std::min_element(displays.begin(), displays.end(),
                             [&](const ScreenArea& a, const ScreenArea& b) {
                                 return distanceSquared(corner, a) < distanceSquared(corner, b);
                             });
}

// The start of the window along one axis, inside [start, start + length).
int shiftedInto(int position, int size, int start, int length) {
    const int last = start + length - size;
    return std::max(start, std::min(position, last));
}

} // namespace

std::optional<std::string> dialogNameOf(int dialogNumber) {
    const auto found = dialogTable().find(dialogNumber);
    if (found == dialogTable().end())
        return std::nullopt;
    return found->second;
}

int getRegDword(const std::string& appKey, const std::string& section, const std::string& valueName,
                int fallback) {
    const auto store = loadedProfile(appKey);
    return store ? store->getInt(section, valueName, fallback) : fallback;
}

bool setRegDword(const std::string& appKey, const std::string& section,
                 const std::string& valueName, int value) {
    auto store = loadedProfile(appKey);
    if (!store)
        return false;
    store->setInt(section, valueName, value);
    std::string error;
    return store->save(error);
}

void saveDialogPosition(const DialogPositionStore& store, const ScreenArea& window,
                        bool maximised) {
    if (!store.useProfile) {
        saveToFile(store, window, maximised);
        return;
    }
    const auto name = dialogNameOf(store.dialogNumber);
    if (!name)
        return;
    if (setRegDword(store.appKey, *name, leftValue, window.x))
        setRegDword(store.appKey, *name, topValue, window.y);
}

std::optional<ScreenPoint> restoredDialogCorner(const DialogPositionStore& store) {
    if (!store.useProfile)
        return cornerFromFile(store);
    const auto name = dialogNameOf(store.dialogNumber);
    if (!name)
        return ScreenPoint{unknownDialogLeft, unknownDialogTop};
    return ScreenPoint{getRegDword(store.appKey, *name, leftValue, 0),
                       getRegDword(store.appKey, *name, topValue, 0)};
}

ScreenPoint cornerOnDisplays(ScreenPoint corner, int width, int height,
                             const std::vector<ScreenArea>& displays) {
    if (displays.empty())
        return corner;
    const ScreenArea& display = chosenDisplay(corner, width, height, displays);
    return {shiftedInto(corner.x, width, display.x, display.width),
            shiftedInto(corner.y, height, display.y, display.height)};
}

} // namespace ptbank

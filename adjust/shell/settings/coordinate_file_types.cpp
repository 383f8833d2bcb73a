#include "shell/settings/coordinate_file_types.hpp"

#include <array>

namespace {

constexpr int entryCount = 6;
// The type each filter entry names, in either order.
constexpr std::array<int, entryCount> vkOrder = {1, 2, 3, 4, 5, 6};
constexpr std::array<int, entryCount> velmoraOrder = {3, 4, 1, 2, 5, 6};

const std::array<int, entryCount>& orderOf(int useVkTool) {
    return useVkTool == 1 ? vkOrder : velmoraOrder;
}

} // namespace

std::string coordinateFileFilter(int useVkTool) {
    if (useVkTool == 1)
        return "V&K Numeric (crd)|*.crd|V&K Alphanumeric (vkc)|*.vkc|Velmora Numeric "
               "(crd)|*.crd|Velmora Alphanumeric (crd)|*.crd|Autodesk Land Desktop "
               "(mdb)|*.mdb|Plainview (zak)|*.zak|";
    return "Velmora Numeric (crd)|*.crd|Velmora Alphanumeric (crd)|*.crd|V&K Numeric "
           "(crd)|*.crd|V&K Alphanumeric (vkc)|*.vkc|Autodesk Land Desktop (mdb)|*.mdb|Plainview "
           "(zak)|*.zak|";
}

std::string coordinateFileExtension(int crdFileType) {
    switch (crdFileType) {
    case 2:
        return "vkc";
    case 5:
        return "mdb";
    case 6:
        return "zak";
    default:
        return "crd";
    }
}

int coordinateFilterEntry(int crdFileType, int useVkTool) {
    const std::array<int, entryCount>& order = orderOf(useVkTool);
    for (int entry = 1; entry <= entryCount; ++entry)
        if (order[static_cast<std::size_t>(entry - 1)] == crdFileType)
            return entry;
    return 1;
}

int coordinateFileTypeOfEntry(int filterEntry, int useVkTool) {
    if (filterEntry < 1 || filterEntry > entryCount)
        return 0;
    return orderOf(useVkTool)[static_cast<std::size_t>(filterEntry - 1)];
}

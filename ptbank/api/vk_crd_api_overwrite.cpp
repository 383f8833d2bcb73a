#include "ptbank/crd_overwrite_rec.h"

#include "ptbank/crd_text.hpp"
#include "ptbank/crd_ui_provider.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// Below this the two values are the same number written twice.
constexpr double sameValue = 1e-11;
constexpr int resetCoordDecimals = 5;
constexpr int resetElevDecimals = 3;

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

bool sameText(std::string_view a, std::string_view b) {
    return ptbank::trimmedText(a) == ptbank::trimmedText(b);
}

bool samePoint(const crdPointRec& a, const crdPointRec& b) {
    return sameText(fieldText(a.description), fieldText(b.description)) &&
           sameText(fieldText(a.code), fieldText(b.code)) &&
           std::fabs(a.northing - b.northing) < sameValue &&
           std::fabs(a.easting - b.easting) < sameValue &&
           std::fabs(a.elevation - b.elevation) < sameValue;
}

} // namespace

extern "C" int VkCrdApi_overwrite_point(crdOverwriteRec* record, void* parentWindow) {
    if (record == nullptr)
        return VKCRD_ANSWER_NOT_SHOWN;
    if (samePoint(record->proposed, record->current))
        return VKCRD_ANSWER_OVERWRITE;
    return ptbank::crdUi().overwritePoint(*record, parentWindow);
}

extern "C" void resetOverwriteRec(crdOverwriteRec* record) {
    if (record == nullptr)
        return;
    for (int i = 0; i < record->pointNameCount; ++i)
        std::free(record->pointNames[i]);
    std::free(record->pointNames);
    std::memset(record, 0, sizeof *record);
    record->handle = VKCRD_NO_HANDLE;
    record->northingFirst = 1;
    record->showDoNotAsk = 1;
    record->useRegistry = 1;
    record->coordDecimals = resetCoordDecimals;
    record->elevDecimals = resetElevDecimals;
}

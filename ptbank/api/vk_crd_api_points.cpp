// Walking, reading, writing and deleting points through the exported
// interface, and the name services that go with them.

#include "api/vk_crd_api_support.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_name_step.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include "platform/sentinels.hpp"

using namespace ptbank;

namespace {

constexpr int unknownHandle = -1;
constexpr int blankNameWidth = 255;
constexpr int blankCodeWidth = 4;
constexpr int blankDescriptionWidth = 255;
constexpr int justifiedCompareWidth = 255;

CfInfoStruct* infoOf(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? &file->info() : nullptr;
}

template <std::size_t N> void blankField(char (&field)[N], int width) {
    fillTextTerminated(field, std::clamp(width, 0, static_cast<int>(N) - 1), ' ');
}

int compareJustified(const char* a, const char* b, bool upperCase) {
    char x[VKCRD_NAME_SIZE];
    char y[VKCRD_NAME_SIZE];
    rightJustifyName(x, a ? a : "", justifiedCompareWidth);
    rightJustifyName(y, b ? b : "", justifiedCompareWidth);
    if (upperCase) {
        upperCaseText(x);
        upperCaseText(y);
    }
    const int c = std::strcmp(x, y);
    return (c > 0) - (c < 0);
}

bool forbiddenInName(char c) {
    return static_cast<signed char>(c) < 33 || c == 127 || c == '/' || c == '*' || c == '-' ||
           c == '+';
}

int checkNameWithoutFile(char* name) {
    trimText(name, 0);
    upperCaseText(name);
    const std::string_view text = name;
    if (text.size() > 255)
        return -2;
    return std::any_of(text.begin(), text.end(), forbiddenInName) ? -1 : 0;
}

int mapValidateCode(int code) {
    switch (code) {
    case 0:
        return 0;
    case 5:
    case 6:
        return -1;
    case 3:
    case 4:
        return -3;
    default:
        return -2;
    }
}

} // namespace

extern "C" {

int VkCrdApi_find_coord_top(char* nameBuffer, VkCrdHandle handle) {
    CfInfoStruct* info = infoOf(handle);
    return info ? cfRewind(nameBuffer, *info) : 0;
}

int VkCrdApi_get_first_point(VkCrdHandle handle, crdPointRec* buffer) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !buffer)
        return unknownHandle;
    return cfFirstPoint(*info, *buffer);
}

int VkCrdApi_next_coord(VkCrdHandle handle, char* nameBuffer, crdPointRec* point) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !point)
        return unknownHandle;
    trimCallerName(nameBuffer);
    return cfNextPoint(nameBuffer, *point, *info);
}

int VkCrdApi_prev_coord(VkCrdHandle handle, char* nameBuffer, crdPointRec* point) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !point)
        return unknownHandle;
    trimCallerName(nameBuffer);
    return cfPrevPoint(nameBuffer, *point, *info);
}

int VkCrdApi_read_point(VkCrdHandle handle, char* name, crdPointRec* point) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !name || !point)
        return unknownHandle;
    trimCallerName(name);
    return cfReadPoint(name, *point, *info);
}

int VkCrdApi_delete_point(VkCrdHandle handle, char* name) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !name)
        return unknownHandle;
    trimCallerName(name);
    return cfDeletePoint(name, *info);
}

int VkCrdApi_write_point(int isNew, crdPointRec* point, VkCrdHandle handle) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !point)
        return unknownHandle;
    trimCallerName(point->name);
    return cfWritePoint(isNew, *point, *info);
}

int VkCrdApi_write_crd_point(int overwrite, crdPointRec* point, VkCrdHandle handle) {
    CfInfoStruct* info = infoOf(handle);
    if (!info || !point)
        return unknownHandle;
    trimCallerName(point->name);
    return cfWriteUnlessPresent(overwrite, *point, *info);
}

int VkCrdApi_GetTotalPoints(VkCrdHandle handle) {
    CfInfoStruct* info = infoOf(handle);
    if (!info)
        return 0;
    return info->memoryMode ? info->memory.count() : cfPointCount(*info);
}

void VkCrdApi_setRange(VkCrdHandle handle, const char* range) {
    if (VkCrdFile* file = findHandle(handle))
        file->file().setRange(range);
}

void VkCrdApi_GetMaxPointName(char* out, VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    if (!file || !out)
        return;
    if (file->isMemory())
        copyNameToCaller(out, file->info().highestName);
    else if (file->file().isOpen())
        copyNameToCaller(out, file->file().highestName());
}

int VkCrdApi_IncrementPointName(char* name, VkCrdHandle handle, int step) {
    if (!name)
        return 0;
    if (CfInfoStruct* info = infoOf(handle))
        return cfIncrementName(name, *info, step);
    std::string stepped;
    incrementNameText(std::string(name, strnlen(name, VKCRD_NAME_SIZE)), stepped, step);
    copyNameToCaller(name, stepped);
    return 1;
}

void VkCrdApi_null_data(crdPointRec* point, VkCrdHandle handle) {
    if (!point)
        return;
    VkCrdFile* file = findHandle(handle);
    const bool disk = file && !file->isMemory();
    blankField(point->name, disk ? cfNameSize(file->info()) - 1 : blankNameWidth);
    blankField(point->code, disk ? cfCodeSize(file->info()) - 1 : blankCodeWidth);
    blankField(point->description, disk ? cfDescSize(file->info()) - 1 : blankDescriptionWidth);
    point->northing = 0.0;
    point->easting = 0.0;
    point->elevation = missingElevation;
}

int VkCrdApi_cmp_pts(const char* name1, const char* name2, VkCrdHandle handle) {
    CfInfoStruct* info = infoOf(handle);
    const bool vkAlpha = info && cfFileType(*info) == crd_type::vkAlphanumeric;
    if (info && !vkAlpha)
        return cfCompareNames(name1, name2, *info);
    return compareJustified(name1, name2, vkAlpha);
}

int VkCrdApi_vk_valid_pointid(VkCrdHandle handle, char* name) {
    if (!name || name[0] == '\0')
        return -4;
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return checkNameWithoutFile(name);
    if (file->isMemory())
        return 0;
    trimCallerName(name);
    return mapValidateCode(file->file().validateId(name));
}

} // extern "C"

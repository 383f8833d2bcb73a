// File properties, names and library-wide settings through the exported
// interface.

#include "api/vk_crd_api_support.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/isam/point_database.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include <array>

using namespace ptbank;

namespace {

constexpr int unknownNameSize = 256;
constexpr int unknownDescSize = 256;
constexpr int unknownCodeSize = 5;
constexpr int unknownType = -1;
constexpr int otherFileVersion = 3;
constexpr int numericFileVersion = 1;
constexpr std::string_view longVkName = "V and K";
constexpr std::size_t typeCount = 8;

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int walkAllNumeric(CfInfoStruct& info) {
    crdPointRec point{};
    if (cfRewind(point.name, info) != 0)
        return -1;
    while (cfNextPoint(point.name, point, info) == 1) {
        if (!allDigits(trimmedText(point.name)))
            return 0;
    }
    return 1;
}

// The legal-name limit of the handle's open file; empty for none.
void copyLegalName(char* out, VkCrdHandle handle, std::string (CrdFile::*limit)()) {
    if (!out)
        return;
    out[0] = '\0';
    if (VkCrdFile* file = findHandle(handle))
        copyNameToCaller(out, (file->file().*limit)());
}

} // namespace

extern "C" {

void VkCrdApi_GetCrdFileName(VkCrdHandle handle, char* out) {
    if (!out)
        return;
    out[0] = '\0';
    if (VkCrdFile* file = findHandle(handle))
        copyPathToCaller(out, file->path());
}

int VkCrdApi_GetCrdType(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return unknownType;
    return file->isMemory() ? crd_type::memory : file->file().fileType();
}

int VkCrdApi_GetCrdFeetFlag(VkCrdHandle handle, int defaultFlag) {
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return -1;
    if (file->isMemory())
        return file->info().feetFlag;
    switch (file->file().feetFlag()) {
    case 1:
        return 1;
    case 2:
        return 0;
    default:
        return defaultFlag;
    }
}

int VkCrdApi_SetCrdFeetFlag(VkCrdHandle handle, char flag) {
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return 0;
    file->info().feetFlag = static_cast<signed char>(flag);
    return 1;
}

int VkCrdApi_GetPointNameSize(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? cfNameSize(file->info()) : unknownNameSize;
}

int VkCrdApi_GetPointDescSize(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? cfDescSize(file->info()) : unknownDescSize;
}

int VkCrdApi_GetPointCodeSize(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? cfCodeSize(file->info()) : unknownCodeSize;
}

void VkCrdApi_GetMaxLegalPointName(char* out, VkCrdHandle handle) {
    copyLegalName(out, handle, &CrdFile::maxLegalName);
}

void VkCrdApi_GetMinLegalPointName(char* out, VkCrdHandle handle) {
    copyLegalName(out, handle, &CrdFile::minLegalName);
}

CfInfoStruct* VkCrdApi_GetCfInfoStructPtr(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? &file->info() : nullptr;
}

int VkCrdApi_GetCrdFileVersion(VkCrdHandle handle, int* out) {
    VkCrdFile* file = findHandle(handle);
    if (!file || !out)
        return 0;
    const int type = file->file().fileType();
    const PointDb* inner = type == crd_type::vkAlphanumeric || type == crd_type::vkNumeric
                               ? file->file().innerBlock()
                               : nullptr;
    if (inner)
        *out = inner->subType;
    else
        *out = type == crd_type::numeric ? numericFileVersion : otherFileVersion;
    return 1;
}

int VkCrdApi_allPtsAreNumeric(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return -1;
    if (!file->isMemory()) {
        const int type = file->file().fileType();
        if (type == crd_type::unknown || type == crd_type::unrecognised)
            return -1;
        if (type == crd_type::numeric || type == crd_type::vkNumeric)
            return 1;
    }
    return walkAllNumeric(file->info());
}

void VkCrdApi_GetCRDTypeName(int type, char* out) {
    std::string name = crdTypeName(type);
    if (name.find(longVkName) != std::string::npos)
        name = "V&K" + name.substr(std::min<std::size_t>(7, name.size()));
    copyNameToCaller(out, name);
}

const char* VkCrdApi_GetCrdExtension(int type) {
    static const std::array<std::string, typeCount> extensions = [] {
        std::array<std::string, typeCount> table;
        for (std::size_t i = 0; i < typeCount; ++i)
            table[i] = crdTypeExtension(static_cast<int>(i));
        return table;
    }();
    if (type < 0 || type >= static_cast<int>(typeCount))
        return "";
    return extensions[static_cast<std::size_t>(type)].c_str();
}

void VkCrdApi_MakeTempCrdFilename(char* out, const char* path, int type) {
    copyPathToCaller(out, makeTempCrdPath(path ? path : "", type));
}

void VkCrdApi_SetNewCrdFileDescLen(int length) {
    setNewFileDescLen(length);
}

int VkCrdApi_GetNewCrdFileDescLen(void) {
    return newFileDescLen();
}

void VkCrdApi_SetDefaultCRDType(int type) {
    setDefaultCrdType(type);
}

void VkCrdApi_SetCurrentUserType(int type) {
    setCurrentUserType(type);
}

int VkCrdApi_GetCurrentUserType(void) {
    return currentUserType();
}

} // extern "C"

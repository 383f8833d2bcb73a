#include "ptbank/cf_info.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_text.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank {
namespace {

constexpr int sizeWithoutFile = 255;
constexpr int codeSizeWithoutFile = 4;
constexpr std::size_t shortNameLength = 10;
constexpr std::size_t shortCodeLength = 4;
constexpr std::size_t shortDescriptionLength = 100;

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

// A width that fits the field that receives it.
template <std::size_t N> int widthFor(const char (&)[N], int width) {
    return std::clamp(width, 0, static_cast<int>(N) - 1);
}

template <std::size_t N> void leftJustifyField(char (&field)[N], std::string_view text, int width) {
    char justified[N];
    leftAlignText(widthFor(field, width), text, justified);
    setField(field, justified);
}

// The record count of a numeric file includes its empty slots; a walk over
// "ALL" counts only the points.
int storedPoints(CrdFile& file) {
    return file.countInRange("ALL");
}

bool diskFileOpen(CfInfoStruct& info) {
    return info.crdFile && info.crdFile->isOpen();
}

} // namespace

void rightJustifyName(char* buffer, std::string_view text, int width) {
    rightAlignText(std::clamp(width, 0, VKCRD_NAME_SIZE - 1), text, buffer);
}

int cfOpen(int create, CfInfoStruct& info) {
    if (!info.crdFile)
        return cf_result::failure;
    if (info.crdFile->isOpen())
        return cf_result::alreadyOpen;
    // The name keeps its spelling: on this system "site.crd" and
    // "SITE.crd" are two files.
    if (info.extension.empty())
        info.extension = ".crd";
    const std::string path = info.directory + info.name + info.extension;
    if (info.memoryMode) {
        if (!info.memory.hasList() && info.memory.init() != 1)
            return cf_result::failure;
        info.memoryOpen = 1;
    } else if (info.crdFile->open(path, create ? 1 : 0, -1) != 1 || !info.crdFile->isOpen()) {
        // An indexed file is made on its first use, so a new one can still
        // fail after its open succeeded.
        return cf_result::failure;
    }
    info.ready = 1;
    info.open = 1;
    info.feetFlag = static_cast<signed char>(cfFeetFlag(info));
    cfHighestName(info.highestName, info);
    info.pointCount = info.memoryMode ? info.memory.count() : storedPoints(*info.crdFile);
    return cf_result::ok;
}

int cfClose(CfInfoStruct& info) {
    if (info.open && !info.memoryMode && info.crdFile)
        info.crdFile->close();
    info.open = 0;
    info.pointCount = 0;
    return 0;
}

int cfReset(CfInfoStruct& info) {
    cfClose(info);
    if (info.memoryMode)
        info.memory.release();
    info.open = 0;
    info.ready = 0;
    info.name.clear();
    info.directory.clear();
    info.extension.clear();
    info.memoryMode = 0;
    info.memoryOpen = 0;
    return 0;
}

int cfFeetFlag(CfInfoStruct& info) {
    if (info.memoryMode)
        return info.feetFlag;
    return info.crdFile && info.crdFile->feetFlag() == 2 ? 0 : 1;
}

void cfHighestName(std::string& out, CfInfoStruct& info) {
    if (info.memoryMode) {
        if (&out != &info.highestName)
            out = info.highestName;
        return;
    }
    if (diskFileOpen(info))
        out = info.crdFile->highestName();
}

int cfPointCount(CfInfoStruct& info) {
    if (info.memoryMode)
        return info.pointCount;
    return info.crdFile ? storedPoints(*info.crdFile) : 0;
}

int cfNameSize(CfInfoStruct& info) {
    return diskFileOpen(info) ? info.crdFile->nameSize() : sizeWithoutFile;
}

int cfDescSize(CfInfoStruct& info) {
    return diskFileOpen(info) ? info.crdFile->descSize() : sizeWithoutFile;
}

int cfCodeSize(CfInfoStruct& info) {
    return diskFileOpen(info) ? info.crdFile->codeSize() : codeSizeWithoutFile;
}

int cfFileType(CfInfoStruct& info) {
    if (info.memoryMode)
        return 4;
    return info.crdFile ? info.crdFile->fileType() : -1;
}

void toCrdPointRec(const crdIoPointRec& io, crdPointRec& point, CfInfoStruct& info) {
    std::memset(&point, 0, sizeof point);
    rightJustifyName(point.name, io.name, cfNameSize(info) - 1);
    point.northing = io.northing;
    point.easting = io.easting;
    point.elevation = io.elevation;
    leftJustifyField(point.code, io.code, cfCodeSize(info) - 1);
    leftJustifyField(point.description, io.description, cfDescSize(info) - 1);
}

void fromCrdPointRec(const crdPointRec& point, crdIoPointRec& io) {
    io.clear();
    io.setName(trimmedText(fieldText(point.name)));
    io.setDescription(trimmedText(fieldText(point.description)));
    io.setCode(trimmedText(fieldText(point.code)));
    io.easting = point.easting;
    io.northing = point.northing;
    io.elevation = point.elevation;
}

void toShortPointRec(const crdPointRec& point, crdShortPointRec& shortPoint) {
    std::memset(&shortPoint, 0, sizeof shortPoint);
    setField(shortPoint.name, fieldText(point.name).substr(0, shortNameLength));
    setField(shortPoint.code, fieldText(point.code).substr(0, shortCodeLength));
    shortPoint.northing = point.northing;
    shortPoint.easting = point.easting;
    shortPoint.elevation = point.elevation;
    setField(shortPoint.description,
             fieldText(point.description).substr(0, shortDescriptionLength));
}

} // namespace ptbank

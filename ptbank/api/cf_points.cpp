#include "ptbank/cf_info.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_name_step.hpp"
#include "ptbank/crd_text.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank {
namespace {

constexpr int walkNameWidth = 255;
// errorWord codes below this one mean the name or record was refused.
constexpr int firstFailureWord = 8;
constexpr int formatErrorWord = 7;

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

std::string nameText(const char* name) {
    return name ? std::string(name, strnlen(name, VKCRD_NAME_SIZE)) : std::string();
}

void copyName(char* buffer, std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), VKCRD_NAME_SIZE - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

template <std::size_t N> void leftJustifyField(char (&field)[N], int width) {
    const std::string text(fieldText(field));
    leftAlignText(std::clamp(width, 0, static_cast<int>(N) - 1), text, field);
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

bool diskFileOpen(CfInfoStruct& info) {
    return info.crdFile && info.crdFile->isOpen();
}

} // namespace

int cfValidateName(CfInfoStruct& info, const char* name) {
    if (info.memoryMode)
        return cf_result::ok;
    const std::string trimmed = trimmedText(nameText(name));
    const int code = info.crdFile ? info.crdFile->validateId(trimmed) : crd_error::notOpen;
    return code != 0 ? cf_result::invalidName : cf_result::ok;
}

int cfRewind(char* nameBuffer, CfInfoStruct& info) {
    if (info.memoryMode)
        return info.memory.findTop(nameBuffer);
    if (!diskFileOpen(info))
        return cf_result::failure;
    info.crdFile->setRange(nullptr);
    if (nameBuffer)
        nameBuffer[0] = '\0';
    return cf_result::ok;
}

int cfNextPoint(char* nameBuffer, crdPointRec& point, CfInfoStruct& info) {
    if (!nameBuffer)
        return -1;
    if (!diskFileOpen(info))
        rightJustifyName(nameBuffer, nameText(nameBuffer), walkNameWidth);
    if (info.memoryMode)
        return info.memory.next(nameText(nameBuffer), point);
    trimText(nameBuffer, 0);
    crdIoPointRec io;
    if (info.crdFile->next(io) != 1)
        return 0;
    toCrdPointRec(io, point, info);
    return 1;
}

int cfPrevPoint(char* nameBuffer, crdPointRec& point, CfInfoStruct& info) {
    if (!nameBuffer)
        return 0;
    rightJustifyName(nameBuffer, nameText(nameBuffer), cfNameSize(info) - 1);
    const std::string name = nameText(nameBuffer);
    if (info.memoryMode)
        return info.memory.previous(name, point);
    crdIoPointRec io;
    const std::string trimmed = trimmedText(name);
    if (!trimmed.empty() && info.crdFile->read(trimmed, io, 1) == 1) {
        if (CrdIO* backEnd = info.crdFile->backEnd())
            backEnd->cursorIndex(info.crdFile->cursor());
    }
    // A file holding one name twice gives that name back again and again:
    // a step back that does not leave the name ends the walk.
    if (info.crdFile->previous(io) != 1 || (!trimmed.empty() && trimmedText(io.name) == trimmed))
        return 0;
    toCrdPointRec(io, point, info);
    return 1;
}

int cfFirstPoint(CfInfoStruct& info, crdPointRec& buffer) {
    if (info.memoryMode) {
        info.memory.findTop(buffer.name);
    } else if (diskFileOpen(info)) {
        info.crdFile->setRange(nullptr);
        buffer.name[0] = '\0';
    }
    if (cfNextPoint(buffer.name, buffer, info) == 1)
        return cf_result::ok;
    std::memset(&buffer, 0, sizeof buffer);
    return cf_result::noPoint;
}

int cfReadPoint(const char* name, crdPointRec& point, CfInfoStruct& info) {
    const std::string wanted = nameText(name);
    if (cfValidateName(info, wanted.c_str()) != cf_result::ok)
        return cf_result::invalidName;
    std::memset(&point, 0, sizeof point);
    copyName(point.name, wanted);
    if (info.memoryMode)
        return info.memory.read(wanted, point);
    crdIoPointRec io;
    if (info.crdFile->read(wanted, io, 1) == 1) {
        toCrdPointRec(io, point, info);
        return cf_result::ok;
    }
    switch (info.crdFile->errorWord()) {
    case crd_error::noCoordinate:
        return cf_result::noPoint;
    case formatErrorWord:
        return cf_result::invalidName;
    default:
        return cf_result::failure;
    }
}

int cfWritePoint(int isNew, crdPointRec& point, CfInfoStruct& info) {
    if (cfValidateName(info, point.name) != cf_result::ok)
        return cf_result::invalidName;
    if (info.memoryMode) {
        const int mode = isNew ? MemoryCrdFile::add : MemoryCrdFile::replace;
        if (info.memory.write(mode, point) != 0)
            return cf_result::failure;
        if (isNew) {
            const std::string name = trimmedText(fieldText(point.name));
            if (cfCompareNames(name.c_str(), info.highestName.c_str(), info) > 0)
                info.highestName = name;
            ++info.pointCount;
        }
        return cf_result::ok;
    }
    rightJustifyName(point.name, nameText(point.name), cfNameSize(info) - 1);
    leftJustifyField(point.description, cfDescSize(info) - 1);
    leftJustifyField(point.code, cfCodeSize(info) - 1);
    crdIoPointRec io;
    fromCrdPointRec(point, io);
    if (info.crdFile->write(io, 0, 0, {}) == 1)
        return cf_result::ok;
    return info.crdFile->errorWord() < firstFailureWord ? cf_result::invalidName
                                                        : cf_result::failure;
}

int cfWriteUnlessPresent(int overwrite, crdPointRec& point, CfInfoStruct& info) {
    crdPointRec stored;
    const int read = cfReadPoint(point.name, stored, info);
    if (read < 0)
        return read;
    const bool isStored = read == cf_result::ok;
    if (isStored && overwrite == 0)
        return cf_result::present;
    return cfWritePoint(isStored ? 0 : 1, point, info);
}

int cfDeletePoint(const char* name, CfInfoStruct& info) {
    const std::string wanted = nameText(name);
    if (cfValidateName(info, wanted.c_str()) != cf_result::ok)
        return cf_result::invalidName;
    if (info.memoryMode) {
        const int removed = info.memory.remove(wanted);
        if (removed == 0)
            --info.pointCount;
        return removed;
    }
    char justified[VKCRD_NAME_SIZE];
    if (rightAlignText(walkNameWidth, wanted, justified) != 0)
        return cf_result::invalidName;
    const int deleted = info.crdFile->deletePoint(justified, 0, {});
    // Keyed formats answer 0 with the reason when nothing was deleted; only
    // "no such point" is not a failure.
    const int reason = info.crdFile->errorWord();
    const bool failed = deleted < 0 || (deleted == 0 && reason != crd_error::none &&
                                        reason != crd_error::noCoordinate);
    return failed ? cf_result::failure : cf_result::ok;
}

int cfCompareNames(const char* a, const char* b, CfInfoStruct& info) {
    const std::string first = nameText(a);
    const std::string second = nameText(b);
    switch (cfFileType(info)) {
    case 0:
    case 4: {
        const long x = platform::atolC(first);
        const long y = platform::atolC(second);
        return (x > y) - (x < y);
    }
    case 3: {
        char x[VKCRD_NAME_SIZE];
        char y[VKCRD_NAME_SIZE];
        rightJustifyName(x, first, cfNameSize(info) - 1);
        rightJustifyName(y, second, cfNameSize(info) - 1);
        return compareIgnoringCase(x, y);
    }
    default:
        return sign(comparePointNames(trimmedText(first), trimmedText(second)));
    }
}

int cfIncrementName(char* name, CfInfoStruct& info, int step) {
    std::string text = nameText(name);
    if (info.memoryMode) {
        incrementNameText(text, text, step);
        copyName(name, text);
        return 1;
    }
    if (!diskFileOpen(info))
        return 0;
    const int result = incrementPointName(*info.crdFile, text, step);
    copyName(name, text);
    return result;
}

} // namespace ptbank

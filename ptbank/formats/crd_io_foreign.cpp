#include "formats/crd_io_foreign.hpp"

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_range.hpp"
#include "ptbank/crd_text.hpp"
#include "src/binary_file.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ptbank {
namespace {

constexpr int nameBufferSize = 256;
constexpr std::size_t longestLddName = 255;
constexpr std::size_t longestZakName = 8;
constexpr int writeFlag = -1;

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The value of the name's leading digits after leading white space.
std::uint32_t leadingNumber(std::string_view name) {
    std::size_t i = 0;
    while (i < name.size() && (name[i] == ' ' || name[i] == '\t'))
        ++i;
    std::uint64_t value = 0;
    for (; i < name.size() && isDigit(name[i]); ++i)
        value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(name[i] - '0'),
                                        UINT32_MAX);
    return static_cast<std::uint32_t>(value);
}

bool hasExtension(const std::string& path, std::string_view dotted) {
    std::string extension;
    splitPath(path, nullptr, nullptr, &extension);
    return platform::equalsIgnoringCase(extension, dotted);
}

bool fileExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

} // namespace

namespace {

// ptvault status -> errorWord of each format; any other status gives 50.
struct StatusRow {
    int status;
    int mdb;
    int zak;
};
constexpr StatusRow statusTable[] = {
    {1, 0, 0},     {2, 0, 0},     {0, 50, 50},   {-2, 50, 50},  {-1, 29, 34},  {-3, 29, 34},
    {-4, 23, 23},  {-5, 22, 22},  {-6, 51, 50},  {-7, 6, 13},   {-8, 6, 50},   {-9, 30, 35},
    {-10, 30, 35}, {-11, 30, 35}, {-12, 21, 21}, {-13, 21, 21}, {-14, 23, 50}, {-15, 30, 50},
};

const StatusRow* statusRow(int status) {
    for (const StatusRow& row : statusTable)
        if (row.status == status)
            return &row;
    return nullptr;
}

} // namespace

int lddStatusWord(int status) {
    const StatusRow* row = statusRow(status);
    return row ? row->mdb : crd_error::notSupported;
}

int zakStatusWord(int status) {
    const StatusRow* row = statusRow(status);
    return row ? row->zak : crd_error::notSupported;
}

struct LddFormat {
    using Record = lddPoint;
    static constexpr std::string_view extension = ".mdb";
    static constexpr int wrongExtension = 31;
    static constexpr int writeRefused = 11;
    static constexpr int nameSize = 256;
    static constexpr int descSize = 256;
    static constexpr std::string_view largestName = "";
    static constexpr std::string_view clearedHighest = "ZZZZZZZ";
    static constexpr bool deletesBeforeCreate = false;

    static LddVaultCalls& calls() { return vaultCalls().ldd; }
    static int statusWord(int status) { return lddStatusWord(status); }
    static int openDb(std::int32_t* handle, const char* path, int mode, char* highest,
                      char* lowest) {
        return mode == 0 ? calls().openDb(handle, path, 0, -1, -1, highest, lowest)
                         : calls().openDb(handle, path, 1, 9, 31, highest, lowest);
    }
    static void toRecord(const crdIoPointRec& in, Record& out) {
        std::memset(&out, 0, sizeof out);
        out.northing = in.northing;
        out.easting = in.easting;
        out.elevation = in.elevation;
        setField(out.description, fieldText(in.description));
        setField(out.name, fieldText(in.name));
        out.number = leadingNumber(out.name);
    }
    // Names are free, except in a database named POINTS: there a name of
    // letters, digits and '_', all digits (at most 7) when it starts with one.
    static int validateId(const std::string& path, std::string_view name) {
        if (name.empty())
            return crd_error::emptyName;
        if (name.size() > longestLddName)
            return crd_error::nameTooLong;
        std::string base;
        splitPath(path, nullptr, &base, nullptr);
        if (upperCased(base) != "POINTS")
            return crd_error::none;
        const bool allowed = std::all_of(
            name.begin(), name.end(), [](char c) { return isLetter(c) || isDigit(c) || c == '_'; });
        const bool numeric = isDigit(name.front());
        const bool allDigits = std::all_of(name.begin(), name.end(), isDigit);
        if (!allowed || (numeric && (!allDigits || name.size() > 7)))
            return crd_error::refusedByNamingRule;
        return crd_error::none;
    }
};

struct ZakFormat {
    using Record = ZakPoint;
    static constexpr std::string_view extension = ".zak";
    static constexpr int wrongExtension = 32;
    static constexpr int writeRefused = 12;
    static constexpr int nameSize = 9;
    static constexpr int descSize = 29;
    static constexpr std::string_view largestName = "ZZZZZZZZ";
    static constexpr std::string_view clearedHighest = "ZZZZZZZZ";
    static constexpr bool deletesBeforeCreate = true;

    static ZakVaultCalls& calls() { return vaultCalls().zak; }
    static int statusWord(int status) { return zakStatusWord(status); }
    static int openDb(std::int32_t* handle, const char* path, int mode, char* highest,
                      char* lowest) {
        return calls().openDb(handle, path, mode, highest, lowest);
    }
    static void toRecord(const crdIoPointRec& in, Record& out) {
        out.northing = in.northing;
        out.easting = in.easting;
        out.elevation = in.elevation;
        setField(out.name, fieldText(in.name));
        setField(out.description, fieldText(in.description));
    }
    static int validateId(const std::string&, std::string_view name) {
        if (name.empty())
            return crd_error::emptyName;
        return name.size() > longestZakName ? crd_error::nameTooLong : crd_error::none;
    }
};

namespace {

template <typename Record> void fromRecord(const Record& in, crdIoPointRec& out) {
    out.fill(in.easting, in.northing, in.elevation, fieldText(in.name), fieldText(in.description),
             {});
}

} // namespace

template <typename Format> CrdIOVault<Format>::CrdIOVault() = default;

template <typename Format> CrdIOVault<Format>::~CrdIOVault() {
    forget();
    closeDatabase();
}

template <typename Format> void CrdIOVault<Format>::forget() {
    lastName_.clear();
    lowestName_.clear();
    highestName_.clear();
    errorWord_ = crd_error::none;
}

template <typename Format> void CrdIOVault<Format>::closeDatabase() {
    if (handle_ != 0)
        Format::calls().closeDb(&handle_);
    handle_ = 0;
}

template <typename Format> int CrdIOVault<Format>::openDatabase(const std::string& path, int mode) {
    errorWord_ = crd_error::notSupported;
    if (!hasExtension(path, Format::extension)) {
        errorWord_ = Format::wrongExtension;
        return 0;
    }
    if (mode == 0 && !fileExists(path)) {
        errorWord_ = crd_error::cannotOpen;
        return 0;
    }
    closeDatabase();
    char highest[nameBufferSize] = {};
    char lowest[nameBufferSize] = {};
    const int status = Format::openDb(&handle_, path.c_str(), mode, highest, lowest);
    errorWord_ = Format::statusWord(status);
    if (errorWord_ != crd_error::none) {
        handle_ = 0;
        const char* why = vaultCalls().lastMessage ? vaultCalls().lastMessage() : nullptr;
        if (why && *why)
            crdPrint(platform::formatC("\n%s", why));
        return 0;
    }
    highestName_ = fieldText(highest);
    lowestName_ = fieldText(lowest);
    path_ = path;
    return 1;
}

template <typename Format> int CrdIOVault<Format>::create(const std::string& path, int) {
    if (Format::deletesBeforeCreate && hasExtension(path, Format::extension))
        std::remove(path.c_str());
    return openDatabase(path, 1);
}

template <typename Format> int CrdIOVault<Format>::deleteFiles() {
    forget();
    closeDatabase();
    if (std::remove(path_.c_str()) != 0) {
        errorWord_ = crd_error::deleteFailed;
        return 0;
    }
    return 1;
}

// The copy replaces the destination in one rename; both files are reopened
// whatever its outcome.
template <typename Format> int CrdIOVault<Format>::copyTo(CrdFile& destination) {
    if (destination.fileType() != fileType_)
        return 0;
    const std::string own = path_;
    const std::string target = destination.path();
    forget();
    closeDatabase();
    destination.close();
    const bool copied = copyFileReplacing(own, target);
    open(own);
    const int reopened = destination.open(target, 0, -1);
    return copied ? reopened : 0;
}

// Never renames over an existing file; a failed rename reopens the file.
template <typename Format> int CrdIOVault<Format>::rename(const std::string& newPath) {
    const std::string own = path_;
    forget();
    closeDatabase();
    if (!renameWithoutReplacing(own, newPath)) {
        open(own);
        errorWord_ = crd_error::renameFailed;
        return 0;
    }
    return open(newPath);
}

template <typename Format> int CrdIOVault<Format>::pointCount() {
    errorWord_ = crd_error::none;
    if (handle_ == 0)
        return 0;
    const int count = Format::calls().pointCount(&handle_);
    if (count < 0) {
        errorWord_ = crd_error::notSupported;
        return 0;
    }
    return count;
}

template <typename Format> int CrdIOVault<Format>::nameSize() {
    return Format::nameSize;
}

template <typename Format> int CrdIOVault<Format>::descSize() {
    return Format::descSize;
}

template <typename Format> std::string CrdIOVault<Format>::maxLegalName() {
    return std::string(Format::largestName);
}

template <typename Format>
int CrdIOVault<Format>::readPoint(std::string_view name, crdIoPointRec& out, int direction, int,
                                  crdCursor*) {
    errorWord_ = crd_error::notSupported;
    if (handle_ == 0) {
        errorWord_ = crd_error::notOpen;
        return 0;
    }
    if (const int code = validateId(name); code != 0) {
        errorWord_ = code;
        return 0;
    }
    typename Format::Record record{};
    typename Format::Record* pointer = &record;
    const std::string wanted(name);
    if (Format::calls().findPoint(&handle_, wanted.c_str(), direction, &pointer) != 1) {
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    fromRecord(record, out);
    lastName_ = out.name;
    errorWord_ = crd_error::none;
    return 1;
}

template <typename Format>
int CrdIOVault<Format>::writePoint(const crdIoPointRec& record, int quiet,
                                   crdIoPointRec& previous) {
    previous.clear();
    readPoint(record.name, previous, 0, quiet, nullptr);
    if (const int code = validateId(record.name); code != 0) {
        errorWord_ = code;
        return 0;
    }
    errorWord_ = crd_error::notSupported;
    if (handle_ == 0) {
        errorWord_ = crd_error::notOpen;
        return 0;
    }
    typename Format::Record exchange{};
    Format::toRecord(record, exchange);
    typename Format::Record* pointer = &exchange;
    if (Format::calls().writePoint(&handle_, &pointer, writeFlag) != 1) {
        errorWord_ = Format::writeRefused;
        return 0;
    }
    errorWord_ = crd_error::none;
    // An empty name stands for none yet (a new database).
    const std::string name = record.name;
    if (lowestName_.empty() || comparePointNames(name, lowestName_) < 0)
        lowestName_ = name;
    if (highestName_.empty() || comparePointNames(name, highestName_) > 0)
        highestName_ = name;
    return 1;
}

// The exported interface hands names over right-justified in 255
// characters: the blanks around the name are not part of it.
template <typename Format> int CrdIOVault<Format>::deletePoints(std::string_view text, CrdFile&) {
    const std::string wanted = trimmedText(text);
    if (const int code = validateId(wanted); code != 0) {
        errorWord_ = code;
        return 0;
    }
    if (handle_ == 0) {
        errorWord_ = crd_error::notOpen;
        return 0;
    }
    errorWord_ = Format::statusWord(Format::calls().removePoint(&handle_, wanted.c_str()));
    return errorWord_ == crd_error::none ? 1 : 0;
}

template <typename Format> int CrdIOVault<Format>::clear(CrdFile&) {
    lowestName_ = "1";
    highestName_ = std::string(Format::clearedHighest);
    if (handle_ == 0) {
        errorWord_ = crd_error::notOpen;
        return 0;
    }
    errorWord_ = Format::statusWord(Format::calls().removePoints(&handle_));
    return errorWord_ == crd_error::none ? 1 : 0;
}

template <typename Format>
int CrdIOVault<Format>::deleteRange(std::string_view range, int, CrdFile& owner) {
    const std::string rangeText(range);
    CrdList walk(&owner);
    walk.setRange(rangeText.c_str());
    int deleted = 0;
    crdIoPointRec point;
    while (walk.next(point) == 1) {
        if (isInRange(point.name, rangeText) && deletePoints(point.name, owner) == 1)
            ++deleted;
    }
    return deleted;
}

template <typename Format> int CrdIOVault<Format>::validateId(std::string_view name) {
    return Format::validateId(path_, name);
}

// The rebuilt file takes the own file's place in one rename.
template <typename Format> int CrdIOVault<Format>::commit(const std::string& tempPath) {
    const std::string own = path_;
    forget();
    closeDatabase();
    const bool replaced = std::rename(tempPath.c_str(), own.c_str()) == 0;
    path_.clear();
    const int reopened = open(own);
    return replaced ? reopened : 0;
}

template <typename Format>
int CrdIOVault<Format>::readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) {
    crdCursor own;
    setField(own.name, lastName_);
    crdCursor& at = cursor ? *cursor : own;
    const std::string from(fieldText(at.name));
    if (from.empty()) {
        if (readPoint(lowestName_, out, 1, 0, nullptr) != 1)
            return 0;
        setField(at.name, out.name);
        return 1;
    }
    if (readPoint(from, out, step, 0, nullptr) != 1)
        return 0;
    if (comparePointNames(out.name, from) != 0) {
        setField(at.name, out.name);
        return 1;
    }
    if (handle_ == 0) {
        errorWord_ = crd_error::notOpen;
        return 0;
    }
    if (Format::calls().moveCursor(&handle_, step) != 1) {
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    typename Format::Record record{};
    typename Format::Record* pointer = &record;
    if (Format::calls().readCurrent(&handle_, &pointer) != 1) {
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    fromRecord(record, out);
    lastName_ = out.name;
    errorWord_ = crd_error::none;
    setField(at.name, out.name);
    return 1;
}

template <typename Format> int CrdIOVault<Format>::cursorIndex(crdCursor& cursor) {
    setField(cursor.name, lastName_);
    return cursor.index;
}

template class CrdIOVault<LddFormat>;
template class CrdIOVault<ZakFormat>;

} // namespace ptbank

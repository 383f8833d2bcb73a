// The point database: opening and creating the file pair, and finding,
// writing and deleting point records by name.

#include "ptbank/isam/point_database.hpp"
#include "isam/point_records.hpp"
#include "ptbank/crd_text.hpp"
#include "ptbank/isam/isam.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

namespace ptbank {
namespace {

constexpr int dataExtensionSize = 1024;
constexpr int indexExtensionSize = 2048;
constexpr std::size_t keyBufferSize = point_db::alphanumericNameWidth;

bool engineStarted = false;
std::array<bool, point_db::filePairs> pairTaken{};

using KeyBuffer = std::array<std::uint8_t, keyBufferSize>;

bool claimFilePair(PointDb& db) {
    for (std::size_t pair = 0; pair < pairTaken.size(); ++pair) {
        if (!pairTaken[pair]) {
            pairTaken[pair] = true;
            db.dataFileNo = static_cast<int>(2 * pair);
            db.indexFileNo = static_cast<int>(2 * pair + 1);
            return true;
        }
    }
    return false;
}

void releaseFilePair(PointDb& db) {
    if (db.dataFileNo >= 0 && db.dataFileNo / 2 < point_db::filePairs)
        pairTaken[static_cast<std::size_t>(db.dataFileNo / 2)] = false;
    db.dataFileNo = -1;
    db.indexFileNo = -1;
}

KeyBuffer keyOf(std::string_view name) {
    KeyBuffer key{};
    std::memcpy(key.data(), name.data(), std::min(name.size(), key.size()));
    return key;
}

std::span<const std::uint8_t> keySpan(const KeyBuffer& key, const PointDb& db) {
    return std::span<const std::uint8_t>(key).first(static_cast<std::size_t>(db.layout.nameWidth));
}

// The key as a name, ended by its first zero byte.
std::string keyName(const KeyBuffer& key, const PointDb& db) {
    const auto* text = reinterpret_cast<const char*>(key.data());
    return std::string(text, strnlen(text, static_cast<std::size_t>(db.layout.nameWidth)));
}

std::string rightJustifiedToWidth(std::string_view name, const PointDb& db) {
    char justified[keyBufferSize + 1];
    rightAlignText(db.layout.nameWidth, name, justified);
    return justified;
}

std::vector<std::uint8_t> recordBuffer(const PointDb& db) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(db.layout.fixedPart + db.descLength));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           platform::equalsIgnoringCase(text.substr(0, start.size()), start);
}

// The extensions and sub-type of the file pair; false when the data
// extension is unknown and no index extension is given.
bool chooseExtensions(PointDb& db, int requestedSubType, int& subType) {
    const std::string& data = db.dataExtension;
    if (startsWithIgnoringCase(data, ".crd")) {
        db.indexExtension = ".idx";
        subType = 1;
    } else if (startsWithIgnoringCase(data, ".vkc")) {
        db.indexExtension = ".vki";
        subType = 3;
    } else if (!data.empty()) {
        if (db.indexExtension.empty())
            return false;
        subType = 3;
    } else {
        const bool alphanumeric = requestedSubType >= 2;
        db.dataExtension = alphanumeric ? ".vkc" : ".crd";
        db.indexExtension = alphanumeric ? ".vki" : ".idx";
        subType = requestedSubType;
    }
    return true;
}

// Every write and delete ends with both files on disk as the cache holds them.
bool flushPair(PointDb& db) {
    return isamFlushFile(db.dataFileNo) == 0 && isamFlushFile(db.indexFileNo) == 0;
}

void closeBoth(PointDb& db) {
    isamCloseFile(db.dataFileNo, 0);
    isamCloseFile(db.indexFileNo, 0);
    releaseFilePair(db);
}

void removeFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

int createPair(PointDb& db, int subType, int feetFlag) {
    pointDbSetLayout(subType, db);
    const int length = db.layout.fixedPart + db.descLength;
    if (isamCreateDataFile(db.dataFileNo, db.dataPath(), length, dataExtensionSize,
                           isamMode::permanent) != 0)
        return point_db::engineError;
    if (isamCreateIndexFile(db.indexFileNo, db.indexPath(), db.layout.nameWidth, 0, 0, 0,
                            indexExtensionSize, isamMode::permanent) != 0) {
        isamCloseFile(db.dataFileNo, 0);
        removeFile(db.dataPath());
        return point_db::engineError;
    }
    db.pointCount = 0;
    db.nextName = "1";
    db.feetFlag = static_cast<std::uint8_t>(feetFlag);
    db.highestName = std::string(static_cast<std::size_t>(db.layout.nameWidth), ' ');
    db.versionText = subType >= 2 ? platform::formatC("VER %d", subType) : std::string();
    const std::vector<std::uint8_t> header = packHeaderRecord(db);
    db.headerPosition = isamNewRecord(db.dataFileNo);
    const KeyBuffer zeroKey{};
    if (db.headerPosition == 0 || isamWriteRecord(db.dataFileNo, db.headerPosition, header) != 0 ||
        isamAddKey(db.indexFileNo, keySpan(zeroKey, db), db.headerPosition, isamSplit::ascending) !=
            0 ||
        !flushPair(db)) {
        isamCloseFile(db.dataFileNo, 0);
        isamCloseFile(db.indexFileNo, 0);
        removeFile(db.dataPath());
        removeFile(db.indexPath());
        return point_db::engineError;
    }
    return point_db::ok;
}

// The index file of an existing data file: the exact name, else the one
// name of its folder that matches it without regard to case.
void locateIndexFile(PointDb& db) {
    const auto found = platform::findFileIgnoringCase(db.indexPath());
    if (!found || found->string() == db.indexPath())
        return;
    const std::string name = found->filename().string();
    if (name.size() > db.baseName.size() && name.compare(0, db.baseName.size(), db.baseName) == 0)
        db.indexExtension = name.substr(db.baseName.size());
}

int openPair(PointDb& db, int feetFlag) {
    locateIndexFile(db);
    if (isamOpenFile(db.dataFileNo, db.dataPath(), isamMode::permanent) != 0)
        return point_db::engineError;
    if (isamOpenFile(db.indexFileNo, db.indexPath(), isamMode::permanent) != 0) {
        isamCloseFile(db.dataFileNo, 0);
        return point_db::engineError;
    }
    const int keyLength = isamKeyLength(db.indexFileNo);
    const int recordLength = isamRecordLength(db.dataFileNo);
    if (keyLength != point_db::numericNameWidth && keyLength != point_db::alphanumericNameWidth)
        return point_db::engineError;
    const KeyBuffer zeroKey{};
    db.headerPosition = isamFindEqual(db.indexFileNo, std::span<const std::uint8_t>(zeroKey).first(
                                                          static_cast<std::size_t>(keyLength)));
    if (db.headerPosition == 0 || recordLength <= 0)
        return point_db::engineError;
    std::vector<std::uint8_t> header(static_cast<std::size_t>(recordLength));
    if (isamReadRecord(db.dataFileNo, db.headerPosition, header) != 0)
        return point_db::engineError;
    pointDbSetLayout(headerSubType(header), db);
    // A header that disagrees with the files' own record and key lengths
    // would make every later transfer run past a record: refuse it.
    if (!unpackHeaderRecord(header, db, feetFlag) || keyLength != db.layout.nameWidth ||
        recordLength != db.layout.fixedPart + db.descLength)
        return point_db::engineError;
    return point_db::ok;
}

int readRecordAt(std::uint32_t position, crdShortPointRec& out, PointDb& db) {
    std::vector<std::uint8_t> record = recordBuffer(db);
    if (isamReadRecord(db.dataFileNo, position, record) != 0)
        return point_db::engineError;
    unpackPointRecord(record, out, db);
    db.currentPosition = position;
    return point_db::ok;
}

// The next step of a walk searches from the name of the key found last; a
// damaged key that does not come back from its name would be found again and
// again, so a walk stops at it.
bool walksPast(const std::string& name, const KeyBuffer& found, const PointDb& db) {
    const KeyBuffer again = keyOf(rightJustifiedToWidth(trimmedText(name), db));
    return std::ranges::equal(keySpan(again, db), keySpan(found, db));
}

// A walk goes on from the name of the point it returned: a record that does
// not hold its key's name (a blank name, a damaged byte) would send it back.
bool recordMatchesKey(const crdShortPointRec& record, const std::string& name) {
    return trimmedText(std::string(record.name, strnlen(record.name, sizeof record.name))) ==
           trimmedText(name);
}

// The neighbour key of a name (greater or less), with its record.
template <typename Find>
int neighbour(std::string& name, crdShortPointRec& out, PointDb& db, Find find, bool skipHeader) {
    name = rightJustifiedToWidth(trimmedText(name), db);
    const KeyBuffer key = keyOf(name);
    KeyBuffer found{};
    const std::uint32_t position = find(db.indexFileNo, keySpan(key, db), found);
    if (position == 0)
        return isamError != 0 ? point_db::engineError : point_db::none;
    if (skipHeader && found[0] == 0)
        return point_db::none;
    name = keyName(found, db);
    if (!walksPast(name, found, db) || readRecordAt(position, out, db) != point_db::ok)
        return point_db::engineError;
    return recordMatchesKey(out, name) ? point_db::found : point_db::engineError;
}

template <std::size_t N> void fitField(char (&field)[N], int width) {
    char fitted[N];
    const std::string text(field, strnlen(field, N));
    leftAlignText(std::clamp<int>(width, 0, static_cast<int>(N) - 1), text, fitted);
    std::memcpy(field, fitted, N);
}

// A rewrite lands on the record read last; it must hold the same point.
bool rewriteTargetHolds(const std::string& name, PointDb& db) {
    crdShortPointRec stored;
    std::vector<std::uint8_t> record = recordBuffer(db);
    if (db.currentPosition == 0 || db.currentPosition == db.headerPosition ||
        isamReadRecord(db.dataFileNo, db.currentPosition, record) != 0)
        return false;
    unpackPointRecord(record, stored, db);
    return name == stored.name;
}

} // namespace

int pointDbInit() {
    if (engineStarted)
        return point_db::ok;
    if (isamInit(point_db::engineBuffers, point_db::engineFiles, point_db::engineSectors) != 0)
        return point_db::engineError;
    engineStarted = true;
    pairTaken.fill(false);
    return point_db::ok;
}

void pointDbShutdown() {
    for (int fileNo = 0; fileNo < point_db::engineFiles; ++fileNo)
        isamCloseFile(fileNo, 0);
    isamRelease();
    engineStarted = false;
    pairTaken.fill(false);
}

int pointDbFreeFilePairs() {
    return static_cast<int>(std::count(pairTaken.begin(), pairTaken.end(), false));
}

int pointDbOpen(int create, PointDb& db, int requestedSubType, int feetFlag) {
    if (db.open)
        return point_db::alreadyOpen;
    int subType = 0;
    if (!chooseExtensions(db, requestedSubType, subType) || !claimFilePair(db))
        return point_db::engineError;
    if (create) {
        if (createPair(db, subType, feetFlag) != point_db::ok) {
            releaseFilePair(db);
            return point_db::engineError;
        }
    } else if (openPair(db, feetFlag) != point_db::ok) {
        closeBoth(db);
        return point_db::engineError;
    }
    pointDbNextName(db.highestName, db.nextName, db.subType, 1);
    db.currentPosition = 0;
    db.open = 1;
    return point_db::ok;
}

int pointDbClose(PointDb& db) {
    if (db.open)
        closeBoth(db);
    db.open = 0;
    db.pointCount = 0;
    db.nextName.clear();
    db.dataExtension.clear();
    db.indexExtension.clear();
    return point_db::ok;
}

int pointDbFirst(std::string& name, PointDb& db) {
    KeyBuffer found{};
    const std::uint32_t position = isamFirstKey(
        db.indexFileNo,
        std::span<std::uint8_t>(found).first(static_cast<std::size_t>(db.layout.nameWidth)));
    if (position == 0)
        return point_db::engineError;
    name = keyName(found, db);
    db.currentPosition = position;
    return point_db::ok;
}

int pointDbRead(std::string& name, crdShortPointRec& out, PointDb& db) {
    if (pointDbJustifyName(name, db) != point_db::ok)
        return point_db::invalidName;
    const KeyBuffer key = keyOf(name);
    const std::uint32_t position = isamFindEqual(db.indexFileNo, keySpan(key, db));
    if (position == 0) {
        if (isamError != 0)
            return point_db::engineError;
        pointDbBlankPoint(out, db);
        return point_db::absent;
    }
    return readRecordAt(position, out, db);
}

int pointDbNext(std::string& name, crdShortPointRec& out, PointDb& db) {
    return neighbour(name, out, db, isamFindGreater, false);
}

int pointDbPrev(std::string& name, crdShortPointRec& out, PointDb& db) {
    return neighbour(name, out, db, isamFindLess, true);
}

int pointDbWrite(int isNew, crdShortPointRec& record, PointDb& db) {
    std::string name(record.name, strnlen(record.name, sizeof record.name));
    if (pointDbJustifyName(name, db) != point_db::ok)
        return point_db::invalidName;
    std::memset(record.name, 0, sizeof record.name);
    std::memcpy(record.name, name.data(), name.size());
    fitField(record.description, db.descLength);
    fitField(record.code, db.layout.codeWidth);
    const std::vector<std::uint8_t> packed = packPointRecord(record, db);

    if (isNew) {
        const std::uint32_t position = isamNewRecord(db.dataFileNo);
        if (position == 0 || isamWriteRecord(db.dataFileNo, position, packed) != 0)
            return point_db::engineError;
        std::string candidate = name;
        std::string highest = db.highestName;
        const bool highestNow = pointDbCompareNames(candidate, highest, db) > 0;
        const KeyBuffer key = keyOf(name);
        if (isamAddKey(db.indexFileNo, keySpan(key, db), position,
                       highestNow ? isamSplit::ascending : isamSplit::half) != 0) {
            // Without its key the record could never be found again.
            const std::int32_t cause = isamError;
            isamReleaseRecord(db.dataFileNo, position);
            isamError = cause;
            return point_db::engineError;
        }
        if (highestNow)
            db.highestName = name;
        ++db.pointCount;
        db.currentPosition = position;
    } else {
        if (!rewriteTargetHolds(name, db) ||
            isamWriteRecord(db.dataFileNo, db.currentPosition, packed) != 0)
            return point_db::engineError;
    }
    pointDbNextName(name, db.nextName, db.subType, 1);
    return pointDbWriteHeader(db);
}

int pointDbPut(int overwrite, crdShortPointRec& record, PointDb& db) {
    std::string name(record.name, strnlen(record.name, sizeof record.name));
    crdShortPointRec stored;
    if (pointDbRead(name, stored, db) == point_db::ok)
        return overwrite == 0 ? point_db::present : pointDbWrite(0, record, db);
    return pointDbWrite(1, record, db);
}

int pointDbDelete(std::string& name, PointDb& db) {
    if (pointDbJustifyName(name, db) != point_db::ok)
        return point_db::invalidName;
    const KeyBuffer key = keyOf(name);
    const std::uint32_t position = isamFindEqual(db.indexFileNo, keySpan(key, db));
    if (position == 0)
        return isamError != 0 ? point_db::engineError : point_db::ok;
    // The key goes first: a key without its record would be worse than a
    // record without its key.
    if (isamDeleteKey(db.indexFileNo, keySpan(key, db), position) != 0 ||
        isamReleaseRecord(db.dataFileNo, position) != 0)
        return point_db::engineError;
    if (name == db.highestName) {
        KeyBuffer below{};
        db.highestName = isamFindLess(db.indexFileNo, keySpan(key, db), below) != 0
                             ? keyName(below, db)
                             : std::string(static_cast<std::size_t>(db.layout.nameWidth), ' ');
    }
    if (db.pointCount > 0)
        --db.pointCount;
    db.currentPosition = 0;
    return pointDbWriteHeader(db);
}

int pointDbWriteHeader(PointDb& db) {
    const std::vector<std::uint8_t> header = packHeaderRecord(db);
    return isamWriteRecord(db.dataFileNo, db.headerPosition, header) == 0 && flushPair(db)
               ? point_db::ok
               : point_db::engineError;
}

} // namespace ptbank

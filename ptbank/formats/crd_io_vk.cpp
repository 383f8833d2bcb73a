#include "formats/crd_io_vk.hpp"

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

namespace ptbank {
namespace {

constexpr std::size_t longestName = 255;
constexpr int defaultDescLength = 100;

int liveInstances = 0;
bool engineReady = false;

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

std::string withoutLeadingSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string withoutTrailingBlanks(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \r\n");
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

void toIoRecord(const crdShortPointRec& point, crdIoPointRec& out) {
    out.clear();
    out.setName(withoutTrailingBlanks(withoutLeadingSpaces(fieldText(point.name))));
    out.setDescription(withoutTrailingBlanks(fieldText(point.description)));
    out.setCode(fieldText(point.code));
    out.easting = point.easting;
    out.northing = point.northing;
    out.elevation = point.elevation;
}

void toShortRecord(const crdIoPointRec& record, crdShortPointRec& out) {
    std::memset(&out, 0, sizeof out);
    setField(out.name, fieldText(record.name));
    out.northing = record.northing;
    out.easting = record.easting;
    out.elevation = record.elevation;
    setField(out.description, fieldText(record.description));
    setField(out.code, fieldText(record.code));
}

// errorWord of an exact read.
int exactReadWord(int result) {
    switch (result) {
    case point_db::invalidName:
        return crd_error::refusedByDatabase;
    case point_db::engineError:
        return crd_error::readFailed;
    case point_db::ok:
        return crd_error::none;
    default:
        return crd_error::noCoordinate;
    }
}

// errorWord of a neighbour find.
int neighbourWord(int result) {
    switch (result) {
    case point_db::invalidName:
        return crd_error::refusedByDatabase;
    case point_db::engineError:
        return crd_error::readFailed;
    case point_db::none:
        return crd_error::noCoordinate;
    case point_db::found:
        return crd_error::none;
    default:
        return crd_error::notSupported;
    }
}

bool isCrdExtension(std::string_view extension) {
    return platform::equalsIgnoringCase(extension, ".crd");
}

bool removeIfPresent(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return !ec;
}

} // namespace

CrdIoVk::CrdIoVk() {
    ++liveInstances;
    if (!engineReady) {
        pointDbInit();
        engineReady = true;
    }
    fileType_ = crd_type::vkNumeric;
}

CrdIoVk::~CrdIoVk() {
    pointDbClose(db_);
    if (liveInstances-- == 1 && engineReady) {
        pointDbShutdown();
        engineReady = false;
    }
}

bool CrdIoVk::numericNames() const {
    return db_.open ? db_.numericNames() : fileType_ == crd_type::vkNumeric;
}

bool CrdIoVk::fillFromPath(PointDb& db, const std::string& path) const {
    db = PointDb{};
    std::string name;
    std::string extension;
    splitPath(path, &db.directory, &name, &extension);
    db.baseName = name;
    db.dataExtension = extension;
    return !name.empty();
}

int CrdIoVk::open(const std::string& path) {
    errorWord_ = crd_error::none;
    if (db_.open && path == path_)
        return 1;
    pointDbClose(db_);
    if (pointDbFreeFilePairs() == 0) {
        errorWord_ = crd_error::tooManyIndexedFiles;
        return 0;
    }
    fillFromPath(db_, path);
    if (!platform::equalsIgnoringCase(path, path_))
        fileType_ =
            isCrdExtension(db_.dataExtension) ? crd_type::vkNumeric : crd_type::vkAlphanumeric;
    const int requested = fileType_ == crd_type::vkNumeric ? 1 : 3;
    if (pointDbOpen(0, db_, requested, newFeetFlag_) != point_db::ok) {
        errorWord_ = crd_error::readFailed;
        currentName_.clear();
        return 0;
    }
    path_ = db_.dataPath();
    indexPath_ = db_.indexPath();
    highestName_ = withoutLeadingSpaces(db_.highestName);

    crdShortPointRec point;
    std::string name;
    if (pointDbFirst(name, db_) != point_db::ok) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    if (pointDbNext(name, point, db_) != point_db::found) {
        pointDbFirst(lowestName_, db_);
        currentName_.clear();
        return 1;
    }
    lowestName_ = withoutLeadingSpaces(name);
    std::string last = name;
    while (pointDbNext(name, point, db_) == point_db::found)
        last = name;
    highestName_ = withoutLeadingSpaces(last);
    if (pointDbFirst(currentName_, db_) != point_db::ok) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    return 1;
}

int CrdIoVk::isOpen() {
    if (!pending_)
        return db_.open;
    const std::string path = pendingPath_;
    pendingPath_.clear();
    pending_ = 0;
    createPending(path);
    return open(path);
}

int CrdIoVk::create(const std::string& path, int) {
    std::string extension;
    splitPath(path, nullptr, nullptr, &extension);
    if (!isCrdExtension(extension) && !platform::equalsIgnoringCase(extension, ".vkc")) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    pendingPath_ = path;
    pending_ = 1;
    return 1;
}

int CrdIoVk::createPending(const std::string& path) {
    PointDb fresh;
    fillFromPath(fresh, path);
    const std::string dataPath = fresh.dataPath();
    int length = newDescLength_;
    if (length == -1) {
        length = newFileDescLen();
        if (length < 1 || length > defaultDescLength)
            length = defaultDescLength;
    }
    fresh.descLength = length;
    const bool numeric = isCrdExtension(fresh.dataExtension);
    removeIfPresent(dataPath);
    removeIfPresent(fresh.directory + fresh.baseName + (numeric ? ".idx" : ".vki"));
    if (pointDbOpen(1, fresh, numeric ? 1 : 3, newFeetFlag_) != point_db::ok) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    pointDbClose(fresh);
    return 1;
}

int CrdIoVk::deleteFiles() {
    pointDbClose(db_);
    const bool removed = ::remove(path_.c_str()) == 0 && ::remove(indexPath_.c_str()) == 0;
    if (!removed) {
        errorWord_ = crd_error::deleteFailed;
        return 0;
    }
    path_.clear();
    indexPath_.clear();
    return 1;
}

// Each file of the pair replaces the destination's in one rename; both files
// are reopened whatever the copy's outcome.
int CrdIoVk::copyTo(CrdFile& destination) {
    if (destination.fileType() != fileType_)
        return 0;
    const std::string ownData = path_;
    const std::string ownIndex = indexPath_;
    pointDbClose(db_);
    const std::string target = destination.path();
    std::string folder;
    std::string name;
    splitPath(target, &folder, &name, nullptr);
    const std::string targetIndex =
        folder + name + (fileType_ == crd_type::vkAlphanumeric ? ".vki" : ".idx");
    destination.close();
    const bool copied =
        copyFileReplacing(ownData, target) && copyFileReplacing(ownIndex, targetIndex);
    open(ownData);
    const int reopened = destination.open(target, 0, -1);
    return copied ? reopened : 0;
}

// Only the base name changes: folder and extensions stay. Never renames over
// an existing file, and undoes a half-done rename.
int CrdIoVk::rename(const std::string& newPath) {
    errorWord_ = crd_error::none;
    std::string newBase;
    splitPath(newPath, nullptr, &newBase, nullptr);
    const std::string oldData = path_;
    const std::string oldIndex = indexPath_;
    const std::string newData = db_.directory + newBase + db_.dataExtension;
    const std::string newIndex = db_.directory + newBase + db_.indexExtension;
    pointDbClose(db_);
    path_.clear();
    if (newBase.empty() || !renameWithoutReplacing(oldData, newData)) {
        open(oldData);
        errorWord_ = crd_error::renameFailed;
        return 0;
    }
    if (!renameWithoutReplacing(oldIndex, newIndex)) {
        renameWithoutReplacing(newData, oldData);
        open(oldData);
        errorWord_ = crd_error::renameFailed;
        return 0;
    }
    if (open(newData) == 1)
        return 1;
    renameWithoutReplacing(newData, oldData);
    renameWithoutReplacing(newIndex, oldIndex);
    open(oldData);
    errorWord_ = crd_error::readFailed;
    return 0;
}

// The rebuilt pair takes the own pair's place by renames over it, so the old
// points stay on disk until the new files are in place, and an index never
// ends up beside the data file of the other pair.
int CrdIoVk::commit(const std::string& tempPath) {
    std::string tempBase;
    std::string tempExtension;
    splitPath(tempPath, nullptr, &tempBase, &tempExtension);
    const std::string tempIndex =
        db_.directory + tempBase + (isCrdExtension(tempExtension) ? ".idx" : ".vki");
    const std::string ownData = path_;
    pointDbClose(db_);
    const bool replaced = replacePair({tempIndex, tempPath}, {indexPath_, ownData});
    path_.clear();
    const int reopened = open(ownData);
    return replaced ? reopened : 0;
}

std::string CrdIoVk::maxLegalName() {
    return fileType_ == crd_type::vkNumeric ? "65535" : "";
}

std::string CrdIoVk::minLegalName() {
    return fileType_ == crd_type::vkNumeric ? "1" : "";
}

void CrdIoVk::refreshNames(std::string_view name) {
    currentName_ = withoutLeadingSpaces(name);
    std::string first;
    crdShortPointRec point;
    lowestName_ = pointDbNext(first, point, db_) == point_db::found ? withoutLeadingSpaces(first)
                                                                    : std::string();
    highestName_ = withoutLeadingSpaces(db_.highestName);
}

int CrdIoVk::readPoint(std::string_view name, crdIoPointRec& out, int direction, int,
                       crdCursor* cursor) {
    errorWord_ = crd_error::none;
    if (name.size() > longestName) {
        errorWord_ = crd_error::nameTooLong;
        return 0;
    }
    if (name.empty()) {
        errorWord_ = crd_error::emptyName;
        return 0;
    }
    currentName_ = withoutTrailingBlanks(withoutLeadingSpaces(name));
    std::string copy = currentName_;
    crdShortPointRec point;
    errorWord_ = exactReadWord(pointDbRead(copy, point, db_));
    if (errorWord_ == crd_error::noCoordinate && direction == 1)
        errorWord_ = neighbourWord(pointDbNext(copy, point, db_));
    else if (errorWord_ == crd_error::noCoordinate && direction == -1)
        errorWord_ = neighbourWord(pointDbPrev(copy, point, db_));
    if (errorWord_ != crd_error::none)
        return 0;
    toIoRecord(point, out);
    refreshNames(out.name);
    if (cursor)
        setField(cursor->name, out.name);
    return 1;
}

int CrdIoVk::writePoint(const crdIoPointRec& record, int, crdIoPointRec& previous) {
    previous.clear();
    readPoint(record.name, previous, 0, 1, nullptr);
    errorWord_ = crd_error::none;
    std::string checked = record.name;
    switch (pointDbCheckName(checked)) {
    case 0:
        break;
    case 1:
        errorWord_ = crd_error::forbiddenCharacter;
        break;
    case 2:
        errorWord_ = crd_error::nameTooLong;
        break;
    default:
        errorWord_ = crd_error::notSupported;
        break;
    }
    if (errorWord_ == crd_error::none &&
        static_cast<int>(strnlen(record.description, sizeof record.description)) > db_.descLength)
        errorWord_ = crd_error::descriptionTooLong;
    if (errorWord_ == crd_error::none &&
        static_cast<int>(strnlen(record.code, sizeof record.code)) > db_.layout.codeWidth)
        errorWord_ = crd_error::codeTooLong;
    if (errorWord_ == crd_error::none) {
        crdShortPointRec point;
        toShortRecord(record, point);
        switch (pointDbPut(1, point, db_)) {
        case point_db::ok:
            break;
        case point_db::invalidName:
            errorWord_ = crd_error::refusedByDatabase;
            break;
        case point_db::engineError:
            errorWord_ = crd_error::readFailed;
            break;
        default:
            errorWord_ = crd_error::notSupported;
            break;
        }
    }
    if (errorWord_ != crd_error::none) {
        currentName_.clear();
        return 0;
    }
    refreshNames(record.name);
    return 1;
}

int CrdIoVk::deletePoints(std::string_view name, CrdFile&) {
    errorWord_ = validateId(name);
    if (errorWord_ != crd_error::none)
        return 0;
    std::string wanted = withoutTrailingBlanks(withoutLeadingSpaces(name));
    crdShortPointRec point;
    errorWord_ = exactReadWord(pointDbRead(wanted, point, db_));
    if (errorWord_ != crd_error::none)
        return 0;
    std::string previous = wanted;
    errorWord_ = neighbourWord(pointDbPrev(previous, point, db_));
    if (errorWord_ == crd_error::noCoordinate)
        previous.clear();
    else if (errorWord_ != crd_error::none)
        return 0;
    switch (pointDbDelete(wanted, db_)) {
    case point_db::ok:
        errorWord_ = crd_error::none;
        break;
    case point_db::invalidName:
        errorWord_ = crd_error::nameTooLong;
        return 0;
    case point_db::engineError:
        errorWord_ = crd_error::readFailed;
        return 0;
    default:
        errorWord_ = crd_error::notSupported;
        return 0;
    }
    refreshNames(previous);
    return 1;
}

int CrdIoVk::compareIds(std::string_view a, std::string_view b) {
    PointDb rules;
    pointDbSetLayout(numericNames() ? 1 : 3, rules);
    std::string x(a);
    std::string y(b);
    return pointDbCompareNames(x, y, rules);
}

int CrdIoVk::deleteRange(std::string_view range, int, CrdFile& owner) {
    int deleted = 0;
    if (platform::equalsIgnoringCase(trimmedText(range), "ALL")) {
        std::string name;
        if (pointDbFirst(name, db_) != point_db::ok) {
            errorWord_ = crd_error::noCoordinate;
            return 0;
        }
        crdShortPointRec point;
        for (;;) {
            name.clear();
            if (pointDbNext(name, point, db_) != point_db::found)
                break;
            // A point that cannot be deleted would be found again forever.
            if (pointDbDelete(name, db_) != point_db::ok)
                break;
            ++deleted;
        }
        refreshNames({});
        return deleted;
    }
    std::string text = trimmedText(range);
    std::string_view rest = text;
    std::string from;
    std::string to;
    while (parseRangeItem(rest, from, to, &rest) == 1) {
        if (compareIds(from, to) > 0)
            std::swap(from, to);
        crdIoPointRec point;
        int found = readPoint(from, point, 1, 1, nullptr);
        while (found == 1 && compareIds(point.name, to) <= 0) {
            const std::string name = point.name;
            if (deletePoints(name, owner) == 1)
                ++deleted;
            found = readPoint(name, point, 1, 1, nullptr);
        }
    }
    return deleted;
}

int CrdIoVk::validateId(std::string_view name) {
    if (name.size() > longestName)
        return crd_error::nameTooLong;
    if (name.empty())
        return crd_error::emptyName;
    std::string trimmed = trimmedText(name);
    if (numericNames()) {
        if (trimmed.size() > static_cast<std::size_t>(point_db::numericNameWidth))
            return crd_error::nameTooLong;
        if (!std::all_of(trimmed.begin(), trimmed.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            return crd_error::forbiddenCharacter;
        const long value = platform::atolC(trimmed);
        if (value < 1)
            return crd_error::numberBelowOne;
        if (value > point_db::highestNumericName)
            return crd_error::numberTooLarge;
        return crd_error::none;
    }
    switch (pointDbCheckName(trimmed)) {
    case 0:
        return crd_error::none;
    case 1:
        return crd_error::forbiddenCharacter;
    case 2:
        return crd_error::nameTooLong;
    default:
        return crd_error::notSupported;
    }
}

void CrdIoVk::takeSettings(CrdFile& source) {
    newDescLength_ = newFileDescLen();
    const int type = source.fileType();
    const PointDb* inner = type == crd_type::vkAlphanumeric || type == crd_type::vkNumeric
                               ? source.innerBlock()
                               : nullptr;
    newFeetFlag_ = inner ? inner->feetFlag : 0;
}

int CrdIoVk::feetFlag() {
    switch (db_.feetFlag) {
    case 1:
    case 255:
        return 2;
    case 0:
        return 1;
    default:
        return 0;
    }
}

int CrdIoVk::readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) {
    errorWord_ = crd_error::none;
    if (currentName_.empty() && pointDbFirst(currentName_, db_) != point_db::ok) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    crdShortPointRec point;
    std::string name = cursor ? std::string(fieldText(cursor->name)) : currentName_;
    if (!cursor || step == 1)
        errorWord_ = neighbourWord(pointDbNext(name, point, db_));
    else if (step == -1)
        errorWord_ = neighbourWord(pointDbPrev(name, point, db_));
    else if (step == 0)
        errorWord_ = exactReadWord(pointDbRead(name, point, db_));
    else
        errorWord_ = crd_error::notSupported;
    if (errorWord_ != crd_error::none) {
        currentName_.clear();
        return 0;
    }
    toIoRecord(point, out);
    currentName_ = out.name;
    if (cursor)
        setField(cursor->name, out.name);
    return 1;
}

int CrdIoVk::cursorIndex(crdCursor& cursor) {
    setField(cursor.name, currentName_);
    return cursor.index;
}

} // namespace ptbank

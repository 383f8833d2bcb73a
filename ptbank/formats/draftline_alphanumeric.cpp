// The alphanumeric .crd file: a header, then records sorted by point name.

#include "formats/crd_draftline.hpp"

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_text.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace ptbank {
namespace {

using namespace draftline;

constexpr std::size_t maxAlphaName = nameField - 1;
// Records read at a time when the names are loaded.
constexpr int namesPerRead = 4096;

std::uint64_t recordOffset(int index) {
    return alphaHeaderSize + static_cast<std::uint64_t>(index) * alphaRecordSize;
}

int sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// A text field of the record: up to its first zero byte.
std::string_view fieldAt(const AlphaRecord& record, std::size_t offset, std::size_t width) {
    const auto* begin = reinterpret_cast<const char*>(record.data() + offset);
    return {begin, strnlen(begin, width)};
}

// The order in which records inserted one by one, each before the first
// record that compares greater than or equal to it, end up: a stable merge
// of the reversed input. Written out rather than std::stable_sort because
// the point-name order is not a strict weak ordering.
std::vector<int> insertionOrder(const std::vector<std::string>& names) {
    const int count = static_cast<int>(names.size());
    std::vector<int> order(names.size());
    std::iota(order.rbegin(), order.rend(), 0);
    std::vector<int> merged(order.size());
    for (int width = 1; width < count; width *= 2) {
        for (int lo = 0; lo < count; lo += 2 * width) {
            const int mid = std::min(lo + width, count);
            const int hi = std::min(lo + 2 * width, count);
            int left = lo;
            int right = mid;
            int out = lo;
            while (left < mid && right < hi) {
                const bool takeRight =
                    comparePointNames(names[static_cast<std::size_t>(order[right])],
                                      names[static_cast<std::size_t>(order[left])]) < 0;
                merged[out++] = order[takeRight ? right++ : left++];
            }
            while (left < mid)
                merged[out++] = order[left++];
            while (right < hi)
                merged[out++] = order[right++];
        }
        order.swap(merged);
    }
    return order;
}

} // namespace

bool CrdIODraftline::readAlphaHeader(const AlphaHeader& header) {
    title_ = readText(header.data() + 40, textField);
    headerNumber_ = platform::formatC("%.3f", readDouble(header.data()));
    headerDate_ = readText(header.data() + 8, textField);
    highestName_.clear();
    lowestName_.clear();
    if (!loadAlphaNames())
        return false;
    if (!alphaNames_.empty()) {
        lowestName_ = alphaNames_[0];
        highestName_ = alphaNames_[alphaNames_.size() - 1];
    }
    return true;
}

bool CrdIODraftline::loadAlphaNames() {
    const int count = pointCount();
    alphaNames_.clear();
    alphaNames_.reserve(count);
    std::vector<std::uint8_t> block;
    for (int first = 0; first < count; first += namesPerRead) {
        const int records = std::min(namesPerRead, count - first);
        block.resize(static_cast<std::size_t>(records) * alphaRecordSize);
        if (!file_.readAt(recordOffset(first), block))
            return false;
        for (int i = 0; i < records; ++i)
            alphaNames_.append(
                decodeAlphaName(std::span(block)
                                    .subspan(static_cast<std::size_t>(i) * alphaRecordSize)
                                    .first<alphaRecordSize>()));
    }
    return true;
}

// Files of the older layout keep their records unsorted; they are sorted
// once, into a new file that replaces the old one in one rename.
bool CrdIODraftline::sortOldAlphaFile(const std::string& path) {
    const int count = pointCount();
    std::vector<std::uint8_t> bytes(alphaHeaderSize +
                                    static_cast<std::size_t>(count) * alphaRecordSize);
    if (!file_.readAt(0, bytes))
        return false;
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        AlphaRecord record{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(i)), alphaRecordSize,
                    record.begin());
        names.push_back(decodeAlpha(record).name);
    }
    std::string sorted(bytes.begin(), bytes.begin() + alphaHeaderSize);
    writeText(reinterpret_cast<std::uint8_t*>(sorted.data()) + markerOffset, 16, currentMarker);
    for (const int i : insertionOrder(names)) {
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(recordOffset(i));
        sorted.append(from, from + alphaRecordSize);
    }
    std::string error;
    if (!platform::replaceFile(path, sorted, error))
        return false;
    return file_.open(path, BinaryFile::Mode::readWrite, true);
}

// Straight from the record's bytes into the point, read many times per
// second: the same fields decodeAlpha gives, without its copies.
bool CrdIODraftline::readAlphaRecord(int index, crdIoPointRec& out) const {
    AlphaRecord record{};
    if (index < 0 || !file_.readAt(recordOffset(index), record))
        return false;
    out.fill(readDouble(record.data() + eastingOffset), readDouble(record.data() + northingOffset),
             readDouble(record.data() + elevationOffset),
             fieldAt(record, alphaNameOffset, nameField),
             fieldAt(record, descriptionOffset, textField), {});
    return true;
}

int CrdIODraftline::readAlphaPoint(std::string_view name, crdIoPointRec& out, int direction) {
    errorWord_ = crd_error::none;
    const std::string wanted = upperCased(trimmedText(name.substr(0, 255), 0));
    if (alphaNames_.empty()) {
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    const int held = alphaNames_.find(wanted, current_ + 1);
    if (held < 0)
        return searchAlphaPoint(wanted, out, direction);
    current_ = held;
    return readCurrentAlphaRecord(out);
}

int CrdIODraftline::readCurrentAlphaRecord(crdIoPointRec& out) {
    if (!readAlphaRecord(current_, out)) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    return 1;
}

// The records are searched by name in memory, the current record following
// each name probed as it would follow a search on disk, so that a walk from
// a name that is not there goes on from where the search ended.
int CrdIODraftline::searchAlphaPoint(const std::string& wanted, crdIoPointRec& out,
                                     int direction) {
    const int count = alphaNames_.size();
    const WantedName target(wanted);
    bool outside = false;
    bool found = false;
    current_ = 0;
    const int toFirst = target.against(alphaNames_, 0);
    if (toFirst < 0) {
        outside = true;
        current_ = -1;
        if (direction < 0) {
            errorWord_ = crd_error::noCoordinate;
            return 0;
        }
    } else if (toFirst == 0) {
        found = true;
    } else {
        const int last = count - 1;
        current_ = last;
        const int toLast = target.against(alphaNames_, last);
        if (toLast > 0) {
            outside = true;
            current_ = count;
            if (direction > 0) {
                errorWord_ = crd_error::noCoordinate;
                return 0;
            }
        } else if (toLast == 0) {
            found = true;
        } else {
            int lo = 0;
            int hi = last;
            while (!found && hi - lo > 1) {
                const int mid = (lo + hi) / 2;
                current_ = mid;
                const int c = target.from(alphaNames_, mid);
                if (c < 0)
                    lo = mid;
                else if (c > 0)
                    hi = mid;
                else
                    found = true;
            }
        }
    }
    if (found)
        return readCurrentAlphaRecord(out);
    if (direction == 0) {
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    crdCursor start;
    start.index = current_;
    if (!outside && sign(target.against(alphaNames_, current_)) != sign(direction))
        start.index -= direction;
    return readAtCursor(&start, out, direction);
}

int CrdIODraftline::insertionPosition(const std::string& name) const {
    const int count = alphaNames_.size();
    if (count == 0)
        return 0;
    const int last = count - 1;
    const WantedName target(name);
    const int toLast = target.against(alphaNames_, last);
    if (toLast > 0)
        return count;
    if (toLast == 0)
        return last;
    if (target.against(alphaNames_, 0) <= 0)
        return 0;
    if (count < 2)
        return last;
    int lo = 0;
    int hi = last;
    while (hi - lo >= 2) {
        const int mid = (lo + hi) / 2;
        const int c = target.from(alphaNames_, mid);
        if (c == 0)
            return mid;
        if (c < 0)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

int CrdIODraftline::writeAlphaPoint(const crdIoPointRec& record, int quiet) {
    std::string name = trimmedText(record.name, 0);
    if (name.empty()) {
        if (!quiet)
            crdPrint("\nInvalid point number: empty string.");
        errorWord_ = crd_error::emptyName;
        return 0;
    }
    if (name.size() > maxAlphaName) {
        errorWord_ = crd_error::nameTooLong;
        return 0;
    }
    if (std::strlen(record.description) > textField - 1) {
        errorWord_ = crd_error::descriptionTooLong;
        return 0;
    }
    std::replace(name.begin(), name.end(), '-', '_');
    std::replace(name.begin(), name.end(), ',', '_');
    name = upperCased(name);
    const DiskPoint point{record.northing, record.easting, record.elevation, record.description,
                          name};
    const AlphaRecord bytes = encodeAlpha(point);

    const int count = alphaNames_.size();
    // The read that writePoint makes first leaves a name it found current.
    const int held = alphaNames_.find(name, current_);
    const int position = held >= 0 ? held : insertionPosition(name);
    if (position < count && compareIds(alphaNames_[position], name) == 0) {
        if (!file_.writeAt(recordOffset(position), bytes)) {
            errorWord_ = crd_error::readFailed;
            return 0;
        }
        alphaNames_.set(position, name);
        return 1;
    }
    // Every later record moves one slot towards the end.
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(count - position) * alphaRecordSize);
    const bool moved = tail.empty() || (file_.readAt(recordOffset(position), tail) &&
                                        file_.writeAt(recordOffset(position + 1), tail));
    if (!moved || !file_.writeAt(recordOffset(position), bytes)) {
        errorWord_ = crd_error::readFailed;
        // The records may have moved: the names are read again from the file.
        loadAlphaNames();
        return 0;
    }
    alphaNames_.insert(position, name);
    if (highestName_.empty() || compareIds(name, highestName_) > 0)
        highestName_ = name;
    if (lowestName_.empty() || compareIds(name, lowestName_) < 0)
        lowestName_ = name;
    return 1;
}

int CrdIODraftline::writeAlphaHeaderTexts() {
    AlphaHeader header{};
    if (!file_.readAt(0, header))
        return 0;
    writeDouble(header.data(), platform::atofC(headerNumber_));
    writeText(header.data() + 8, textField, headerDate_);
    writeText(header.data() + 40, textField, title_);
    return file_.writeAt(0, header) ? 1 : 0;
}

} // namespace ptbank

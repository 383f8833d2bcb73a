// The numeric .crd file: point n is record n, the header is record 0.

#include "formats/crd_draftline.hpp"

#include "ptbank/crd_environment.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ptbank {
namespace {

using namespace draftline;

std::string numberText(long n) {
    return platform::formatC("%ld", n);
}

// A point at the origin without elevation is stored with 1e-6 so that it
// differs from an empty slot; reading undoes it.
void fillFromRecord(crdIoPointRec& out, const DiskPoint& point, long number) {
    double elevation = point.elevation;
    if (point.northing == 0.0 && point.easting == 0.0 && elevation == 1e-6)
        elevation = 0.0;
    out.fill(point.easting, point.northing, elevation, numberText(number), point.description, {});
}

// MM/DD/YYYY as the number YYYY.MMDD.
double dateNumber(const std::string& date) {
    if (date.find('/') == std::string::npos)
        return platform::atofC(date);
    const std::size_t first = date.find('/');
    const std::size_t second = date.find('/', first + 1);
    const int month = platform::atoiC(date.substr(0, first));
    const int day = platform::atoiC(date.substr(first + 1));
    const int year = second == std::string::npos ? 0 : platform::atoiC(date.substr(second + 1));
    return year + month / 100.0 + day / 10000.0;
}

} // namespace

// A highest number that no numeric file can hold marks a damaged header.
bool CrdIODraftline::readNumericHeader() {
    NumericRecord header{};
    if (!readNumericHeaderBytes(header))
        return false;
    const double highest = readDouble(header.data());
    if (!(highest >= 0.0 && highest < static_cast<double>(pointNumberLimit)))
        return false;
    title_ = readText(header.data() + 24, textField);
    headerNumber_ = platform::formatC("%.3f", readDouble(header.data() + 8));
    headerDate_ = platform::formatC("%4.4f", readDouble(header.data() + 16));
    highestName_ = numberText(static_cast<long>(highest));
    lowestName_.assign(1, '1');
    return true;
}

// A file shorter than its header reads the missing bytes as zero.
bool CrdIODraftline::readNumericHeaderBytes(NumericRecord& header) const {
    const auto available =
        static_cast<std::size_t>(std::min<std::uint64_t>(file_.size(), numericRecordSize));
    return file_.readAt(0, std::span<std::uint8_t>(header.data(), available));
}

bool CrdIODraftline::readNumericRecord(long number, DiskPoint& point) const {
    NumericRecord record{};
    if (number < 0 || !file_.readAt(static_cast<std::uint64_t>(number) * numericRecordSize, record))
        return false;
    point = decodeNumeric(record);
    return true;
}

int CrdIODraftline::readNumericPoint(std::string_view name, crdIoPointRec& out, int direction,
                                     int quiet) {
    errorWord_ = crd_error::none;
    current_ = -1;
    const long n = platform::atolC(name);
    const long highest = platform::atolC(highestName_);
    if (n > highest) {
        if (direction < 0) {
            current_ = static_cast<int>(highest);
            return readAtCursor(nullptr, out, -1);
        }
        if (!quiet)
            crdPrint("\nRequested point number greater than highest in file.");
        errorWord_ = crd_error::noCoordinate;
        return 0;
    }
    if (n < 1) {
        if (direction > 0) {
            current_ = -1;
            return readAtCursor(nullptr, out, 1);
        }
        if (!quiet)
            crdPrint("\nPoint numbers must be >= 1");
        errorWord_ = crd_error::numberBelowOne;
        return 0;
    }
    DiskPoint point;
    if (!readNumericRecord(n, point)) {
        if (!quiet)
            crdPrint("\nCan't read point from numeric crd file.\n");
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    current_ = static_cast<int>(n - 1);
    if (isEmptySlot(point)) {
        if (direction == 0) {
            errorWord_ = crd_error::noCoordinate;
            return 0;
        }
        return readAtCursor(nullptr, out, direction);
    }
    fillFromRecord(out, point, n);
    return 1;
}

// The index of the point reached (record index + 1 is its number), skipping
// empty slots in the step's direction; -1 when there is none.
int CrdIODraftline::readNumericAtCursor(int index, crdIoPointRec& out, int step) {
    long i = index;
    DiskPoint point;
    for (;;) {
        if (!readNumericRecord(i + 1, point))
            return -1;
        if (!isEmptySlot(point))
            break;
        if (step == 0)
            return -1;
        i += step > 0 ? 1 : -1;
        if (i < 0)
            return -1;
    }
    fillFromRecord(out, point, i + 1);
    return static_cast<int>(i);
}

int CrdIODraftline::writeNumericPoint(const crdIoPointRec& record, int quiet) {
    DiskPoint point{record.northing, record.easting, record.elevation, record.description, {}};
    if (isEmptySlot(point))
        point.elevation = 1e-6;
    if (std::strlen(record.description) > textField - 1) {
        errorWord_ = crd_error::descriptionTooLong;
        return 0;
    }
    const std::string_view name = record.name;
    const long n = platform::atolC(name);
    if (!name.empty() && numberText(n) != name) {
        if (!quiet)
            crdPrint(platform::formatC("\nError: pt# %s invalid for current CRD format of numeric "
                                       "only point numbers.",
                                       record.name));
        errorWord_ = crd_error::notCanonicalNumber;
        return 0;
    }
    if (n < 1) {
        if (!quiet)
            crdPrint("\nError: Point number must be greater than 0.");
        errorWord_ = crd_error::numberBelowOne;
        return 0;
    }
    if (n >= pointNumberLimit) {
        if (!quiet)
            crdPrint(platform::formatC("\nError: Point number must be less than %d.",
                                       static_cast<int>(pointNumberLimit)));
        errorWord_ = crd_error::numberTooLarge;
        return 0;
    }
    long highest = platform::atolC(highestName_);
    const long lastRecord = static_cast<long>(file_.size() / numericRecordSize) - 1;
    if (lastRecord < highest) {
        highest = lastRecord;
        highestName_ = numberText(highest);
    }
    const NumericRecord bytes = encodeNumeric(point);
    if (n <= highest) {
        if (!file_.writeAt(static_cast<std::uint64_t>(n) * numericRecordSize, bytes)) {
            errorWord_ = crd_error::readFailed;
            return 0;
        }
        return 1;
    }
    // Slots up to the new number become empty records; slots that the file
    // already holds beyond a stale header keep what they hold.
    const long firstGap = std::max({highest + 1, lastRecord + 1, 1L});
    std::vector<std::uint8_t> gap;
    const NumericRecord blank = emptyNumericRecord();
    for (long slot = firstGap; slot < n; ++slot)
        gap.insert(gap.end(), blank.begin(), blank.end());
    const bool written =
        file_.writeAt(static_cast<std::uint64_t>(firstGap) * numericRecordSize, gap) &&
        file_.writeAt(static_cast<std::uint64_t>(n) * numericRecordSize, bytes) &&
        writeNumericHeader(n);
    if (!written) {
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    highestName_ = numberText(n);
    return 1;
}

bool CrdIODraftline::writeNumericHeader(long highest) {
    NumericRecord header{};
    if (!readNumericHeaderBytes(header))
        return false;
    writeDouble(header.data(), static_cast<double>(highest));
    return file_.writeAt(0, header);
}

int CrdIODraftline::writeNumericHeaderTexts() {
    NumericRecord header{};
    if (!readNumericHeaderBytes(header))
        return 0;
    writeDouble(header.data() + 8, platform::atofC(headerNumber_));
    writeDouble(header.data() + 16, dateNumber(headerDate_));
    writeText(header.data() + 24, textField, title_);
    return file_.writeAt(0, header) ? 1 : 0;
}

} // namespace ptbank

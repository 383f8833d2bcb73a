#include "formats/crd_draftline.hpp"

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_text.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <climits>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace ptbank {
namespace {

using namespace draftline;

std::tm utcToday() {
    const auto now = static_cast<std::time_t>(crdEnvironment().clock());
    std::tm t{};
    gmtime_r(&now, &t);
    return t;
}

// YYYY.MMDD as the numeric header stores it.
double numericDate(const std::tm& t) {
    std::string text = platform::formatC("%4d.%2d%2d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    for (const std::size_t i : {std::size_t{5}, std::size_t{7}}) {
        if (i < text.size() && text[i] == ' ')
            text[i] = '0';
    }
    return platform::atofC(text);
}

// MM/DD/YYYY as the alphanumeric header stores it.
std::string alphaDate(const std::tm& t) {
    std::string text = platform::formatC("%2d/%2d/%4d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900);
    for (const std::size_t i : {std::size_t{0}, std::size_t{3}}) {
        if (i < text.size() && text[i] == ' ')
            text[i] = '0';
    }
    return text;
}

std::string withExtension(const std::string& path, std::string_view dotted) {
    std::string folder;
    std::string name;
    splitPath(path, &folder, &name, nullptr);
    return folder + name + std::string(dotted);
}

bool hasAlphaMarker(const AlphaHeader& header) {
    const std::string marker = readText(header.data() + markerOffset, 16);
    return marker.size() > 5 && marker.starts_with(markerStem);
}

} // namespace

int CrdIODraftline::open(const std::string& path) {
    errorWord_ = crd_error::none;
    current_ = -1;
    alphaNames_.clear();
    if (!file_.open(path, BinaryFile::Mode::readWrite, true)) {
        errorWord_ = crd_error::cannotOpen;
        return 0;
    }
    AlphaHeader header{};
    bool opened = false;
    if (file_.readAt(0, header) && hasAlphaMarker(header)) {
        fileType_ = crd_type::alphanumeric;
        const bool oldUnsorted = header[markerVersionOffset] != '2' && pointCount() > 0;
        opened = (!oldUnsorted || sortOldAlphaFile(path)) && readAlphaHeader(header);
    } else {
        fileType_ = crd_type::numeric;
        opened = readNumericHeader();
    }
    if (!opened) {
        file_.close();
        errorWord_ = crd_error::readFailed;
        return 0;
    }
    path_ = path;
    return 1;
}

int CrdIODraftline::create(const std::string& path, int) {
    errorWord_ = crd_error::none;
    file_.close();
    if (fileType_ != crd_type::numeric && fileType_ != crd_type::alphanumeric) {
        errorWord_ = crd_error::notSupported;
        return 0;
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::filesystem::remove(withExtension(path, ".not"), ec);
    BinaryFile fresh;
    if (!fresh.open(path, BinaryFile::Mode::create, true)) {
        crdPrint(platform::formatC("\nCan't open new file %s", path.c_str()));
        errorWord_ = crd_error::cannotCreate;
        return 0;
    }
    const std::tm today = utcToday();
    bool written = false;
    if (numeric()) {
        NumericRecord header{};
        writeDouble(header.data() + 16, numericDate(today));
        written = fresh.writeAt(0, header);
    } else {
        AlphaHeader header{};
        writeText(header.data() + 8, textField, alphaDate(today));
        writeText(header.data() + markerOffset, 16, currentMarker);
        written = fresh.writeAt(0, header);
    }
    fresh.close();
    if (!written) {
        errorWord_ = crd_error::cannotCreate;
        return 0;
    }
    return open(path);
}

int CrdIODraftline::deleteFiles() {
    errorWord_ = crd_error::none;
    file_.close();
    if (::unlink(path_.c_str()) == 0)
        return 1;
    errorWord_ = crd_error::deleteFailed;
    return 0;
}

// The file copy replaces the destination in one rename. Both files are
// reopened whatever the copy's outcome, so neither handle is left without
// its file.
int CrdIODraftline::copyTo(CrdFile& destination) {
    if (destination.fileType() != fileType_)
        return 0;
    const std::string own = path_;
    const std::string target = destination.path();
    file_.close();
    destination.close();
    const bool copied = copyFileReplacing(own, target);
    open(own);
    const int reopened = destination.open(target, 0, -1);
    return copied ? reopened : 0;
}

// Never renames over an existing file: that file would be lost.
int CrdIODraftline::rename(const std::string& newPath) {
    errorWord_ = crd_error::none;
    const std::string own = path_;
    file_.close();
    if (!renameWithoutReplacing(own, newPath)) {
        open(own);
        errorWord_ = crd_error::renameFailed;
        return 0;
    }
    return open(newPath);
}

// The rebuilt file takes the own file's place in one rename, so the old
// points stay on disk until the new file is complete.
int CrdIODraftline::commit(const std::string& tempPath) {
    const std::string own = path_;
    file_.close();
    if (::rename(tempPath.c_str(), own.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        open(own);
        errorWord_ = crd_error::renameFailed;
        return 0;
    }
    return open(own);
}

int CrdIODraftline::pointCount() {
    const auto size = static_cast<long long>(file_.size());
    const long long count = numeric() ? (size - static_cast<long long>(numericRecordSize)) /
                                            static_cast<long long>(numericRecordSize)
                                      : (size - static_cast<long long>(alphaHeaderSize)) /
                                            static_cast<long long>(alphaRecordSize);
    return static_cast<int>(std::clamp<long long>(count, 0, INT_MAX));
}

int CrdIODraftline::compareIds(std::string_view a, std::string_view b) {
    if (!numeric())
        return comparePointNames(a, b);
    const auto withoutLeadingZeros = [](std::string_view s) {
        std::size_t i = 0;
        while (i + 1 < s.size() && s[i] == '0')
            ++i;
        return s.substr(i);
    };
    return comparePointNames(withoutLeadingZeros(a), withoutLeadingZeros(b));
}

int CrdIODraftline::validateId(std::string_view name) {
    if (static_cast<int>(name.size()) >= nameSize())
        return crd_error::nameTooLong;
    if (name.empty())
        return crd_error::emptyName;
    if (!numeric())
        return crd_error::none;
    const long value = platform::atolC(name);
    if (platform::formatC("%ld", value) != name)
        return crd_error::notCanonicalNumber;
    if (value < 1)
        return crd_error::numberBelowOne;
    if (value >= pointNumberLimit)
        return crd_error::numberTooLarge;
    return crd_error::none;
}

int CrdIODraftline::setTitle(std::string_view text) {
    title_ = text;
    return writeHeader();
}

int CrdIODraftline::setHeaderNumber(std::string_view text) {
    headerNumber_ = text;
    return writeHeader();
}

int CrdIODraftline::setHeaderDate(std::string_view text) {
    headerDate_ = text;
    return writeHeader();
}

int CrdIODraftline::writeHeader() {
    const int written = numeric() ? writeNumericHeaderTexts() : writeAlphaHeaderTexts();
    if (written != 1)
        errorWord_ = crd_error::readFailed;
    return written;
}

int CrdIODraftline::readPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet,
                              crdCursor*) {
    return numeric() ? readNumericPoint(name, out, direction, quiet)
                     : readAlphaPoint(name, out, direction);
}

int CrdIODraftline::writePoint(const crdIoPointRec& record, int quiet, crdIoPointRec& previous) {
    previous.clear();
    readPoint(record.name, previous, 0, 1, nullptr);
    errorWord_ = crd_error::none;
    return numeric() ? writeNumericPoint(record, quiet) : writeAlphaPoint(record, quiet);
}

int CrdIODraftline::readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) {
    const int index = (cursor ? cursor->index : current_) + step;
    if (index < 0)
        return 0;
    int reached = index;
    if (numeric()) {
        reached = readNumericAtCursor(index, out, step);
        if (reached < 0)
            return 0;
    } else {
        if (!readAlphaRecord(index, out))
            return 0;
    }
    current_ = reached;
    if (cursor)
        cursor->index = reached;
    return 1;
}

} // namespace ptbank

#include "ptbank/crd_file.hpp"

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_history.hpp"
#include "src/back_end_factory.hpp"
#include "src/binary_file.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace ptbank {
namespace {

constexpr std::size_t maxUserName = 126;

bool canOpenForReadWrite(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Removes the file, or the one file of its folder whose name matches it
// without regard to case.
void removeCompanionFile(const std::string& path) {
    if (const auto found = platform::findFileIgnoringCase(path)) {
        std::error_code ec;
        std::filesystem::remove(*found, ec);
    }
}

} // namespace

CrdFile::CrdFile() : CrdList(this), historySwitch_(historyDefault()) {
    std::string user = crdEnvironment().userName();
    if (user.size() > maxUserName)
        user.resize(maxUserName);
    userName_ = user;
}

CrdFile::~CrdFile() {
    close();
}

int CrdFile::open(const std::string& path, int create, int type) {
    resetWalk();
    backEnd_.reset();
    closeHistory();

    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !canOpenForReadWrite(path)) {
        crdPrint(platform::formatC("\nError 1: Could not open file: %s\nIt might be read-only or "
                                   "in use by another application.\n",
                                   path.c_str()));
        return 0;
    }
    const int detected = detectCrdType(path);
    int chosen = detected;
    const bool creating = detected == crd_type::unknown || create != 0;
    if (creating)
        chosen = type == -1 ? crdTypeByExtension(path) : type;
    else if (detected == crd_type::unrecognised)
        return 0;

    backEnd_ = makeCrdBackEnd(chosen);
    if (!backEnd_)
        return 0;
    backEnd_->setFileType(chosen);
    if (creating) {
        backEnd_->create(path, newFileDescLen());
        removeCompanions();
    } else {
        backEnd_->open(path);
    }
    setDefaultCrdType(crd_type::alphanumeric);

    if (backEnd_->errorWord() == crd_error::none) {
        if (switchStack_.empty())
            historySwitch_ = historyDefault();
        return 1;
    }
    crdPrint(platform::formatC("\nError 2: Could not open file: %s\nIt might be read-only or in "
                               "use by another application or be invalid.\n",
                               path.c_str()));
    backEnd_.reset();
    return 0;
}

void CrdFile::close() {
    backEnd_.reset();
    closeHistory();
}

void CrdFile::closeHistory() {
    history_.reset();
    lastStamp_ = 0;
    lastNote_ = "";
    lastUserName_ = "";
}

CrdIO* CrdFile::backEnd() {
    if (backEnd_ && !backEnd_->isOpen())
        backEnd_.reset();
    return backEnd_.get();
}

int CrdFile::read(std::string_view name, crdIoPointRec& out, int quiet) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    const int found = io->readPoint(name, out, 0, quiet, &cursor_);
    if (found == 1)
        convertCrdRecord(io->fileType(), currentUserType(), out, out);
    else if (quiet == 0 && io->errorWord() == crd_error::noCoordinate)
        crdPrint(platform::formatC("\nRequested point# %s has no coordinate stored.",
                                   std::string(name).c_str()));
    return found;
}

int CrdFile::readNear(std::string_view name, crdIoPointRec& out, int quiet, int direction) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    if (direction < 0 && io->compareIds(name, io->lowestName()) < 0)
        return 0;
    if (direction > 0 && io->compareIds(name, io->highestName()) > 0)
        return 0;
    const int found = io->readPoint(name, out, direction, quiet, &cursor_);
    if (found == 1)
        convertCrdRecord(io->fileType(), currentUserType(), out, out);
    return found;
}

int CrdFile::write(const crdIoPointRec& record, int quiet, int action, std::string_view note) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    crdIoPointRec stored;
    convertCrdRecord(currentUserType(), io->fileType(), record, stored);
    crdIoPointRec previous;
    const int written = io->writePoint(stored, quiet, previous);
    if (written == 1 && historySwitch_) {
        crdIoPointRec newNeutral;
        crdIoPointRec formerNeutral;
        toNeutralRecord(currentUserType(), record, newNeutral);
        toNeutralRecord(io->fileType(), previous, formerNeutral);
        writeHistoryRecord(&newNeutral, formerNeutral, action, note);
    }
    return written;
}

int CrdFile::deletePoint(std::string_view name, int action, std::string_view note) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    if (historySwitch_) {
        crdIoPointRec stored;
        crdIoPointRec former;
        if (io->readPoint(name, stored, 0, 1, nullptr) == 1)
            toNeutralRecord(io->fileType(), stored, former);
        writeHistoryRecord(nullptr, former, action, note);
    }
    suspendHistory();
    const std::optional<std::string> savedRange =
        range_ ? std::optional<std::string>(range_->view()) : std::nullopt;
    const int deleted = io->deletePoints(name, *this);
    if (!range_ && savedRange && !savedRange->empty())
        range_ = CrdString(*savedRange);
    restoreHistory();
    return deleted;
}

int CrdFile::copyAllPoints(CrdFile& destination) {
    // Emptying the destination first would destroy the source itself.
    if (&destination == this)
        return 0;
    if (!isOpen() || !destination.isOpen())
        return 0;
    if (destination.clear() != 1)
        return 0;
    if (backEnd()->copyTo(destination) == 1)
        return 1;
    crdIoPointRec point;
    while (next(point) == 1) {
        if (destination.checkWritable(point) != 0)
            return 0;
        if (destination.write(point, 1, 0, {}) != 1)
            return 0;
    }
    return 1;
}

void CrdFile::copyHeader(CrdFile& source) {
    if (!backEnd_)
        return;
    // The indexed formats make a new file on its first use, so the settings
    // must reach the back-end before anything asks whether it is open.
    backEnd_->takeSettings(source);
    CrdIO* io = backEnd();
    if (!io)
        return;
    io->setTitle(source.title());
    io->setHeaderNumber(source.headerNumber());
    io->setHeaderDate(source.headerDate());
}

int CrdFile::checkWritable(const crdIoPointRec& record) {
    if (const int code = validateId(record.name); code != 0)
        return code;
    return static_cast<int>(std::strlen(record.description)) >= descSize()
               ? crd_error::descriptionTooLong
               : 0;
}

int CrdFile::countInRange(const char* range) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    if (!range ||
        (platform::equalsIgnoringCase(range, "all") && io->fileType() != crd_type::numeric))
        return io->pointCount();
    // A numeric file's record count includes its empty slots: walk it.
    CrdList walk(this);
    walk.setRange(range);
    int count = 0;
    crdIoPointRec point;
    while (walk.next(point) == 1)
        ++count;
    return count;
}

int CrdFile::deleteFilesWithCompanions(int withCompanions) {
    CrdIO* io = backEnd();
    if (!io)
        return 0;
    if (withCompanions)
        removeCompanions();
    const int deleted = io->deleteFiles();
    close();
    return deleted;
}

void CrdFile::removeCompanions() {
    closeHistory();
    const std::string own = backEnd_ ? backEnd_->path() : std::string();
    std::string companion;
    if (historyPath(own, companion))
        removeCompanionFile(companion);
    if (!own.empty()) {
        std::string folder;
        std::string name;
        splitPath(own, &folder, &name, nullptr);
        removeCompanionFile(folder + name + ".grp");
    }
}

int CrdFile::clear() {
    CrdIO* io = backEnd();
    return io ? io->clear(*this) : 0;
}

void CrdFile::suspendHistory() {
    std::string stack(1, historySwitch_ ? '1' : '0');
    stack.append(switchStack_.view());
    switchStack_ = stack;
    historySwitch_ = 0;
}

void CrdFile::restoreHistory() {
    if (switchStack_.empty())
        return;
    historySwitch_ = switchStack_.at(0) == '1' ? 1 : 0;
    switchStack_ = std::string(switchStack_.view().substr(1));
}

int CrdFile::errorWord() {
    return backEnd_ ? backEnd_->errorWord() : crd_error::notOpen;
}
int CrdFile::isOpen() {
    return backEnd() ? 1 : 0;
}
std::string CrdFile::path() {
    return backEnd() ? backEnd_->path() : std::string();
}
int CrdFile::fileType() {
    return backEnd() ? backEnd_->fileType() : -1;
}
std::string CrdFile::highestName() {
    return backEnd() ? backEnd_->highestName() : std::string();
}
std::string CrdFile::lowestName() {
    return backEnd() ? backEnd_->lowestName() : std::string();
}
int CrdFile::rename(const std::string& newPath) {
    return backEnd() ? backEnd_->rename(newPath) : 0;
}
int CrdFile::feetFlag() {
    return backEnd() ? backEnd_->feetFlag() : 0;
}
int CrdFile::nameSize() {
    return backEnd() ? backEnd_->nameSize() : 0;
}
int CrdFile::descSize() {
    return backEnd() ? backEnd_->descSize() : 0;
}
int CrdFile::codeSize() {
    return backEnd() ? backEnd_->codeSize() : 0;
}
int CrdFile::validateId(std::string_view name) {
    return backEnd() ? backEnd_->validateId(name) : crd_error::notOpen;
}
std::string CrdFile::maxLegalName() {
    return backEnd() ? backEnd_->maxLegalName() : std::string();
}
std::string CrdFile::minLegalName() {
    return backEnd() ? backEnd_->minLegalName() : std::string();
}
PointDb* CrdFile::innerBlock() {
    return backEnd() ? backEnd_->innerBlock() : nullptr;
}
std::string CrdFile::title() {
    return backEnd() ? backEnd_->title() : std::string();
}
std::string CrdFile::headerNumber() {
    return backEnd() ? backEnd_->headerNumber() : std::string();
}
std::string CrdFile::headerDate() {
    return backEnd() ? backEnd_->headerDate() : std::string();
}

} // namespace ptbank

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_io.hpp"
#include "ptbank/crd_range.hpp"
#include "ptbank/crd_text.hpp"

namespace ptbank {
namespace {

// The rebuild's temporary file. The usual name beside the file may belong to
// one of the user's own files, which creating the temporary file would
// destroy; then a fresh unique name in the same folder is taken instead.
std::string rebuildTempPath(const std::string& path, int type) {
    std::string temp = makeTempCrdPath(path, type);
    if (fileIsMissing(temp))
        return temp;
    std::string folder;
    splitPath(path, &folder, nullptr, nullptr);
    const std::string extension = crdTypeExtension(type);
    return makeUniqueTempName(folder, "." + (extension.empty() ? std::string("crd") : extension));
}

// Records pass between the files of a rebuild without layout conversion.
class SameLayoutScope {
public:
    explicit SameLayoutScope(int type)
        : savedUserType_(currentUserType()), savedDefaultType_(defaultCrdType()) {
        setCurrentUserType(type);
        setDefaultCrdType(type);
    }
    ~SameLayoutScope() {
        setDefaultCrdType(savedDefaultType_);
        setCurrentUserType(savedUserType_);
    }
    SameLayoutScope(const SameLayoutScope&) = delete;
    SameLayoutScope& operator=(const SameLayoutScope&) = delete;

private:
    int savedUserType_;
    int savedDefaultType_;
};

} // namespace

int CrdIO::compareIds(std::string_view a, std::string_view b) {
    return comparePointNames(a, b);
}

int CrdIO::setTitle(std::string_view) {
    return 0;
}
int CrdIO::setHeaderNumber(std::string_view) {
    return 0;
}
int CrdIO::setHeaderDate(std::string_view) {
    return 0;
}

// The empty file is built beside the original and then takes its place in
// one rename, so the points are never gone before the new file is complete.
int CrdIO::clear(CrdFile& owner) {
    const std::string tempPath = rebuildTempPath(path_, fileType_);
    {
        CrdFile temp;
        if (temp.open(tempPath, 1, fileType_) != 1)
            return 0;
        temp.copyHeader(owner);
    }
    owner.removeCompanions();
    owner.setRange(nullptr);
    return commit(tempPath);
}

// The kept points are written to a temporary file that replaces the
// original only once every one of them is in it; any failure leaves the
// original as it was and answers -1.
int CrdIO::deleteRange(std::string_view range, int, CrdFile& owner) {
    const std::string rangeText(range);
    const std::string tempPath = rebuildTempPath(path_, fileType_);
    int visited = 0;
    int kept = 0;
    int committed = 0;
    {
        SameLayoutScope sameLayout(fileType_);
        CrdFile temp;
        if (temp.open(tempPath, 1, fileType_) != 1)
            return -1;
        temp.suspendHistory();
        temp.copyHeader(owner);
        owner.setRange(nullptr);
        bool complete = true;
        crdIoPointRec point;
        while (complete && owner.next(point) == 1) {
            ++visited;
            if (isInRange(point.name, rangeText))
                continue;
            ++kept;
            complete = temp.write(point, 1, 0, {}) == 1;
        }
        temp.restoreHistory();
        if (!complete) {
            temp.deleteFilesWithCompanions(0);
            return -1;
        }
        temp.close();
        owner.suspendHistory();
        committed = commit(tempPath);
    }
    rangeDeleted(rangeText);
    owner.restoreHistory();
    return committed == 1 ? visited - kept : -1;
}

} // namespace ptbank

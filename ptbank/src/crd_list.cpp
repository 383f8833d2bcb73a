#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_range.hpp"

#include "platform/paths.hpp"

namespace ptbank {
namespace {

void toCallerLayout(CrdIO& io, crdIoPointRec& point) {
    convertCrdRecord(io.fileType(), currentUserType(), point, point);
}

} // namespace

void CrdList::resetWalk() {
    cursor_.reset();
    insideRange_ = 0;
    range_.reset();
}

void CrdList::setRange(const char* text) {
    resetWalk();
    if (!text || !owner_)
        return;
    std::string cleaned = upperCased(trimmedText(text, 0));
    if (cleaned == "ALL" && owner_->countInRange(nullptr) > 0)
        cleaned = owner_->lowestName() + "-" + owner_->highestName();
    range_ = CrdString(cleaned);
}

int CrdList::next(crdIoPointRec& out) {
    if (!owner_)
        return 0;
    CrdIO* io = owner_->backEnd();
    if (!io) {
        crdPrint("\nError1: crd file not open");
        return 0;
    }
    if (range_ && range_->empty())
        return 0;
    if (!range_ || platform::equalsIgnoringCase(range_->view(), "ALL")) {
        const int found = io->readAtCursor(&cursor_, out, 1);
        if (found == 1)
            toCallerLayout(*io, out);
        return found;
    }
    return nextInRange(out);
}

// Walks the range text item by item, consuming it. An item that the walk is
// inside of is put back in front of the text, starting at the next point.
int CrdList::nextInRange(crdIoPointRec& out) {
    for (;;) {
        CrdIO* io = owner_->backEnd();
        if (!io)
            return 0;
        std::string from;
        std::string to;
        const std::string text(range_->view());
        std::string_view rest;
        if (!parseRangeItem(text, from, to, &rest)) {
            *range_ = "";
            return 0;
        }
        *range_ = rest;
        const int direction = io->compareIds(to, from);
        int found = 0;
        bool converted = false;
        if (insideRange_ == 0) {
            found = owner_->readNear(from, out, 1, direction);
            io->cursorIndex(cursor_);
            converted = true;
        } else {
            found = io->readAtCursor(&cursor_, out, direction);
        }
        insideRange_ = 0;
        if (found != 1)
            continue;
        const int side = io->compareIds(to, out.name);
        if (side != 0 && side != direction)
            continue; // beyond the item's end
        if (side != 0) {
            crdCursor ahead = cursor_;
            crdIoPointRec probe;
            if (io->readAtCursor(&ahead, probe, direction) == 1) {
                const int probeSide = io->compareIds(to, probe.name);
                if (probeSide == 0 || probeSide == direction) {
                    std::string remaining(range_->view());
                    buildRangeText(remaining, probe.name, to, false);
                    *range_ = remaining;
                    if (probeSide == direction)
                        insideRange_ = 1;
                }
            }
        }
        if (!converted)
            toCallerLayout(*io, out);
        return found;
    }
}

int CrdList::previous(crdIoPointRec& out) {
    if (!owner_)
        return 0;
    CrdIO* io = owner_->backEnd();
    if (!io) {
        crdPrint("\nError2: crd file not open");
        return 0;
    }
    const int found = io->readAtCursor(&cursor_, out, -1);
    if (found == 1)
        toCallerLayout(*io, out);
    return found;
}

} // namespace ptbank

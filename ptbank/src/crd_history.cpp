#include "ptbank/crd_history.hpp"
#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file.hpp"
#include "src/binary_file.hpp"

#include "platform/binary_io.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace ptbank {
namespace {

constexpr std::size_t maxNote = 255;
constexpr std::int64_t stampInterval_s = 6;

void zeroTerminated(platform::ByteWriter& out, std::string_view text) {
    out.fixedText(text, text.size());
    out.u8(0);
}

std::uint16_t changeMask(const crdIoPointRec& now, const crdIoPointRec& before) {
    std::uint16_t mask = 0;
    if (std::strcmp(now.name, before.name) != 0)
        mask |= history_mask::nameChanged;
    if (std::strcmp(now.description, before.description) != 0)
        mask |= history_mask::descriptionChanged;
    if (std::strcmp(now.code, before.code) != 0)
        mask |= history_mask::codeChanged;
    if (now.easting != before.easting)
        mask |= history_mask::eastingChanged;
    if (now.northing != before.northing)
        mask |= history_mask::northingChanged;
    if (now.elevation != before.elevation)
        mask |= history_mask::elevationChanged;
    return mask;
}

} // namespace

bool historyPath(std::string_view path, std::string& out) {
    if (path.empty())
        return false;
    std::string folder;
    std::string name;
    splitPath(path, &folder, &name, nullptr);
    out = folder + name + ".his";
    return true;
}

int CrdFile::openHistoryFile(int append) {
    if (history_)
        return 1;
    std::string companion;
    if (!historyPath(path(), companion))
        return 0;
    auto file = std::make_unique<BinaryFile>();
    if (const auto existing = platform::findFileIgnoringCase(companion)) {
        std::array<std::uint8_t, historyHeader.size()> head{};
        if (!file->open(existing->string(), BinaryFile::Mode::readWrite, false) ||
            !file->readAt(0, head) ||
            !std::equal(head.begin(), head.end(), historyHeader.begin())) {
            crdPrint(platform::formatC("\nCRD HISTORY FAILED: %s not valid.\n", companion.c_str()));
            return 0;
        }
    } else {
        if (!append)
            return 0;
        if (!file->open(companion, BinaryFile::Mode::create, false)) {
            crdPrint(platform::formatC("\nCRD History file, %s, could not be created!\n",
                                       companion.c_str()));
            return 0;
        }
        if (!file->writeAt(0, historyHeader)) {
            crdPrint(platform::formatC("\nCRD HISTORY FAILED: COULD NOT WRITE TO %s.\n",
                                       companion.c_str()));
            return 0;
        }
    }
    history_ = std::move(file);
    return 1;
}

void CrdFile::writeHistoryRecord(const crdIoPointRec* newRecord, const crdIoPointRec& former,
                                 int action, std::string_view note) {
    if (!historySwitch_ || action == history_mask::noRecordAction)
        return;
    const bool hasNew = newRecord && newRecord->name[0] != '\0';
    const bool hasFormer = former.name[0] != '\0';
    std::uint16_t mask = 0;
    if (hasNew && hasFormer) {
        mask = changeMask(*newRecord, former);
        if (mask == 0)
            return;
    } else if (hasNew) {
        mask = history_mask::newPoint;
    } else if (hasFormer) {
        mask = history_mask::deletion;
    } else {
        return;
    }
    if (!openHistoryFile(1))
        return;

    const std::string cutNote(note.substr(0, std::min(note.size(), maxNote)));
    if (!cutNote.empty())
        mask |= history_mask::notePresent;
    if ((mask & history_mask::notePresent) && lastNote_.equals(cutNote))
        mask |= history_mask::noteRepeated;
    lastNote_ = cutNote;
    const std::int64_t now = crdEnvironment().clock();
    if (now - lastStamp_ >= stampInterval_s) {
        lastStamp_ = now;
        mask |= history_mask::timePresent;
    }
    if (action != 0)
        mask |= history_mask::actionPresent;
    if (lastUserName_.equals(userName_.view()))
        mask |= history_mask::userRepeated;
    else
        lastUserName_ = userName_;
    if (!userName_.empty())
        mask |= history_mask::userPresent;

    platform::ByteWriter out;
    zeroTerminated(out, hasNew ? newRecord->name : former.name);
    out.u16(mask);
    if (mask & history_mask::actionPresent)
        out.u8(static_cast<std::uint8_t>(action));
    if ((mask & history_mask::notePresent) && !(mask & history_mask::noteRepeated))
        zeroTerminated(out, cutNote);
    if (mask & history_mask::timePresent)
        out.u32(static_cast<std::uint32_t>(now));
    if ((mask & history_mask::userPresent) && !(mask & history_mask::userRepeated))
        zeroTerminated(out, userName_.view());
    if (mask & history_mask::nameChanged)
        zeroTerminated(out, former.name);
    if (mask & history_mask::descriptionChanged)
        zeroTerminated(out, former.description);
    if (mask & history_mask::codeChanged)
        zeroTerminated(out, former.code);
    if (mask & history_mask::eastingChanged)
        out.f64(former.easting);
    if (mask & history_mask::northingChanged)
        out.f64(former.northing);
    if (mask & history_mask::elevationChanged)
        out.f64(former.elevation);
    history_->writeAt(history_->size(), out.bytes());
}

} // namespace ptbank

// Copying the points of one handle's file into another's, and into a new file.

#include "api/vk_crd_api_support.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include <filesystem>

using namespace ptbank;

namespace {

// Emptying the destination first would destroy the source itself.
bool sameFile(VkCrdFile& a, VkCrdFile& b) {
    if (&a == &b)
        return true;
    if (a.isMemory() || b.isMemory() || a.path().empty() || b.path().empty())
        return false;
    std::error_code ec;
    return a.path() == b.path() || std::filesystem::equivalent(a.path(), b.path(), ec);
}

bool emptyMemoryFile(CfInfoStruct& info) {
    crdPointRec point{};
    while (cfFirstPoint(info, point) == cf_result::ok) {
        if (cfDeletePoint(point.name, info) != cf_result::ok)
            return false;
    }
    return true;
}

int copyDiskToDisk(CrdFile& source, CrdFile& destination) {
    source.setRange(nullptr);
    crdIoPointRec point;
    while (source.next(point) == 1) {
        if (destination.write(point, 1, 0, {}) != 1)
            return 0;
    }
    return 1;
}

// Through the per-file operations, as a memory file on either side needs.
int copyPointByPoint(CfInfoStruct& source, CfInfoStruct& destination) {
    crdPointRec point{};
    if (cfFirstPoint(source, point) != cf_result::ok)
        return 1;
    do {
        // A disk write justifies its record in place; the walk keeps its own.
        crdPointRec written = point;
        if (cfWritePoint(1, written, destination) < 0)
            return 0;
    } while (cfNextPoint(point.name, point, source) == 1);
    return 1;
}

} // namespace

extern "C" {

int VkCrdApi_Copy(VkCrdHandle source, VkCrdHandle destination) {
    VkCrdFile* from = findHandle(source);
    VkCrdFile* to = findHandle(destination);
    // A source that cannot be read must not cost the destination its points.
    if (!from || !to || sameFile(*from, *to) || !from->isOpen())
        return 0;
    if (to->isMemory()) {
        if (!emptyMemoryFile(to->info()))
            return 0;
    } else if (to->file().clear() != 1) {
        return 0;
    }
    if (!from->isMemory() && !to->isMemory())
        return copyDiskToDisk(from->file(), to->file());
    return copyPointByPoint(from->info(), to->info());
}

int VkCrdApi_FileCopy(VkCrdHandle source, const char* directory, VkCrdHandle* handle, int type) {
    if (!handle)
        return 0;
    *handle = VKCRD_NO_HANDLE;
    VkCrdFile* from = findHandle(source);
    if (!from || type == crd_type::unknown)
        return 0;
    if (!from->isMemory() && from->file().fileType() == crd_type::unknown)
        return 0;
    setNewFileDescLen(cfDescSize(from->info()) - 1);
    char path[VKCRD_PATH_SIZE];
    char indexPath[VKCRD_PATH_SIZE];
    if (VkCrdApi_open_random_coordfile(directory, path, indexPath, source, handle, type, 0) != 0)
        return 0;
    VkCrdFile* made = findHandle(*handle);
    if (!made)
        return 0;
    // All the points, also when the caller is part way through a walk.
    from->file().setRange(nullptr);
    return from->file().copyAllPoints(made->file());
}

} // extern "C"

#pragma once
// The handle map of the exported interface: each handle names one
// VkCrdFile, which holds the path last opened under it and its per-file
// record. Handle 0 is kept for the first memory file and 65535 means no
// handle; disk handles count up from 1 and are not reused until the count
// has passed 65534, after which it starts again at 1 and passes over every
// handle still in use.

#include "ptbank/cf_info.hpp"
#include "ptbank/crd_file.hpp"
#include "ptbank/vk_crd_api.h"

#include <memory>
#include <optional>
#include <string>

namespace ptbank {

class VkCrdFile {
public:
    VkCrdFile();
    VkCrdFile(const VkCrdFile&) = delete;
    VkCrdFile& operator=(const VkCrdFile&) = delete;
    ~VkCrdFile();

    // Opens the path (created when no file exists there), first closing a
    // different file held before: 0 opened, 1 already open, -1 failure
    // (the path is then forgotten). A null path turns the object into an
    // empty memory file: 1, or -1 when memory runs out.
    int openPath(const char* path);
    // Frees a memory file's points; the object becomes an empty disk handle.
    void closeMemory();
    // Closes the memory or disk file, keeping the path.
    void closeFile();
    // Takes the new path after the file was renamed on disk.
    void renamedTo(const std::string& path);

    const std::string& path() const { return path_; }
    CfInfoStruct& info() { return info_; }
    CrdFile& file() { return *file_; }
    bool isMemory() const { return info_.memoryMode != 0; }
    // The memory file, or the disk file, is open.
    bool isOpen();

private:
    void takePathParts(const std::string& path);

    std::string path_;
    std::unique_ptr<CrdFile> file_;
    CfInfoStruct info_;
};

// The object of a handle, or null.
VkCrdFile* findHandle(VkCrdHandle handle);
// Enters the object under the next free disk handle; none when all 65534 are taken.
std::optional<VkCrdHandle> enterDiskHandle(std::unique_ptr<VkCrdFile> file);
// Enters a memory file under 0 when that is free, else as a disk handle.
std::optional<VkCrdHandle> enterMemoryHandle(std::unique_ptr<VkCrdFile> file);
// Destroys the handle's object and forgets the handle.
void removeHandle(VkCrdHandle handle);

// The library's own per-file record, used by the text exchange.
CfInfoStruct& defaultCfInfo();

// Ends every handle, sets the count back to 1, resets the default record
// and puts the current user type back to 4, as a freshly loaded library has them.
void resetVkCrdApiForTests();
// The next disk handle to try (1 to 65534).
void setNextHandleForTests(VkCrdHandle next);

} // namespace ptbank

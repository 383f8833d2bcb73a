#include "ptbank/vk_crd_handles.hpp"

#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_text.hpp"

#include "platform/paths.hpp"

#include <filesystem>
#include <map>

namespace ptbank {
namespace {

constexpr VkCrdHandle firstDiskHandle = 1;
constexpr VkCrdHandle lastDiskHandle = 65534;
constexpr int userTypeAtLoad = crd_type::vkNumeric;

// What the library holds from loading to unloading.
struct LibraryState {
    LibraryState() {
        defaultRecord.crdFile = &defaultFile;
        setCurrentUserType(userTypeAtLoad);
    }
    ~LibraryState() { handles.clear(); }

    std::map<VkCrdHandle, std::unique_ptr<VkCrdFile>> handles;
    VkCrdHandle nextHandle = firstDiskHandle;
    CrdFile defaultFile;
    CfInfoStruct defaultRecord;
};

LibraryState& library() {
    static LibraryState state;
    return state;
}

// Made when the library loads, so that callers find the user type set.
[[maybe_unused]] const LibraryState& loadedLibrary = library();

std::optional<VkCrdHandle> takeDiskHandle() {
    LibraryState& lib = library();
    for (int tried = 0; tried < lastDiskHandle; ++tried) {
        const VkCrdHandle candidate = lib.nextHandle;
        lib.nextHandle =
            candidate >= lastDiskHandle ? firstDiskHandle : static_cast<VkCrdHandle>(candidate + 1);
        if (!lib.handles.contains(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace

VkCrdFile::VkCrdFile() : file_(std::make_unique<CrdFile>()) {
    info_.crdFile = file_.get();
}

VkCrdFile::~VkCrdFile() {
    closeFile();
}

void VkCrdFile::takePathParts(const std::string& path) {
    path_ = path;
    splitPath(path, &info_.directory, &info_.name, &info_.extension);
}

int VkCrdFile::openPath(const char* path) {
    if (!path) {
        closeFile();
        path_.clear();
        info_.name.clear();
        info_.directory.clear();
        info_.extension.clear();
        info_.highestName.clear();
        info_.ready = 1;
        info_.open = 0;
        info_.memoryOpen = 0;
        info_.feetFlag = 0;
        info_.pointCount = 0;
        info_.memoryMode = 1;
        const int made = info_.memory.init();
        info_.memoryOpen = made == 1 ? 1 : 0;
        return made;
    }
    const std::string wanted = platform::pathFromText(path).string();
    if (wanted != path_)
        closeFile();
    takePathParts(wanted);
    std::error_code ec;
    const bool exists = std::filesystem::exists(wanted, ec);
    const int opened = cfOpen(exists ? 0 : 1, info_);
    if (opened == cf_result::failure)
        path_.clear();
    return opened;
}

void VkCrdFile::closeMemory() {
    info_.memory.release();
    info_.memoryMode = 0;
    info_.memoryOpen = 0;
    info_.open = 0;
    info_.pointCount = 0;
}

void VkCrdFile::closeFile() {
    if (isMemory())
        closeMemory();
    else
        cfClose(info_);
}

void VkCrdFile::renamedTo(const std::string& path) {
    takePathParts(path);
}

bool VkCrdFile::isOpen() {
    return isMemory() ? info_.memoryOpen != 0 : file_->isOpen() != 0;
}

VkCrdFile* findHandle(VkCrdHandle handle) {
    auto& handles = library().handles;
    const auto found = handles.find(handle);
    return found == handles.end() ? nullptr : found->second.get();
}

std::optional<VkCrdHandle> enterDiskHandle(std::unique_ptr<VkCrdFile> file) {
    const std::optional<VkCrdHandle> handle = takeDiskHandle();
    if (handle)
        library().handles.emplace(*handle, std::move(file));
    return handle;
}

std::optional<VkCrdHandle> enterMemoryHandle(std::unique_ptr<VkCrdFile> file) {
    auto& handles = library().handles;
    if (!handles.contains(VKCRD_MEMORY_HANDLE)) {
        handles.emplace(VKCRD_MEMORY_HANDLE, std::move(file));
        return VKCRD_MEMORY_HANDLE;
    }
    return enterDiskHandle(std::move(file));
}

void removeHandle(VkCrdHandle handle) {
    library().handles.erase(handle);
}

CfInfoStruct& defaultCfInfo() {
    return library().defaultRecord;
}

void resetVkCrdApiForTests() {
    LibraryState& lib = library();
    lib.handles.clear();
    lib.nextHandle = firstDiskHandle;
    cfReset(lib.defaultRecord);
    setCurrentUserType(userTypeAtLoad);
}

void setNextHandleForTests(VkCrdHandle next) {
    library().nextHandle =
        (next < firstDiskHandle || next > lastDiskHandle) ? firstDiskHandle : next;
}

} // namespace ptbank

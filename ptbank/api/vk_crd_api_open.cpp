// Opening, creating, closing, deleting and renaming through the exported
// interface.

#include "api/vk_crd_api_support.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_ui_provider.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include "platform/paths.hpp"

#include <filesystem>

using namespace ptbank;

namespace {

constexpr const char* errorTitle = "Error Message";
constexpr const char* typeNotSupported = "Coordinate file type not supported.";
constexpr const char* noDataDirectory = "Could not find path to data directory.";

bool fileNamePartEmpty(const char* path) {
    std::string name;
    std::string extension;
    splitPath(platform::pathFromText(path).string(), nullptr, &name, &extension);
    return name.empty() && extension.empty();
}

bool acceptedWhenVkOnly(VkCrdFile& file) {
    if (file.isMemory())
        return false;
    const int type = file.file().fileType();
    return type == crd_type::vkAlphanumeric || type == crd_type::vkNumeric;
}

// The folder as given, without one trailing separator (the root keeps its own).
std::string folderWithoutTrailingSeparator(const char* directory) {
    std::string folder = directory ? platform::pathFromText(directory).string() : std::string();
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

int openMemoryFile(VkCrdHandle* handle) {
    if (*handle != VKCRD_MEMORY_HANDLE && *handle != VKCRD_NO_HANDLE)
        return 0;
    if (VkCrdFile* existing = findHandle(*handle)) {
        if (existing->isOpen())
            return 0;
        return existing->openPath(nullptr) == 1 ? 1 : 0;
    }
    auto file = std::make_unique<VkCrdFile>();
    std::optional<VkCrdHandle> entered;
    if (file->openPath(nullptr) == 1)
        entered = enterMemoryHandle(std::move(file));
    *handle = entered.value_or(VKCRD_NO_HANDLE);
    return entered ? 1 : 0;
}

// A new empty file with a made-up name in the folder. The type is set for
// both ways of making it, and success answers 1 in both.
int openGeneratedFile(VkCrdHandle* handle, const char* directory, int type) {
    const std::string folder = folderWithoutTrailingSeparator(directory);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
        crdUi().message(noDataDirectory, errorTitle, CrdMessageIcon::exclamation);
        return 0;
    }
    const std::string path =
        makeUniqueTempName(platform::withTrailingSeparator(folder), "." + crdTypeExtension(type));
    if (VkCrdFile* existing = findHandle(*handle)) {
        if (existing->isOpen())
            return 1;
        setDefaultCrdType(type);
        return existing->openPath(path.c_str()) == cf_result::failure ? 0 : 1;
    }
    setDefaultCrdType(type);
    auto file = std::make_unique<VkCrdFile>();
    std::optional<VkCrdHandle> entered;
    if (file->openPath(path.c_str()) != cf_result::failure)
        entered = enterDiskHandle(std::move(file));
    *handle = entered.value_or(VKCRD_NO_HANDLE);
    return entered ? 1 : 0;
}

std::string indexPathFor(const std::string& path, int type) {
    std::string folder;
    std::string name;
    splitPath(path, &folder, &name, nullptr);
    if (type == crd_type::vkNumeric)
        return folder + name + ".idx";
    if (type == crd_type::vkAlphanumeric)
        return folder + name + ".vki";
    return {};
}

} // namespace

extern "C" {

int VkCrdApi_open_coordfile(const char* path, int vkOnly, VkCrdHandle* handle) {
    if (!path || !handle || fileNamePartEmpty(path))
        return -1;
    if (VkCrdFile* existing = findHandle(*handle)) {
        if (existing->isOpen())
            return 1;
        return existing->openPath(path);
    }
    auto file = std::make_unique<VkCrdFile>();
    const int opened = file->openPath(path);
    if (opened == cf_result::failure) {
        *handle = VKCRD_NO_HANDLE;
        return -1;
    }
    if (vkOnly && !acceptedWhenVkOnly(*file)) {
        file.reset();
        *handle = VKCRD_NO_HANDLE;
        crdUi().message(typeNotSupported, errorTitle, CrdMessageIcon::exclamation);
        return -1;
    }
    const std::optional<VkCrdHandle> entered = enterDiskHandle(std::move(file));
    *handle = entered.value_or(VKCRD_NO_HANDLE);
    return entered ? opened : -1;
}

int VkCrdApi_OpenSelectFile(VkCrdHandle* handle, const char* directory, int memory, int type) {
    if (!handle)
        return 0;
    return memory ? openMemoryFile(handle) : openGeneratedFile(handle, directory, type);
}

int VkCrdApi_open_random_coordfile(const char* directory, char* outPath, char* outIndexPath,
                                   VkCrdHandle source, VkCrdHandle* handle, int type, int memory) {
    VkCrdFile* from = findHandle(source);
    if (!from || !handle)
        return 1;
    const signed char feet = from->isMemory()
                                 ? from->info().feetFlag
                                 : static_cast<signed char>(from->file().feetFlag() == 2 ? 0 : 1);
    if (VkCrdApi_OpenSelectFile(handle, directory, memory, type) != 1)
        return 1;
    VkCrdFile* made = findHandle(*handle);
    if (!made)
        return 1;
    if (memory) {
        made->info().feetFlag = feet;
        return 0;
    }
    copyPathToCaller(outPath, made->path());
    copyPathToCaller(outIndexPath, indexPathFor(made->path(), type));
    return 0;
}

int VkCrdApi_IsOpen(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file && file->isOpen() ? 1 : 0;
}

int VkCrdApi_coord_file_open(VkCrdHandle handle) {
    return VkCrdApi_IsOpen(handle);
}

int VkCrdApi_coord_file_named(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file && !file->path().empty() ? 1 : 0;
}

int VkCrdApi_close_coord_file(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    if (!file)
        return 1;
    file->closeFile();
    return 0;
}

int VkCrdApi_end_coord_file(VkCrdHandle* handle) {
    if (!handle || !findHandle(*handle))
        return 1;
    removeHandle(*handle);
    *handle = VKCRD_NO_HANDLE;
    return 0;
}

int VkCrdApi_IsMemoryFile(VkCrdHandle handle) {
    VkCrdFile* file = findHandle(handle);
    return file ? file->info().memoryMode : 0;
}

int VkCrdApi_DeleteFile(VkCrdHandle* handle) {
    VkCrdFile* file = handle ? findHandle(*handle) : nullptr;
    if (!file)
        return 0;
    if (file->isMemory()) {
        file->closeMemory();
        *handle = VKCRD_NO_HANDLE;
        return 1;
    }
    if (file->path().empty())
        return 0;
    const std::string path = file->path();
    if (file->openPath(path.c_str()) == cf_result::failure)
        return 0;
    const int deleted = file->file().deleteFilesWithCompanions(1);
    cfClose(file->info());
    if (deleted != 1)
        return 0;
    *handle = VKCRD_NO_HANDLE;
    return 1;
}

int VkCrdApi_RenameFile(VkCrdHandle handle, const char* newPath) {
    VkCrdFile* file = findHandle(handle);
    if (!file || !newPath)
        return 0;
    const std::string wanted = platform::pathFromText(newPath).string();
    if (wanted == file->path() || file->isMemory())
        return 1;
    if (file->file().rename(wanted) == 0)
        return 0;
    file->renamedTo(wanted);
    return 1;
}

} // extern "C"

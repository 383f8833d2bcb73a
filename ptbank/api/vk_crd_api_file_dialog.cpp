// The coordinate-file dialog of the exported interface, shown by the host
// program through the library's UI provider.

#include "api/vk_crd_api_support.hpp"
#include "ptbank/crd_ui_provider.hpp"

#include <array>

using namespace ptbank;

namespace {

constexpr int confirmed = 1;
constexpr int cancelled = 2;
constexpr int allFilesChosen = -999;
constexpr int allFilesFilter = 7;

constexpr const char* typeFilters =
    "V&K Numeric (*.crd)|*.crd|V&K Alphanumeric (*.vkc)|*.vkc|Velmora Numeric (*.crd)|*.crd|"
    "Velmora Alphanumeric (*.crd)|*.crd|Plainview (*.zak)|*.zak|Land Desktop (*.mdb)|*.mdb";
constexpr const char* allFilesItem = "|All Files (*.*)|*.*";

// Filter n (1-based) shows files of type typeOfFilter[n - 1].
constexpr std::array<int, 6> typeOfFilter = {4, 3, 0, 1, 5, 6};

int initialFilterFor(int type, bool allFiles) {
    for (std::size_t i = 0; i < typeOfFilter.size(); ++i) {
        if (typeOfFilter[i] == type)
            return static_cast<int>(i) + 1;
    }
    return allFiles ? allFilesFilter : 1;
}

std::string extensionWithoutDot(const char* path) {
    std::string extension;
    splitPath(path ? path : "", nullptr, nullptr, &extension);
    return extension.empty() ? extension : extension.substr(1);
}

} // namespace

extern "C" int VkCrdApi_GetCrdFilenameFromDlg(int open, const char* title, int overwritePrompt,
                                              int* allFiles, const char* initialPath,
                                              int initialType, char* outPath, int* outType,
                                              void* parentWindow) {
    const bool withAllFiles = allFiles && *allFiles != 0;
    CrdFileDialogRequest request;
    request.open = open != 0;
    request.title = title ? title : "";
    request.overwritePrompt = !request.open && overwritePrompt != 0;
    request.filter = std::string(typeFilters) + (withAllFiles ? allFilesItem : "") + "||";
    request.initialFilter = initialFilterFor(initialType, withAllFiles);
    request.defaultExtension = extensionWithoutDot(initialPath);
    request.initialPath = initialPath ? initialPath : "";
    request.parentWindow = parentWindow;
    CrdFileDialogAnswer answer;
    if (!crdUi().chooseFile(request, answer))
        return cancelled;
    const int filter = answer.chosenFilter;
    if (filter >= 1 && filter <= static_cast<int>(typeOfFilter.size())) {
        if (outType)
            *outType = typeOfFilter[static_cast<std::size_t>(filter) - 1];
    } else if (filter == allFilesFilter && allFiles) {
        *allFiles = allFilesChosen;
    }
    copyPathToCaller(outPath, answer.path);
    return confirmed;
}

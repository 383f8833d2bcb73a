#include "shell/file_dialogs.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"

#include <wx/filedlg.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> fieldsOf(const std::string& filter) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = filter.find('|', start)) != std::string::npos; start = bar + 1)
        fields.push_back(trimmed(filter.substr(start, bar - start)));
    fields.push_back(trimmed(filter.substr(start)));
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

std::string withCase(std::string text, int (*convert)(int)) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return text;
}

std::string patternsOf(const std::string& pattern) {
    if (pattern == "*.*")
        return "*";
    const std::string lower = withCase(pattern, std::tolower);
    const std::string upper = withCase(pattern, std::toupper);
    return lower == upper ? pattern : lower + ";" + upper;
}

bool hasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

std::string wildcardFromFilter(const std::string& filter) {
    const std::vector<std::string> fields = fieldsOf(filter);
    std::string wildcard;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (!wildcard.empty())
            wildcard += '|';
        wildcard += fields[i] + '|' + patternsOf(fields[i + 1]);
    }
    return wildcard;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty() || std::filesystem::path(path).has_extension())
        return path;
    return path + "." + extension;
}

namespace {

// Caption, starting place and style of the dialog a request describes.
struct DialogSetup {
    std::string title;
    std::string folder;
    std::string name;
    long style;
};

DialogSetup setupOf(const FileDialogRequest& request) {
    namespace fs = std::filesystem;
    DialogSetup setup;
    setup.title = !request.title.empty() ? request.title : (request.save ? "Save As" : "Open");
    setup.folder = request.initialFolder;
    if (!request.initialName.empty() && !hasWildcard(request.initialName)) {
        const fs::path initial(request.initialName);
        setup.name = initial.filename().string();
        if (initial.has_parent_path())
            setup.folder = initial.parent_path().string();
    }
    // The project's files are looked for and made beside it.
    if (setup.folder.empty() && !projectVars.projectFileName.empty())
        setup.folder = fs::path(projectVars.projectFileName).parent_path().string();
    else if (fs::path(setup.folder).is_relative() && !projectVars.projectFileName.empty())
        setup.folder = projectRelativePath(setup.folder);
    // Only the toolkit's save dialog lets a name be typed that no file has yet.
    if (request.save)
        setup.style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
    else
        setup.style = request.newNameAllowed ? wxFD_SAVE : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    return setup;
}

std::optional<ChosenFile> showDialog(wxWindow* parent, const FileDialogRequest& request) {
    namespace fs = std::filesystem;
    const DialogSetup setup = setupOf(request);
    wxFileDialog dialog(parent, wxString::FromUTF8(setup.title), wxString::FromUTF8(setup.folder),
                        wxString::FromUTF8(setup.name),
                        wxString::FromUTF8(wildcardFromFilter(request.filter)), setup.style);
    dialog.SetFilterIndex(std::max(request.filterEntry, 1) - 1);
    if (dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    const std::string chosen = dialog.GetPath().utf8_string();
    if (chosen.empty())
        return std::nullopt;
    const int entry = dialog.GetFilterIndex() + 1;
    if (request.save || !fs::exists(chosen))
        return ChosenFile{withDefaultExtension(chosen, request.extension), entry};
    return ChosenFile{chosen, entry};
}

} // namespace

std::optional<std::string> chooseFile(wxWindow* parent, const FileDialogRequest& request) {
    const std::optional<ChosenFile> chosen = showDialog(parent, request);
    if (!chosen)
        return std::nullopt;
    return chosen->path;
}

std::optional<ChosenFile> chooseFileAndFilter(wxWindow* parent, const FileDialogRequest& request) {
    return showDialog(parent, request);
}

std::vector<std::string> chooseFiles(wxWindow* parent, const FileDialogRequest& request) {
    const DialogSetup setup = setupOf(request);
    wxFileDialog dialog(parent, wxString::FromUTF8(setup.title), wxString::FromUTF8(setup.folder),
                        wxString::FromUTF8(setup.name),
                        wxString::FromUTF8(wildcardFromFilter(request.filter)),
                        setup.style | wxFD_MULTIPLE);
    dialog.SetFilterIndex(std::max(request.filterEntry, 1) - 1);
    if (dialog.ShowModal() != wxID_OK)
        return {};
    wxArrayString paths;
    dialog.GetPaths(paths);
    std::vector<std::string> chosen;
    for (const wxString& path : paths)
        chosen.push_back(path.utf8_string());
    return chosen;
}

#include "shell/file_dialogs.hpp"

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

std::optional<std::string> chooseFile(wxWindow* parent, const FileDialogRequest& request) {
    namespace fs = std::filesystem;
    const std::string title =
        !request.title.empty() ? request.title : (request.save ? "Save As" : "Open");
    std::string folder = request.initialFolder;
    std::string name;
    if (!request.initialName.empty() && !hasWildcard(request.initialName)) {
        const fs::path initial(request.initialName);
        name = initial.filename().string();
        if (initial.has_parent_path())
            folder = initial.parent_path().string();
    }
    const long style =
        request.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    wxFileDialog dialog(parent, wxString::FromUTF8(title), wxString::FromUTF8(folder),
                        wxString::FromUTF8(name),
                        wxString::FromUTF8(wildcardFromFilter(request.filter)), style);
    if (dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    const std::string chosen = dialog.GetPath().utf8_string();
    if (chosen.empty())
        return std::nullopt;
    if (request.save || !fs::exists(chosen))
        return withDefaultExtension(chosen, request.extension);
    return chosen;
}

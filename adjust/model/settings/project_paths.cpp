#include "model/settings/project_paths.hpp"

#include "model/settings/global_vars.hpp"
#include "platform/paths.hpp"

#include <filesystem>

std::string projectRelativePath(const std::string& name) {
    const std::filesystem::path path = platform::pathFromText(name);
    if (path.empty() || path.is_absolute())
        return path.string();
    const std::filesystem::path project = platform::pathFromText(projectVars.projectFileName);
    return (project.parent_path() / path).string();
}

std::vector<std::string> fileListNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < list.size()) {
        const auto end = list.find('\n', start);
        const std::string name =
            list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!name.empty())
            names.push_back(name);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return names;
}

#pragma once
// File names stored in a project may be relative: they are taken relative to
// the folder of the project file (`projectFileName`).

#include <string>
#include <vector>

// The path to open for a file name of the project: absolute names as they
// stand, relative ones joined to the project's folder; a backslash counts as
// a separator.
std::string projectRelativePath(const std::string& name);

// The names of a "\n"-terminated file list (a last name without "\n" counts too).
std::vector<std::string> fileListNames(const std::string& list);

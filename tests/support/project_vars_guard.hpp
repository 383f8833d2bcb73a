#pragma once
// Gives a test a fresh `projectVars` and puts the previous one back afterwards.

#include "model/settings/global_vars.hpp"

namespace testsupport {

class ProjectVarsGuard {
public:
    ProjectVarsGuard() : saved_(projectVars) { projectVars = globalVars(); }
    ~ProjectVarsGuard() { projectVars = saved_; }
    ProjectVarsGuard(const ProjectVarsGuard&) = delete;
    ProjectVarsGuard& operator=(const ProjectVarsGuard&) = delete;

private:
    globalVars saved_;
};

} // namespace testsupport

#include "model/settings/project_paths.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

TEST(ProjectPaths, RelativeNamesAreTakenFromTheProjectFolder) {
    testsupport::ProjectVarsGuard guard;
    projectVars.projectFileName = "/surveys/site/site.prj";
    EXPECT_EQ(projectRelativePath("site.vkr"), "/surveys/site/site.vkr");
    EXPECT_EQ(projectRelativePath("raw\\day1.vkr"), "/surveys/site/raw/day1.vkr");
    EXPECT_EQ(projectRelativePath("/data/other.vkr"), "/data/other.vkr");
    EXPECT_EQ(projectRelativePath(""), "");
}

TEST(ProjectPaths, FileListNames) {
    EXPECT_EQ(fileListNames("a.vkr\nb.vkr\n"), (std::vector<std::string>{"a.vkr", "b.vkr"}));
    EXPECT_EQ(fileListNames("a.vkr\nlast"), (std::vector<std::string>{"a.vkr", "last"}));
    EXPECT_TRUE(fileListNames("").empty());
    EXPECT_EQ(fileListNames("\n\nx\n"), (std::vector<std::string>{"x"}));
}

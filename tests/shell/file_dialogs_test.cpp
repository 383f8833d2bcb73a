// The program's file filters as GTK's file chooser needs them, and the
// default extension that the chooser does not add.

#include "shell/file_dialogs.hpp"

#include <gtest/gtest.h>

namespace {

TEST(FileDialogs, FiltersBecomeToolkitWildcards) {
    const struct {
        const char* filter;
        const char* wildcard;
    } cases[] = {
        {"Project Files (*.prj) | *.prj| All Files (*.*)|*.*||",
         "Project Files (*.prj)|*.prj;*.PRJ|All Files (*.*)|*"},
        {"Traverse Files (*.cls) | *.cls| All Files (*.*)|*.*||",
         "Traverse Files (*.cls)|*.cls;*.CLS|All Files (*.*)|*"},
        {"Raw Files (*.RW5) | *.RW5||", "Raw Files (*.RW5)|*.rw5;*.RW5"},
        {"Any|*||", "Any|*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(wildcardFromFilter(c.filter), c.wildcard);
    }
}

TEST(FileDialogs, TheDefaultExtensionIsAddedOnlyToANameWithout) {
    const struct {
        const char* path;
        const char* extension;
        const char* result;
    } cases[] = {
        {"/jobs/site", "prj", "/jobs/site.prj"},       {"/jobs/site.prj", "prj", "/jobs/site.prj"},
        {"/jobs/site.PRJ", "prj", "/jobs/site.PRJ"},   {"/jobs/site.old", "prj", "/jobs/site.old"},
        {"/jobs.v2/site", "prj", "/jobs.v2/site.prj"}, {"/jobs/site", "", "/jobs/site"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(withDefaultExtension(c.path, c.extension), c.result);
    }
}

} // namespace

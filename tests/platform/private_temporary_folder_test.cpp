#include "platform/private_temporary_folder.hpp"
#include "support/environment_value.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using testsupport::EnvironmentValue;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

constexpr fs::perms private0700 = fs::perms::owner_all;
constexpr fs::perms open0755 = fs::perms::owner_all | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec;

} // namespace

TEST(PrivateTemporaryFolder, TheRuntimeFolderWhenItIsPrivate) {
    testsupport::TempFolder folder("private-tmp-runtime");
    const fs::path runtime = folder / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, private0700);
    const EnvironmentValue xdg("XDG_RUNTIME_DIR", runtime.string());
    const EnvironmentValue tmp("TMPDIR", folder.path().string());
    std::string error;
    EXPECT_EQ(platform::privateTemporaryFolder(error), std::optional(runtime)) << error;

    fs::permissions(runtime, open0755);
    const fs::path own = folder / ("tarnwell-" + std::to_string(::geteuid()));
    EXPECT_EQ(platform::privateTemporaryFolder(error), std::optional(own)) << error;
    EXPECT_EQ(modeOf(own), 0700u);
}

// Without a runtime folder: the user's own folder under $TMPDIR, made 0700;
// whatever else stands under its name is refused with the reason.
TEST(PrivateTemporaryFolder, TheOwnFolderUnderTheTemporaryFolder) {
    const EnvironmentValue xdg("XDG_RUNTIME_DIR", std::nullopt);
    struct Row {
        const char* name;
        void (*plant)(const fs::path& own, const fs::path& folder);
        const char* reason; // nullptr: the folder is used
    };
    const Row rows[] = {
        {"missing: made", [](const fs::path&, const fs::path&) {}, nullptr},
        {"already private",
         [](const fs::path& own, const fs::path&) {
             fs::create_directory(own);
             fs::permissions(own, private0700);
         },
         nullptr},
        {"others may enter",
         [](const fs::path& own, const fs::path&) {
             fs::create_directory(own);
             fs::permissions(own, open0755);
         },
         "may be entered by other users"},
        {"a link to a folder",
         [](const fs::path& own, const fs::path& folder) {
             fs::create_directory(folder / "elsewhere");
             fs::permissions(folder / "elsewhere", private0700);
             fs::create_directory_symlink(folder / "elsewhere", own);
         },
         "is not a folder"},
        {"a file", [](const fs::path& own, const fs::path&) { testsupport::writeBytes(own, "x"); },
         "is not a folder"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder folder("private-tmp-own");
        const EnvironmentValue tmp("TMPDIR", folder.path().string());
        const fs::path own = folder / ("tarnwell-" + std::to_string(::geteuid()));
        row.plant(own, folder.path());
        std::string error;
        const auto found = platform::privateTemporaryFolder(error);
        if (row.reason == nullptr) {
            EXPECT_EQ(found, std::optional(own)) << error;
            EXPECT_EQ(modeOf(own), 0700u);
        } else {
            EXPECT_FALSE(found);
            EXPECT_NE(error.find(own.string()), std::string::npos) << error;
            EXPECT_NE(error.find(row.reason), std::string::npos) << error;
        }
    }
}

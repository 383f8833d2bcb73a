#include "platform/file_replace.hpp"
#include "platform/paths.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

fs::path freshFolder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("tarnwell-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(ReplaceFile, ReplacesContentsAndLeavesNoTemporary) {
    const fs::path folder = freshFolder("replace");
    const fs::path file = folder / "a.txt";
    std::ofstream(file) << "old";
    std::string error;
    ASSERT_TRUE(platform::replaceFile(file, "new\r\n", error)) << error;
    EXPECT_EQ(contentsOf(file), "new\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
    fs::remove_all(folder);
}

TEST(ReplaceFile, FailureKeepsTheOldFile) {
    const fs::path folder = freshFolder("replace-fail");
    const fs::path occupied = folder / "dir";
    fs::create_directories(occupied / "inside");
    std::string error;
    EXPECT_FALSE(platform::replaceFile(occupied, "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_FALSE(platform::replaceFile(folder / "missing" / "f.txt", "x", error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    fs::remove_all(folder);
}

TEST(Paths, FindsCompanionIgnoringCaseButPrefersTheExactName) {
    const fs::path folder = freshFolder("case");
    std::ofstream(folder / "TARNWELL.INI") << "x";
    EXPECT_EQ(platform::findFileIgnoringCase(folder / "tarnwell.ini"), folder / "TARNWELL.INI");
    std::ofstream(folder / "tarnwell.ini") << "y";
    EXPECT_EQ(platform::findFileIgnoringCase(folder / "tarnwell.ini"), folder / "tarnwell.ini");
    EXPECT_FALSE(platform::findFileIgnoringCase(folder / "other.ini").has_value());
    fs::remove_all(folder);
}

TEST(Paths, BackslashIsASeparator) {
    EXPECT_EQ(platform::pathFromText("data\\site\\a.rw5"), fs::path("data/site/a.rw5"));
    EXPECT_EQ(platform::withTrailingSeparator("/tmp"), "/tmp/");
    EXPECT_EQ(platform::withTrailingSeparator("/tmp/"), "/tmp/");
    EXPECT_TRUE(platform::equalsIgnoringCase("Site.PRJ", "site.prj"));
    EXPECT_FALSE(platform::equalsIgnoringCase("site.prj", "site.prj2"));
}

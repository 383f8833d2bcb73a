#include "platform/input_file.hpp"
#include "platform/line_reader.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

using platform::LineReader;

namespace {

std::vector<std::string> readAll(const std::string& text,
                                 platform::LineEnds ends = platform::LineEnds::lfOrCrLf) {
    std::istringstream in(text);
    LineReader reader(in, ends);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> readAllByDefault(const std::string& text) {
    std::istringstream in(text);
    LineReader reader(in);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return lines;
}

} // namespace

// LF and CR LF end a line, a last line without an end is read; field-data
// readers (crToo) also end a line at a lone CR, so a file whose lines end in
// CR alone reads line by line as the same file with CR LF does.
TEST(LineReader, AcceptsLfAndCrLfAndAnUnterminatedLastLine) {
    constexpr auto plain = platform::LineEnds::lfOrCrLf;
    constexpr auto crToo = platform::LineEnds::crToo;
    struct Row {
        const char* name;
        platform::LineEnds ends;
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"crlf", plain, "a\r\nb\r\n", {"a", "b"}},
        {"lf", plain, "a\nb\n", {"a", "b"}},
        {"mixed", plain, "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"last line without end", plain, "a\r\nlast", {"a", "last"}},
        {"last line without end after lf", plain, "a\nlast", {"a", "last"}},
        {"empty lines kept", plain, "\r\n\nx\r\n", {"", "", "x"}},
        {"empty file", plain, "", {}},
        {"lone cr stays inside a line", plain, "a\rb\n", {"a\rb"}},
        {"cr before crlf stays", plain, "a\r\r\nb", {"a\r", "b"}},
        {"cr lf at the very end", plain, "a\r", {"a"}},
        {"cr only", crToo, "h\ra\rb\r", {"h", "a", "b"}},
        {"cr only, last line without end", crToo, "h\ra\rlast", {"h", "a", "last"}},
        {"crlf is one line end with crToo", crToo, "a\r\nb\r\n", {"a", "b"}},
        {"lf with crToo", crToo, "a\nb\n", {"a", "b"}},
        {"empty lines kept with crToo", crToo, "\r\r\nx\r", {"", "", "x"}},
        {"every line end with crToo", crToo, "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readAll(row.text, row.ends), row.lines);
    }
}

// Every reader ends a line at a lone CR too: a file saved with CR-only line
// ends read as one line lost its control and closures without a word.
TEST(LineReader, EndsALineAtALoneCrByDefault) {
    EXPECT_EQ(readAllByDefault("h\ra\rb\r"), (std::vector<std::string>{"h", "a", "b"}));
    EXPECT_EQ(readAllByDefault("a\rb\nc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    std::istringstream in("one\rtwo\rthree");
    platform::LineReader reader(in);
    std::string line;
    while (reader.next(line)) {
    }
    EXPECT_EQ(reader.lineNumber(), 3);
}

TEST(LineReader, CountsLines) {
    std::istringstream in("one\ntwo\nthree");
    LineReader reader(in);
    std::string line;
    EXPECT_EQ(reader.lineNumber(), 0);
    while (reader.next(line)) {
    }
    EXPECT_EQ(reader.lineNumber(), 3);
}

// The bytes read so far, line ends included, are the stream's position after
// each line, as the position the progress of a reader was taken from before.
TEST(LineReader, CountsTheBytesItReads) {
    for (const auto ends : {platform::LineEnds::lfOrCrLf, platform::LineEnds::crToo}) {
        const std::string text = "first\r\nsecond\n\r\nx\ry\rlast";
        std::istringstream in(text);
        LineReader reader(in, ends);
        std::string line;
        EXPECT_EQ(reader.bytesRead(), 0u);
        while (reader.next(line)) {
            const auto position = in.tellg();
            EXPECT_EQ(reader.bytesRead(),
                      position < 0 ? text.size() : static_cast<std::uintmax_t>(position))
                << line;
        }
        EXPECT_EQ(reader.bytesRead(), text.size());
    }
}

TEST(TextFileReader, MissingFileIsNotCreated) {
    const auto path = std::filesystem::temp_directory_path() / "tarnwell-no-such-file.txt";
    std::filesystem::remove(path);
    platform::TextFileReader reader(path);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A name the user gives may lead to anything: only a regular readable file
// is opened, and the reason for anything else is the system's.
TEST(TextFileReader, OnlyARegularFileIsOpenedAndTheReasonIsGiven) {
    char pattern[] = "/tmp/tarnwell-input-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    { std::ofstream(folder / "plain.txt") << "one\ntwo\n"; }
    struct Row {
        const char* what;
        std::filesystem::path path;
        const char* problem;
    };
    for (const Row& row : {Row{"a regular file", folder / "plain.txt", ""},
                           Row{"nothing", folder / "none.txt", "No such file or directory"},
                           Row{"a folder", folder, "Is a directory"},
                           Row{"a device that never ends", "/dev/zero", "not a regular file"},
                           Row{"an empty device", "/dev/null", "not a regular file"}}) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(platform::inputFileProblem(row.path), row.problem);
        platform::TextFileReader reader(row.path);
        EXPECT_EQ(reader.isOpen(), row.problem[0] == '\0');
        EXPECT_EQ(reader.problem(), row.problem);
    }
    std::filesystem::remove_all(folder);
}

// A read the system refuses (here: a folder opened as a stream, which the
// stream buffer answers with an exception) ends the lines with a bad stream
// instead of escaping from the reader.
TEST(LineReader, AReadErrorEndsTheLinesWithoutAnException) {
    std::ifstream folder("/tmp", std::ios::binary);
    ASSERT_TRUE(folder.is_open());
    LineReader reader(folder);
    std::string line = "left over";
    bool more = true;
    EXPECT_NO_THROW(more = reader.next(line));
    EXPECT_FALSE(more);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(folder.bad());
}

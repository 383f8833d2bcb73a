#include "platform/line_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using platform::LineReader;

namespace {

std::vector<std::string> readAll(const std::string& text) {
    std::istringstream in(text);
    LineReader reader(in);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(LineReader, AcceptsLfAndCrLfAndAnUnterminatedLastLine) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf", "a\nb\n", {"a", "b"}},
        {"mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"last line without end", "a\r\nlast", {"a", "last"}},
        {"last line without end after lf", "a\nlast", {"a", "last"}},
        {"empty lines kept", "\r\n\nx\r\n", {"", "", "x"}},
        {"empty file", "", {}},
        {"lone cr stays inside a line", "a\rb\n", {"a\rb"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readAll(row.text), row.lines);
    }
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

TEST(TextFileReader, MissingFileIsNotCreated) {
    const auto path = std::filesystem::temp_directory_path() / "tarnwell-no-such-file.txt";
    std::filesystem::remove(path);
    platform::TextFileReader reader(path);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
}

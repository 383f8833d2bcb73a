#pragma once
// The one text-line reader of the system. A line ends at LF, CR LF or a lone
// CR; a last line without a line end is still a line (dropping it would lose
// data). Files come from instruments and editors that end lines with a lone
// CR as well: read only at LF, such a file was one long line and its data
// was lost without a word. (The project file reads its own lines: a lone LF
// is data there.)
// Lines are bytes: nothing is transcoded.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <string>

namespace platform {

// Which bytes end a line: crToo (the default) LF, CR LF and a lone CR;
// lfOrCrLf only LF and CR LF, for a text in which a lone CR is data.
enum class LineEnds { lfOrCrLf, crToo };

class LineReader {
public:
    explicit LineReader(std::istream& in, LineEnds ends = LineEnds::crToo)
        : in_(&in), ends_(ends) {}

    // Reads the next line without its line end. Returns false at the end of
    // the input, leaving `line` empty, and after a read error (the stream is
    // then bad: a read error never escapes as an exception).
    bool next(std::string& line);

    // 1-based number of the line last returned by next(); 0 before the first.
    int lineNumber() const { return lineNumber_; }

    // Bytes taken from the input so far, line ends included: the position
    // in a file read from its start, for progress, without asking the
    // system for the position on every line.
    std::uintmax_t bytesRead() const { return bytesRead_; }

private:
    bool readLine(std::string& line);

    std::istream* in_;
    LineEnds ends_;
    int lineNumber_ = 0;
    std::uintmax_t bytesRead_ = 0;
};

// A LineReader that owns the file it reads. isOpen() is false when the file
// cannot be opened or is no regular readable file (inputFileProblem says
// why); nothing is ever created.
class TextFileReader {
public:
    explicit TextFileReader(const std::filesystem::path& path, LineEnds ends = LineEnds::crToo);

    bool isOpen() const { return file_.is_open(); }
    // Why the file could not be opened; empty when it was.
    const std::string& problem() const { return problem_; }
    bool next(std::string& line) { return reader_.next(line); }
    // The last next() stopped on a read error, not at the end of the file.
    bool readFailed() const { return file_.bad(); }
    int lineNumber() const { return reader_.lineNumber(); }

private:
    std::string problem_;
    std::ifstream file_;
    LineReader reader_;
};

} // namespace platform

#include "input/level_tokens.hpp"

#include "input/level_records.hpp"
#include "input/raw_text.hpp"
#include "input/refused_records.hpp"
#include "model/progress.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/input_file.hpp"
#include "platform/line_reader.hpp"
#include "platform/record_fields.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace leveltext {

std::string_view recordCode(const std::string& line) {
    return line.size() < 2 ? std::string_view() : std::string_view(line).substr(0, 2);
}

std::vector<std::string> tokensOf(const std::string& line) {
    std::vector<std::string> tokens;
    if (line.size() <= 3)
        return tokens;
    const std::string_view rest = std::string_view(line).substr(3);
    for (const std::string_view token : platform::splitOn(rest, ',')) {
        if (token.empty())
            continue;
        if (token.starts_with("--")) {
            // The description runs to the end of the line, commas and all.
            const std::size_t at = static_cast<std::size_t>(token.data() - rest.data());
            tokens.emplace_back(trimmedBlanks(rest.substr(at)));
            break;
        }
        tokens.emplace_back(token);
    }
    return tokens;
}

levelLineResult unknownCodeLine(const std::string& line, std::string& fault) {
    if (platform::isBlankLine(line))
        return levelLineResult::notARecord;
    fault = platform::unknownRecordCode(line.substr(0, 2)).sentence();
    return levelLineResult::malformed;
}

std::string unplacedTokenSentence(std::string_view token, std::string_view code) {
    return "The field \"" + platform::recordExcerpt(token) + "\" has no place in a " +
           std::string(code) + " record.";
}

std::string_view tagOf(std::string_view token) {
    return token.substr(0, 2);
}

std::string_view valueOf(std::string_view token) {
    return token.size() > 2 ? token.substr(2) : std::string_view();
}

// No run context reaches the level-file readers: their interface has none,
// so the shell is the active one (the run installs its own for its length).
bool forEachLine(const std::string& path,
                 const std::function<bool(const std::string& line, int lineNumber)>& onLine) {
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    std::string problem = platform::inputFileProblem(path);
    std::ifstream file;
    if (problem.empty()) {
        file.open(path, std::ios::binary);
        if (sizeError || !file.is_open())
            problem = platform::systemReason(sizeError ? sizeError.value() : errno);
    }
    if (!problem.empty()) {
        const std::string text = "Error opening " + path + ": " + problem;
        writeLine(errFile, text);
        activeShell().message(text, MessageKind::ok);
        return false;
    }
    activeShell().setMessage("Reading level data");
    startProgress(static_cast<int>(std::min<std::uintmax_t>(size, 0x7fffffff)));
    platform::LineReader reader(file, platform::LineEnds::crToo);
    std::string line;
    std::streamoff counted = 0;
    while (reader.next(line)) {
        if (!onLine(line, reader.lineNumber()))
            return false;
        const std::streamoff position = file.eof()
                                            ? static_cast<std::streamoff>(size)
                                            : static_cast<std::streamoff>(reader.bytesRead());
        advanceProgress(static_cast<int>(position - counted));
        counted = position;
    }
    if (file.bad()) {
        const std::string text =
            platform::formatC("Error reading %s after line %d", path.c_str(), reader.lineNumber());
        writeLine(errFile, text);
        activeShell().message(text, MessageKind::ok);
        return false;
    }
    return true;
}

void reportRefusedLine(const std::string& path, int lineNumber, const std::string& sentence,
                       const std::string& line) {
    const std::string text = "Level file " + refusedRecordLine(path, lineNumber, sentence, line);
    writeRptErrLine(text);
    activeShell().message(text, MessageKind::ok);
}

std::string descriptionOf(std::string_view token) {
    return std::string(valueOf(token).substr(0, levelDescriptionMax));
}

} // namespace leveltext

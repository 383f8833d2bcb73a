#pragma once
// A run that stops early or fails leaves its reason in the error report
// (.ERR) as well as on the console: some stops come before the run opens
// its error report, others are shown only as messages.

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

// Enough of a file's identity to tell whether a run wrote it anew.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    off_t size = 0;

    bool operator==(const FileStamp& other) const;
};

FileStamp fileStamp(const std::filesystem::path& path);

// Puts each of `messages` that the error report does not hold yet at its
// end, lines ending in CR LF. An error report left from before the run
// (`before` still matches) or none at all is replaced by one holding only
// the messages; without messages nothing is touched. False with the reason
// in `error` when it cannot be written.
bool recordInErrorReport(const std::filesystem::path& errorReport, const FileStamp& before,
                         const std::vector<std::string>& messages, std::string& error);

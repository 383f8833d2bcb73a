#pragma once
// Handing a finished PostScript job to the printing system.

#include <filesystem>
#include <optional>
#include <string>

// Sends `file` to the default printer with `lp` under the job name `title`
// and waits for `lp` to take it (it copies the file, which may go
// afterwards). nullopt when the job was taken; otherwise the message saying
// why nothing was printed: no printing system, or `lp`'s own reason (for
// instance that there is no default printer).
std::optional<std::string> sendToDefaultPrinter(const std::filesystem::path& file,
                                                const std::string& title);

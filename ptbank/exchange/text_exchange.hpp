#pragma once
// What the QMX import and export share: the library's own file record that
// both work on, and the way an exchange ends, with its numbered message.

#include "ptbank/cf_info.hpp"

#include <string>

namespace ptbank {

// The messages of an exchange, by number; "%1" stands for the path named.
namespace exchange_message {
inline constexpr int none = 0;
inline constexpr int openFailed = 2;      // "ERROR opening file:\n%1"
inline constexpr int inputEmpty = 3;      // "Input file is EMPTY"
inline constexpr int inputOpenFailed = 4; // "ERROR opening input file:\n%1"
inline constexpr int writeFailed = 5;     // "ERROR writing points."
} // namespace exchange_message

// The library's default file record, pointed at the coordinate file at
// `path` and opened: true when it is open (a missing file is created only
// when `createWhenMissing` is set).
bool openExchangeFile(const std::string& path, bool createWhenMissing);

// The point as the exchange passes it: name, code and description without
// the blanks a file's widths add, cut to 10, 4 and 100 characters.
crdShortPointRec trimmedShortPoint(const crdPointRec& point);

// Shows the numbered message (none for 0) with the stop icon and `title`,
// "%1" replaced by `path`, and gives the default file record back: 1 when
// the number was 0, else 0.
int finishTextExchange(const std::string& title, int message, const std::string& path);

} // namespace ptbank

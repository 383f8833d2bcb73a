#pragma once
// The converters the converter dialogs call, behind one interface so that
// the dialogs can be driven with a recording stand-in. Each call returns 0
// on success, else non-zero; `message`, when not empty afterwards, is what
// the converter had to say (the reason of a failure, or the point names it
// repaired) and is shown to the user. An input that yields no record is a
// failure, and leaves the output as it was.

#include <string>

class FileConverters {
public:
    virtual ~FileConverters() = default;

    // A GPS vector file into a .GPS file. `format` is the converter dialog's
    // index: 0 observation (.obn), 1 baseline text, 2 vector text (.tvf),
    // 3 vector XML, 4 data-exchange export (.asc), 5 data collector (.dc),
    // 6 LandXML, 7 G-file, 8 the G-file section of an online processing
    // report, 9 .RW5 GPS records, 10 adjustment input (IOB).
    // `stripLeadingZeros` counts for formats 0 and 10, `importPoints` for 1
    // (the base points as C lines).
    virtual int convertVectors(int format, const std::string& input, const std::string& output,
                               int stripLeadingZeros, int importPoints, std::string& message) = 0;
    // The total-station observations of a data-exchange export into a raw
    // file: `rawFormat` 0 .RW5, 1 .VKR.
    virtual int convertTotalStation(int rawFormat, const std::string& input,
                                    const std::string& output, std::string& message) = 0;
    // A digital level file into a .LEV file: `format` 0 lettered records
    // (Topcon), 1 data words (Leica).
    virtual int convertLevel(int format, const std::string& input, const std::string& output,
                             std::string& message) = 0;
};

// Why `path` cannot be read as a converter's input: "Error opening <path>: <reason>"
// (a folder, a file that is not there or may not be read); empty when it can.
std::string unreadableInput(const std::string& path);

// A failure's one message: `failure`, then the converter's `cause` when it
// gave one.
std::string withCause(const std::string& failure, const std::string& cause);

// The converters of the input library. A format this build has no
// converter for fails with "Converting GPS vectors from <format> is not
// built yet."
FileConverters& libraryConverters();

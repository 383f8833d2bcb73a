// The reasons of an unfinished run in its error report: added once, after
// what the run wrote; an error report the run did not write is replaced.

#include "error_report_messages.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

namespace {

using testsupport::readBytes;
using testsupport::writeBytes;

const std::string header = "\r\n     LEAST SQUARES ADJUSTMENT ERROR REPORT\r\n";

TEST(ErrorReportMessages, EachMessageOnceAfterWhatTheRunWrote) {
    struct Row {
        const char* name;
        std::string written; // by the run; empty: the run wrote none
        std::vector<std::string> messages;
        std::string expected;
    };
    const Row rows[] = {
        {"none written: the messages alone",
         "",
         {"Stop.\nWhy.", "Also."},
         "Stop.\r\nWhy.\r\nAlso.\r\n"},
        {"added at the end", header, {"Stop."}, header + "Stop.\r\n"},
        {"already there", header + "Stop.\r\nmore\r\n", {"Stop."}, header + "Stop.\r\nmore\r\n"},
        {"already there with bare inner line ends",
         header + "Stop.\nWhy.\r\n",
         {"Stop.\nWhy."},
         header + "Stop.\nWhy.\r\n"},
        {"a message twice", header, {"Stop.", "Stop."}, header + "Stop.\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder folder("err-messages");
        const auto path = folder / "site.ERR";
        const FileStamp before = fileStamp(path);
        if (!row.written.empty())
            writeBytes(path, row.written);
        std::string error;
        EXPECT_TRUE(recordInErrorReport(path, before, row.messages, error)) << error;
        EXPECT_EQ(readBytes(path), row.expected);
    }
}

// An error report the run did not touch is the previous run's: it must not
// pass for this one's.
TEST(ErrorReportMessages, APreviousRunsErrorReportIsReplaced) {
    testsupport::TempFolder folder("err-messages-old");
    const auto path = folder / "site.ERR";
    writeBytes(path, header + "old\r\n");
    const FileStamp before = fileStamp(path);
    std::string error;
    EXPECT_TRUE(recordInErrorReport(path, before, {"Stop."}, error)) << error;
    EXPECT_EQ(readBytes(path), "Stop.\r\n");

    writeBytes(path, header + "old\r\n");
    EXPECT_TRUE(recordInErrorReport(path, fileStamp(path), {}, error));
    EXPECT_EQ(readBytes(path), header + "old\r\n") << "without messages nothing is touched";
}

TEST(ErrorReportMessages, AnErrorReportThatCannotBeWrittenSaysWhy) {
    testsupport::TempFolder folder("err-messages-blocked");
    const auto path = folder / "missing" / "site.ERR";
    std::string error;
    EXPECT_FALSE(recordInErrorReport(path, fileStamp(path), {"Stop."}, error));
    EXPECT_NE(error.find((folder / "missing").string()), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

} // namespace

#include "output/line_buffer.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Opens the report and error files of a pretend run in a temporary folder.
class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        previousShell_ = setActiveShell(&shell);
        clearOutputWriteFailures();
    }
    void TearDown() override {
        clearOutputWriteFailures();
        closeFile(rptFile);
        closeFile(errFile);
        setActiveShell(previousShell_);
    }

    int openFile(const char* name) {
        return ::open((folder / name).c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    }
    static void closeFile(int& handle) {
        if (handle > 0)
            ::close(handle);
        handle = 0;
    }
    std::string contents(const char* name) { return testsupport::readBytes(folder / name); }

    testsupport::TempFolder folder{"report-lines"};
    RecordingShell shell;

private:
    ShellServices* previousShell_ = nullptr;
};

} // namespace

TEST_F(ReportFiles, WriteLineEndsInCrLfAndIgnoresClosedHandles) {
    const int handle = openFile("a.txt");
    EXPECT_EQ(writeLine(handle, "first"), 0);
    EXPECT_EQ(writeLine(handle, ""), 0);
    EXPECT_EQ(writeLine(0, "nowhere"), 0);
    EXPECT_EQ(writeLine(-1, "nowhere"), 0);
    ::close(handle);
    EXPECT_EQ(contents("a.txt"), "first\r\n\r\n");
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(ReportFiles, BothFilesOrWhicheverIsOpen) {
    errFile = openFile("run.ERR");
    EXPECT_EQ(writeRptErrLine("only the error report"), 0);
    rptFile = openFile("run.RPT");
    EXPECT_EQ(writeRptErrLine("both"), 0);
    EXPECT_EQ(writeRptErrLine(""), 0);
    EXPECT_EQ(contents("run.ERR"), "only the error report\r\nboth\r\n\r\n");
    EXPECT_EQ(contents("run.RPT"), "both\r\n\r\n");
}

// A failed write names the file and the system's reason, once however many
// lines fail after it, and goes into the error report.
TEST_F(ReportFiles, FailedWriteIsReportedOnceWithFileAndReason) {
    const std::string path = (folder / "ro.txt").string();
    const int readOnly = ::open(path.c_str(), O_RDONLY | O_CREAT, 0600);
    errFile = openFile("run.ERR");
    EXPECT_EQ(writeLine(readOnly, "x"), 1);
    rptFile = readOnly;
    EXPECT_EQ(writeRptErrLine("y"), 1);
    const std::string expected = "Error writing output to " + path + ": Bad file descriptor";
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, expected);
    EXPECT_EQ(shell.boxes[0].kind, MessageKind::ok);
    EXPECT_EQ(contents("run.ERR"), expected + "\r\n");
    EXPECT_EQ(outputWriteFailures(), std::vector<std::string>{expected});
    EXPECT_TRUE(outputWriteFailures(true).empty()) << "the error report has it";
}

// A full disk: the reason is the system's.
TEST_F(ReportFiles, FullDiskIsNamed) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GT(full, 0);
    EXPECT_EQ(writeLine(full, "x"), 1);
    ::close(full);
    EXPECT_EQ(
        outputWriteFailures(true),
        std::vector<std::string>{"Error writing output to /dev/full: No space left on device"});
}

// The buffered lines reach the file whole and in order: those written
// when a block fills, those flushed, and those left for the destructor.
TEST_F(ReportFiles, BufferedLinesReachTheFileInOrder) {
    const int handle = openFile("long.txt");
    std::string expected;
    {
        LineBuffer out(handle);
        EXPECT_TRUE(out.line("first"));
        EXPECT_EQ(contents("long.txt"), "") << "nothing is written before a block fills";
        EXPECT_TRUE(out.flush());
        EXPECT_EQ(contents("long.txt"), "first\r\n");
        expected = "first\r\n";
        for (int i = 0; i < 2000; ++i) {
            const std::string text = "line " + std::to_string(i) + std::string(90, '.');
            EXPECT_TRUE(out.line(text));
            expected += text + "\r\n";
        }
        EXPECT_GT(contents("long.txt").size(), 65536u) << "full blocks go out unasked";
        EXPECT_TRUE(out.line(""));
        expected += "\r\n";
    }
    ::close(handle);
    EXPECT_EQ(contents("long.txt"), expected);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(ReportFiles, BufferedLinesToAClosedHandleGoNowhere) {
    LineBuffer out(0);
    EXPECT_TRUE(out.line("nowhere"));
    EXPECT_TRUE(out.flush());
    EXPECT_TRUE(shell.boxes.empty());
}

// A failed block is noted once, as a failed line is, and every later line
// and flush says so.
TEST_F(ReportFiles, FailedBufferedWriteIsReportedOnce) {
    const std::string path = (folder / "ro.txt").string();
    const int readOnly = ::open(path.c_str(), O_RDONLY | O_CREAT, 0600);
    LineBuffer out(readOnly);
    EXPECT_TRUE(out.line("x"));
    EXPECT_FALSE(out.flush());
    EXPECT_FALSE(out.line("y"));
    EXPECT_FALSE(out.flush());
    ::close(readOnly);
    EXPECT_EQ(outputWriteFailures(), std::vector<std::string>{"Error writing output to " + path +
                                                              ": Bad file descriptor"});
    EXPECT_EQ(shell.boxes.size(), 1u);
}

// A buffered output file (the report files of a run) holds its lines until
// a block fills, a flush or its end; then they are in the file in order.
TEST_F(ReportFiles, BufferedOutputWritesWhenFlushedOrEnded) {
    const int handle = openFile("run.RPT");
    startBufferedOutput(handle);
    EXPECT_EQ(writeLine(handle, "first"), 0);
    EXPECT_EQ(writeText(handle, "second\r\n"), 0);
    EXPECT_EQ(contents("run.RPT"), "") << "a line per system call was a tenth of a big run";
    EXPECT_EQ(flushBufferedOutput(), 0);
    EXPECT_EQ(contents("run.RPT"), "first\r\nsecond\r\n");
    std::string expected = contents("run.RPT");
    for (int i = 0; i < 1000; ++i) {
        const std::string text = "line " + std::to_string(i) + std::string(90, '.');
        EXPECT_EQ(writeLine(handle, text), 0);
        expected += text + "\r\n";
    }
    EXPECT_GT(contents("run.RPT").size(), 65536u) << "full blocks go out unasked";
    EXPECT_EQ(writeLine(handle, "last"), 0);
    expected += "last\r\n";
    EXPECT_EQ(endBufferedOutput(handle), 0);
    EXPECT_EQ(contents("run.RPT"), expected);
    EXPECT_EQ(writeLine(handle, "after the end"), 0) << "written at once again";
    EXPECT_EQ(contents("run.RPT"), expected + "after the end\r\n");
    ::close(handle);
    EXPECT_TRUE(shell.boxes.empty());
}

// Both report files buffered: a line written to both, and the note of
// another file's failure, stand behind what each file already held, and the
// note is on disk at once.
TEST_F(ReportFiles, NotesAndSharedLinesKeepTheirPlaceInBufferedFiles) {
    rptFile = openFile("run.RPT");
    errFile = openFile("run.ERR");
    startBufferedOutput(rptFile);
    startBufferedOutput(errFile);
    writeLine(errFile, "before");
    EXPECT_EQ(writeRptErrLine("both"), 0);
    EXPECT_TRUE(recordOutputWriteFailure("/x/site.NEZ", "Disk quota exceeded"));
    EXPECT_EQ(contents("run.ERR"),
              "before\r\nboth\r\nError writing output to /x/site.NEZ: Disk quota exceeded\r\n");
    EXPECT_EQ(outputWriteFailures(true), std::vector<std::string>{});
    EXPECT_EQ(contents("run.RPT"), "");
    EXPECT_EQ(endBufferedOutput(rptFile), 0);
    EXPECT_EQ(endBufferedOutput(errFile), 0);
    EXPECT_EQ(contents("run.RPT"), "both\r\n");
}

// A full disk under a buffered file: the failure shows when the lines go
// out, once, with the file and the system's reason; the lines after it are
// dropped with a result of 1.
TEST_F(ReportFiles, FailedBufferedFileIsReportedOnceWhenItsLinesGoOut) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GT(full, 0);
    startBufferedOutput(full);
    EXPECT_EQ(writeLine(full, "x"), 0);
    EXPECT_TRUE(shell.boxes.empty());
    EXPECT_EQ(flushBufferedOutput(), 1);
    EXPECT_EQ(writeLine(full, "y"), 1);
    EXPECT_EQ(endBufferedOutput(full), 1);
    ::close(full);
    const std::string expected = "Error writing output to /dev/full: No space left on device";
    EXPECT_EQ(outputWriteFailures(), std::vector<std::string>{expected});
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, expected);
}

TEST(ReportLines, SkipLeadingBlanks) {
    EXPECT_EQ(skipLeadingBlanks("   12.5 "), "12.5 ");
    EXPECT_EQ(skipLeadingBlanks("\t x"), "\t x") << "only the blank counts";
    EXPECT_EQ(skipLeadingBlanks("   "), "");
}

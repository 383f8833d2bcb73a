#include "input/edm_file.hpp"
#include "platform/record_fields.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testsupport::TempFolder;

std::vector<CALIBRATE_RAWREC> readText(const TempFolder& folder, const std::string& text) {
    const auto path = folder / "cal.edm";
    std::ofstream(path, std::ios::binary) << text;
    std::vector<CALIBRATE_RAWREC> records;
    std::string refusal;
    EXPECT_EQ(readEdmRecords(path, records, refusal), edmFileRead) << refusal;
    return records;
}

CALIBRATE_RAWREC sampleObservation() {
    CALIBRATE_RAWREC r;
    r.kind = edmObservation;
    r.fromStation = "PIER 1";
    r.toStation = "PIER 4";
    r.instrumentHeight = 1.512;
    r.fromElevation = 100.0;
    r.reflectorHeight = 1.6;
    r.toElevation = 101.43;
    r.dryTemp_C = 25.0;
    r.pressure_mmHg = 740.25;
    r.wetTemp_C = 18.5;
    r.slopeDistance = 1000.0235;
    r.publishedDistance = 1000.0;
    return r;
}

} // namespace

TEST(EdmFile, WriteFormatsAreExact) {
    CALIBRATE_RAWREC at;
    at.kind = edmAtmosphere;
    at.applyCorrection = 1;
    at.wetBulb = 0;
    at.refractionIndex = 1.000283;
    at.wavelength_um = 0.86;
    at.vapourPressure_mmHg = 12.5;
    CALIBRATE_RAWREC cn;
    cn.kind = edmConstants;
    cn.edmConstant = -0.002;
    cn.reflectorConstant = -0.03;
    CALIBRATE_RAWREC dt;
    dt.kind = edmDateTime;
    dt.text = "12/03/2026";
    dt.time = "10:15";
    CALIBRATE_RAWREC in;
    in.text = "Distance meter, serial 42";
    EXPECT_EQ(edmRecordLine(in), "IN,Distance meter, serial 42\r\n");
    EXPECT_EQ(edmRecordLine(dt), "DT,12/03/2026,10:15\r\n");
    EXPECT_EQ(edmRecordLine(at), "AT,ON,VP,1.0002830,0.8600,12.5000000\r\n");
    EXPECT_EQ(edmRecordLine(cn), "CN,-0.002000,-0.030000\r\n");
    EXPECT_EQ(edmRecordLine(sampleObservation()),
              "OB,PIER 1,1.5120,100.0000,PIER 4,1.6000,101.4300,25.00,740.25,18.50,1000.0235,"
              "1000.0000\r\n");
}

TEST(EdmFile, WrittenFileReadsBack) {
    TempFolder folder("edm-roundtrip");
    std::vector<CALIBRATE_RAWREC> records(8);
    const char* texts[] = {"EDM one", "", "Prism, 360", "Sunny, calm", "Check, after repair"};
    for (int kind = 0; kind < 5; ++kind) {
        records[kind].kind = kind;
        records[kind].text = texts[kind];
    }
    records[1].text = "12/03/2026";
    records[1].time = "10:15";
    records[5].kind = edmAtmosphere;
    records[5].applyCorrection = 1;
    records[5].wetBulb = 1;
    records[5].refractionIndex = 1.0002830;
    records[5].wavelength_um = 0.86;
    records[6].kind = edmConstants;
    records[6].edmConstant = 0.0125;
    records[6].reflectorConstant = -0.0175;
    records[7] = sampleObservation();
    ASSERT_EQ(writeEdmRecords(folder / "a.edm", records), 0);
    std::vector<CALIBRATE_RAWREC> back;
    std::string refusal;
    ASSERT_EQ(readEdmRecords(folder / "a.edm", back, refusal), edmFileRead) << refusal;
    EXPECT_EQ(back, records);
}

// The reader's leniency, line by line.
TEST(EdmFile, LenientReading) {
    TempFolder folder("edm-lenient");
    const auto records = readText(folder, "ob,A,1,2,B,3,4,5,6,7,8,9\r\n" // lower case: skipped
                                          "AT,on,WET,1.1,0.5,2\r\n"      // "on" leaves it off
                                          "  CO,  a, b , c  \r\n"        // commas stay in texts
                                          "XX,what\r\n"                  // unknown: skipped
                                          "OB,P1,1.5, \r\n"              // empty, missing: 0
                                          "CN,0.5\n"
                                          "OB,P2,1,2,P3,3,4,5,6,7,8,9");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].kind, edmAtmosphere);
    EXPECT_EQ(records[0].applyCorrection, 0);
    EXPECT_EQ(records[0].wetBulb, 1);
    EXPECT_DOUBLE_EQ(records[0].refractionIndex, 1.1);
    EXPECT_EQ(records[1].kind, edmComment);
    EXPECT_EQ(records[1].text, "a, b , c");
    EXPECT_EQ(records[2].kind, edmObservation);
    EXPECT_EQ(records[2].fromStation, "P1");
    EXPECT_DOUBLE_EQ(records[2].instrumentHeight, 1.5);
    EXPECT_EQ(records[2].fromElevation, 0.0);
    EXPECT_EQ(records[2].toStation, "");
    EXPECT_EQ(records[2].publishedDistance, 0.0);
    EXPECT_EQ(records[3].kind, edmConstants);
    EXPECT_DOUBLE_EQ(records[3].edmConstant, 0.5);
    EXPECT_EQ(records[3].reflectorConstant, 0.0);
    EXPECT_EQ(records[4].toStation, "P3");
    EXPECT_DOUBLE_EQ(records[4].publishedDistance, 9.0);
}

// A number field holds a number or nothing: anything else stops the read,
// named with file, line and field, and nothing is appended. Read as 0 (or as
// its leading digits) it would give a calibration wrong without a word. A
// field beyond the record's last stops it too: a decimal comma splits a
// number in two, so the fields after it shifted (OB) or the line was
// dropped without a word (DT, AT, CN).
TEST(EdmFile, ANumberFieldThatIsNoNumberStopsTheRead) {
    TempFolder folder("edm-damaged");
    const auto path = folder / "cal.edm";
    const struct {
        const char* line;
        std::string sentence;
    } rows[] = {
        {"OB,P1,1.5,100,P4,1.6,101.43,25,740.25,18.5,1000.02x,1000",
         "The slope distance \"1000.02x\" is not a number."},
        {"OB,P1,1.5,100,P4,1.6,101.43,25,740.25,18.5,1000.0235,1OOO",
         "The published distance \"1OOO\" is not a number."},
        {"OB,P1,1.5m,100,P4", "The instrument height \"1.5m\" is not a number."},
        {"OB,P1,1.5,100,P4,1.6,101.43,nan", "The dry-bulb temperature \"nan\" is not a number."},
        {"CN,0.0125,-0.0175mm", "The reflector constant \"-0.0175mm\" is not a number."},
        {"AT,ON,WET,1.000283,0.86O,2", "The wavelength \"0.86O\" is not a number."},
        {"AT,ON,VP,1.000283,0.86,inf", "The vapour pressure \"inf\" is not a number."},
        {"OB,P1,1.5,100,P4,1.6,101 .43", "The to elevation \"101 .43\" is not a number."},
        {"OB,P1,1.5,100,P4,1.6,101\t43", "The to elevation \"101<TAB>43\" is not a number."},
        {"OB,P1,1.5,100,P4,1.6,101.43,25,740,25,18.5,1000.0235,1000",
         "The record has 12 fields; it needs 1 to 11."},
        {"CN,0,0125,-0.0175", "The record has 3 fields; it needs 1 to 2."},
        {"AT,ON,VP,1,2,3,4", "The record has 6 fields; it needs 1 to 5."},
        {"DT,1/1/2026,noon,extra", "The record has 3 fields; it needs 1 to 2."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "IN,EDM one\r\n"
                                                                << row.line << "\r\nCO,after\r\n";
        std::vector<CALIBRATE_RAWREC> records(1);
        std::string refusal;
        EXPECT_EQ(readEdmRecords(path, records, refusal), edmFileDamaged);
        EXPECT_EQ(records.size(), 1u);
        EXPECT_EQ(refusal, path.string() + ", line 2: " + row.sentence +
                               " Record: " + platform::recordExcerpt(row.line));
    }
}

TEST(EdmFile, TextsAreCutToTheirCapacities) {
    TempFolder folder("edm-cut");
    const std::string longName(40, 'N');
    const auto records = readText(folder, "IN," + std::string(200, 'x') + "\r\nOB," + longName +
                                              ",1,2," + longName + ",3,4,5,6,7,8,9\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].text.size(), edmTextCapacity);
    EXPECT_EQ(records[1].fromStation.size(), edmFromCapacity);
    EXPECT_EQ(records[1].toStation.size(), edmToCapacity);
}

TEST(EdmFile, FailuresLeaveEverythingAsItWas) {
    TempFolder folder("edm-fail");
    std::vector<CALIBRATE_RAWREC> records(1);
    std::string refusal;
    EXPECT_EQ(readEdmRecords(folder / "missing.edm", records, refusal), edmFileUnopened);
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(writeEdmRecords(folder / "no-such-folder" / "a.edm", records), 1);
    // A file that exists keeps its contents when the new one cannot be
    // written: files of this process may not grow past 16 bytes meanwhile.
    const auto path = folder / "kept.edm";
    std::ofstream(path, std::ios::binary) << "IN,old\r\n";
    records[0].text = "a description longer than sixteen bytes";
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    const int written = writeEdmRecords(path, records);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(written, 1);
    EXPECT_EQ(testsupport::readBytes(path), "IN,old\r\n");
}

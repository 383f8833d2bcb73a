// Projects of older releases were binary archives of the settings object:
// the fields one after another, ints 32-bit and reals 64-bit little-endian,
// texts with the archive's length prefix (one byte; 0xFF then a 16-bit
// length; 0xFFFF then a 32-bit one; a 0xFFFE marker before the length for
// 16-bit characters). Which fields follow the head depends on the version.

#include "model/angle_math.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_file.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/binary_io.hpp"
#include "platform/input_file.hpp"
#include "platform/paths.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <cerrno>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr int newestLegacyVersion = 6;

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// 16-bit characters become UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf8FromUtf16(const std::vector<std::uint16_t>& units) {
    constexpr std::uint32_t replacement = 0xFFFD;
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, replacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

// Reads the archive's settings fields, tracking whether all of them were there.
class ArchiveFields {
public:
    ArchiveFields(platform::ByteReader& archive, globalVars& target) : in_(archive), g_(target) {}

    bool ok() const { return ok_ && in_.ok(); }

    void integer(int globalVars::*member) { g_.*member = in_.i32(); }
    void real(double globalVars::*member) { g_.*member = in_.f64(); }
    void text(std::string globalVars::*member) {
        if (const auto value = archiveText())
            g_.*member = *value;
        else
            ok_ = false;
    }

private:
    // Character count and width of a text; nullopt for a length beyond 32 bits.
    std::optional<std::uint32_t> textLength(bool& wide) {
        wide = false;
        std::uint32_t length = in_.u8();
        if (length < 0xFF)
            return length;
        length = in_.u16();
        if (length == 0xFFFE) {
            wide = true;
            length = in_.u8();
            if (length < 0xFF)
                return length;
            length = in_.u16();
        }
        if (length < 0xFFFF)
            return length;
        length = in_.u32();
        if (length < 0xFFFFFFFF)
            return length;
        return std::nullopt;
    }

    std::optional<std::string> archiveText() {
        bool wide = false;
        const auto length = textLength(wide);
        if (!length || !in_.ok())
            return std::nullopt;
        const std::uint64_t bytes = std::uint64_t{*length} * (wide ? 2 : 1);
        if (bytes > in_.remaining())
            return std::nullopt;
        if (!wide)
            return in_.fixedText(*length);
        std::vector<std::uint16_t> units(*length);
        for (auto& unit : units)
            unit = in_.u16();
        return utf8FromUtf16(units);
    }

    platform::ByteReader& in_;
    globalVars& g_;
    bool ok_ = true;
};

// Settings of versions 3 and older that group E brought.
void setVersion3Defaults(globalVars& g) {
    g.ttlStaUnits = g.GPSUnits = g.levelUnits = g.dUnits;
    g.defaultRawEditor = 1;
    g.ALTARptOn = 0;
    g.relativeErrFileNm.clear();
    g.relativeErrFileOn = 0;
    g.altaPPM = 50;
    g.altaTolerance = 0.07;
}

// Settings of versions 0 and 1 that groups A and B brought.
void setVersion1Defaults(globalVars& g) {
    g.rodStErr = 0.01;
    g.HIStErr = 0.01;
    g.vStErrPoint = 3.0;
    g.vStErrRead = 3.0;
    g.includeSS = 0;
    g.includeGPSVectors = 0;
    g.includeRawData = 1;
    g.stErrGPSCentering = 0.0;
    g.stErrGPSMultFactor = 1.0;
}

// Settings of versions 0 to 2 that groups C, D and E brought, and those no
// archive holds.
void setVersion2Defaults(globalVars& g) {
    g.confidenceInterval = 95.0;
    g.includeClosure = 0;
    g.angleType = 0;
    g.PtSubstituteS.clear();
    g.pLevRawFileName.clear();
    g.includeLevData = 0;
    g.diffLevDistBSFS = 50.0;
    g.diffLevCollimation = 3.0;
    g.diffLevRodRead = 0.0001;
    g.geodeticModel = 0;
    g.geoidHt = 0.0;
    g.geoidModel = 0;
    g.geoidModelType = 1;
    g.gpsFileFmtType = 0;
    g.elevDispPrec = 2;
    g.vAngTol = 7.0 / angle::secondsPerRadian;
    g.asciiNEZType = 0;
    g.crdFileType = 1;
    setVersion3Defaults(g);
    g.levelFileFmtType = 0;
    g.Rw5GPSUnits = 0;
    g.useRw5GPSVectors = 0;
}

using G = globalVars;

void readHead(ArchiveFields& a) {
    a.text(&G::pInputFileName);
    a.text(&G::reportFileName);
    a.text(&G::controlNEFileName);
    a.text(&G::nullElev);
    a.text(&G::crdFileName);
    a.real(&G::convergeLimit);
    a.integer(&G::gridSystem);
    a.integer(&G::gridZone);
    for (auto member : {&G::SF, &G::projZ, &G::stErrDist, &G::stErrDistPPM, &G::stErrAz, &G::stErrX,
                        &G::stErrY, &G::stErrZ, &G::stErrPoint, &G::stErrRead,
                        &G::stErrTrgtCentering, &G::stErrInstrCentering})
        a.real(member);
    for (auto member : {&G::maxIterations, &G::neOutPrec, &G::zOutPrec, &G::useProjZ,
                        &G::vertAdjust, &G::horizAdjust, &G::directionType, &G::curvRefract,
                        &G::dUnits, &G::ZUnits, &G::NEDisplayType, &G::distPrec, &G::coordPrec,
                        &G::directionPrec, &G::supplamentalNE, &G::nezFileFmtType, &G::wrtToCrd})
        a.integer(member);
    a.real(&G::vDistTol);
    a.real(&G::hDistTol);
    a.real(&G::hAngTol);
    a.integer(&G::HorizUnits);
    a.integer(&G::version);
}

void readGroupsAB(ArchiveFields& a) {
    for (auto member : {&G::rodStErr, &G::HIStErr, &G::vStErrPoint, &G::vStErrRead})
        a.real(member);
    a.integer(&G::includeSS);
    a.text(&G::pGPSFileName);
    a.integer(&G::includeGPSVectors);
    a.integer(&G::includeRawData);
    a.real(&G::stErrGPSCentering);
    a.real(&G::stErrGPSMultFactor);
}

void readGroupC(ArchiveFields& a) {
    a.integer(&G::includeClosure);
    a.text(&G::pClosureFileName);
    a.real(&G::confidenceInterval);
    a.integer(&G::angleType);
    a.text(&G::PtSubstituteS);
    a.text(&G::pLevRawFileName);
    a.integer(&G::includeLevData);
    for (auto member : {&G::diffLevDistBSFS, &G::diffLevCollimation, &G::diffLevRodRead})
        a.real(member);
    a.integer(&G::geodeticModel);
    a.real(&G::geoidHt);
    for (auto member : {&G::geoidModel, &G::geoidModelType, &G::gpsFileFmtType, &G::elevDispPrec})
        a.integer(member);
    a.real(&G::vAngTol);
    a.integer(&G::asciiNEZType);
    a.integer(&G::crdFileType);
}

void readGroupD(ArchiveFields& a) {
    for (auto member : {&G::ttlStaUnits, &G::GPSUnits, &G::levelUnits})
        a.integer(member);
}

void readGroupE(ArchiveFields& a) {
    a.integer(&G::defaultRawEditor);
    a.integer(&G::ALTARptOn);
    a.text(&G::relativeErrFileNm);
    a.integer(&G::relativeErrFileOn);
    a.integer(&G::altaPPM);
    a.real(&G::altaTolerance);
    a.integer(&G::ellipsoid);
}

// The version-dependent part after the head.
void readVersionGroups(ArchiveFields& a, globalVars& g) {
    const int v = g.version;
    if (v >= 2 && v <= 5)
        readGroupsAB(a);
    if (v >= 3 && v <= 5)
        readGroupC(a);
    if (v >= 4 && v <= 5)
        readGroupD(a);
    if (v == 5)
        readGroupE(a);
    if (v <= 1)
        setVersion1Defaults(g);
    if (v <= 2)
        setVersion2Defaults(g);
    if (v == 3)
        setVersion3Defaults(g);
}

// The stream buffer throws where the system refuses a read; a device would
// never end: only a regular file is read, and a failed read is no archive.
std::optional<std::vector<std::uint8_t>> fileBytes(const std::string& path) {
    if (!platform::inputFileProblem(platform::pathFromText(path)).empty())
        return std::nullopt;
    std::ifstream file(platform::pathFromText(path), std::ios::binary);
    if (!file.is_open())
        return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
        if (file.bad())
            return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

// A file of another kind read as an archive yields garbage: the version must
// be one that archives had, and every field must lie within the file.
bool globalVars::Serialize(platform::ByteReader& archive) {
    globalVars loaded = *this;
    ArchiveFields fields(archive, loaded);
    readHead(fields);
    if (!fields.ok() || loaded.version < 0 || loaded.version > newestLegacyVersion)
        return false;
    readVersionGroups(fields, loaded);
    if (!fields.ok())
        return false;
    loaded.nezFileFmtType = renumberedControlFormat(loaded.nezFileFmtType);
    *this = loaded;
    return true;
}

// No run context reaches readLegacyProjectFile (also read outside any run): its interface has none,
// so the shell is the active one (the run installs its own for its length).
int globalVars::readLegacyProjectFile(const std::string& path) {
    std::vector<std::string> refusals;
    return readLegacyProjectFile(path, refusals);
}

int globalVars::readLegacyProjectFile(const std::string& path, std::vector<std::string>& refusals) {
    const globalVars held = *this;
    const auto bytes = fileBytes(path);
    if (!bytes) {
        activeShell().message(platform::withSystemReason("Unable to open " + path, errno),
                              MessageKind::ok);
        return 0;
    }
    platform::ByteReader archive(*bytes);
    if (Serialize(archive)) {
        for (const std::string& refused : restoreSettingsOutOfRange(*this, held))
            refusals.push_back("Project file " + path + ": " + refused);
        return 1;
    }
    activeShell().message("Unable to open " + path + ": it is not a project file", MessageKind::ok);
    return 0;
}

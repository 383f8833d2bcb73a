// The stand-in point-database library: each database is one file of our
// own format, read whole at open and written back (by temporary file and
// rename) after every change.
//
// File layout (little-endian): "TARNWELL PTVAULT" (16 bytes), kind u16
// (1 .mdb, 2 .zak), version u16 (1), point count u32, then per point: name
// length u16 and bytes, description length u16 and bytes, northing,
// easting, elevation (f64), number u32.

#include "ptvault/ptvault.hpp"

#include "platform/binary_io.hpp"
#include "platform/file_replace.hpp"
#include "platform/input_file.hpp"

#include <algorithm>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

constexpr std::string_view signature = "TARNWELL PTVAULT";
constexpr std::uint16_t formatVersion = 1;

namespace status {
constexpr int ok = 1;
constexpr int notFound = 0;
constexpr int noSuchPoint = -1;
constexpr int cannotWrite = -4;
constexpr int noDatabase = -5;
constexpr int cannotOpen = -12;
} // namespace status

enum class Kind : std::uint16_t { ldd = 1, zak = 2 };

struct Point {
    std::string name;
    std::string description;
    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0;
    std::uint32_t number = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Point-name order: names split into digit runs and single other
// characters; runs compare by value (then by length, so "007" follows
// "7"), characters without regard to case, a run as if it were '0'.
int compareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool runA = isDigit(a[i]);
        const bool runB = isDigit(b[j]);
        if (runA && runB) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            std::string_view x = a.substr(i, endA - i);
            std::string_view y = b.substr(j, endB - j);
            const std::size_t rawX = x.size();
            const std::size_t rawY = y.size();
            x.remove_prefix(std::min(x.find_first_not_of('0'), x.size()));
            y.remove_prefix(std::min(y.find_first_not_of('0'), y.size()));
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0)
                return c < 0 ? -1 : 1;
            if (rawX != rawY)
                return rawX < rawY ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const auto x = static_cast<unsigned char>(runA ? '0' : upper(a[i]));
        const auto y = static_cast<unsigned char>(runB ? '0' : upper(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

struct Database {
    Kind kind = Kind::ldd;
    std::string path;
    std::vector<Point> points; // in point-name order
    std::size_t cursor = 0;
};

std::map<std::int32_t, Database> databases;
std::int32_t nextHandle = 1;
std::string lastMessage;

const char* kindName(Kind kind) {
    return kind == Kind::ldd ? "Land Desktop (.mdb)" : "Plainview (.zak)";
}

// Only a regular file is read: the stream buffer throws on a folder, and a
// device would never end.
std::string fileContents(const std::string& path, bool& readable) {
    readable = false;
    if (!platform::inputFileProblem(path).empty())
        return {};
    std::ifstream in(path, std::ios::binary);
    try {
        std::string bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
        readable = !in.bad() && in.is_open();
        return bytes;
    } catch (const std::exception&) {
        return {};
    }
}

bool decode(const std::string& bytes, Kind kind, std::vector<Point>& points) {
    if (bytes.size() < signature.size() || bytes.compare(0, signature.size(), signature) != 0)
        return false;
    platform::ByteReader r(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    r.skip(signature.size());
    if (r.u16() != static_cast<std::uint16_t>(kind) || r.u16() != formatVersion)
        return false;
    const std::uint32_t count = r.u32();
    const auto text = [&r] {
        const std::uint16_t length = r.u16();
        std::string s;
        for (std::uint16_t k = 0; k < length && r.ok(); ++k)
            s += static_cast<char>(r.u8());
        return s;
    };
    for (std::uint32_t k = 0; k < count && r.ok(); ++k) {
        Point p;
        p.name = text();
        p.description = text();
        p.northing = r.f64();
        p.easting = r.f64();
        p.elevation = r.f64();
        p.number = r.u32();
        points.push_back(std::move(p));
    }
    return r.ok() && r.remaining() == 0;
}

bool save(const Database& db) {
    platform::ByteWriter w;
    w.fixedText(signature, signature.size());
    w.u16(static_cast<std::uint16_t>(db.kind));
    w.u16(formatVersion);
    w.u32(static_cast<std::uint32_t>(db.points.size()));
    for (const Point& p : db.points) {
        for (const std::string* s : {&p.name, &p.description}) {
            w.u16(static_cast<std::uint16_t>(s->size()));
            w.fixedText(*s, s->size());
        }
        w.f64(p.northing);
        w.f64(p.easting);
        w.f64(p.elevation);
        w.u32(p.number);
    }
    std::string error;
    const std::vector<std::uint8_t>& bytes = w.bytes();
    if (platform::replaceFile(
            db.path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            error))
        return true;
    lastMessage = "Could not write the point database " + db.path + ": " + error;
    return false;
}

// Names are taken without the blanks around them.
std::string cleanName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

void copyName(char* out, std::string_view name) {
    const std::size_t n = std::min<std::size_t>(name.size(), 255);
    std::memcpy(out, name.data(), n);
    out[n] = '\0';
}

int openDb(Kind kind, std::int32_t* handle, const char* path, int mode, char* highest,
           char* lowest) {
    lastMessage.clear();
    if (!handle || !path || !highest || !lowest)
        return status::noDatabase;
    Database db;
    db.kind = kind;
    db.path = path;
    if (mode == 1) {
        if (!save(db))
            return status::cannotOpen;
    } else {
        bool readable = false;
        const std::string bytes = fileContents(db.path, readable);
        if (!readable) {
            lastMessage = "Could not open the point database " + db.path + ".";
            return status::cannotOpen;
        }
        if (!decode(bytes, kind, db.points)) {
            lastMessage = db.path +
                          " is not a point database this system can read: " + kindName(kind) +
                          " files made by other programs cannot be opened here.";
            return status::cannotOpen;
        }
        std::stable_sort(db.points.begin(), db.points.end(), [](const Point& a, const Point& b) {
            return compareNames(a.name, b.name) < 0;
        });
    }
    copyName(lowest, db.points.empty() ? "" : db.points.front().name);
    copyName(highest, db.points.empty() ? "" : db.points.back().name);
    *handle = nextHandle++;
    databases[*handle] = std::move(db);
    return status::ok;
}

Database* find(const std::int32_t* handle) {
    if (!handle)
        return nullptr;
    const auto it = databases.find(*handle);
    return it == databases.end() ? nullptr : &it->second;
}

int closeDb(std::int32_t* handle) {
    if (find(handle)) {
        databases.erase(*handle);
        *handle = 0;
        return status::ok;
    }
    return status::noDatabase;
}

int pointCount(std::int32_t* handle) {
    const Database* db = find(handle);
    return db ? static_cast<int>(db->points.size()) : status::noDatabase;
}

// First position whose name is not below the name.
std::size_t lowerBound(const Database& db, std::string_view name) {
    return static_cast<std::size_t>(
        std::partition_point(db.points.begin(), db.points.end(),
                             [&](const Point& p) { return compareNames(p.name, name) < 0; }) -
        db.points.begin());
}

// Position of the point found for the name and direction, or none.
bool locate(const Database& db, std::string_view name, int direction, std::size_t& at) {
    const std::size_t lower = lowerBound(db, name);
    const bool exact = lower < db.points.size() && compareNames(db.points[lower].name, name) == 0;
    if (exact) {
        at = lower;
        return true;
    }
    if (direction > 0 && lower < db.points.size()) {
        at = lower;
        return true;
    }
    if (direction < 0 && lower > 0) {
        at = lower - 1;
        return true;
    }
    return false;
}

void toLdd(const Point& p, lddPoint& out) {
    std::memset(&out, 0, sizeof out);
    out.northing = p.northing;
    out.easting = p.easting;
    out.elevation = p.elevation;
    copyName(out.description, p.description);
    copyName(out.name, p.name);
    out.number = p.number;
}

template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

void toZak(const Point& p, ZakPoint& out) {
    out.northing = p.northing;
    out.easting = p.easting;
    out.elevation = p.elevation;
    setField(out.name, p.name);
    setField(out.description, p.description);
}

template <typename Record> void fill(const Point& p, Record& out) {
    if constexpr (std::is_same_v<Record, lddPoint>)
        toLdd(p, out);
    else
        toZak(p, out);
}

template <typename Record>
int findPoint(std::int32_t* handle, const char* name, int direction, Record** record) {
    Database* db = find(handle);
    if (!db || !name || !record || !*record)
        return status::notFound;
    std::size_t at = 0;
    if (!locate(*db, cleanName(name), direction, at))
        return status::notFound;
    db->cursor = at;
    fill(db->points[at], **record);
    return status::ok;
}

Point fromRecord(const lddPoint& r) {
    return Point{std::string(r.name, strnlen(r.name, sizeof r.name)),
                 std::string(r.description, strnlen(r.description, sizeof r.description)),
                 r.northing,
                 r.easting,
                 r.elevation,
                 r.number};
}

Point fromRecord(const ZakPoint& r) {
    return Point{std::string(r.name, strnlen(r.name, sizeof r.name)),
                 std::string(r.description, strnlen(r.description, sizeof r.description)),
                 r.northing,
                 r.easting,
                 r.elevation,
                 0};
}

template <typename Record> int writePoint(std::int32_t* handle, Record** record) {
    lastMessage.clear();
    Database* db = find(handle);
    if (!db)
        return status::noDatabase;
    if (!record || !*record)
        return status::notFound;
    Point p = fromRecord(**record);
    p.name = cleanName(p.name);
    if (p.name.empty())
        return status::notFound;
    const std::size_t at = lowerBound(*db, p.name);
    const std::vector<Point> before = db->points;
    if (at < db->points.size() && compareNames(db->points[at].name, p.name) == 0)
        db->points[at] = std::move(p);
    else
        db->points.insert(db->points.begin() + static_cast<std::ptrdiff_t>(at), std::move(p));
    if (save(*db)) {
        db->cursor = at;
        return status::ok;
    }
    db->points = before;
    return status::cannotWrite;
}

int removePoint(std::int32_t* handle, const char* name) {
    lastMessage.clear();
    Database* db = find(handle);
    if (!db)
        return status::noDatabase;
    std::size_t at = 0;
    if (!name || !locate(*db, cleanName(name), 0, at))
        return status::noSuchPoint;
    const std::vector<Point> before = db->points;
    db->points.erase(db->points.begin() + static_cast<std::ptrdiff_t>(at));
    if (save(*db))
        return status::ok;
    db->points = before;
    return status::cannotWrite;
}

int removePoints(std::int32_t* handle) {
    lastMessage.clear();
    Database* db = find(handle);
    if (!db)
        return status::noDatabase;
    const std::vector<Point> before = db->points;
    db->points.clear();
    if (save(*db))
        return status::ok;
    db->points = before;
    return status::cannotWrite;
}

int moveCursor(std::int32_t* handle, int step) {
    Database* db = find(handle);
    if (!db)
        return status::noDatabase;
    const long target = static_cast<long>(db->cursor) + step;
    if (target < 0 || target >= static_cast<long>(db->points.size()))
        return status::notFound;
    db->cursor = static_cast<std::size_t>(target);
    return status::ok;
}

template <typename Record> int readCurrent(std::int32_t* handle, Record** record) {
    Database* db = find(handle);
    if (!db)
        return status::noDatabase;
    if (!record || !*record || db->cursor >= db->points.size())
        return status::notFound;
    fill(db->points[db->cursor], **record);
    return status::ok;
}

} // namespace

int cf_dftl_open_ldd_db(std::int32_t* handle, const char* path, int mode, int, int,
                        char* highestName, char* lowestName) {
    return openDb(Kind::ldd, handle, path, mode, highestName, lowestName);
}
int cf_dftl_close_ldd_db(std::int32_t* handle) {
    return closeDb(handle);
}
int cf_dftl_get_number_points_ldd(std::int32_t* handle) {
    return pointCount(handle);
}
int cf_dftl_find_point_ldd(std::int32_t* handle, const char* name, int direction,
                           lddPoint** record) {
    return findPoint(handle, name, direction, record);
}
int cf_dftl_write_point_ldd(std::int32_t* handle, lddPoint** record, int) {
    return writePoint(handle, record);
}
int cf_dftl_remove_point_ldd(std::int32_t* handle, const char* name) {
    return removePoint(handle, name);
}
int cf_dftl_remove_points_ldd(std::int32_t* handle) {
    return removePoints(handle);
}
int cf_dftl_move_record_pointer_ldd(std::int32_t* handle, int step) {
    return moveCursor(handle, step);
}
int cf_dftl_read_current_pos_ldd(std::int32_t* handle, lddPoint** record) {
    return readCurrent(handle, record);
}

int cf_dftl_open_zak_db(std::int32_t* handle, const char* path, int mode, char* highestName,
                        char* lowestName) {
    return openDb(Kind::zak, handle, path, mode, highestName, lowestName);
}
int cf_dftl_close_zak_db(std::int32_t* handle) {
    return closeDb(handle);
}
int cf_dftl_get_number_points_zak(std::int32_t* handle) {
    return pointCount(handle);
}
int cf_dftl_find_point_zak(std::int32_t* handle, const char* name, int direction,
                           ZakPoint** record) {
    return findPoint(handle, name, direction, record);
}
int cf_dftl_write_point_zak(std::int32_t* handle, ZakPoint** record, int) {
    return writePoint(handle, record);
}
int cf_dftl_remove_point_zak(std::int32_t* handle, const char* name) {
    return removePoint(handle, name);
}
int cf_dftl_remove_points_zak(std::int32_t* handle) {
    return removePoints(handle);
}
int cf_dftl_move_record_pointer_zak(std::int32_t* handle, int step) {
    return moveCursor(handle, step);
}
int cf_dftl_read_current_pos_zak(std::int32_t* handle, ZakPoint** record) {
    return readCurrent(handle, record);
}

const char* cf_dftl_last_message() {
    return lastMessage.c_str();
}

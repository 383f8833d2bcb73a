#include "input/converters/field_book_xml_reader.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/xml_input.hpp"
#include "model/program_lists.hpp"
#include "model/raw_record.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr std::size_t foresightDescriptionMax = 100;

bool named(const pugi::xml_node& node, const char* name) {
    return isXmlElement(node, name);
}

bool isRecord(const pugi::xml_node& node) {
    return named(node, "PointRecord") || named(node, "StationRecord") ||
           named(node, "BackBearingRecord") || named(node, "TargetRecord");
}

// One field book held as a parsed document, with its records in document
// order.
class FieldBook : public XmlInput {
public:
    using XmlInput::XmlInput;

    bool load() {
        if (!XmlInput::load())
            return false;
        records_ = elements(isRecord);
        return true;
    }

    const std::vector<pugi::xml_node>& records() const { return records_; }

private:
    std::vector<pugi::xml_node> records_;
};

struct Circle {
    double reading = notComputed; // radians
    double zenith = notComputed;  // radians
    double distance = notComputed;
    bool complete() const { return isSet(reading) && isSet(zenith) && isSet(distance); }
};

// The circle of a point record; false after a value that is not a number.
bool readCircle(FieldBook& book, const pugi::xml_node& point, Circle& circle) {
    const pugi::xml_node node = point.child("Circle");
    if (!book.number(node, "HorizontalCircle", circle.reading) ||
        !book.number(node, "VerticalCircle", circle.zenith) ||
        !book.number(node, "EDMDistance", circle.distance))
        return false;
    if (isSet(circle.reading))
        circle.reading *= radiansPerDegree;
    if (isSet(circle.zenith))
        circle.zenith *= radiansPerDegree;
    return true;
}

bool isControlMethod(const std::optional<std::string>& method) {
    return method && (*method == "CopiedPoint" || *method == "FromBase");
}

// Step 1: a point record as a coordinate record, when it is control.
bool readXmlControlPoint(FieldBook& book, const pugi::xml_node& point) {
    const auto name = FieldBook::text(point, "Name");
    const auto code = FieldBook::text(point, "Code");
    const auto deleted = FieldBook::text(point, "Deleted");
    pugi::xml_node grid = point.child("Grid");
    if (!grid)
        grid = point.child("ComputedGrid");
    if (!name || !code || !grid || deleted != "false" ||
        !isControlMethod(FieldBook::text(point, "Method")))
        return true;
    rawRec r;
    initRawCoord(r);
    if (!book.number(grid, "North", r.northing) || !book.number(grid, "East", r.easting) ||
        !book.number(grid, "Elevation", r.elevation))
        return false;
    if (!isSet(r.northing) || !isSet(r.easting))
        return true;
    setPointName(r.pointName, *name);
    setFixedText(r.description, *code);
    tsConvertRawList.append(r);
    return true;
}

bool readXmlControlPoints(FieldBook& book) {
    for (const pugi::xml_node& record : book.records()) {
        if (named(record, "PointRecord") && !readXmlControlPoint(book, record))
            return false;
    }
    return true;
}

// Where the station and foresight passes stand.
struct Walk {
    std::size_t next = 0;      // index of the next record
    double targetHeight = 0.0; // the current target height
};

bool readTargetRecord(FieldBook& book, const pugi::xml_node& record, Walk& walk) {
    return book.number(record, "TargetHeight", walk.targetHeight);
}

// Step 2: the setup of the station record at `walk.next`, stored at its
// backsight observation.
bool readXmlStationSetup(FieldBook& book, Walk& walk) {
    const std::vector<pugi::xml_node>& records = book.records();
    const pugi::xml_node station = records[walk.next++];
    rawRec setup;
    initRawSetup(setup);
    const auto stationName = FieldBook::text(station, "StationName");
    if (!stationName || stationName->empty())
        return book.failAt(station, "station record without a station name");
    setPointName(setup.stationName, *stationName);
    if (!book.number(station, "TheodoliteHeight", setup.instrumentHeight))
        return false;
    for (; walk.next < records.size(); ++walk.next) {
        const pugi::xml_node record = records[walk.next];
        if (named(record, "StationRecord"))
            break;
        if (named(record, "BackBearingRecord")) {
            setPointName(setup.backsightName, FieldBook::text(record, "BackSight").value_or(""));
        } else if (named(record, "TargetRecord")) {
            if (!readTargetRecord(book, record, walk))
                return false;
        } else if (FieldBook::text(record, "Classification") == "BackSight") {
            Circle circle;
            if (!readCircle(book, record, circle))
                return false;
            if (!circle.complete())
                continue;
            if (fixedText(setup.backsightName).empty())
                return book.failAt(station,
                                   "station " + *stationName + " without a backsight point");
            setup.bsHorizontalReading = circle.reading;
            setup.zenithOrVertDiff = circle.zenith;
            setup.distance = circle.distance;
            setup.bsTargetHeight = walk.targetHeight;
            tsConvertRawList.append(setup);
            ++walk.next;
            return true;
        }
    }
    return book.failAt(station, "station " + *stationName + " without a backsight observation");
}

bool readXmlForesight(FieldBook& book, const pugi::xml_node& point, const Walk& walk) {
    const auto name = FieldBook::text(point, "Name");
    const auto code = FieldBook::text(point, "Code");
    Circle circle;
    if (!readCircle(book, point, circle))
        return false;
    if (!name || !code || !circle.complete() || FieldBook::text(point, "Method") != "DirectReading")
        return true;
    rawRec r;
    initRawForesight(r);
    setPointName(r.foresightName, *name);
    r.targetHeight = walk.targetHeight;
    r.horizontalReading = circle.reading;
    r.zenithOrVertDiff = circle.zenith;
    r.distance = circle.distance;
    setFixedText(r.description, std::string_view(*code).substr(0, foresightDescriptionMax));
    tsConvertRawList.append(r);
    return true;
}

// Step 3: the foresights up to the next station record.
bool readXmlForesights(FieldBook& book, Walk& walk) {
    const std::vector<pugi::xml_node>& records = book.records();
    for (; walk.next < records.size(); ++walk.next) {
        const pugi::xml_node record = records[walk.next];
        if (named(record, "StationRecord"))
            return true;
        if (named(record, "TargetRecord") && !readTargetRecord(book, record, walk))
            return false;
        if (named(record, "PointRecord") && !readXmlForesight(book, record, walk))
            return false;
    }
    return true;
}

bool readXmlStations(FieldBook& book) {
    const std::vector<pugi::xml_node>& records = book.records();
    Walk walk;
    while (walk.next < records.size() && !named(records[walk.next], "StationRecord"))
        ++walk.next;
    while (walk.next < records.size()) {
        if (!readXmlStationSetup(book, walk) || !readXmlForesights(book, walk))
            return false;
    }
    return true;
}

} // namespace

std::string readFieldBookXml(const std::string& path) {
    FieldBook book(path);
    if (!book.load() || !readXmlControlPoints(book) || !readXmlStations(book))
        return book.fault();
    return {};
}

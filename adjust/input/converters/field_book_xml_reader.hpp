#pragma once
// The XML field-book job file of a data collector, parsed as a whole
// document. Elements are recognised by their tag names:
// - "PointRecord": "Name", "Code", "Method", "Deleted", "Classification",
//   a "Grid" or "ComputedGrid" ("North", "East", "Elevation") and a
//   "Circle" ("HorizontalCircle", "VerticalCircle" in decimal degrees,
//   "EDMDistance");
// - "StationRecord": "StationName", "TheodoliteHeight";
// - "BackBearingRecord": "BackSight";
// - "TargetRecord": "TargetHeight".
// The records are taken in document order, at any depth; the values of a
// record are its child elements. Names are taken as written.

#include <string>

// Reads the field book at `path` into `tsConvertRawList`:
// 1. every point record whose "Method" is "CopiedPoint" or "FromBase", whose
//    "Deleted" is "false" and that has a name, a code and grid North and
//    East becomes a coordinate record (the code as its description; the
//    elevation may be absent);
// 2. from each station record on, a setup (station, HI, the backsight of the
//    back-bearing record, the current target height) is stored at its
//    backsight observation: the first point record classified "BackSight"
//    with reading, zenith and distance;
// 3. after it, until the next station record, each point record with a
//    name, a code, a full circle and "Method" "DirectReading" becomes a
//    foresight with the current target height (set by each target record,
//    0 at the start) and the code as its description.
// Returns an empty text, or the first fault naming `path` and the line:
// malformed XML, a value that is not a number, a station without a name or
// backsight point, or a station whose backsight observation never comes.
std::string readFieldBookXml(const std::string& path);

#include "ptbank/crd_file_type.hpp"

namespace ptbank {
namespace {

struct TypeRow {
    const char* name;
    const char* extension;
};

constexpr TypeRow typeTable[] = {
    {"Velmora Numeric", "crd"},       {"Velmora Alphanumeric", "crd"}, {"Unrecognized", ""},
    {"V and K Alphanumeric", "vkc"},  {"V and K Numeric", "crd"},      {"Plainview", "zak"},
    {"Autodesk Land Desktop", "mdb"}, {"AutoDesk Civil 3D", "dwg"},
};

struct Settings {
    int defaultType = crd_type::alphanumeric;
    bool defaultTypeSet = false;
    int userType = crd_type::alphanumeric;
    int descLength = -1;
};

Settings& settings() {
    static Settings s;
    return s;
}

bool knownType(int type) {
    return type >= 0 && type < static_cast<int>(std::size(typeTable));
}

} // namespace

std::string crdTypeName(int type) {
    return knownType(type) ? typeTable[type].name : "Unrecognized";
}

std::string crdTypeExtension(int type) {
    return knownType(type) ? typeTable[type].extension : "";
}

int defaultCrdType() {
    return settings().defaultTypeSet ? settings().defaultType : crd_type::alphanumeric;
}

void setDefaultCrdType(int type) {
    settings().defaultType = type;
    settings().defaultTypeSet = type != crd_type::alphanumeric;
}

int currentUserType() {
    return settings().userType;
}

void setCurrentUserType(int type) {
    settings().userType = type;
}

int newFileDescLen() {
    return settings().descLength;
}

void setNewFileDescLen(int length) {
    settings().descLength = (length >= 1 && length <= 99) ? length : 100;
}

int historyDefault() {
    return 0;
}

void resetCrdSettings() {
    settings() = Settings{};
}

} // namespace ptbank

#include "shell/settings/std_err_fields.hpp"

#include "model/settings/settings_units.hpp"

const std::array<StdErrField, stdErrFieldCount>& stdErrFields() {
    using G = globalVars;
    using S = stdErrRec;
    static const std::array<StdErrField, stdErrFieldCount> fields = {{
        {1032, "Constant:", &G::stErrDist, &S::SEDistCnstn, false},
        {1026, "ppm:", &G::stErrDistPPM, &S::SEDistPPM, false},
        {1027, "Horiz. Pointing:", &G::stErrPoint, &S::SEHAngPoint, true},
        {1009, "Reading:", &G::stErrRead, &S::SEHAngRead, true},
        {1037, "Vertical Pointing:", &G::vStErrPoint, &S::SEVAngPoint, true},
        {1038, "Reading:", &G::vStErrRead, &S::SEVAngRead, true},
        {1035, "Target Centering:", &G::stErrTrgtCentering, &S::SETSTrgtCntr, false},
        {1036, "Instr. Centering:", &G::stErrInstrCentering, &S::SETSInstCntr, false},
        {1039, "Target Hght.:", &G::rodStErr, &S::SETrgtHght, false},
        {1040, "Instr. Hght:", &G::HIStErr, &S::SEInstHght, false},
        {1028, "Direction (sec.):", &G::stErrAz, &S::SEAz, true},
        {1029, "North:", &G::stErrY, &S::SENorth, false},
        {1030, "East:", &G::stErrX, &S::SEEast, false},
        {1031, "Elev.:", &G::stErrZ, &S::SEElev, false},
        {1154, "Avg. Dist. to BS/FS:", &G::diffLevDistBSFS, &S::AvgDistToBS, false},
        {1155, "Rod Reading Error per 100 ft./m.:", &G::diffLevRodRead, &S::SELevelRodRead, false},
        {1156, "Collimation Error (sec.):", &G::diffLevCollimation, &S::SECollimation, true},
        {1045, "Instrument Centering:", &G::stErrGPSCentering, &S::GPSInstCntr, false},
        {1046, "Vector Std. Err. Factor:", &G::stErrGPSMultFactor, &S::VectorSEFactor, false},
    }};
    return fields;
}

void stdErrsFromRecord(const stdErrRec& record, int angleType, globalVars& shown) {
    for (const StdErrField& field : stdErrFields()) {
        const double value = record.*field.sefValue;
        shown.*field.setting = field.angular ? shownAngularError(value, angleType) : value;
    }
}

void stdErrsToRecord(const globalVars& shown, int angleType, stdErrRec& record) {
    for (const StdErrField& field : stdErrFields()) {
        const double value = shown.*field.setting;
        record.*field.sefValue = field.angular ? angularErrorSeconds(value, angleType) : value;
    }
}

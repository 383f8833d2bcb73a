// The point-overwrite question of the exported interface: the same point
// is answered "overwrite" without asking, anything else goes to the host
// program's question, and a host without windows keeps the stored point.

#include "scripted_crd_ui.hpp"
#include "vk_crd_api_support.hpp"

#include "ptbank/crd_overwrite_rec.h"

#include <cstdlib>
#include <cstring>

namespace {

using crdtest::pointRec;

crdOverwriteRec requestFor(const crdPointRec& current, const crdPointRec& proposed) {
    crdOverwriteRec r{};
    resetOverwriteRec(&r);
    r.current = current;
    r.proposed = proposed;
    return r;
}

TEST(OverwritePoint, TheSamePointIsOverwrittenWithoutAQuestionAndOthersAreAsked) {
    struct Row {
        const char* what;
        crdPointRec current;
        crdPointRec proposed;
        bool asked;
    };
    const Row rows[] = {
        {"identical", pointRec("7", 100.0, 200.0, 5.0, "fence", "IP"),
         pointRec("7", 100.0, 200.0, 5.0, "fence", "IP"), false},
        {"coordinates 1e-12 apart", pointRec("7", 0.0, 0.0, 0.0),
         pointRec("7", 1e-12, -1e-12, 1e-12), false},
        {"blanks around description and code", pointRec("7", 1.0, 2.0, 3.0, "  fence   ", " IP  "),
         pointRec("7", 1.0, 2.0, 3.0, "fence", "IP"), false},
        {"northing exactly 1e-11 apart", pointRec("7", 0.0, 0.0), pointRec("7", 1e-11, 0.0), true},
        {"easting apart", pointRec("7", 1.0, 2.0), pointRec("7", 1.0, 2.001), true},
        {"elevation added", pointRec("7", 1.0, 2.0), pointRec("7", 1.0, 2.0, 3.0), true},
        {"description differs in case", pointRec("7", 1.0, 2.0, 3.0, "Fence"),
         pointRec("7", 1.0, 2.0, 3.0, "fence"), true},
        {"code differs", pointRec("7", 1.0, 2.0, 3.0, "", "IP"),
         pointRec("7", 1.0, 2.0, 3.0, "", "CP"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        crdtest::ScriptedUi ui;
        ui.answers = {VKCRD_ANSWER_KEEP_ALL};
        crdOverwriteRec r = requestFor(row.current, row.proposed);
        int parent = 0;
        const int answer = VkCrdApi_overwrite_point(&r, &parent);
        EXPECT_EQ(answer, row.asked ? 184 : 181);
        ASSERT_EQ(ui.questions.size(), row.asked ? 1u : 0u);
        if (row.asked) {
            EXPECT_EQ(ui.parents[0], &parent);
            EXPECT_STREQ(ui.questions[0].proposed.name, "7");
        }
    }
}

TEST(OverwritePoint, AHostWithoutWindowsKeepsTheStoredPoint) {
    crdOverwriteRec r = requestFor(pointRec("7", 1.0, 2.0), pointRec("7", 3.0, 4.0));
    EXPECT_EQ(VkCrdApi_overwrite_point(&r, nullptr), -1);
    EXPECT_EQ(VkCrdApi_overwrite_point(nullptr, nullptr), -1);
}

TEST(OverwritePoint, ResetFreesTheNamesAndSetsTheQuestionsDefaults) {
    crdOverwriteRec r;
    std::memset(&r, 0x5a, sizeof r);
    r.pointNameCount = 2;
    r.pointNames = static_cast<char**>(std::malloc(2 * sizeof(char*)));
    r.pointNames[0] = strdup("1-10");
    r.pointNames[1] = strdup("20-30");
    resetOverwriteRec(&r); // the leak checker sees the names go
    EXPECT_EQ(r.pointNames, nullptr);
    EXPECT_EQ(r.pointNameCount, 0);
    EXPECT_EQ(r.handle, 65535);
    EXPECT_EQ(r.northingFirst, 1);
    EXPECT_EQ(r.showDoNotAsk, 1);
    EXPECT_EQ(r.useRegistry, 1);
    EXPECT_EQ(r.coordDecimals, 5);
    EXPECT_EQ(r.elevDecimals, 3);
    for (int flag : {r.codeEditable, r.descEditable, r.doNotAskAgain, r.elevEditable,
                     r.overwriteChosen, r.editMask})
        EXPECT_EQ(flag, 0);
    EXPECT_STREQ(r.title, "");
    EXPECT_STREQ(r.appKey, "");
    EXPECT_STREQ(r.positionFile, "");
    EXPECT_STREQ(r.current.name, "");
    EXPECT_EQ(r.proposed.northing, 0.0);
}

} // namespace

// The window registry: ids, reuse of an open window, captions and failures,
// driven through frames that stand in for the toolkit's windows.

#include "graph_project.hpp"

#include "vistra/window_registry.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using graphtest::GraphProject;

namespace {

class FakeFrame;

// Makes fake frames and keeps the open ones, as the window system would.
class FakeMaker : public GraphFrameMaker {
public:
    std::unique_ptr<GraphFrame> makeFrame(const GraphFrameRequest& request) override;

    GraphWindowRegistry* registry = nullptr;
    RecordingShell shell;
    bool constructionFails = false;
    bool creationFails = false;
    std::vector<FakeFrame*> open;

    // The user closes the window.
    void close(FakeFrame* frame);
};

class FakeFrame : public GraphFrame {
public:
    FakeFrame(FakeMaker& maker, const GraphFrameRequest& request)
        : maker_(maker), state_(request.rawFileList, request.option, request.id, request.ellipses,
                                request.ellipseCount, request.ownerCookie, maker.shell) {}
    ~FakeFrame() override { maker_.registry->windowClosed(state_.id()); }

    GraphWindowState& state() override { return state_; }
    bool createWindow(void* parent) override {
        if (maker_.creationFails)
            return false;
        this->parent = parent;
        maker_.open.push_back(this);
        return true;
    }
    void setCaption(const std::string& text) override { caption = text; }
    void bringToTop() override { ++raised; }
    void refreshPicture() override {
        ++refreshes;
        state_.rebuild();
    }
    void* windowHandle() override { return this; }

    std::string caption;
    void* parent = nullptr;
    int raised = 0;
    int refreshes = 0;

private:
    FakeMaker& maker_;
    GraphWindowState state_;
};

std::unique_ptr<GraphFrame> FakeMaker::makeFrame(const GraphFrameRequest& request) {
    if (constructionFails)
        return nullptr;
    return std::make_unique<FakeFrame>(*this, request);
}

void FakeMaker::close(FakeFrame* frame) {
    std::erase(open, frame);
    delete frame;
}

errEllipseRec ellipse(const char* name, double semiMajor) {
    errEllipseRec e;
    std::strncpy(e.name, name, sizeof e.name - 1);
    e.semiMajor = semiMajor;
    e.semiMinor = semiMajor / 2;
    e.orientation = 0.5;
    return e;
}

class WindowRegistry : public ::testing::Test {
protected:
    WindowRegistry() : registry(maker, projectVars) {
        maker.registry = &registry;
        caller.pInputFileName = "first.vkr\nsecond.vkr\n";
        caller.includeRawData = 0; // the model has nothing to read
    }
    ~WindowRegistry() override {
        while (!maker.open.empty())
            maker.close(maker.open.back());
    }

    int show(std::uint16_t& id, const errEllipseRec* ellipses = nullptr, int count = 0) {
        return registry.showWithSettings(&id, &callerResources, &parentWindow, caller, 1, ellipses,
                                         count);
    }

    GraphProject project;
    FakeMaker maker;
    GraphWindowRegistry registry;
    globalVars caller;
    int callerResources = 0;
    int parentWindow = 0;
};

constexpr std::uint16_t noWindow = 0xFFFF;

} // namespace

TEST_F(WindowRegistry, IdsCountFromZeroAndAreNeverReused) {
    std::uint16_t first = noWindow;
    std::uint16_t second = noWindow;
    ASSERT_EQ(show(first), 1);
    ASSERT_EQ(show(second), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(registry.isWindowOpen(0), 1);
    maker.close(maker.open.front());
    EXPECT_EQ(registry.isWindowOpen(0), 0);
    EXPECT_EQ(registry.isWindowOpen(1), 1);
    // The closed window's id makes a new window with a new id.
    ASSERT_EQ(show(first), 1);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(maker.open.size(), 2u);
    EXPECT_EQ(maker.open.back()->parent, &parentWindow);
}

TEST_F(WindowRegistry, AnOpenWindowKeepsItsFilesAndTakesTheNewEllipses) {
    std::uint16_t id = noWindow;
    ASSERT_EQ(show(id), 1);
    FakeFrame* frame = maker.open.front();
    caller.pInputFileName = "other.vkr\n";
    caller.confidenceInterval = 99.0;
    const errEllipseRec after[] = {ellipse("A", 0.02), ellipse("B", 0.03)};
    ASSERT_EQ(show(id, after, 2), 1);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(maker.open.size(), 1u);
    EXPECT_EQ(frame->refreshes, 1);
    EXPECT_EQ(frame->raised, 2);
    EXPECT_EQ(frame->state().rawFileList(), "first.vkr\nsecond.vkr\n");
    EXPECT_EQ(projectVars.pInputFileName, "first.vkr\nsecond.vkr\n");
    EXPECT_EQ(projectVars.confidenceInterval, 99.0) << "the other settings are taken over";
    EXPECT_EQ(frame->caption, "Network Graphics: first.vkr");
    ASSERT_EQ(frame->state().ellipses().size(), 2u);
    EXPECT_STREQ(frame->state().ellipses()[1].name, "B");
}

// The main program frees or refills its ellipse array in every run; the
// window draws from its own copy.
TEST_F(WindowRegistry, TheWindowKeepsItsOwnCopyOfTheEllipses) {
    std::uint16_t id = noWindow;
    auto callers = std::make_unique<errEllipseRec[]>(2);
    callers[0] = ellipse("P1", 0.011);
    callers[1] = ellipse("P2", 0.012);
    ASSERT_EQ(show(id, callers.get(), 2), 1);
    callers[0] = ellipse("Q9", 9.0);
    callers.reset();
    const auto& kept = maker.open.front()->state().ellipses();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_STREQ(kept[0].name, "P1");
    EXPECT_EQ(kept[0].semiMajor, 0.011);
    EXPECT_EQ(kept[1].semiMinor, 0.006);
    ASSERT_EQ(show(id, nullptr, 0), 1);
    EXPECT_TRUE(maker.open.front()->state().ellipses().empty()) << "no array, no ellipses";
}

TEST_F(WindowRegistry, TheCaptionNamesTheFirstRawFile) {
    struct Case {
        const char* list;
        const char* withSettings;
        const char* withFileList;
    };
    const Case cases[] = {{"a.vkr\nb.vkr\n", "Network Graphics: a.vkr", "Network Graphics: a.vkr"},
                          {"single.vkr", "Network Graphics: ", "Network Graphics: single.vkr"},
                          {"", "Network Graphics: ", "Network Graphics: "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        caller.pInputFileName = c.list;
        std::uint16_t id = noWindow;
        ASSERT_EQ(show(id), 1);
        EXPECT_EQ(maker.open.back()->caption, c.withSettings);
        std::uint16_t other = noWindow;
        void* handle = registry.showWithFileList(&other, &callerResources, &parentWindow, 7, c.list,
                                                 1, nullptr, 0);
        ASSERT_EQ(handle, maker.open.back());
        EXPECT_EQ(maker.open.back()->caption, c.withFileList);
        EXPECT_EQ(maker.open.back()->state().ownerCookie(), 7);
        EXPECT_EQ(maker.open.back()->raised, 0);
    }
}

TEST_F(WindowRegistry, AWindowThatCannotBeMadeLeavesNothingBehind) {
    for (const bool construction : {true, false}) {
        SCOPED_TRACE(construction ? "construction fails" : "window creation fails");
        maker.constructionFails = construction;
        maker.creationFails = !construction;
        std::uint16_t id = noWindow;
        EXPECT_EQ(show(id), 0);
        EXPECT_EQ(id, noWindow);
        EXPECT_EQ(registry.isWindowOpen(0), 0);
        EXPECT_EQ(registry.nextGraphWindowId(), 0);
        EXPECT_EQ(registry.showWithFileList(&id, &callerResources, &parentWindow, 0, "a.vkr\n", 1,
                                            nullptr, 0),
                  nullptr);
    }
    maker.constructionFails = maker.creationFails = false;
    std::uint16_t id = noWindow;
    ASSERT_EQ(show(id), 1);
    EXPECT_EQ(id, 0) << "a failed window uses up no id";
}

// Without settings the library goes on with what the last hand-over left.
TEST_F(WindowRegistry, TheFileListCallTakesNoSettings) {
    std::uint16_t id = noWindow;
    caller.confidenceInterval = 68.0;
    ASSERT_EQ(show(id), 1);
    std::uint16_t other = noWindow;
    ASSERT_NE(registry.showWithFileList(&other, &callerResources, &parentWindow, 0, "x.vkr\n", 1,
                                        nullptr, 0),
              nullptr);
    EXPECT_EQ(other, 1);
    EXPECT_EQ(projectVars.confidenceInterval, 68.0);
    EXPECT_EQ(projectVars.pInputFileName, "x.vkr\n");
}

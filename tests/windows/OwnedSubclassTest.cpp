// A window subclass that owns state: it sees the window's messages with its state, and the state is
// freed when the window is destroyed or the subclass is taken off, and never twice.
#include <gtest/gtest.h>

#include <memory>

#include "platform/OwnedSubclass.h"

namespace vellicot {
namespace {

constexpr UINT kProbe = WM_APP + 7;

struct Counts {
    int probes = 0;
    int freed = 0;
};

struct ProbeState {
    explicit ProbeState(Counts& counts) : counts(counts) {}
    ~ProbeState() { ++counts.freed; }
    Counts& counts;
};

LRESULT ProbeMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, ProbeState& state) {
    if (msg == kProbe) {
        ++state.counts.probes;
        return 42;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

constexpr wchar_t kProbeProp[] = L"Vellicot.OwnedSubclassTest";
using ProbeSubclass = OwnedSubclass<ProbeState, kProbeProp, &ProbeMessage>;

// A system control: the subclass serves windows that are not our own as well.
HWND MakeStatic() {
    return CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                           nullptr);
}

TEST(OwnedSubclassTest, StateSeesTheMessagesAndIsFreedWithTheWindow) {
    Counts counts;
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ProbeSubclass::Find(window), nullptr);
    ASSERT_TRUE(ProbeSubclass::Attach(window, std::make_unique<ProbeState>(counts)));
    ASSERT_NE(ProbeSubclass::Find(window), nullptr);
    EXPECT_EQ(&ProbeSubclass::Find(window)->counts, &counts);

    EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 42);
    EXPECT_EQ(counts.probes, 1);
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"probe") << "other messages reach the control";

    DestroyWindow(window);
    EXPECT_EQ(counts.freed, 1);
    EXPECT_EQ(GetPropW(window, kProbeProp), nullptr);
}

TEST(OwnedSubclassTest, RemoveFreesTheStateAndTheWindowGoesOnWithoutIt) {
    Counts counts;
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ProbeSubclass::Attach(window, std::make_unique<ProbeState>(counts)));
    ProbeSubclass::Remove(window);
    EXPECT_EQ(counts.freed, 1);
    EXPECT_EQ(ProbeSubclass::Find(window), nullptr);
    EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 0) << "the subclass is off";
    EXPECT_EQ(counts.probes, 0);
    ProbeSubclass::Remove(window);  // nothing left to take off
    DestroyWindow(window);
    EXPECT_EQ(counts.freed, 1) << "freed once";
}

TEST(OwnedSubclassTest, NoWindowFreesTheState) {
    Counts counts;
    EXPECT_FALSE(ProbeSubclass::Attach(nullptr, std::make_unique<ProbeState>(counts)));
    EXPECT_EQ(counts.freed, 1);
}

}  // namespace
}  // namespace vellicot

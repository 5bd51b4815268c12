// The glass button's properties, repaints, pointer and keyboard handling, driven by real input and
// by messages under a parent window on the screen.
#include <gtest/gtest.h>

#include <optional>

#include "GlassTestSupport.h"

#include <commctrl.h>

namespace vellicot::test {
namespace {

constexpr POINT kFarAway{700, 700};

class GlassButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        MoveCursorTo(kFarAway);
        parent.Create();
        button.SetCaption(L"上４");
        button.Create(parent.Handle(), 7, 40, 30, 40, 40);
        SetForegroundWindow(parent.Handle());
        UpdateWindow(parent.Handle());
        Pump(30);
        button.events.clear();
    }

    // Lets the button paint what is pending, then reports whether a setter left it invalid.
    void Settle() {
        UpdateWindow(button.Handle());
        ASSERT_FALSE(Invalidated(button.Handle()));
    }

    POINT Centre() const { return ScreenCentreOf(button.Handle()); }

    GlassTestParent parent;
    RecordingButton button;
};

TEST_F(GlassButtonTest, IsAChildWindowWhoseTextIsTheCaption) {
    wchar_t className[64]{};
    GetClassNameW(button.Handle(), className, 64);
    EXPECT_STREQ(className, L"TGlassButton");
    EXPECT_EQ(GetParent(button.Handle()), parent.Handle());
    EXPECT_EQ(GetDlgCtrlID(button.Handle()), 7);
    LONG_PTR style = GetWindowLongPtrW(button.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_EQ(button.Left(), 40);
    EXPECT_EQ(button.Top(), 30);
    EXPECT_EQ(button.Width(), 40);
    EXPECT_EQ(button.Height(), 40);

    wchar_t text[32]{};
    GetWindowTextW(button.Handle(), text, 32);
    EXPECT_STREQ(text, L"上４");
    button.SetCaption(L"慈悲\r\n上４");
    GetWindowTextW(button.Handle(), text, 32);
    EXPECT_STREQ(text, L"慈悲\r\n上４");
    SetWindowTextW(button.Handle(), L"外から");
    EXPECT_EQ(button.Caption(), L"外から");

    button.SetBounds(10, 12, 75, 40);
    EXPECT_EQ(button.Left(), 10);
    EXPECT_EQ(button.Width(), 75);
    MoveWindow(button.Handle(), 20, 22, 71, 26, TRUE);
    EXPECT_EQ(button.Top(), 22);
    EXPECT_EQ(button.Height(), 26);
}

TEST_F(GlassButtonTest, SettersRepaintOnceOnARealChangeAndNeverOnTheSameValue) {
    struct Setter {
        const char* name;
        std::function<void()> same;
        std::function<void()> different;
    };
    TCustomGlassButton& b = button;
    const Setter setters[] = {
        {"BackColor", [&] { b.SetBackColor(b.BackColor()); }, [&] { b.SetBackColor(0x123456); }},
        {"InnerBorderColor", [&] { b.SetInnerBorderColor(b.InnerBorderColor()); },
         [&] { b.SetInnerBorderColor(0x0000FF); }},
        {"OuterBorderColor", [&] { b.SetOuterBorderColor(b.OuterBorderColor()); },
         [&] { b.SetOuterBorderColor(0x9314FF); }},
        {"ShineColor", [&] { b.SetShineColor(b.ShineColor()); }, [&] { b.SetShineColor(0x00FFFF); }},
        {"GlowColor", [&] { b.SetGlowColor(b.GlowColor()); }, [&] { b.SetGlowColor(0x00FF00); }},
        {"ForeColor", [&] { b.SetForeColor(b.ForeColor()); }, [&] { b.SetForeColor(0x000000); }},
        {"CornerRadius", [&] { b.SetCornerRadius(b.CornerRadius()); }, [&] { b.SetCornerRadius(6); }},
        {"ForceTransparent", [&] { b.SetForceTransparent(b.ForceTransparent()); },
         [&] { b.SetForceTransparent(true); }},
        {"ShowCaption", [&] { b.SetShowCaption(b.ShowCaption()); }, [&] { b.SetShowCaption(false); }},
        {"ShowFocusRect", [&] { b.SetShowFocusRect(b.ShowFocusRect()); }, [&] { b.SetShowFocusRect(true); }},
        {"AntiAlias", [&] { b.SetAntiAlias(b.AntiAlias()); }, [&] { b.SetAntiAlias(TAntiAlias::aaNone); }},
        {"Caption", [&] { b.SetCaption(std::wstring(b.Caption())); }, [&] { b.SetCaption(L"下１"); }},
        {"Font", [&] { b.SetFont(GlassFont(b.Font())); },
         [&] {
             GlassFont f = b.Font();
             f.italic = true;
             b.SetFont(f);
         }},
        {"FontBold", [&] { b.SetFontBold(b.Font().bold); }, [&] { b.SetFontBold(!b.Font().bold); }},
        {"FontSize", [&] { b.SetFontSize(b.Font().Size()); }, [&] { b.SetFontSize(10); }},
        {"FontColor", [&] { b.SetFontColor(b.Font().colour); }, [&] { b.SetFontColor(0x808080); }},
        {"Enabled", [&] { b.SetEnabled(b.Enabled()); }, [&] { b.SetEnabled(false); }},
        {"TabStop", [&] { b.SetTabStop(b.TabStop()); }, [&] { b.SetTabStop(false); }},
    };
    for (const Setter& setter : setters) {
        SCOPED_TRACE(setter.name);
        Settle();
        int draws = button.draws;
        setter.same();
        EXPECT_FALSE(Invalidated(button.Handle()));
        setter.different();
        EXPECT_TRUE(Invalidated(button.Handle()));
        setter.different();  // the new value again: no second repaint
        UpdateWindow(button.Handle());
        EXPECT_EQ(button.draws, draws + 1);
        setter.same();
        EXPECT_FALSE(Invalidated(button.Handle()));
    }
}

TEST_F(GlassButtonTest, NegativeCornerRadiusChangesNothing) {
    Settle();
    button.SetCornerRadius(-3);
    EXPECT_EQ(button.CornerRadius(), 4);
    EXPECT_FALSE(Invalidated(button.Handle()));
    button.SetCornerRadius(0);
    EXPECT_EQ(button.CornerRadius(), 0);
    EXPECT_TRUE(Invalidated(button.Handle()));
}

TEST_F(GlassButtonTest, OnlyCaptionToEmptyAndBackShowsANewPictureBeneath) {
    Settle();
    // The square beneath the button changes colour without the button being told.
    parent.markerRect = {45, 35, 75, 65};
    parent.marker = 0x00A0FF;
    button.SetCaption(L"");
    button.SetCaption(L"上４");
    UpdateWindow(button.Handle());
    Pump(30);
    POINT inside{GlassTestParent::kScreenLeft + 50,
                 GlassTestParent::kScreenTop + 58};  // lower face, no shine
    COLORREF before = ScreenPixel(inside);

    parent.marker = 0xFF2000;
    InvalidateRect(parent.Handle(), nullptr, TRUE);  // the parent itself; the button is a clipped child
    UpdateWindow(parent.Handle());
    button.SetCaption(L"上４");  // the same text: no repaint
    UpdateWindow(button.Handle());
    Pump(30);
    EXPECT_EQ(ScreenPixel(inside), before) << "the button keeps the old picture";

    int handed = static_cast<int>(parent.handed.size());
    button.SetCaption(L"");
    button.SetCaption(L"上４");
    UpdateWindow(button.Handle());
    Pump(30);
    COLORREF after = ScreenPixel(inside);
    EXPECT_NE(after, before);
    EXPECT_GT(GetBValue(after), GetBValue(before)) << "the new blue square shows through the face";
    EXPECT_EQ(static_cast<int>(parent.handed.size()), handed + 2) << "one erase and one paint of the parent";
}

TEST_F(GlassButtonTest, HoveringCallsMouseEnterOnceAndLeavesTheFaceAlone) {
    Settle();
    MoveCursorTo(Centre());
    MoveCursorTo({Centre().x + 3, Centre().y + 2});
    ASSERT_TRUE(PumpUntil([&] { return button.MouseInControl(); }));
    EXPECT_EQ(button.events, (std::vector<std::string>{"enter"}));
    EXPECT_TRUE(button.MouseInControl());
    EXPECT_TRUE(button.LeaveTracked());
    EXPECT_FALSE(Invalidated(button.Handle())) << "no hot look";
    EXPECT_EQ(button.State(), TGlassButtonState::gbsUp);

    // Under Wine a late motion event of the earlier moves may still arrive after the pointer has
    // gone and count as one more visit; what matters is that leaving ends with a leave.
    MoveCursorTo(kFarAway);
    ASSERT_TRUE(PumpUntil([&] { return !button.events.empty() && button.events.back() == "leave"; }, 3000));
    EXPECT_FALSE(button.MouseInControl());
    EXPECT_FALSE(button.LeaveTracked());

    int enters = button.Count("enter");
    MoveCursorTo(Centre());
    EXPECT_TRUE(PumpUntil([&] { return button.Count("enter") == enters + 1; }))
        << "entering again is a new enter";
    EXPECT_TRUE(button.LeaveTracked());
}

// Counts the timer messages a window receives while the counter lives.
class TimerMessages {
public:
    explicit TimerMessages(HWND window) : window_(window) { SetWindowSubclass(window_, &Count, 1, 0); }
    TimerMessages(const TimerMessages&) = delete;
    TimerMessages& operator=(const TimerMessages&) = delete;
    ~TimerMessages() { RemoveWindowSubclass(window_, &Count, 1); }
    static int count;

private:
    static LRESULT CALLBACK Count(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
        if (msg == WM_TIMER)
            ++count;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    HWND window_;  // not owned
};
int TimerMessages::count = 0;

// Nothing runs while the pointer rests on the button: it receives no timer messages. Moving off
// ends the hover: alone, with a repaint and OnMouseLeave; during a press, at once but with
// OnMouseLeave only at the release; and after a click as well.
TEST_F(GlassButtonTest, NoTimerRunsWhileThePointerRestsAndLeavingEndsTheHover) {
    Settle();
    TimerMessages::count = 0;
    TimerMessages timers(button.Handle());
    MoveCursorTo(Centre());
    ASSERT_TRUE(button.MouseInControl());
    Pump(300);
    EXPECT_EQ(TimerMessages::count, 0) << "timer messages while the pointer rested";

    // On a loaded machine Wine may report an earlier pointer place late, which enters and leaves
    // the button once more: every leave past the first then follows an enter of its own.
    int draws = button.draws;
    button.events.clear();
    EXPECT_TRUE(
        MoveCursorUntil(kFarAway, [&] { return !button.MouseInControl() && button.Count("leave") > 0; }));
    EXPECT_TRUE(PumpUntil([&] { return button.draws > draws; })) << "no repaint";
    EXPECT_EQ(button.Count("leave"), button.Count("enter") + 1);

    ASSERT_TRUE(MoveCursorUntil(Centre(), [&] { return button.MouseInControl(); }));
    LeftDown();
    ASSERT_TRUE(button.MouseInControl());
    button.events.clear();
    MoveCursorTo({Centre().x + 60, Centre().y});
    EXPECT_FALSE(button.MouseInControl()) << "dragged off";
    EXPECT_EQ(button.Count("leave"), 0) << "OnMouseLeave waits for the release";
    LeftUp();
    EXPECT_EQ(button.events, (std::vector<std::string>{"leave", "up"}));

    MoveCursorTo(Centre());
    LeftDown();
    LeftUp();
    ASSERT_TRUE(button.MouseInControl());
    button.events.clear();
    MoveCursorTo(kFarAway);
    EXPECT_TRUE(PumpUntil([&] { return !button.MouseInControl() && button.Count("leave") == 1; }, 3000))
        << "after a click";
    EXPECT_EQ(TimerMessages::count, 0);
}

TEST_F(GlassButtonTest, ClickCallsDownEnterClickUpInThatOrder) {
    MoveCursorTo(Centre());
    button.events.clear();
    LeftDown();
    EXPECT_EQ(button.State(), TGlassButtonState::gbsDown);
    EXPECT_TRUE(button.MouseDownInControl());
    EXPECT_TRUE(button.Dragging());
    EXPECT_EQ(GetCapture(), button.Handle());
    LeftUp();
    EXPECT_EQ(button.events, (std::vector<std::string>{"down", "enter", "click", "up"}));
    EXPECT_EQ(button.State(), TGlassButtonState::gbsUp);
    EXPECT_FALSE(button.MouseDownInControl());
    EXPECT_FALSE(button.Dragging());
    EXPECT_TRUE(button.MouseInControl());
    EXPECT_EQ(GetCapture(), nullptr);
}

// A press dragged off the button and back: the pressed look lasts, no enter comes while the press
// holds the pointer, and the release clicks only on the button.
TEST_F(GlassButtonTest, PressDraggedOffAndBackClicksOnlyWhenReleasedOnTheButton) {
    struct Case {
        const char* name;
        POINT release;  // from the button's centre
        std::vector<std::string> events;
        bool inControl;
    };
    const Case cases[] = {
        {"released on the button", {6, 1}, {"down", "enter", "click", "up"}, true},
        {"released off the button", {60, 40}, {"down", "leave", "up"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveCursorTo(kFarAway);
        Pump(GetDoubleClickTime() + 50);
        MoveCursorTo(Centre());
        button.events.clear();
        LeftDown();
        // The button sees the pointer's moves a little after the cursor has arrived.
        EXPECT_TRUE(MoveCursorUntil({Centre().x + 60, Centre().y}, [&] {
            return button.State() == TGlassButtonState::gbsUp;
        })) << "dragged out";
        EXPECT_TRUE(button.MouseDownInControl()) << "the pressed look lasts until the release";
        // The platform may report the pointer leaving while the press holds the capture (Wine does
        // not): the press keeps the pointer all the same.
        SendMessageW(button.Handle(), WM_MOUSELEAVE, 0, 0);
        EXPECT_TRUE(MoveCursorUntil({Centre().x + 5, Centre().y}, [&] {
            return button.State() == TGlassButtonState::gbsDown;
        })) << "back inside";
        EXPECT_EQ(button.events, (std::vector<std::string>{"down"})) << "no enter while the press lasts";
        MoveCursorTo({Centre().x + c.release.x, Centre().y + c.release.y});
        LeftUp();
        EXPECT_EQ(button.events, c.events);
        EXPECT_FALSE(button.MouseDownInControl());
        EXPECT_EQ(button.MouseInControl(), c.inControl);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(GlassButtonTest, AQuickDoubleClickIsTwoClicksUnlessADoubleClickHandlerTakesTheSecond) {
    MoveCursorTo(Centre());
    button.events.clear();
    LeftDown();
    LeftUp();
    LeftDown();
    LeftUp();
    EXPECT_EQ(button.events,
              (std::vector<std::string>{"down", "enter", "click", "up", "down", "enter", "click", "up"}));

    // With a handler the second press of a double click is the double click: the pointer still
    // presses the button, but its release does not click.
    button.OnDblClick = [&](TCustomGlassButton&) { button.events.push_back("double"); };
    Pump(GetDoubleClickTime() + 50);
    button.events.clear();
    LeftDown();
    LeftUp();
    LeftDown();
    EXPECT_TRUE(button.MouseDownInControl());
    EXPECT_EQ(GetCapture(), button.Handle());
    LeftUp();
    EXPECT_EQ(button.events,
              (std::vector<std::string>{"down", "enter", "click", "up", "double", "down", "enter", "up"}));
    EXPECT_FALSE(button.MouseDownInControl());
    EXPECT_EQ(button.State(), TGlassButtonState::gbsUp);
    EXPECT_EQ(GetCapture(), nullptr);

    // The next single press after it clicks again.
    Pump(GetDoubleClickTime() + 50);
    LeftDown();
    LeftUp();
    EXPECT_EQ(button.Count("click"), 2);
}

TEST_F(GlassButtonTest, ADisabledButtonNeverClicks) {
    button.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button.Handle()));
    MoveCursorTo(Centre());
    LeftDown();
    LeftUp();
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(button.Count("click"), 0);
    EXPECT_EQ(button.Count("down"), 0);
    EXPECT_FALSE(button.MouseDownInControl());

    UpdateWindow(button.Handle());
    EXPECT_EQ(button.State(), TGlassButtonState::gbsDisabled);
    button.SetEnabled(true);
    EXPECT_EQ(button.State(), TGlassButtonState::gbsDisabled) << "until the next paint";
    UpdateWindow(button.Handle());
    EXPECT_EQ(button.State(), TGlassButtonState::gbsUp);
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(button.Count("click"), 1);
}

TEST_F(GlassButtonTest, WithoutTabStopAPressNeverTakesTheFocus) {
    button.SetTabStop(false);
    EXPECT_FALSE(GetWindowLongPtrW(button.Handle(), GWL_STYLE) & WS_TABSTOP);
    SetFocus(parent.Handle());
    MoveCursorTo(Centre());
    LeftDown();
    LeftUp();
    EXPECT_EQ(button.Count("click"), 1);
    EXPECT_NE(GetFocus(), button.Handle());
    EXPECT_FALSE(button.Active());
    PressKey(VK_RETURN);
    TypeChar(L' ');
    EXPECT_EQ(button.Count("click"), 1) << "Enter and Space reach another window";
}

TEST_F(GlassButtonTest, WithTabStopAPressFocusesAndEnterOrSpaceClicks) {
    SetFocus(parent.Handle());
    Settle();
    MoveCursorTo(Centre());
    LeftDown();
    LeftUp();
    EXPECT_EQ(GetFocus(), button.Handle());
    EXPECT_TRUE(button.Active());
    EXPECT_EQ(button.Count("click"), 1);

    PressKey(VK_RETURN);
    EXPECT_EQ(button.Count("click"), 2);
    PressKey(VK_RETURN, VK_SHIFT);
    EXPECT_EQ(button.Count("click"), 2) << "Shift+Enter is not a click";
    TypeChar(L' ');
    EXPECT_EQ(button.Count("click"), 3);
    button.OnKeyPress = [](TCustomGlassButton&, wchar_t& key) {
        if (key == L' ')
            key = 0;
    };
    TypeChar(L' ');
    EXPECT_EQ(button.Count("click"), 3) << "a key-press handler that clears the space stops the click";

    Settle();
    SetFocus(parent.Handle());
    EXPECT_FALSE(button.Active());
    EXPECT_TRUE(Invalidated(button.Handle())) << "losing the focus repaints";
}

// Alt+letter typed anywhere in the window reaches the button through the dialog manager, as the
// program's message loops run it; a typed letter that the focus wants stays with the focus.
TEST_F(GlassButtonTest, AcceleratorClicksThroughTheDialogManagerWhenTheButtonCanTakeTheFocus) {
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 150, 30, 100, 24,
                        parent.Handle(), reinterpret_cast<HMENU>(9), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    enum class Focus { Edit, Parent, Button };
    struct Case {
        const char* name;
        const wchar_t* caption;
        Focus focus;
        WORD key;
        WORD modifier;
        bool enabled;
        bool visible;
        bool dialogLoop;
        int clicks;
    };
    const Case cases[] = {
        {"Alt+G in the edit box", L"&Go", Focus::Edit, 'G', VK_MENU, true, true, true, 1},
        {"Alt+G in the parent", L"&Go", Focus::Parent, 'G', VK_MENU, true, true, true, 1},
        {"Alt+G on the button itself: one click", L"&Go", Focus::Button, 'G', VK_MENU, true, true, true, 1},
        {"Alt+G on the button without a dialog loop", L"&Go", Focus::Button, 'G', VK_MENU, true, true, false,
         1},
        {"Alt+O: not the marked letter", L"&Go", Focus::Edit, 'O', VK_MENU, true, true, true, 0},
        {"&& is a plain ampersand", L"&&Go", Focus::Edit, 'G', VK_MENU, true, true, true, 0},
        {"a disabled button", L"&Go", Focus::Edit, 'G', VK_MENU, false, true, true, 0},
        {"a hidden button cannot take the focus", L"&Go", Focus::Edit, 'G', VK_MENU, true, false, true, 0},
        {"G alone goes into the edit box", L"&Go", Focus::Edit, 'G', 0, true, true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button.SetCaption(c.caption);
        button.SetEnabled(true);
        ShowWindow(button.Handle(), SW_SHOW);
        SetWindowTextW(edit, L"");
        SetFocus(c.focus == Focus::Edit     ? edit
                 : c.focus == Focus::Parent ? parent.Handle()
                                            : button.Handle());
        button.SetEnabled(c.enabled);
        ShowWindow(button.Handle(), c.visible ? SW_SHOW : SW_HIDE);
        button.events.clear();
        {
            std::optional<DialogLoop> loop;
            if (c.dialogLoop)
                loop.emplace(parent.Handle());
            PressKey(c.key, c.modifier);
        }
        EXPECT_EQ(button.Count("click"), c.clicks);
        wchar_t typed[8]{};
        GetWindowTextW(edit, typed, 8);
        EXPECT_STREQ(typed, c.focus == Focus::Edit && c.modifier == 0 ? L"g" : L"");
    }
}

TEST_F(GlassButtonTest, LosingTheCaptureMidPressEndsThePressWithoutAClick) {
    MoveCursorTo(Centre());
    LeftDown();
    ASSERT_TRUE(button.MouseDownInControl());
    SetCapture(parent.Handle());
    EXPECT_FALSE(button.MouseDownInControl());
    EXPECT_FALSE(button.Dragging());
    EXPECT_EQ(button.State(), TGlassButtonState::gbsUp);
    ReleaseCapture();
    LeftUp();
    EXPECT_EQ(button.Count("click"), 0);
}

// Another window takes the capture from a press while the pointer is over the button, and the
// pointer leaves while that window holds it: the button must learn of the leaving, so that the
// next entry is an entry again (OnMouseEnter, which brings the main window to the front).
TEST_F(GlassButtonTest, ACaptureTakenMidPressStillEndsTheHoverWhenThePointerLeaves) {
    MoveCursorTo(Centre());
    LeftDown();
    ASSERT_TRUE(button.MouseInControl());
    // The platform may report the pointer leaving while the press holds the capture; the report
    // spends the tracking.
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, button.Handle(), 0};
    TrackMouseEvent(&cancel);
    SendMessageW(button.Handle(), WM_MOUSELEAVE, 0, 0);

    SetCapture(parent.Handle());
    EXPECT_FALSE(button.MouseDownInControl());
    MoveCursorTo(kFarAway);
    LeftUp();
    ReleaseCapture();
    EXPECT_TRUE(PumpUntil([&] { return !button.MouseInControl(); }, 3000)) << "the hover stayed set";
    EXPECT_EQ(button.Count("click"), 0);

    button.events.clear();
    MoveCursorTo(Centre());
    EXPECT_EQ(button.Count("enter"), 1) << "the next entry is an entry";
    EXPECT_TRUE(button.LeaveTracked());
}

// Space clicks as it does a standard push button: at the key's release, after a press on the
// button, once however long the key is held, and whatever the dialog manager made of the character
// the key typed. A key-press handler that clears the space still stops the click.
TEST_F(GlassButtonTest, SpaceClicksAtItsReleaseWhateverTheDialogManagerDoes) {
    // Another button whose caption may mark the space as its accelerator: the dialog manager then
    // clicks it for a typed space and keeps the character from the focus, which stays here.
    TGlassButton other;
    other.SetTabStop(false);
    int otherClicks = 0;
    other.OnClick = [&](TCustomGlassButton&) { ++otherClicks; };
    other.Create(parent.Handle(), 9, 150, 30, 100, 30);
    enum class Keys { Press, Held, FocusLostBeforeRelease };
    struct Case {
        const char* name;
        Keys keys;
        bool spaceTaken;  // the other button marks the space
        bool clearSpace;  // OnKeyPress clears the space
        int clicks;
    };
    const Case cases[] = {
        {"Space", Keys::Press, false, false, 1},
        {"Space whose character the dialog manager takes", Keys::Press, true, false, 1},
        {"Space held down", Keys::Held, false, false, 1},
        {"Space cleared by OnKeyPress", Keys::Press, false, true, 0},
        {"Space cleared by OnKeyPress, its character taken", Keys::Press, true, true, 0},
        {"the focus moves before the release", Keys::FocusLostBeforeRelease, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        other.SetCaption(c.spaceTaken ? L"&  other" : L"other");
        otherClicks = 0;
        button.OnKeyPress = [&](TCustomGlassButton&, wchar_t& key) {
            if (c.clearSpace && key == L' ')
                key = 0;
        };
        int downs = 0;
        button.OnKeyDown = [&](TCustomGlassButton&, WORD& key) { downs += key == VK_SPACE; };
        SetFocus(button.Handle());
        ASSERT_TRUE(button.Active());
        button.events.clear();
        DialogLoop loop(parent.Handle());
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = VK_SPACE;
        INPUT up = down;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        const int presses = c.keys == Keys::Held ? 3 : 1;
        for (int i = 0; i < presses; ++i)
            SendInput(1, &down, sizeof down);
        ASSERT_TRUE(PumpUntil([&] { return downs == presses; }));
        if (c.keys == Keys::FocusLostBeforeRelease)
            SetFocus(parent.Handle());
        EXPECT_EQ(button.Count("click"), 0) << "no click before the release";
        SendInput(1, &up, sizeof up);
        ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_SPACE) >= 0; }));
        EXPECT_EQ(button.Count("click"), c.clicks);
        EXPECT_EQ(otherClicks, c.spaceTaken ? 1 : 0) << "the dialog manager took the space";
    }
    button.OnKeyDown = nullptr;
    button.OnKeyPress = nullptr;
}

TEST_F(GlassButtonTest, ReleaseWithoutAPressHereDoesNotClick) {
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(button.Count("click"), 0);
    EXPECT_EQ(button.Count("up"), 1);
}

}  // namespace
}  // namespace vellicot::test

// The main window as it opens: its frame, every control's place, font, starting colours and tab
// stops, and what it paints itself (white, the map, the time label); and what its hot keys may do.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "FormReading.h"
#include <commctrl.h>
#include "windows/ControlIds.h"
#include "windows/Unit3.h"

namespace vellicot {
namespace {

using namespace testing_support;

constexpr std::uint32_t kWindowTextColour = 0xFF000008;

class Unit1Test : public MainAndPickerFixture {
protected:
    HWND Control(int id) const { return GetDlgItem(form1.Handle(), id); }
};

TEST_F(Unit1Test, WindowHasItsClassCaptionFixedFrameAndClientSize) {
    HWND hwnd = form1.Handle();
    EXPECT_EQ(ClassOf(hwnd), L"TForm1");
    EXPECT_EQ(TextOf(hwnd), L"Vellicot ver.1.40");
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "no maximising, no resizing";
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 348);
}

// Every glass button of the window, as the form gives it and the creation handler leaves it.
struct GlassExpected {
    int id;
    const wchar_t* name;
    int left, top, width, height;
    const wchar_t* caption;
    const wchar_t* family;
    int fontHeight;  // pixels
    bool bold;
    bool forceTransparent;
    bool tabStop;
    bool enabled;
};

constexpr std::array<GlassExpected, 6> kCommandButtons = {{
    {ids::kBtnSTA, L"btnSTA", 0, 1, 60, 44, L"タイム\r\n計測開始", L"Meiryo UI", 12, true, true, false, true},
    {ids::kBtnEND, L"btnEND", 60, 1, 60, 44, L"タイム\r\n計測停止", L"Meiryo UI", 12, true, true, false,
     false},
    {ids::kBtnCOPY, L"btnCOPY", 210, 1, 46, 44, L"結果\r\nCOPY", L"Tahoma", 12, true, true, true, false},
    {ids::kBtnAllClear, L"btnAllClear", 256, 1, 46, 44, L"最初\r\nから", L"Meiryo UI", 12, true, true, false,
     true},
    {ids::kBtnSetting, L"btnSetting", 2, 320, 50, 26, L"設　定", L"Meiryo UI", 11, true, false, false, true},
    {ids::kBtnBtnClear, L"btnBtnClear", 231, 320, 71, 26, L"選択全クリア", L"Meiryo UI", 11, true, false,
     false, true},
}};

void ExpectGlass(HWND hwnd, const GlassExpected& e) {
    SCOPED_TRACE(testing::Message() << "control " << e.id);
    ASSERT_NE(hwnd, nullptr);
    TCustomGlassButton* button = GlassOf(hwnd);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ClassOf(hwnd), L"TGlassButton");
    EXPECT_EQ(button->Name(), e.name);
    ExpectRect(hwnd, e.left, e.top, e.width, e.height);
    EXPECT_EQ(TextOf(hwnd), e.caption);
    EXPECT_EQ(button->Font().family, e.family);
    EXPECT_EQ(button->Font().height, -e.fontHeight);
    EXPECT_EQ(button->Font().bold, e.bold);
    EXPECT_EQ(button->ForceTransparent(), e.forceTransparent);
    EXPECT_EQ(HasTabStop(hwnd), e.tabStop);
    EXPECT_EQ(button->TabStop(), e.tabStop);
    EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, e.enabled);
    EXPECT_EQ(button->ShineColor(), 0xFFFFFFu);
    EXPECT_EQ(button->ForeColor(), 0xFFFFFFu);
    EXPECT_EQ(button->GlowColor(), 0xFFBD8Du);
    EXPECT_EQ(button->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(button->InnerBorderColor(), 0x000000u);
}

TEST_F(Unit1Test, CommandButtonsSitAtTheirPlacesWithTheirFontsAndColours) {
    for (const GlassExpected& e : kCommandButtons) {
        ExpectGlass(Control(e.id), e);
        EXPECT_EQ(GlassOf(Control(e.id))->OuterBorderColor(), 0xFFFFFFu) << e.id;
        EXPECT_EQ(GlassOf(Control(e.id))->Font().colour, kWindowTextColour) << e.id;
    }
}

TEST_F(Unit1Test, TreeButtonsSitOnTheirTreesWithTheirLabelsReset) {
    struct Tree {
        int left, top;
        const wchar_t* label;
    };
    constexpr std::array<Tree, 17> kTrees = {{
        {0, 0, L""},
        {65, 59, L"上４"},
        {122, 62, L"上３"},
        {177, 70, L"上１"},
        {135, 120, L"上２"},
        {252, 118, L"右４"},
        {231, 169, L"右３"},
        {184, 165, L"右１"},
        {225, 222, L"右２"},
        {122, 222, L"下２"},
        {80, 267, L"下１"},
        {138, 289, L"下３"},
        {177, 249, L"下４"},
        {19, 105, L"左１"},
        {57, 155, L"左２"},
        {7, 158, L"左３"},
        {29, 211, L"左４"},
    }};
    for (int t = 1; t <= 16; ++t) {
        wchar_t name[8];
        swprintf(name, 8, L"btn%02d", t);
        // After the resets of start-up a tree shows its label in bold 10 points, black on white with
        // black borders.
        ExpectGlass(Control(ids::kTreeButton + t),
                    {ids::kTreeButton + t, name, kTrees[t].left, kTrees[t].top, 40, 40, kTrees[t].label,
                     L"Meiryo UI", 13, true, true, false, true});
        const TCustomGlassButton* tree = GlassOf(Control(ids::kTreeButton + t));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->Font().Size(), 10) << t;
        EXPECT_EQ(tree->Font().colour, 0x000000u) << t;
        EXPECT_EQ(tree->OuterBorderColor(), 0x000000u) << t;
    }
}

TEST_F(Unit1Test, NameBoxAndCheckBoxUseTheWindowFontAndOnlyCopyAndCheckBoxAreTabStops) {
    HWND name = Control(ids::kEdtNAME);
    EXPECT_EQ(ClassOf(name), L"Edit");
    ExpectRect(name, 123, 22, 83, 22);
    EXPECT_EQ(TextOf(name), L"名無し");
    HWND check = Control(ids::kChTopmost);
    EXPECT_EQ(ClassOf(check), L"Button");
    ExpectRect(check, 60, 325, 58, 17);
    EXPECT_EQ(TextOf(check), L"最前面");
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED) << "stay-on-top is on by default";
    for (HWND control : {name, check}) {
        LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, L"Meiryo UI");
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
    }

    int tabStops = 0;
    for (HWND child = GetWindow(form1.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HasTabStop(child)) {
            ++tabStops;
            EXPECT_TRUE(child == Control(ids::kBtnCOPY) || child == check) << GetDlgCtrlID(child);
        }
    }
    EXPECT_EQ(tabStops, 2);
}

// A hot key does what its button would, and only where the button could be clicked.
TEST_F(Unit1Test, HotkeysActOnlyWhereTheirButtonsCouldBeClicked) {
    auto press = [&](HotkeyAction action) {
        SendMessageW(form1.Handle(), WM_HOTKEY, GlobalHotkeys::IdOf(action), 0);
    };
    auto enabled = [&](int id) { return IsWindowEnabled(Control(id)) != FALSE; };
    auto copied = [] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; };
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();

    press(HotkeyAction::kCopy);
    EXPECT_FALSE(copied()) << "nothing to copy before a run";
    press(HotkeyAction::kStartStop);
    EXPECT_TRUE(enabled(ids::kBtnEND)) << "started";
    EXPECT_FALSE(enabled(ids::kBtnSTA));
    press(HotkeyAction::kCopy);
    EXPECT_FALSE(copied()) << "nothing to copy during the first run";

    EnableWindow(form1.Handle(), FALSE);  // as a modal window has it
    press(HotkeyAction::kStartStop);
    press(HotkeyAction::kReset);
    EnableWindow(form1.Handle(), TRUE);
    EXPECT_TRUE(enabled(ids::kBtnEND)) << "still running";

    press(HotkeyAction::kStartStop);
    EXPECT_TRUE(enabled(ids::kBtnSTA)) << "stopped";
    EXPECT_FALSE(enabled(ids::kBtnEND));
    EXPECT_TRUE(enabled(ids::kBtnCOPY));
    press(HotkeyAction::kReset);
    EXPECT_FALSE(enabled(ids::kBtnCOPY)) << "reset";
    press(HotkeyAction::kCopy);
    EXPECT_FALSE(copied()) << "nothing to copy after a reset";
    press(HotkeyAction::kStartStop);
    press(HotkeyAction::kStartStop);
    press(HotkeyAction::kCopy);
    EXPECT_TRUE(copied()) << "a stopped time is copied";
}

TEST_F(Unit1Test, WindowPaintsWhiteTheMapAndTheRightAlignedTimeLabel) {
    MemoryCanvas canvas(304, 348);
    PaintClientInto(form1.Handle(), canvas);
    for (POINT white : {POINT{1, 100}, POINT{303, 200}, POINT{100, 45}, POINT{150, 347}, POINT{61, 10}})
        EXPECT_EQ(ColourAt(canvas, white.x, white.y), 0xFFFFFFu) << white.x << "," << white.y;

    int mapPixels = 0;
    for (int y = 46; y < 346; ++y)
        for (int x = 2; x < 302; ++x)
            mapPixels += ColourAt(canvas, x, y) != 0xFFFFFFu;
    EXPECT_GT(mapPixels, 300 * 300 / 2) << "the orchard fills the map's place";

    // "00:00.000" in the 16-pixel font, right-aligned in 123, 1, 83 x 20, and nothing of it outside.
    RECT label = InkBox(canvas, RECT{100, 0, 304, 46}, 0xFFFFFF);
    EXPECT_GE(label.left, 123);
    EXPECT_GE(label.top, 1);
    EXPECT_LE(label.right, 206);
    EXPECT_LE(label.bottom, 21);
    EXPECT_GE(label.right, 200) << "right-aligned";
    EXPECT_GE(label.bottom - label.top, 10) << "digits of a 16-pixel font, not of the 11-pixel window font";
}

class Unit1ScalingTest : public Unit1Test, public ::testing::WithParamInterface<int> {
protected:
    // Gives tree a pick as the picker's entry button would.
    void Pick(int tree, int entry) {
        form1.board.iSel1 = tree;
        SendMessageW(GetDlgItem(form2.Handle(), ids::kBitBtn + entry), BM_CLICK, 0, 0);
    }
    // A client pixel of the window's own painting at its current size.
    std::uint32_t PaintedAt(int x, int y) {
        RECT client;
        GetClientRect(form1.Handle(), &client);
        MemoryCanvas canvas(client.right, client.bottom);
        PaintClientInto(form1.Handle(), canvas);
        return ColourAt(canvas, x, y);
    }
};

TEST_P(Unit1ScalingTest, EverythingScalesWithTheDisplayAndComesBackAt96) {
    const int dpi = GetParam();
    auto scaled = [dpi](int v) { return ScaleToDpi(v, dpi); };
    Pick(3, 1);   // 慈悲 on 上１
    Pick(10, 9);  // its vice on 下１: a gold line from tree 3 to tree 10
    // The line's middle in 96-DPI client pixels: halfway between the two end points, (197, 94) and
    // (100, 291), lifted into the client area by the overlay's place at (2, 46).
    const int midX = 148, midY = 192;
    ASSERT_EQ(PaintedAt(midX, midY), 0x00D7FFu);

    ChangeDpi(form1.Handle(), dpi);
    ChangeDpi(form2.Handle(), dpi);
    RECT client;
    GetClientRect(form1.Handle(), &client);
    EXPECT_EQ(client.right, scaled(304));
    EXPECT_EQ(client.bottom, scaled(348));
    GetClientRect(form2.Handle(), &client);
    EXPECT_EQ(client.right, scaled(304));
    EXPECT_EQ(client.bottom, scaled(232));

    for (const GlassExpected& e : kCommandButtons)
        ExpectScaledRect(Control(e.id), {e.left, e.top, e.width, e.height}, dpi);
    ExpectScaledRect(Control(ids::kTreeButton + 3), {177, 70, 40, 40}, dpi);
    ExpectScaledRect(Control(ids::kTreeButton + 16), {29, 211, 40, 40}, dpi);
    ExpectScaledRect(Control(ids::kEdtNAME), {123, 22, 83, 22}, dpi);
    ExpectScaledRect(Control(ids::kChTopmost), {60, 325, 58, 17}, dpi);
    ExpectScaledRect(GetDlgItem(form2.Handle(), ids::kBitBtn + 11), {152, 41, 75, 40}, dpi);
    ExpectScaledRect(GetDlgItem(form2.Handle(), ids::kBitBtn + 18), {228, 191, 75, 40}, dpi);
    EXPECT_EQ(FontOf(Control(ids::kEdtNAME)).lfHeight, -scaled(11));
    EXPECT_EQ(GlassOf(Control(ids::kTreeButton + 3))->PixelsPerInch(), dpi);

    // The line is drawn again between the scaled end points, at least as wide as at 96 DPI.
    const int x = (scaled(2) + scaled(195) + scaled(2) + scaled(98)) / 2;
    const int y = (scaled(46) + scaled(48) + scaled(46) + scaled(245)) / 2;
    for (int dx : {-1, 0, 1})
        EXPECT_EQ(PaintedAt(x + dx, y), 0x00D7FFu) << dx;
    // The orchard fills its scaled place, as it fills its place at 96 DPI.
    GetClientRect(form1.Handle(), &client);
    MemoryCanvas canvas(client.right, client.bottom);
    PaintClientInto(form1.Handle(), canvas);
    const Box map = ScaleToDpi(Box{2, 46, 300, 300}, dpi);
    int mapPixels = 0;
    for (int y = map.top; y < map.Bottom(); ++y)
        for (int x = map.left; x < map.Right(); ++x)
            mapPixels += ColourAt(canvas, x, y) != 0xFFFFFFu;
    EXPECT_GT(mapPixels, map.width * map.height / 2);
    EXPECT_EQ(ColourAt(canvas, map.left - 1, map.top + map.height / 2), 0xFFFFFFu);
    // The picks, their faces and the name stay.
    EXPECT_EQ(TextOf(Control(ids::kTreeButton + 3)), L"慈悲\r\n上１");
    EXPECT_EQ(GlassOf(Control(ids::kTreeButton + 3))->InnerBorderColor(), 0x00D7FFu);
    EXPECT_EQ(TextOf(Control(ids::kEdtNAME)), L"名無し");

    ChangeDpi(form1.Handle(), 96);
    GetClientRect(form1.Handle(), &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 348);
    ExpectRect(Control(ids::kTreeButton + 3), 177, 70, 40, 40);
    EXPECT_EQ(PaintedAt(midX, midY), 0x00D7FFu);
}

INSTANTIATE_TEST_SUITE_P(Displays, Unit1ScalingTest, ::testing::Values(120, 144, 192));

}  // namespace
}  // namespace vellicot

// Every glass caption at the display's scale.
namespace vellicot {
namespace {

// The glass buttons among a window's children, in their order.
std::vector<TCustomGlassButton*> GlassButtonsOf(HWND window) {
    std::vector<TCustomGlassButton*> buttons;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (TCustomGlassButton* button = GlassOf(child))
            buttons.push_back(button);
    }
    return buttons;
}

// What the caption adds to its button: the box of the pixels that differ between the button drawn
// with its caption and without it. Empty when the caption adds nothing.
RECT CaptionInk(TCustomGlassButton& button) {
    MemoryCanvas with(button.Width(), button.Height());
    MemoryCanvas without(button.Width(), button.Height());
    button.DrawButton(with.Dc());
    button.SetShowCaption(false);
    button.DrawButton(without.Dc());
    button.SetShowCaption(true);
    RECT box{button.Width(), button.Height(), 0, 0};
    for (int y = 0; y < button.Height(); ++y) {
        for (int x = 0; x < button.Width(); ++x) {
            if (with.Pixel(x, y) == without.Pixel(x, y))
                continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box.left < box.right ? box : RECT{};
}

// Whether the ink lies on the face, clear of the borders, which take the outer 2 s pixels, with
// spare pixels to each side besides.
bool OnTheFace(const RECT& ink, int width, int height, double s, int spare = 0) {
    const int face = static_cast<int>(std::ceil(2 * s)) + spare;  // the first face row and column
    return ink.left >= face && ink.top >= face && ink.right <= width - face && ink.bottom <= height - face;
}

// Every caption of both windows grows with the display as its button does, and one that lies on
// its face at 96 DPI still does: none reaches into the borders. (A caption the stand-in font of
// the test prefix wraps onto too many lines already overflows at 96 DPI: デスパイス, in a face
// without a real bold, is three lines.)
TEST_P(Unit1ScalingTest, EveryGlassCaptionGrowsWithTheDisplayAndStaysOnItsFace) {
    const int dpi = GetParam();
    const double s = dpi / 96.0;
    struct Caption {
        TCustomGlassButton* button;
        RECT ink;
        bool onTheFace;
    };
    std::vector<Caption> at96;
    for (HWND window : {form1.Handle(), form2.Handle()}) {
        for (TCustomGlassButton* button : GlassButtonsOf(window)) {
            RECT ink = CaptionInk(*button);
            // Font heights are whole pixels at every size, so a caption grows by a little more or
            // less than the button: one that fills its face to the last pixel at 96 DPI may touch
            // a border at another size. Those with a pixel to spare must stay clear.
            at96.push_back({button, ink, OnTheFace(ink, button->Width(), button->Height(), 1.0, 1)});
        }
    }
    ASSERT_EQ(at96.size(), 22u + 18u);

    ChangeDpi(form1.Handle(), dpi);
    ChangeDpi(form2.Handle(), dpi);
    double extentAt96 = 0, extent = 0;
    for (const Caption& small : at96) {
        TCustomGlassButton& button = *small.button;
        SCOPED_TRACE(testing::Message() << button.Name() << " " << button.Caption());
        RECT ink = CaptionInk(button);
        ASSERT_LT(ink.left, ink.right) << "no caption drawn";
        if (small.onTheFace) {
            EXPECT_TRUE(OnTheFace(ink, button.Width(), button.Height(), s))
                << "ink " << ink.left << "," << ink.top << " to " << ink.right << "," << ink.bottom << " in "
                << button.Width() << " x " << button.Height();
        }
        extentAt96 += (small.ink.right - small.ink.left) + (small.ink.bottom - small.ink.top);
        extent += (ink.right - ink.left) + (ink.bottom - ink.top);
    }
    // Lines may break differently at another size, so the captions are measured together.
    EXPECT_NEAR(extent / extentAt96, s, 0.1 * s) << "the captions' width and height together";
}

}  // namespace
}  // namespace vellicot

// What the system asks of a window at a change of DPI, beyond the layout itself.
namespace vellicot {
namespace {

using namespace testing_support;

class Unit1DpiChangeTest : public MainAndPickerFixture {
protected:
    void SetUp() override {
        MainAndPickerFixture::SetUp();
        form3.Create(form1.Handle(), form1.board);
        form3.EnsureControls();
    }
    TForm3 form3;
};

SIZE OuterSize(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Asked for its size at another DPI (WM_GETDPISCALEDSIZE), each window answers with its client area
// at that DPI in the frame the system gives a window of its style there; without an answer the system
// scales the frame too, and a window dragged near a display's edge could be thrown back and forth
// between the two DPIs. (Wine keeps one frame at every DPI, so the frame is the system's word here.)
TEST_F(Unit1DpiChangeTest, EachWindowAnswersItsClientAreaAtTheNewDpiInTheSystemsFrame) {
    struct Window {
        HWND hwnd;
        int clientWidth, clientHeight;
    };
    for (const Window& window : {Window{form1.Handle(), 304, 348}, Window{form2.Handle(), 304, 232},
                                 Window{form3.Handle(), 205, 359}}) {
        for (int dpi : {120, 144, 192}) {
            SCOPED_TRACE(testing::Message() << ClassOf(window.hwnd) << " at " << dpi);
            SIZE answer = OuterSize(window.hwnd);
            ASSERT_TRUE(
                SendMessageW(window.hwnd, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&answer)));
            RECT frame{0, 0, 0, 0};
            AdjustWindowRectExForDpi(&frame, GetWindowLongW(window.hwnd, GWL_STYLE), FALSE,
                                     GetWindowLongW(window.hwnd, GWL_EXSTYLE), dpi);
            EXPECT_EQ(answer.cx - (frame.right - frame.left), ScaleToDpi(window.clientWidth, dpi));
            EXPECT_EQ(answer.cy - (frame.bottom - frame.top), ScaleToDpi(window.clientHeight, dpi));
        }
    }
}

// A display's DPI can change while the main window is minimised; restored, it has the client area of
// the new DPI, not the old one.
TEST_F(Unit1DpiChangeTest, AWindowMinimisedAtTheChangeRestoresAtTheNewSize) {
    HWND window = form1.Handle();
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(window));
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ShowWindow(window, SW_RESTORE);
    ASSERT_FALSE(IsIconic(window));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, ScaleToDpi(304, 144));
    EXPECT_EQ(client.bottom, ScaleToDpi(348, 144));
    ExpectRect(GetDlgItem(window, ids::kBtnSTA), 0, 2, 90, 66);
    ShowWindow(window, SW_HIDE);
}

// The name box and the check box are given the font of the new DPI while the one they had still
// exists: a control may measure with its old font as it takes the new one.
std::vector<bool> oldFontAlive;

LRESULT CALLBACK RecordOldFont(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETFONT) {
        auto old = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        oldFontAlive.push_back(old == nullptr || GetObjectType(old) == OBJ_FONT);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST_F(Unit1DpiChangeTest, ControlsTakeTheNewFontBeforeTheOldOneIsDeleted) {
    oldFontAlive.clear();
    for (int id : {ids::kEdtNAME, ids::kChTopmost})
        ASSERT_TRUE(SetWindowSubclass(GetDlgItem(form1.Handle(), id), &RecordOldFont, 1, 0));
    for (int dpi : {144, 192, 96}) {
        RECT suggested;
        GetWindowRect(form1.Handle(), &suggested);
        SendMessageW(form1.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    for (int id : {ids::kEdtNAME, ids::kChTopmost})
        RemoveWindowSubclass(GetDlgItem(form1.Handle(), id), &RecordOldFont, 1);
    ASSERT_EQ(oldFontAlive.size(), 6u);
    for (std::size_t i = 0; i < oldFontAlive.size(); ++i)
        EXPECT_TRUE(oldFontAlive[i]) << "WM_SETFONT " << i;
}

}  // namespace
}  // namespace vellicot

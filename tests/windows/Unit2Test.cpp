// The selection window as it opens: its frame, the grid of entry buttons with their reset faces, the
// cancel and close buttons, and its background beneath them.
#include <gtest/gtest.h>

#include <array>

#include "FormReading.h"
#include "ModalScript.h"
#include "windows/ControlIds.h"

namespace vellicot {
namespace {

using namespace testing_support;

class Unit2Test : public MainAndPickerFixture {
protected:
    HWND Button(int n) const { return GetDlgItem(form2.Handle(), ids::kBitBtn + n); }
};

TEST_F(Unit2Test, WindowHasItsCaptionDialogFrameAndStaysOnTopHidden) {
    HWND hwnd = form2.Handle();
    EXPECT_EQ(ClassOf(hwnd), L"TForm2");
    EXPECT_EQ(TextOf(hwnd), L"選択してください　　※この画面は移動できます");
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 232);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(Unit2Test, EntryButtonsFormTheGridWithEachViceUnderItsVirtueAndTheirResetFaces) {
    struct Cell {
        int n, left, top;
    };
    constexpr std::array<Cell, 18> kGrid = {{
        {1, 0, 1},
        {2, 76, 1},
        {3, 152, 1},
        {4, 228, 1},
        {9, 0, 41},
        {10, 76, 41},
        {11, 152, 41},
        {12, 228, 41},
        {5, 0, 95},
        {6, 76, 95},
        {7, 152, 95},
        {8, 228, 95},
        {13, 0, 135},
        {14, 76, 135},
        {15, 152, 135},
        {16, 228, 135},
        {17, 152, 191},
        {18, 228, 191},
    }};
    // By virtue k: the entry's inner border, outer border and back colour in the solid palette.
    struct Colours {
        std::uint32_t inner, outer, back;
    };
    constexpr std::array<Colours, 9> kVirtue = {{
        {0, 0, 0},
        {0x00D7FF, 0x00D7FF, 0x00D7FF},
        {0xFF0000, 0xFF0000, 0xFF0000},
        {0x800080, 0x800080, 0x800080},
        {0x000000, 0x000000, 0x808080},
        {0x008000, 0x008000, 0x008000},
        {0x00A5FF, 0x00A5FF, 0x00A5FF},
        {0xDCDCDC, 0xC0C0C0, 0xC0C0C0},
        {0x0000FF, 0x0000FF, 0x0000FF},
    }};
    constexpr std::array<const wchar_t*, 17> kNames = {
        L"",      L"慈悲",   L"誠実",     L"名誉",       L"謙譲",     L"正義",
        L"献身",  L"霊性",   L"武勇",     L"デスパイス", L"デシート", L"シェイム",
        L"Pride", L"ロング", L"コブトス", L"ヒスロス",   L"Destard",
    };

    for (const Cell& cell : kGrid) {
        SCOPED_TRACE(testing::Message() << "BitBtn" << cell.n);
        HWND hwnd = Button(cell.n);
        ASSERT_NE(hwnd, nullptr);
        TCustomGlassButton* button = GlassOf(hwnd);
        ASSERT_NE(button, nullptr);
        wchar_t name[12];
        swprintf(name, 12, L"BitBtn%02d", cell.n);
        EXPECT_EQ(button->Name(), name);
        ExpectRect(hwnd, cell.left, cell.top, 75, 40);
        EXPECT_EQ(button->Font().family, cell.n == 1 ? L"Meiryo UI" : L"Tahoma");
        EXPECT_EQ(button->ForceTransparent(), cell.n == 1);
        EXPECT_FALSE(HasTabStop(hwnd));
        EXPECT_EQ(button->ShineColor(), 0xFFFFFFu);
        EXPECT_EQ(button->ForeColor(), 0xFFFFFFu);
        EXPECT_EQ(button->GlowColor(), 0xFFBD8Du);
        if (cell.n <= 16) {
            const Colours& c = kVirtue[cell.n <= 8 ? cell.n : cell.n - 8];
            EXPECT_EQ(TextOf(hwnd), std::wstring(kNames[cell.n]) + L"\r\n－");
            EXPECT_TRUE(button->Font().bold);
            EXPECT_EQ(button->Font().Size(), 10);
            EXPECT_EQ(button->Font().colour, 0x000000u);
            EXPECT_EQ(button->InnerBorderColor(), c.inner);
            EXPECT_EQ(button->OuterBorderColor(), c.outer);
            EXPECT_EQ(button->BackColor(), c.back);
        } else {
            // The cancel and close buttons keep the form's font, silver back and borders.
            EXPECT_EQ(TextOf(hwnd), cell.n == 17 ? L"選択\r\n取消し" : L"閉じる");
            EXPECT_FALSE(button->Font().bold);
            EXPECT_EQ(button->Font().height, -11);
            EXPECT_EQ(button->Font().colour, 0xFF000008u) << "the system window-text colour";
            EXPECT_EQ(button->InnerBorderColor(), 0x000000u);
            EXPECT_EQ(button->OuterBorderColor(), 0xFFFFFFu);
            EXPECT_EQ(button->BackColor(), 0xC0C0C0u);
        }
    }
}

TEST_F(Unit2Test, WindowPaintsItsLightYellowBackgroundBeneathTheButtons) {
    MemoryCanvas canvas(304, 232);
    PaintClientInto(form2.Handle(), canvas);
    for (POINT at : {POINT{0, 0}, POINT{303, 231}, POINT{20, 60}, POINT{150, 180}})
        EXPECT_EQ(ColourAt(canvas, at.x, at.y), 0xFFFFE0u) << at.x << "," << at.y;
}

// Start-up makes the picker without its buttons' windows; its first showing makes them where they
// belong at the DPI the picker has by then, with the captions the analysis gave them meanwhile.
TEST(Unit2FirstShowingTest, MakesTheEntryButtonsAtTheDpiAndWithTheCaptionsGivenBefore) {
    DeleteFileW(SettingsFileName().c_str());
    TForm1 form1;
    TForm2 form2;
    form1.Create();
    form2.Create(form1);
    form1.AttachPicker(form2);
    auto button = [&](int n) { return GetDlgItem(form2.Handle(), ids::kBitBtn + n); };
    EXPECT_EQ(button(1), nullptr) << "made at start-up";
    EXPECT_EQ(button(18), nullptr) << "made at start-up";

    ChangeDpi(form2.Handle(), 144);  // the picker moved to a 150 % display while hidden
    bool checked = false;
    ModalScript script({[&] {
                           ASSERT_TRUE(IsWindowVisible(form2.Handle()));
                           ExpectScaledRect(button(11), {152, 41, 75, 40}, 144);
                           ExpectScaledRect(button(18), {228, 191, 75, 40}, 144);
                           ASSERT_NE(GlassOf(button(3)), nullptr);
                           EXPECT_EQ(GlassOf(button(3))->PixelsPerInch(), 144);
                           EXPECT_EQ(TextOf(button(3)), L"名誉\r\n－");
                           EXPECT_EQ(TextOf(button(17)), L"選択\r\n取消し");
                           checked = true;
                           form2.CloseModal();
                       }},
                       [&] { form2.CloseModal(); });
    form2.ShowModal(form1.Handle());
    EXPECT_TRUE(checked);
    DeleteFileW(SettingsFileName().c_str());
}

}  // namespace
}  // namespace vellicot

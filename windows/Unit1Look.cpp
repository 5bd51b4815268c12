// The main window's look: its controls, where they stand and their fonts at the window's DPI, the
// map, and its painting. What the window does is in Unit1.cpp.
#include "windows/Unit1.h"

#include <cwchar>

#include "core/MainLayout.h"
#include "platform/MouseEnter.h"
#include "windows/ControlIds.h"
#include "windows/DialogParts.h"

namespace vellicot {
namespace {

// The window's geometry in client pixels at 96 DPI; LayOut scales it to the window's DPI. The tree
// buttons stand at layout::TreeButtonBox.
constexpr Box kMap{layout::kMapLeft, layout::kMapTop, layout::kMapSize, layout::kMapSize};
struct ControlBox {
    int id;
    Box box;
};
constexpr ControlBox kControlBoxes[] = {
    {ids::kBtnSTA, {0, 1, 60, 44}},        {ids::kBtnEND, {60, 1, 60, 44}},
    {ids::kEdtNAME, {123, 22, 83, 22}},    {ids::kBtnCOPY, {210, 1, 46, 44}},
    {ids::kBtnAllClear, {256, 1, 46, 44}}, {ids::kBtnSetting, {2, 320, 50, 26}},
    {ids::kChTopmost, {60, 325, 58, 17}},  {ids::kBtnBtnClear, {231, 320, 71, 26}},
};
constexpr int kWindowFontHeight = 11;

RECT ToRect(const Box& box) {
    return {box.left, box.top, box.Right(), box.Bottom()};
}

constexpr Colour kGlow = 0xFFBD8D;

}  // namespace

RECT TForm1::ScaledRect(const Box& box) const {
    return ToRect(Scaled(box));
}

void TForm1::InitGlassButton(TGlassButton& button, const wchar_t* name, int id, const wchar_t* caption,
                             const wchar_t* family, int fontHeight, bool bold, bool forceTransparent) {
    button.SetName(name);
    button.Create(Handle(), id, 0, 0, 0, 0);
    GlassFont font;
    font.family = family;
    font.height = -fontHeight;
    font.bold = bold;
    button.SetFont(font);
    button.SetCaption(caption);
    button.SetBackColor(0xFFFFFF);
    button.SetInnerBorderColor(0x000000);
    button.SetOuterBorderColor(0xFFFFFF);
    button.SetShineColor(0xFFFFFF);
    button.SetForeColor(0xFFFFFF);
    button.SetGlowColor(kGlow);
    button.SetForceTransparent(forceTransparent);
    button.SetTabStop(false);
    // A click is a command of the window, whose id is the button's.
    button.OnClick = [this, id](TCustomGlassButton&) { RunCommand(id); };
    button.OnMouseEnter = [this](TCustomGlassButton&) { btn01MouseEnter(); };
}

void TForm1::CreateControls() {
    // Creation order is the order of the children, and so the Tab order of the two tab stops. LayOut
    // gives every control its place.
    InitGlassButton(btnSTA, L"btnSTA", ids::kBtnSTA, L"計測開始", L"Meiryo UI", 12, true, true);
    InitGlassButton(btnEND, L"btnEND", ids::kBtnEND, L"計測終了", L"Meiryo UI", 12, true, true);
    edtNAME = CreateChildControl(Handle(), WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL, ids::kEdtNAME);
    InitGlassButton(btnCOPY, L"btnCOPY", ids::kBtnCOPY, L"結果コピー", L"Tahoma", 12, true, true);
    btnCOPY.SetTabStop(true);
    InitGlassButton(btnAllClear, L"btnAllClear", ids::kBtnAllClear, L"最初から", L"Meiryo UI", 12, true,
                    true);
    for (int t = 1; t <= kTrees; ++t) {
        wchar_t name[8];
        swprintf(name, 8, L"btn%02d", t);
        InitGlassButton(btn[t], name, ids::kTreeButton + t, kTreeLabels[t].data(), L"Meiryo UI", 11, false,
                        true);
    }
    InitGlassButton(btnSetting, L"btnSetting", ids::kBtnSetting, L"設　定", L"Meiryo UI", 11, true, false);
    chTopmost =
        CreateChildControl(Handle(), 0, L"BUTTON", L"最前面", WS_TABSTOP | BS_AUTOCHECKBOX, ids::kChTopmost);
    InitGlassButton(btnBtnClear, L"btnBtnClear", ids::kBtnBtnClear, L"選択全クリア", L"Meiryo UI", 11, true,
                    false);
    for (HWND window : {edtNAME, chTopmost})
        WatchMouseEnter(window, [this] { btn01MouseEnter(); });
}

void TForm1::LayOut() {
    for (const ControlBox& control : kControlBoxes)
        Place(GetDlgItem(Handle(), control.id), control.box);
    for (int t = 1; t <= kTrees; ++t)
        Place(btn[t].Handle(), layout::TreeButtonBox(t));
    for (TGlassButton* button : {&btnSTA, &btnEND, &btnCOPY, &btnAllClear, &btnSetting, &btnBtnClear})
        button->SetPixelsPerInch(Dpi());
    for (int t = 1; t <= kTrees; ++t)
        btn[t].SetPixelsPerInch(Dpi());
    CreateFonts();
    // The map and the overlay are painted by the window itself, so its own enter covers them; the
    // time label, painted by the window too, has no hover-to-front.
    auto onEnter = [this] { btn01MouseEnter(); };
    WatchMouseEnter(Handle(), onEnter, lblTIME.Place());
    if (Image1and2) {
        Image1and2->SetDpi(Dpi());
    } else {
        Image1and2.emplace(Handle(), kMap, Dpi());
    }
    backBuffer_.emplace(Scaled(kClientWidth), Scaled(kClientHeight));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TForm1::CreateFonts() {
    // The controls take the new font before the old one goes.
    UniqueFont windowFont = MakeUiFont(Scaled(kWindowFontHeight));
    for (HWND control : {edtNAME, chTopmost})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), TRUE);
    newBest_->SetFont(windowFont.get());
    windowFont_ = std::move(windowFont);
    lblTIME.LayOut(Handle(), Dpi());
}

void TForm1::LoadMapForPalette() {
    Image1and2->Image1.Load(board.iSettingsBtnBGColor == 0 ? L"PngImage_2" : L"PngImage_1");
    const RECT area = ScaledRect(kMap);
    InvalidateRect(Handle(), &area, FALSE);
}

void TForm1::PaintContent(HDC dc) const {
    RECT client{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Image1and2->Paint(dc);
    lblTIME.Paint(dc);
}

void TForm1::OnPaint(HDC given) {
    if (given != nullptr) {
        // A glass button asks for what lies beneath it, in this window's coordinates.
        PaintContent(given);
        return;
    }
    PaintScope paint(Handle());
    const RECT& invalid = paint.Invalid();
    // Only the invalid part is drawn into the buffer: a stopwatch tick repaints just the label.
    {
        SavedDC saved(backBuffer_->Dc());
        IntersectClipRect(backBuffer_->Dc(), invalid.left, invalid.top, invalid.right, invalid.bottom);
        PaintContent(backBuffer_->Dc());
    }
    BitBlt(paint.Dc(), invalid.left, invalid.top, invalid.right - invalid.left, invalid.bottom - invalid.top,
           backBuffer_->Dc(), invalid.left, invalid.top, SRCCOPY);
}

HBRUSH TForm1::OnCtlColorStatic(HDC dc) {
    // The check box stands on the window's white.
    SetBkColor(dc, RGB(255, 255, 255));
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace vellicot

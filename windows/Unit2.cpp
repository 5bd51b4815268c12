// The selection window.
#include "windows/Unit2.h"

#include <cwchar>
#include <span>

#include "core/MainLayout.h"
#include "platform/ErrorBox.h"
#include "platform/MouseEnter.h"
#include "shell/Placement.h"
#include "shell/UserSettings.h"
#include "windows/ControlIds.h"
#include "windows/Unit1.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm2";
constexpr wchar_t kCaption[] = L"選択してください　　※この画面は移動できます";
// A dialog border: movable, not resizable, no minimise or maximise button.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_WINDOWEDGE;

// Each vice sits directly under its virtue.
struct Cell {
    int entry;
    int left;
    int top;
};
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 40;
constexpr Cell kGrid[] = {
    {1, 0, 1},     {2, 76, 1},    {3, 152, 1},    {4, 228, 1},    {9, 0, 41},     {10, 76, 41},
    {11, 152, 41}, {12, 228, 41}, {5, 0, 95},     {6, 76, 95},    {7, 152, 95},   {8, 228, 95},
    {13, 0, 135},  {14, 76, 135}, {15, 152, 135}, {16, 228, 135}, {17, 152, 191}, {18, 228, 191},
};

}  // namespace

TForm2::TForm2() : ModalForm({.enter = 0, .esc = ids::kBitBtn + 18}) {}

TForm2::~TForm2() = default;

void TForm2::Create(TForm1& main) {
    main_ = &main;
    background_.reset(CreateSolidBrush(kBackground));
    RegisterWindowClass(kClassName);
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, 0, 0, kClientWidth, kClientHeight, main.Handle(),
                 nullptr);
    // The buttons' windows wait for the first showing: start-up need not make them. Until then the
    // analysis styles the button objects, which keep what it sets for their windows.
    SetUpButtons();
    FollowDpi(kClientWidth, kClientHeight);
    ConnectAnalysis();
    FormCreate();
}

void TForm2::SetUpButtons() {
    for (const Cell& cell : kGrid) {
        TGlassButton& button = BitBtn_[cell.entry];
        wchar_t name[12];
        swprintf(name, 12, L"BitBtn%02d", cell.entry);
        button.SetName(name);
        GlassFont face;
        face.family = cell.entry == 1 ? L"Meiryo UI" : L"Tahoma";
        face.height = -11;
        button.SetFont(face);
        button.SetBackColor(0xC0C0C0);
        button.SetInnerBorderColor(0x000000);
        button.SetOuterBorderColor(0xFFFFFF);
        button.SetShineColor(0xFFFFFF);
        button.SetForeColor(0xFFFFFF);
        button.SetGlowColor(0xFFBD8D);
        button.SetForceTransparent(cell.entry == 1);
        button.SetTabStop(false);
        button.OnMouseEnter = [this](TCustomGlassButton&) { BitBtn01MouseEnter(); };
        if (cell.entry <= kCancelButton) {
            button.OnClick = [this](TCustomGlassButton& sender) { BitBtn01Click(sender); };
        } else {
            button.OnClick = [this](TCustomGlassButton&) { BitBtn18Click(); };
        }
    }
    BitBtn_[17].SetCaption(L"取消し");
    BitBtn_[18].SetCaption(L"変更なし");
    WatchMouseEnter(Handle(), [this] { BitBtn01MouseEnter(); });
}

void TForm2::EnsureButtons() {
    if (buttonsMade_)
        return;
    buttonsMade_ = true;
    for (const Cell& cell : kGrid) {
        const Box box = Scaled(Box{cell.left, cell.top, kButtonWidth, kButtonHeight});
        BitBtn_[cell.entry].Create(Handle(), ids::kBitBtn + cell.entry, box.left, box.top, box.width,
                                   box.height);
    }
}

void TForm2::PlaceForShow(HWND) {
    EnsureButtons();
}

void TForm2::ConnectAnalysis() {
    AnalysisTargets targets;
    treeFaces_.reserve(kTrees);
    entryFaces_.reserve(kEntries + 2);
    const std::span<TGlassButton, kTrees + 1> trees = main_->TreeButtons();
    for (int t = 1; t <= kTrees; ++t)
        targets.trees[t] = &treeFaces_.emplace_back(trees[t], layout::TreeButtonBox(t));
    for (int n = 1; n <= kEntries + 2; ++n)
        targets.entries[n] = &entryFaces_.emplace_back(BitBtn_[n]);
    targets.overlay = &main_->Overlay();
    analysis_.emplace(main_->board, targets);
}

void TForm2::FormCreate() {
    btnClear();
    const WindowPosition centre = DefaultPositionOf(Handle());
    WindowPosition stored = centre;
    try {
        stored = LoadSelectionWindowPosition(centre);
    } catch (const AppError& error) {
        ShowErrorBox(error.Message());
    }
    PlaceWindow(Handle(), stored, centre);
    btnClear();
}

void TForm2::FormShow() {
    HWND popup = GetLastActivePopup(main_->Handle());
    if (popup != nullptr && IsWindowVisible(popup) && IsWindowEnabled(popup))
        SetForegroundWindow(popup);
    SetActiveWindow(Handle());
}

void TForm2::BitBtn01Click(TCustomGlassButton& sender) {
    analysis_->WritePick(ButtonNumberFromName(sender.Name()));
    CloseModal();
}

void TForm2::BitBtn18Click() {
    CloseModal();
}

void TForm2::OnCommand(int id, int) {
    if (id == ids::kBitBtn + 18)
        BitBtn18Click();
}

void TForm2::BitBtn01MouseEnter() {
    main_->ExecblChCursorTop();
}

void TForm2::PaintContent(HDC dc) const {
    RECT client{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
    FillRect(dc, &client, background_.get());
}

void TForm2::LayOut() {
    for (const Cell& cell : kGrid) {
        TGlassButton& button = BitBtn_[cell.entry];
        if (buttonsMade_)
            Place(button.Handle(), {cell.left, cell.top, kButtonWidth, kButtonHeight});
        button.SetPixelsPerInch(Dpi());
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm2::OnPaint(HDC given) {
    if (given != nullptr) {
        // A glass button asks for the background beneath it.
        PaintContent(given);
        return;
    }
    PaintScope paint(Handle());
    PaintContent(paint.Dc());
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            OnPaint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_PRINTCLIENT:
        case WM_ERASEBKGND:
            PaintContent(reinterpret_cast<HDC>(wp));
            return 1;
    }
    return ModalForm::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot

// The main window.
#include "windows/Unit1.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cwchar>

#include "core/MainLayout.h"
#include "platform/Clipboard.h"
#include "platform/ErrorBox.h"
#include "platform/Locale.h"
#include "platform/MouseEnter.h"
#include "shell/Placement.h"
#include "shell/Stacking.h"
#include "shell/UserSettings.h"
#include "windows/ControlIds.h"
#include "windows/DialogParts.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
// A fixed single border with the system menu and the minimise button only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 300;
constexpr UINT_PTR kTimerNewBest = 2;
constexpr UINT kNewBestShownMs = 5000;
constexpr UINT_PTR kTimerErrorBox = 3;
constexpr UINT kErrorBoxLookMs = 50;
constexpr int kNewBestMaxWidth = 260;  // at 96 DPI

// The window's geometry in client pixels at 96 DPI; LayOut scales it to the window's DPI. The tree
// buttons stand at layout::TreeButtonBox.
constexpr Box kMap{layout::kMapLeft, layout::kMapTop, layout::kMapSize, layout::kMapSize};
constexpr Box kLabelTime{123, 1, 83, 20};
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
constexpr int kLabelFontHeight = 16;

RECT ToRect(const Box& box) {
    return {box.left, box.top, box.Right(), box.Bottom()};
}

constexpr Colour kGlow = 0xFFBD8D;

// The window's own menu: a right click anywhere on the window (the name box keeps its edit menu)
// or Shift+F10 and the Menu key open it, and its entries end the system menu as well, so every
// desktop reaches them from the client area. Each entry opens one of the tool's windows; a command
// is also a system-menu command, so it is a multiple of 16 below 0xF000. New windows add their
// entries here and their handlers in RunMenuCommand.
struct MenuEntry {
    const wchar_t* text;
    unsigned command;
};
constexpr MenuEntry kWindowMenu[] = {
    {L"ホットキーの設定...", ids::kSysCommandHotkeys},
    {L"タイムの記録...", ids::kSysCommandRecords},
};

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

MonotonicMs MonotonicNow() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LocalDateTime WallClockNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

}  // namespace

TForm1::TForm1() : stopwatch_(Separators{UserTimeSeparator(), UserDateSeparator()}) {}

TForm1::~TForm1() = default;

void TForm1::Create() {
    RegisterWindowClass(kClassName, 0, nullptr, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, 0, 0, kClientWidth, kClientHeight, nullptr, nullptr);
    hotkeys_.emplace(Handle());
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    for (const MenuEntry& entry : kWindowMenu)
        AppendMenuW(systemMenu, MF_STRING, entry.command, entry.text);
    CreateControls();
    FollowDpi(kClientWidth, kClientHeight);
    FormCreate();
}

RECT TForm1::ScaledRect(const Box& box) const {
    return ToRect(Scaled(box));
}

void TForm1::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
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

    for (int t = 1; t <= kTrees; ++t)
        btn[t].OnClick = [this](TCustomGlassButton& sender) { btn01Click(sender); };
    btnSTA.OnClick = [this](TCustomGlassButton&) { btnSTAClick(); };
    btnEND.OnClick = [this](TCustomGlassButton&) { btnENDClick(); };
    btnCOPY.OnClick = [this](TCustomGlassButton&) { btnCOPYClick(); };
    btnAllClear.OnClick = [this](TCustomGlassButton&) { btnAllClearClick(); };
    btnBtnClear.OnClick = [this](TCustomGlassButton&) { btnBtnClearClick(); };
    btnSetting.OnClick = [this](TCustomGlassButton&) { btnSettingClick(); };

    auto enter = [this](TCustomGlassButton&) { btn01MouseEnter(); };
    for (int t = 1; t <= kTrees; ++t)
        btn[t].OnMouseEnter = enter;
    for (TGlassButton* button : {&btnBtnClear, &btnAllClear, &btnSTA, &btnEND, &btnCOPY, &btnSetting}) {
        button->OnMouseEnter = enter;
    }
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
    WatchMouseEnter(Handle(), onEnter, ScaledRect(kLabelTime));
    if (Image1and2) {
        Image1and2->SetDpi(Dpi());
    } else {
        Image1and2.emplace(Handle(), kMap, Dpi());
    }
    backBuffer_.emplace(Scaled(kClientWidth), Scaled(kClientHeight));
    InvalidateRect(Handle(), nullptr, FALSE);
}

UniqueFont CreateTimeLabelFont(int height, int width) {
    auto widestTime = [](HDC dc) {
        int tens = 0, units = 0;  // the widest digit up to 5, and up to 9
        for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
            const int w = TextWidth(dc, std::wstring_view(&digit, 1));
            units = std::max(units, w);
            if (digit <= L'5')
                tens = std::max(tens, w);
        }
        return 2 * tens + 5 * units + TextWidth(dc, L":") + TextWidth(dc, L".");
    };
    return MakeUiFontThatFits(height, width, widestTime);
}

void TForm1::CreateFonts() {
    // The controls take the new font before the old one goes.
    UniqueFont windowFont = MakeUiFont(Scaled(kWindowFontHeight));
    for (HWND control : {edtNAME, chTopmost, newBestBalloon_}) {
        if (control != nullptr)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), TRUE);
    }
    windowFont_ = std::move(windowFont);
    labelFont_ = CreateTimeLabelFont(Scaled(kLabelFontHeight), Scaled(kLabelTime.width));
}

void TForm1::FormCreate() {
    ReadSettings();
    SetTopmostCheck(board.blChTopmost);
    ApplyStackingStyle();
    LoadMapForPalette();
    btnSTA.SetCaption(L"タイム\r\n計測開始");
    btnEND.SetCaption(L"タイム\r\n計測停止");
    btnAllClear.SetCaption(L"最初\r\nから");
    btnCOPY.SetCaption(L"結果\r\nCOPY");
    excBtnClearForm1();
    excBtnClearForm2();
    excAllClear();
}

void TForm1::ReadSettings() {
    const WindowPosition centre = DefaultPositionOf(Handle());
    MainWindowSettings settings;
    settings.position = centre;
    try {
        settings = LoadMainWindowSettings(centre);
    } catch (const AppError& error) {
        // The window still opens, with the defaults, so the player can go on.
        ShowErrorBox(error.Message());
    }
    SetDisplaySettings(board, settings.display);
    board.blChTopmost = settings.topmost;
    PlaceWindow(Handle(), settings.position, centre);
    SetWindowTextW(edtNAME, settings.name.c_str());
    chosenHotkeys_ = settings.hotkeys;
    hotkeys_->HoldWhatCan(chosenHotkeys_);
}

void TForm1::WriteCloseSettings() {
    // Where each window is when shown normally: closing while minimised must not keep the parking
    // place of a minimised window.
    CloseSettings settings;
    settings.mainWindow = RestoredPosition(Handle());
    settings.name = WindowText(edtNAME);
    if (picker_ != nullptr)
        settings.selectionWindow = RestoredPosition(picker_->Handle());
    settings.topmost = board.blChTopmost;
    SaveCloseSettings(settings);
}

void TForm1::FormClose() {
    try {
        WriteCloseSettings();
    } catch (const AppError& error) {
        // The player is told, and the program still closes: a settings file that cannot be read
        // or written must never keep the window open for good.
        ShowErrorBox(error.Message());
    }
}

void TForm1::FormActivate() {
    if (TopmostChecked())
        ForceForeground(Handle());
}

void TForm1::btn01Click(TCustomGlassButton& sender) {
    board.iSel1 = ButtonNumberFromName(sender.Name());
    ApplyTopmost(Handle(), false);
    if (picker_ != nullptr)
        picker_->ShowModal(Handle());
    SetTopmostCheck(board.blChTopmost);
    ApplyStackingStyle();
}

void TForm1::btnSTAClick() {
    HideNewBest();  // a new run: the last one's news is over
    excBtnEnabled(true);
    stopwatch_.Start(MonotonicNow());
    ShowStopwatchState();
}

void TForm1::btnENDClick() {
    stopwatch_.Stop(MonotonicNow());
    ShowStopwatchState();
}

void TForm1::Timer1Timer() {
    stopwatch_.Tick(MonotonicNow());
    ShowStopwatchState();
}

void TForm1::btnCOPYClick() {
    HideNewBest();  // the last copy's news is over; a box this copy may raise stands alone
    // The line goes on the clipboard first: a settings file that cannot be written costs only the
    // record, never the copy. The stopwatch counts a stopped time as copied once both are done, so a
    // copy that failed (the clipboard or the file held by another program) is kept by the next one.
    stopwatch_.Copy(MonotonicNow(), WallClockNow(), WindowText(edtNAME), kCaption,
                    [this](const ResultCopy& copy) {
                        ShowStopwatchState();
                        SetClipboardText(Handle(), copy.line);
                        if (copy.isNew)
                            RecordCopiedResult(copy.record);
                    });
}

void TForm1::RecordCopiedResult(const RunRecord& record) {
    // A file that cannot be written raises the store's error, shown once where the copy came from:
    // the button's click or the hot key.
    if (const std::optional<NewBest> best = SaveRunRecord(record))
        ShowNewBest(record, *best);
}

void TForm1::ShowNewBest(const RunRecord& record, const NewBest& best) {
    // A tracking balloon is a window of its own, shown without activation: the main window keeps its
    // layout, captions, title and place in the stacking, and the game keeps the keyboard. It has no
    // owner: under openbox a window that a topmost balloon belongs to is no longer raised (the
    // pointer's hover-to-front, a hot key's error box), so it goes with the main window instead.
    if (newBestBalloon_ == nullptr) {
        newBestBalloon_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                          nullptr, GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
        tool.hwnd = Handle();
        tool.uId = 1;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(newBestBalloon_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        // The window's own font, as the name box has, rather than the system's tooltip font: under
        // Wine 10 the system's drew this text as boxes, in a prefix whose font replacements give the
        // window's font its Japanese characters.
        SendMessageW(newBestBalloon_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), FALSE);
    }
    std::wstring text = FormatRunTime(record.elapsedMs);
    if (best.previousMs)
        text += L"\r\nこれまでの自己ベスト　" + FormatRunTime(*best.previousMs);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Handle();
    tool.uId = 1;
    tool.lpszText = text.data();
    SendMessageW(newBestBalloon_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(newBestBalloon_, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(L"自己ベスト更新！"));
    SendMessageW(newBestBalloon_, TTM_SETMAXTIPWIDTH, 0, Scaled(kNewBestMaxWidth));
    // The balloon hangs from below the time and the name, over the map, and leaves the buttons of the
    // top row free for the next run; clicks go through it to what lies beneath.
    const RECT label = ScaledRect(kLabelTime);
    POINT tip{(label.left + label.right) / 2, Scaled(kMap.top)};
    ClientToScreen(Handle(), &tip);
    newBestOrigin_ = ClientOrigin();
    SendMessageW(newBestBalloon_, TTM_TRACKPOSITION, 0, MAKELPARAM(tip.x, tip.y));
    SendMessageW(newBestBalloon_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(Handle(), kTimerNewBest, kNewBestShownMs, nullptr);
}

std::pair<LONG, LONG> TForm1::ClientOrigin() const {
    POINT origin{0, 0};
    ClientToScreen(Handle(), &origin);
    return {IsIconic(Handle()) ? LONG_MIN : origin.x, origin.y};
}

void TForm1::HideNewBest() {
    KillTimer(Handle(), kTimerNewBest);
    if (newBestBalloon_ == nullptr)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Handle();
    tool.uId = 1;
    SendMessageW(newBestBalloon_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::RecordsMenuClick() {
    HideNewBest();
    ApplyTopmost(Handle(), false);
    if (recordsWindow_ == nullptr) {
        recordsWindow_ = std::make_unique<TForm5>();
        recordsWindow_->Create(Handle());
    }
    recordsWindow_->ShowRecords(Handle());
    SetTopmostCheck(board.blChTopmost);
    ApplyStackingStyle();
}

void TForm1::excTimerReset() {
    stopwatch_.Reset();
    ShowStopwatchState();
}

void TForm1::ShowStopwatchState() {
    if (stopwatch_.TimerEnabled() != timerRunning_) {
        timerRunning_ = stopwatch_.TimerEnabled();
        if (timerRunning_) {
            SetTimer(Handle(), kTimer1, kTimer1Interval, nullptr);
        } else {
            KillTimer(Handle(), kTimer1);
        }
    }
    btnSTA.SetEnabled(stopwatch_.StartEnabled());
    btnEND.SetEnabled(stopwatch_.StopEnabled());
    btnCOPY.SetEnabled(stopwatch_.CopyEnabled());
    if (lblTIME != stopwatch_.LabelText()) {
        lblTIME = stopwatch_.LabelText();
        const RECT label = ScaledRect(kLabelTime);
        InvalidateRect(Handle(), &label, FALSE);
    }
}

void TForm1::btnAllClearClick() {
    excAllClear();
    if (picker_ != nullptr)
        picker_->btnClear();
}

void TForm1::btnBtnClearClick() {
    excBtnClearForm1();
}

void TForm1::btnSettingClick() {
    board.iSettings = 0;
    ApplyTopmost(Handle(), false);
    if (settings_ != nullptr)
        settings_->ShowModal(Handle());
    SetTopmostCheck(board.blChTopmost);
    ApplyStackingStyle();
    if (board.iSettings != 1)
        return;
    LoadMapForPalette();
    excBtnClearForm2_Sub();
    Campus2Clear();
    if (picker_ != nullptr) {
        picker_->Check2Red();
        picker_->Check1RedLine();
    }
    btnReText();
    SaveDisplaySettings(DisplaySettingsOf(board));
}

void TForm1::HotkeysMenuClick() {
    ApplyTopmost(Handle(), false);
    // The window lets its keys go while the dialog is open, so that any of them can be typed into a
    // row. 確定 holds the chosen ones; any other way out, a failure included, holds the old ones
    // again, and the stacking comes back.
    const HotkeySet held = hotkeys_->Held();
    hotkeys_->ReleaseAll();
    HotkeySet keys = chosenHotkeys_;
    bool accepted = false;
    {
        ScopeExit restore([&] {
            if (!accepted)
                hotkeys_->HoldWhatCan(held);
            SetTopmostCheck(board.blChTopmost);
            ApplyStackingStyle();
        });
        // Kept only once made, so a dialog that could not be made is tried again next time.
        if (hotkeyDialog_ == nullptr) {
            auto dialog = std::make_unique<TForm4>();
            dialog->Create(Handle());
            hotkeyDialog_ = std::move(dialog);
        }
        accepted = hotkeyDialog_->Choose(
            Handle(), keys, [this](const HotkeySet& chosen) { return hotkeys_->Replace(chosen); });
    }
    if (!accepted)
        return;
    const HotkeySet before = chosenHotkeys_;
    chosenHotkeys_ = keys;
    SaveHotkeys(before, keys);
}

bool TForm1::RunMenuCommand(unsigned command) {
    switch (command) {
        case ids::kSysCommandHotkeys:
            HotkeysMenuClick();
            return true;
        case ids::kSysCommandRecords:
            RecordsMenuClick();
            return true;
    }
    return false;
}

void TForm1::ShowWindowMenu(POINT at) {
    // While a modal window has the main window disabled, the menu stays shut.
    if (!IsWindowEnabled(Handle()))
        return;
    UniqueMenu menu(CreatePopupMenu());
    for (const MenuEntry& entry : kWindowMenu)
        AppendMenuW(menu.get(), MF_STRING, entry.command, entry.text);
    const auto command = static_cast<unsigned>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                       0, Handle(), nullptr));
    menu.reset();
    // The command runs once the menu is gone, outside its loop.
    RunMenuCommand(command);
}

void TForm1::OnContextMenu(LPARAM lp) {
    if (lp != -1) {
        ShowWindowMenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return;
    }
    // From the keyboard: below the control that has the focus, or at the client area's corner.
    POINT at{0, 0};
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        RECT bounds{};
        GetWindowRect(focus, &bounds);
        at = {bounds.left, bounds.bottom};
    } else {
        ClientToScreen(Handle(), &at);
    }
    ShowWindowMenu(at);
}

bool TForm1::OpenMenuFromKey(const MSG& msg) {
    const bool menuKey = msg.wParam == VK_APPS && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP);
    const bool shiftF10 =
        msg.wParam == VK_F10 && (msg.message == WM_SYSKEYDOWN || msg.message == WM_KEYDOWN) &&
        GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (!menuKey && !shiftF10)
        return false;
    if (msg.hwnd != Handle() && (!IsChild(Handle(), msg.hwnd) || msg.hwnd == edtNAME))
        return false;
    // Whether and when the system's default handling turns these keys into WM_CONTEXTMENU differs
    // between Windows and Wine; taking both the press and the release here opens the menu exactly
    // once on either.
    if (msg.message != WM_KEYUP)
        OnContextMenu(-1);
    return true;
}

void TForm1::OnHotkey(WPARAM id) {
    // Nothing happens where the button could not be clicked: while the stopwatch has it disabled, or
    // while a modal window has the main window disabled.
    const std::optional<HotkeyAction> action = GlobalHotkeys::ActionOf(id);
    if (!action)
        return;
    if (!IsWindowEnabled(Handle())) {
        // A key's error box that went behind another program comes to the front again.
        if (hotkeyErrorShown_)
            BringErrorBoxForward();
        return;
    }
    try {
        RunHotkeyAction(*action);
    } catch (const AppError& error) {
        // The key was pressed in another program, where no window of ours is active: the main
        // window comes to the front with its box over it (a window manager keeps a box with its
        // owner), and while the box is open the window is disabled, so a second press opens no
        // second box. The switch can be refused or taken back by the other program, and a main
        // window that is not raised before its box opens gets a box just above itself, behind the
        // program that has the keyboard (openbox puts it there). So once the box shows, it is
        // brought forward with the main window beneath it.
        hotkeyErrorShown_ = true;
        ForceForeground(Handle());
        SetTimer(Handle(), kTimerErrorBox, kErrorBoxLookMs, nullptr);
        ShowErrorBoxOver(Handle(), error.Message());
        KillTimer(Handle(), kTimerErrorBox);
        hotkeyErrorShown_ = false;
    }
}

void TForm1::OnErrorBoxTimer() {
    // The box's own loop runs this until the box is visible.
    HWND box = GetLastActivePopup(Handle());
    if (box == Handle() || !IsWindowVisible(box))
        return;
    KillTimer(Handle(), kTimerErrorBox);
    BringErrorBoxForward();
}

void TForm1::BringErrorBoxForward() {
    HWND box = GetLastActivePopup(Handle());
    ForceForeground(Handle());
    SetForegroundWindow(box);
    // Raised explicitly, the main window first and then the box: the foreground switch may have
    // been refused, and Wine without its virtual desktop leaves the stacking to the window manager.
    RaiseInItsBand(Handle());
    if (box != Handle())
        RaiseInItsBand(box);
}

void TForm1::RunHotkeyAction(HotkeyAction action) {
    switch (action) {
        case HotkeyAction::kStartStop:
            // One key for both buttons: it stops a running stopwatch and starts or resumes one at rest.
            if (stopwatch_.StopEnabled())
                btnENDClick();
            else if (stopwatch_.StartEnabled())
                btnSTAClick();
            break;
        case HotkeyAction::kCopy:
            if (stopwatch_.CopyEnabled())
                btnCOPYClick();
            break;
        case HotkeyAction::kReset:
            // The reset button is never disabled.
            btnAllClearClick();
            break;
    }
}

void TForm1::chTopmostClick() {
    board.blChTopmost = TopmostChecked();
    ApplyStackingStyle();
}

void TForm1::btn01MouseEnter() {
    ExecblChCursorTop();
}

void TForm1::ExecblChCursorTop() {
    if (board.blChTopmost)
        ForceForeground(Handle());
}

void TForm1::SetTopmostCheck(bool checked) {
    if (TopmostChecked() == checked)
        return;
    SendMessageW(chTopmost, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    chTopmostClick();
}

bool TForm1::TopmostChecked() const {
    return SendMessageW(chTopmost, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm1::ApplyStackingStyle() {
    ApplyTopmost(Handle(), board.blChTopmost);
}

void TForm1::LoadMapForPalette() {
    Image1and2->Image1.Load(board.iSettingsBtnBGColor == 0 ? L"PngImage_2" : L"PngImage_1");
    const RECT area = ScaledRect(kMap);
    InvalidateRect(Handle(), &area, FALSE);
}

void TForm1::excBtnClearForm1() {
    board.FillTreeLabels();
    for (int i = 1; i <= kTrees; ++i) {
        TGlassButton& tree = btn[i];
        tree.SetCaption(board.sList1Txt[i]);
        tree.SetFontBold(true);
        tree.SetFontSize(10);
        tree.SetFontColor(0x808080);
        tree.SetInnerBorderColor(0x000000);
    }
    Campus2Clear();
    if (picker_ != nullptr) {
        picker_->btnClear();
        picker_->Check1RedLine();
    }
}

void TForm1::excBtnClearForm2() {
    board.excBtnClearForm2();
}

void TForm1::excBtnClearForm2_Sub() {
    board.excBtnClearForm2_Sub();
}

void TForm1::excBtnEnabled(bool enabled) {
    for (int t = 1; t <= kTrees; ++t) {
        btn[t].SetEnabled(enabled);
        btn[t].SetFontColor(0x000000);
    }
    btnBtnClear.SetEnabled(enabled);
}

void TForm1::excAllClear() {
    excTimerReset();
    excBtnClearForm1();
    excBtnEnabled(true);
    Campus2Clear();
}

void TForm1::Campus2Clear() {
    Image1and2->Image2.Clear();
}

void TForm1::btnReText() {
    // Going through the empty text makes each button repaint over the new picture behind it.
    auto retext = [](TGlassButton& button) {
        std::wstring caption = button.Caption();
        button.SetCaption(L"");
        button.SetCaption(caption);
    };
    for (int t = 1; t <= kTrees; ++t)
        retext(btn[t]);
    retext(btnBtnClear);
    retext(btnSetting);
}

void TForm1::PaintContent(HDC dc) const {
    RECT client{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Image1and2->Paint(dc);
    RECT label = ScaledRect(kLabelTime);
    RECT clip{};
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&clip, &clip, &label))
        return;  // a button that does not meet the label
    SelectedObject font(dc, labelFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, lblTIME.c_str(), static_cast<int>(lblTIME.size()), &label, DT_RIGHT | DT_NOPREFIX);
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

void TForm1::OnCommand(int id, int code) {
    if (id == ids::kChTopmost && code == BN_CLICKED)
        chTopmostClick();
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            OnPaint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_PRINTCLIENT:
            PaintContent(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_ERASEBKGND:
            // The window's paint sets every pixel, and so does its paint into a button's DC, which
            // follows this erase at once.
            return 1;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(OnCtlColorStatic(reinterpret_cast<HDC>(wp)));
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_TIMER:
            if (wp == kTimer1)
                Timer1Timer();
            else if (wp == kTimerNewBest)
                HideNewBest();
            else if (wp == kTimerErrorBox)
                OnErrorBoxTimer();
            return 0;
        case WM_MOVE:
        case WM_SIZE:
            // A balloon left behind would point at nothing. A window manager reports moves to the
            // same place as well (openbox at a click), which leave it where it is.
            if (ClientOrigin() != newBestOrigin_)
                HideNewBest();
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE)
                FormActivate();
            break;
        case WM_CLOSE:
            FormClose();
            DestroyWindow(Handle());
            return 0;
        case WM_ENDSESSION:
            // Logging off or shutting down ends the program without a close: save as a close would.
            if (wp)
                FormClose();
            return 0;
        case WM_HOTKEY:
            OnHotkey(wp);
            return 0;
        case WM_SYSCOMMAND:
            if (RunMenuCommand(static_cast<unsigned>(wp & 0xFFF0)))
                return 0;
            break;
        case WM_CONTEXTMENU:
            OnContextMenu(lp);
            return 0;
        case WM_DESTROY:
            KillTimer(Handle(), kTimer1);
            KillTimer(Handle(), kTimerNewBest);
            KillTimer(Handle(), kTimerErrorBox);
            if (newBestBalloon_ != nullptr)
                DestroyWindow(newBestBalloon_);
            hotkeys_->ReleaseAll();
            PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot

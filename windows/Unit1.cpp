// The main window: what it does. Its controls, their places and fonts and its painting are in
// Unit1Look.cpp.
#include "windows/Unit1.h"

#include "core/MainLayout.h"
#include "platform/Clipboard.h"
#include "platform/ErrorBox.h"
#include "platform/Locale.h"
#include "shell/ErrorBoxInFront.h"
#include "shell/Placement.h"
#include "shell/Stacking.h"
#include "shell/UserSettings.h"
#include "windows/ControlIds.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/WindowMenu.h"

namespace vellicot {
namespace {

// A fixed single border with the system menu and the minimise button only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 300;
constexpr UINT_PTR kTimerNewBest = 2;
constexpr UINT_PTR kTimerErrorBox = 3;
constexpr int kNewBestMaxWidth = 260;  // at 96 DPI

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

// --- creation -----------------------------------------------------------------------------------

void TForm1::Create() {
    RegisterWindowClass(kClassName, 0, nullptr, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, 0, 0, kClientWidth, kClientHeight, nullptr, nullptr);
    hotkeys_.emplace(Handle());
    newBest_.emplace(Handle(), kTimerNewBest);
    hotkeyError_.emplace(Handle(), kTimerErrorBox);
    window_menu::AppendToSystemMenu(Handle());
    CreateControls();
    FollowDpi(kClientWidth, kClientHeight);
    FormCreate();
}

void TForm1::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
}

// --- the settings file: read at creation, written at the close ---------------------------------

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
    // The player may try again (a program that holds the file may have let it go); given up, the
    // program still closes: a settings file that cannot be read or written must never keep the
    // window open for good.
    SaveOrAskAgain([this] { WriteCloseSettings(); });
}

void TForm1::FormActivate() {
    if (TopmostChecked())
        ForceForeground(Handle());
}

// --- commands -------------------------------------------------------------------------------------

void TForm1::RunCommand(int id, CommandSource source) noexcept {
    // Nothing is to run inside a modal window's loop: a second dialog, or a reset under the picker.
    if (ModalWindowOpen())
        return;
    runningFrom_ = source;
    if (source == CommandSource::kHotkey)
        hotkeyError_->Begin();
    try {
        Dispatch(id);
    } catch (const AppError& error) {
        ShowCommandError(error.Message(), MB_OK);
    } catch (...) {
        ShowCurrentError();
    }
    if (source == CommandSource::kHotkey)
        hotkeyError_->End();
    runningFrom_ = CommandSource::kWindow;
}

void TForm1::Dispatch(int id) {
    if (id > ids::kTreeButton && id <= ids::kTreeButton + kTrees) {
        btn01Click(btn[id - ids::kTreeButton]);
        return;
    }
    static constexpr std::pair<int, void (TForm1::*)()> kHandlers[] = {
        {ids::kBtnSTA, &TForm1::btnSTAClick},
        {ids::kBtnEND, &TForm1::btnENDClick},
        {ids::kBtnCOPY, &TForm1::btnCOPYClick},
        {ids::kBtnAllClear, &TForm1::btnAllClearClick},
        {ids::kBtnBtnClear, &TForm1::btnBtnClearClick},
        {ids::kBtnSetting, &TForm1::btnSettingClick},
        {ids::kChTopmost, &TForm1::chTopmostClick},
        {static_cast<int>(ids::kSysCommandHotkeys), &TForm1::HotkeysMenuClick},
        {static_cast<int>(ids::kSysCommandRecords), &TForm1::RecordsMenuClick},
    };
    for (const auto& [command, handler] : kHandlers) {
        if (command == id)
            (this->*handler)();
    }
}

void TForm1::btn01Click(TCustomGlassButton& sender) {
    board.iSel1 = ButtonNumberFromName(sender.Name());
    if (picker_ != nullptr)
        OpenModal([this] { picker_->ShowModal(Handle()); });
}

void TForm1::btnSTAClick() {
    newBest_->Hide();  // a new run: the last one's news is over
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
    newBest_->Hide();  // the last copy's news is over; a box this copy may raise stands alone
    // The line goes on the clipboard first: a settings file that cannot be written costs only the
    // record, never the copy. The stopwatch counts a stopped time as copied once both are done, so a
    // copy that failed (the clipboard or the file held by another program) is kept by the next one.
    stopwatch_.Copy(MonotonicNow(), WallClockNow(), WindowText(edtNAME), kCaption,
                    [this](const ResultCopy& copy) {
                        ShowStopwatchState();
                        SetClipboardText(Handle(), copy.line);
                        return !copy.isNew || RecordCopiedResult(copy.record);
                    });
}

bool TForm1::RecordCopiedResult(const RunRecord& record) {
    std::optional<NewBest> best;
    if (!SaveOrAskAgain([&] { best = SaveRunRecord(record); }))
        return false;
    if (best) {
        const RECT& label = lblTIME.Place();
        newBest_->Announce(record, *best, {(label.left + label.right) / 2, Scaled(layout::kMapTop)},
                           Scaled(kNewBestMaxWidth), windowFont_.get());
    }
    return true;
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
    if (settings_ != nullptr)
        OpenModal([this] { settings_->ShowModal(Handle()); });
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
    // The new settings are in force for the run whether or not the file takes them.
    SaveOrAskAgain([this] { SaveDisplaySettings(DisplaySettingsOf(board)); });
}

void TForm1::HotkeysMenuClick() {
    // The window lets its keys go while the dialog is open, so that any of them can be typed into a
    // row. 確定 holds the chosen ones; any other way out, a failure included, holds the old ones
    // again.
    const HotkeySet held = hotkeys_->Held();
    HotkeySet keys = chosenHotkeys_;
    bool accepted = false;
    OpenModal([&] {
        hotkeys_->ReleaseAll();
        ScopeExit restore([&] {
            if (!accepted)
                hotkeys_->HoldWhatCan(held);
        });
        accepted = MadeOnce(hotkeyDialog_).Choose(Handle(), keys, [this](const HotkeySet& chosen) {
            return hotkeys_->Replace(chosen);
        });
    });
    if (!accepted)
        return;
    const HotkeySet before = chosenHotkeys_;
    chosenHotkeys_ = keys;
    SaveOrAskAgain([&] { SaveHotkeys(before, keys); });
}

void TForm1::RecordsMenuClick() {
    OpenModal([this] { MadeOnce(recordsWindow_).ShowRecords(Handle()); });
}

void TForm1::chTopmostClick() {
    board.blChTopmost = TopmostChecked();
    ApplyStackingStyle();
}

// --- modal windows --------------------------------------------------------------------------------

template <class Open>
void TForm1::OpenModal(Open open) {
    newBest_->Hide();
    modalOpen_ = true;
    ApplyTopmost(Handle(), false);
    ScopeExit restore([this] {
        modalOpen_ = false;
        SetTopmostCheck(board.blChTopmost);
        ApplyStackingStyle();
    });
    open();
}

template <class Form>
Form& TForm1::MadeOnce(std::unique_ptr<Form>& form) {
    if (form == nullptr) {
        auto made = std::make_unique<Form>();
        made->Create(Handle());
        form = std::move(made);
    }
    return *form;
}

bool TForm1::ModalWindowOpen() const noexcept {
    // A dialog or the picker disables the main window, and so does a message box it owns; a box
    // over a dialog finds the main window disabled already.
    return modalOpen_ || !IsWindowEnabled(Handle());
}

// --- errors ---------------------------------------------------------------------------------------

template <class Save>
bool TForm1::SaveOrAskAgain(Save save) {
    for (;;) {
        try {
            save();
            return true;
        } catch (const AppError& error) {
            if (ShowCommandError(error.Message(), MB_RETRYCANCEL) != IDRETRY)
                return false;
        }
    }
}

int TForm1::ShowCommandError(const std::wstring& message, UINT buttons) {
    if (runningFrom_ == CommandSource::kHotkey)
        return hotkeyError_->Show(message, buttons);
    return ShowErrorBox(message, buttons);
}

// --- the window's menu and the hot keys -----------------------------------------------------------

void TForm1::ShowWindowMenu(POINT at) {
    // While a modal window has the main window disabled, the menu stays shut.
    if (ModalWindowOpen())
        return;
    // The command runs once the menu is gone, outside its loop.
    if (const unsigned command = window_menu::Track(Handle(), at); window_menu::IsEntry(command))
        RunCommand(static_cast<int>(command));
}

void TForm1::OnContextMenu(LPARAM lp) {
    ShowWindowMenu(lp == -1 ? window_menu::KeyboardPlace(Handle())
                            : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

bool TForm1::OpenMenuFromKey(const MSG& msg) {
    if (!window_menu::IsMenuKey(msg))
        return false;
    if (msg.hwnd != Handle() && (!IsChild(Handle(), msg.hwnd) || msg.hwnd == edtNAME))
        return false;
    // The menu opens in the window's own procedure, as from a right click.
    if (window_menu::OpensMenu(msg))
        SendMessageW(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), -1);
    return true;
}

void TForm1::OnHotkey(WPARAM id) {
    const std::optional<HotkeyAction> action = GlobalHotkeys::ActionOf(id);
    if (!action)
        return;
    // While a modal window is open nothing happens; a key's error box that went behind another
    // program comes to the front again.
    if (ModalWindowOpen()) {
        if (hotkeyError_->Open())
            hotkeyError_->BringForward();
        return;
    }
    // A key does what its button does, and nothing where the button could not be clicked.
    switch (*action) {
        case HotkeyAction::kStartStop:
            // One key for both buttons: it stops a running stopwatch and starts or resumes one at rest.
            if (stopwatch_.StopEnabled())
                RunCommand(ids::kBtnEND, CommandSource::kHotkey);
            else if (stopwatch_.StartEnabled())
                RunCommand(ids::kBtnSTA, CommandSource::kHotkey);
            break;
        case HotkeyAction::kCopy:
            if (stopwatch_.CopyEnabled())
                RunCommand(ids::kBtnCOPY, CommandSource::kHotkey);
            break;
        case HotkeyAction::kReset:
            // The reset button is never disabled.
            RunCommand(ids::kBtnAllClear, CommandSource::kHotkey);
            break;
    }
}

// --- stacking -------------------------------------------------------------------------------------

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

// --- the stopwatch and the resets ---------------------------------------------------------------

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
    lblTIME.SetText(stopwatch_.LabelText());
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

void TForm1::OnCommand(int id, int code) {
    if (id == ids::kChTopmost && code == BN_CLICKED)
        RunCommand(id);
}

void TForm1::OnTimer(WPARAM id) {
    if (id == kTimer1)
        Timer1Timer();
    else if (!hotkeyError_->OnTimer(id))
        newBest_->OnTimer(id);
}

void TForm1::OnDestroy() {
    KillTimer(Handle(), kTimer1);
    newBest_.reset();
    hotkeys_->ReleaseAll();
    PostQuitMessage(0);
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
            OnTimer(wp);
            return 0;
        case WM_MOVE:
        case WM_SIZE:
            newBest_->OnMainWindowPlaced();
            break;
        case WM_ENABLE:
            // Disabled, the window has a modal window of the program over it: the balloon goes.
            if (!wp)
                newBest_->Hide();
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
            if (!window_menu::IsEntry(static_cast<unsigned>(wp & 0xFFF0)))
                break;
            RunCommand(static_cast<int>(wp & 0xFFF0));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(lp);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot

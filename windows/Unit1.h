// The main window: the orchard map with its sixteen tree buttons and the line overlay, the
// stopwatch, the player's name, the result copy, the resets, the settings and the stay-on-top box.
//
// The windows, their handlers and fields keep the names the program has always had, on purpose:
// TForm1, TForm2, TForm3, btn01Click, BitBtn01Click, sList1Txt, iSel1, FState, and so on, so that
// what players and earlier notes call them still finds them.
//
// How the window comes to the front when the pointer enters it: every glass button's OnMouseEnter
// and platform/MouseEnter.h's watch (the window itself, the name box, the check box) call
// btn01MouseEnter, which calls ExecblChCursorTop, which runs ForceForeground (shell/Stacking.h) while
// stay-on-top mode is on.
//
// Every command, whichever way it comes (a button, the window's menu by a right click, Shift+F10 or
// the Menu key, the system menu, a global hot key), runs through RunCommand: none while a modal
// window of the program is open, and an error shows its box while the program carries on. Every
// modal window the main window opens (the picker, 設定, the hot-key dialog, the record window) opens
// through one bracket, OpenModal, that takes the topmost style away and brings it back.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "VellicotVersion.h"
#include "core/Analysis.h"
#include "core/Board.h"
#include "core/RunRecords.h"
#include "core/Stopwatch.h"
#include "platform/Handles.h"
#include "platform/Window.h"
#include "shell/ErrorBoxInFront.h"
#include "shell/GlobalHotkeys.h"
#include "widgets/GlassButton.h"
#include "windows/NewBestBalloon.h"
#include "windows/Pictures.h"
#include "windows/TimeLabel.h"

namespace vellicot {

class TForm2;
class TForm3;
class TForm4;
class TForm5;

class TForm1 : public Window {
public:
    static constexpr int kClientWidth = 304;
    static constexpr int kClientHeight = 348;
    static constexpr wchar_t kCaption[] = L"Vellicot ver." VELLICOT_VERSION_WIDE;
    // The window class, kept as the name it has always had: a second copy of the program finds the
    // first one by it and hands over to it (app/Main.cpp).
    static constexpr wchar_t kClassName[] = L"TForm1";

    // Where a command came from: the window (a button, its menu, the system menu), or a global hot
    // key pressed while another program may have the keyboard.
    enum class CommandSource { kWindow, kHotkey };

    TForm1();
    ~TForm1() override;

    // Creates the window and its controls (hidden) and runs the creation handler.
    void Create();
    // The selection window and the settings dialog, each given once it has been created; until then
    // the main window's resets leave them out. Both must live as long as this window.
    void AttachPicker(TForm2& picker) noexcept { picker_ = &picker; }
    void AttachSettings(TForm3& settings) noexcept { settings_ = &settings; }
    void Show(int showCommand);

    // The Board lives in the main window's own fields for the whole run.
    Board board;

    // The overlay on which the selection window's analysis draws the pair lines.
    LineOverlay& Overlay() { return Image1and2->Image2; }
    // The sixteen tree buttons (btn01..btn16 in slots 1..16), which the selection window's analysis
    // styles.
    std::span<TGlassButton, kTrees + 1> TreeButtons() noexcept { return btn; }

    // Brings the window to the front (ForceForeground) when stay-on-top mode is on; the pointer's
    // entering any part of this window or of the selection window calls it.
    void ExecblChCursorTop();

    // Shift+F10 and the Menu key, pressed on the window or one of its controls other than the name
    // box (which keeps its own edit menu), open the window's menu. True when the message was such a
    // key, pressed or released; the message loop then leaves it alone.
    bool OpenMenuFromKey(const MSG& msg);

    // Runs a command by its id: a control's (ids::kBtnSTA ..., a tree button's ids::kTreeButton + t)
    // or a menu entry's (ids::kSysCommandHotkeys, ids::kSysCommandRecords). Nothing runs while a
    // modal window of the program is open. An error the command raises is shown in the program's
    // box, in front of the other program for a hot key, and the program carries on.
    void RunCommand(int id, CommandSource source = CommandSource::kWindow) noexcept;

    void excBtnClearForm1();
    void Campus2Clear();
    void btnReText();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void InitGlassButton(TGlassButton& button, const wchar_t* name, int id, const wchar_t* caption,
                         const wchar_t* family, int fontHeight, bool bold, bool forceTransparent);
    // Places every control, makes the fonts and the map view at the window's DPI.
    void LayOut() override;
    void CreateFonts();
    RECT ScaledRect(const Box& box) const;

    void FormCreate();
    void FormClose();
    void FormActivate();
    void ReadSettings();
    void WriteCloseSettings();

    // The commands, as RunCommand dispatches them.
    void Dispatch(int id);
    void btn01Click(TCustomGlassButton& sender);
    void btnSTAClick();
    void btnENDClick();
    void Timer1Timer();
    void btnCOPYClick();
    void btnAllClearClick();
    void btnBtnClearClick();
    void btnSettingClick();
    void chTopmostClick();
    // "ホットキーの設定...": the hot-key dialog, then the chosen keys are saved.
    void HotkeysMenuClick();
    // "タイムの記録...": the record window.
    void RecordsMenuClick();
    // The pointer entered the window or one of its controls: brings the window to the front.
    void btn01MouseEnter();

    // Opens a modal window of the program over this one: the balloon goes, the window stops being
    // topmost while the modal window is up, and the check box and the stacking come back afterwards
    // on every path out, a window that could not be made included.
    template <class Open>
    void OpenModal(Open open);
    // A dialog made at its first opening, kept only once it was made, so a dialog that could not be
    // made is tried again the next time.
    template <class Form>
    Form& MadeOnce(std::unique_ptr<Form>& form);
    // Whether a modal window of the program (a dialog, the picker, a message box) is open.
    bool ModalWindowOpen() const noexcept;

    // Runs a save until it succeeds or the player gives it up in the error box (再試行, キャンセル);
    // whether it was saved.
    template <class Save>
    bool SaveOrAskAgain(Save save);
    // The error box of the command running now, with these buttons; the player's answer.
    int ShowCommandError(const std::wstring& message, UINT buttons);

    // 結果COPY's record of the copied result: kept in the settings file, and a new best announced;
    // false when the save was given up.
    bool RecordCopiedResult(const RunRecord& record);

    // The window's menu at a screen point; the chosen entry runs once the menu has closed.
    void ShowWindowMenu(POINT at);
    // WM_CONTEXTMENU from the window or a control of it: at the pointer, or -1 from the keyboard.
    void OnContextMenu(LPARAM lp);
    // A global hot key: what its button does, where the button could be clicked.
    void OnHotkey(WPARAM id);
    void OnTimer(WPARAM id);
    void OnDestroy();

    void excBtnClearForm2();
    void excBtnClearForm2_Sub();
    void excTimerReset();
    void excBtnEnabled(bool enabled);
    void excAllClear();

    // Sets the check box; a change runs its click handler, as a click would.
    void SetTopmostCheck(bool checked);
    bool TopmostChecked() const;
    void ApplyStackingStyle();
    void LoadMapForPalette();
    // Shows the stopwatch's state: the label, the timer and the three buttons it governs.
    void ShowStopwatchState();

    void PaintContent(HDC dc) const;
    void OnPaint(HDC given);
    HBRUSH OnCtlColorStatic(HDC dc);
    void OnCommand(int id, int code);

    TGlassButton btnSTA;
    TGlassButton btnEND;
    TGlassButton btnCOPY;
    TGlassButton btnAllClear;
    TGlassButton btnSetting;
    TGlassButton btnBtnClear;
    std::array<TGlassButton, kTrees + 1> btn;  // btn01..btn16 in slots 1..16
    HWND edtNAME = nullptr;                    // owned by the window
    HWND chTopmost = nullptr;                  // owned by the window
    TimeLabel lblTIME;
    // The map (Image1) with the pair-line overlay (Image2) over it.
    std::optional<MapView> Image1and2;
    Stopwatch stopwatch_;
    // The window's own paints are composed here first, so a repaint never flickers.
    std::optional<MemoryCanvas> backBuffer_;

    UniqueFont windowFont_;
    bool timerRunning_ = false;
    TForm2* picker_ = nullptr;    // not owned
    TForm3* settings_ = nullptr;  // not owned
    // The hot keys the settings file names, and those the window holds (a key another program
    // held at start-up is named but not held).
    HotkeySet chosenHotkeys_;
    std::optional<GlobalHotkeys> hotkeys_;
    std::unique_ptr<TForm4> hotkeyDialog_;                // made at its first opening
    std::unique_ptr<TForm5> recordsWindow_;               // made at its first opening
    CommandSource runningFrom_ = CommandSource::kWindow;  // of the command running now
    bool modalOpen_ = false;                              // OpenModal's window is up
    // Made with the window and gone with it.
    std::optional<ErrorBoxInFront> hotkeyError_;
    std::optional<NewBestBalloon> newBest_;
};

}  // namespace vellicot

// The main window: the orchard map with its sixteen tree buttons and the line overlay, the
// stopwatch, the player's name, the result copy, the resets, the settings and the stay-on-top box.
//
// The windows, their handlers and fields keep the names the program has always had, on purpose:
// TForm1, TForm2, TForm3, btn01Click, BitBtn01Click, sList1Txt, iSel1, FState, and so on, so that
// what players and earlier notes call them still finds them. "TForm1" is also the window class by
// which a second copy of the program finds the first one and hands over to it (app/Main.cpp).
//
// How the window comes to the front when the pointer enters it: every glass button's OnMouseEnter
// and platform/MouseEnter.h's watch (the window itself, the name box, the check box) call
// btn01MouseEnter, which calls ExecblChCursorTop, which runs ForceForeground (shell/Stacking.h) while
// stay-on-top mode is on.
#pragma once

#include <array>
#include <utility>
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
#include "shell/GlobalHotkeys.h"
#include "widgets/GlassButton.h"
#include "windows/Pictures.h"

namespace vellicot {

class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The time label's font: "Meiryo UI" at the label's pixel height. Under Wine the name stands for
// another font, whose digits may be wider than Meiryo UI's: there the height shrinks a pixel at a
// time until the widest time the label can show fits its width, so no digit is cut off. On Windows
// the font is Meiryo UI and the height stays.
UniqueFont CreateTimeLabelFont(int height, int width);

class TForm1 : public Window {
public:
    static constexpr int kClientWidth = 304;
    static constexpr int kClientHeight = 348;
    static constexpr wchar_t kCaption[] = L"Vellicot ver." VELLICOT_VERSION_WIDE;

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

    void btn01Click(TCustomGlassButton& sender);
    void btnSTAClick();
    void btnENDClick();
    void Timer1Timer();
    void btnCOPYClick();
    void btnAllClearClick();
    void btnBtnClearClick();
    void btnSettingClick();
    void chTopmostClick();
    // The pointer entered the window or one of its controls: brings the window to the front.
    void btn01MouseEnter();
    // "ホットキーの設定..." in the window's menu or the system menu: the hot-key dialog, then the
    // chosen keys are saved.
    void HotkeysMenuClick();
    // The window's menu at a screen point; the chosen entry runs once the menu has closed.
    void ShowWindowMenu(POINT at);
    // WM_CONTEXTMENU from the window or a control of it: at the pointer, or -1 from the keyboard.
    void OnContextMenu(LPARAM lp);
    // An entry of the window's menu or of the system menu; false for a command that is not one.
    bool RunMenuCommand(unsigned command);
    // The system menu's "タイムの記録...": the record window.
    void RecordsMenuClick();
    // 結果COPY's record of the copied result: kept in the settings file when it is a new result, and
    // a new best announced.
    void RecordCopiedResult(const RunRecord& record);
    // A balloon at the time label saying the copied time is the new best; it goes by itself.
    void ShowNewBest(const RunRecord& record, const NewBest& best);
    void HideNewBest();
    // The client area's top-left corner on the screen; minimised, none a shown window has.
    std::pair<LONG, LONG> ClientOrigin() const;
    // A global hot key: what its button does, where the button could be clicked.
    void OnHotkey(WPARAM id);
    void OnErrorBoxTimer();
    void BringErrorBoxForward();
    void RunHotkeyAction(HotkeyAction action);

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
    std::wstring lblTIME;
    // The map (Image1) with the pair-line overlay (Image2) over it.
    std::optional<MapView> Image1and2;
    Stopwatch stopwatch_;
    // The window's own paints are composed here first, so a repaint never flickers.
    std::optional<MemoryCanvas> backBuffer_;

    UniqueFont windowFont_;
    UniqueFont labelFont_;
    bool timerRunning_ = false;
    TForm2* picker_ = nullptr;    // not owned
    TForm3* settings_ = nullptr;  // not owned
    // The hot keys the settings file names, and those the window holds (a key another program
    // held at start-up is named but not held).
    HotkeySet chosenHotkeys_;
    std::optional<GlobalHotkeys> hotkeys_;
    std::unique_ptr<TForm4> hotkeyDialog_;   // made at its first opening
    bool hotkeyErrorShown_ = false;          // a key's action shows its error box
    std::unique_ptr<TForm5> recordsWindow_;  // made at its first opening
    HWND newBestBalloon_ = nullptr;          // a tooltip of the window's, made at its first use
    std::pair<LONG, LONG> newBestOrigin_;    // where the client area was when the balloon showed
};

}  // namespace vellicot

// The hot-key dialog: three rows of name, hot-key control and clear button, then 確定 and キャンセル.
#include "windows/Unit4.h"

#include <commctrl.h>

#include <string>

#include "shell/GlobalHotkeys.h"
#include "shell/Placement.h"
#include "windows/DialogParts.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm4";
// A fixed single border with the system menu, as the settings dialog has.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

constexpr wchar_t kHint[] = L"ゲーム中でもこのキーで操作できます。";
constexpr Box kHintBox{12, 10, 434, 16};

// The rows, one per HotkeyAction, named as the buttons they press.
constexpr std::array<const wchar_t*, kHotkeyActions> kRowNames = {
    L"タイム計測開始/停止",
    L"結果COPY",
    L"最初から",
};
constexpr int kRowTop = 34;
constexpr int kRowStep = 29;
constexpr Box kRowLabel{12, 4, 118, 16};  // tops within a row
// Wide enough for the longest text the control shows for a key a row takes, Ctrl, Shift and Alt
// held: "Control + Shift + Alt + KP_Subtract" under Wine, which names keys as the X keyboard does.
constexpr Box kRowHotkey{134, 0, 260, 23};
constexpr Box kRowClear{400, 0, 46, 23};
constexpr wchar_t kClearText[] = L"解除";

constexpr Box kBtnCancel{313, 130, 75, 25};
constexpr Box kBtnOK{390, 130, 56, 25};

Box InRow(const Box& box, std::size_t row) {
    return {box.left, kRowTop + static_cast<int>(row) * kRowStep + box.top, box.width, box.height};
}

// Keys that the hot-key control shows by their own names only with the extended flag.
bool IsExtendedKey(std::uint32_t key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE ||
           key == VK_NUMLOCK;
}

// The hot-key control's value (virtual key in the low byte, HOTKEYF_ flags in the high byte) and back.
WPARAM ControlValueOf(const std::optional<Hotkey>& key) {
    if (!key)
        return 0;
    BYTE flags = 0;
    if (key->modifiers & kHotkeyShift)
        flags |= HOTKEYF_SHIFT;
    if (key->modifiers & kHotkeyCtrl)
        flags |= HOTKEYF_CONTROL;
    if (key->modifiers & kHotkeyAlt)
        flags |= HOTKEYF_ALT;
    if (IsExtendedKey(key->key))
        flags |= HOTKEYF_EXT;
    return MAKEWORD(static_cast<BYTE>(key->key), flags);
}

std::optional<Hotkey> KeyOfControlValue(LRESULT value) {
    const BYTE key = LOBYTE(LOWORD(value));
    const BYTE flags = HIBYTE(LOWORD(value));
    if (key == 0)
        return std::nullopt;
    Hotkey hotkey;
    hotkey.key = key;
    if (flags & HOTKEYF_SHIFT)
        hotkey.modifiers |= kHotkeyShift;
    if (flags & HOTKEYF_CONTROL)
        hotkey.modifiers |= kHotkeyCtrl;
    if (flags & HOTKEYF_ALT)
        hotkey.modifiers |= kHotkeyAlt;
    return hotkey;
}

// Which keys may be taken (MayBeGlobalHotkey), in one sentence; the guide says the same.
constexpr wchar_t kHotkeyRule[] =
    L"F1～F24（F12 を除く）・Pause・ScrollLock は単独で、文字・数字・記号のキーとこれらのキーは"
    L" Ctrl・Alt・Shift のうち二つ以上（Ctrl+Shift、Ctrl+Alt など）と組み合わせて使えます"
    L"（Win キーと、Esc・Tab・Enter・Space・矢印などの操作キーは使えません）。";

// The key as the settings file names it, in the player's keyboard layout.
std::wstring NameOf(const Hotkey& key) {
    return FormatHotkey(key, SystemKeyboardLayout());
}

std::wstring Quoted(const std::optional<Hotkey>& key) {
    return L"「" + (key ? NameOf(*key) : std::wstring()) + L"」";
}

}  // namespace

void TForm4::Create(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    CreateDialogWindow(kExStyle, kClassName, kCaption, kStyle, kClientWidth, kClientHeight, owner);
}

bool TForm4::Choose(HWND owner, HotkeySet& keys, Apply apply) {
    keys_ = keys;
    apply_ = std::move(apply);
    accepted_ = false;
    ShowModal(owner);
    apply_ = nullptr;
    if (accepted_)
        keys = keys_;
    return accepted_;
}

void TForm4::CreateControls() {
    HWND self = Handle();
    // Creation order is Tab order: each row's control and its clear button, then the two buttons.
    // A row's label comes right before its control, so the control is known by the label's text.
    CreateChildControl(self, 0, WC_STATICW, kHint, SS_LEFT | SS_NOPREFIX, kIdHint);
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        const int offset = static_cast<int>(row);
        CreateChildControl(self, 0, WC_STATICW, kRowNames[row], SS_LEFT | SS_NOPREFIX, kIdLabel + offset);
        CreateChildControl(self, 0, HOTKEY_CLASSW, L"", WS_BORDER | WS_TABSTOP, kIdHotkey + offset);
        CreateChildControl(self, 0, WC_BUTTONW, kClearText, BS_PUSHBUTTON | WS_TABSTOP, kIdClear + offset);
    }
    CreateChildControl(self, 0, WC_BUTTONW, L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnCancel);
    CreateChildControl(self, 0, WC_BUTTONW, L"確定", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdBtnOK);
}

void TForm4::LayOutControls() {
    // The controls take the new font before the old one goes.
    UniqueFont font = MakeUiFont(Scaled(kDialogFontHeight));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    auto place = [&](int id, const Box& box) { PlaceControl(id, box, font.get()); };
    place(kIdHint, kHintBox);
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        const int offset = static_cast<int>(row);
        place(kIdLabel + offset, InRow(kRowLabel, row));
        place(kIdHotkey + offset, InRow(kRowHotkey, row));
        place(kIdClear + offset, InRow(kRowClear, row));
    }
    place(kIdBtnCancel, kBtnCancel);
    place(kIdBtnOK, kBtnOK);
    KeepFonts(std::move(font));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm4::PlaceForShow(HWND owner) {
    PlaceCentredOver(Handle(), owner);
}

void TForm4::FormShow() {
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        SendDlgItemMessageW(Handle(), kIdHotkey + static_cast<int>(row), HKM_SETHOTKEY,
                            ControlValueOf(keys_[row]), 0);
    }
    SetFocus(GetDlgItem(Handle(), kIdHotkey));
}

HotkeySet TForm4::ChosenKeys() const {
    // Every row is read as it shows now: the control does not report each change (under Wine it
    // empties itself on Backspace, Delete and Space without a word). Every key the dialog is given
    // shows as it is, since no key with Win (which the control cannot show) may be held.
    HotkeySet chosen;
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        chosen[row] = KeyOfControlValue(
            SendDlgItemMessageW(Handle(), kIdHotkey + static_cast<int>(row), HKM_GETHOTKEY, 0, 0));
    }
    return chosen;
}

void TForm4::Refuse(std::size_t row, const std::wstring& message) {
    MessageBoxW(Handle(), message.c_str(), kCaption, MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(Handle(), kIdHotkey + static_cast<int>(row)));
}

void TForm4::btnClearClick(std::size_t row) {
    SendDlgItemMessageW(Handle(), kIdHotkey + static_cast<int>(row), HKM_SETHOTKEY, 0, 0);
    SetFocus(GetDlgItem(Handle(), kIdHotkey + static_cast<int>(row)));
}

void TForm4::btnOKClick() {
    const HotkeySet chosen = ChosenKeys();
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        if (!chosen[row])
            continue;
        if (NameOf(*chosen[row]).empty()) {
            Refuse(row, std::wstring(L"「") + kRowNames[row] +
                            L"」のキーはホットキーに使えません。別のキーを選んでください。");
            return;
        }
        if (!MayBeGlobalHotkey(*chosen[row])) {
            Refuse(row, Quoted(chosen[row]) + L"はシステムやほかのプログラムのキー操作と重なるため、「" +
                            kRowNames[row] + L"」に使えません。" + kHotkeyRule);
            return;
        }
    }
    for (std::size_t row = 0; row < kHotkeyActions; ++row) {
        for (std::size_t other = 0; other < row; ++other) {
            if (chosen[row] && chosen[row] == chosen[other]) {
                Refuse(row, Quoted(chosen[row]) + L"が「" + kRowNames[other] + L"」と「" + kRowNames[row] +
                                L"」の両方に選ばれています。どちらかを変えてください。");
                return;
            }
        }
    }
    if (apply_) {
        if (std::optional<HotkeyAction> refused = apply_(chosen)) {
            const auto row = static_cast<std::size_t>(*refused);
            Refuse(row, Quoted(chosen[row]) + L"は他のプログラムが使っているため、「" + kRowNames[row] +
                            L"」に使えません。別のキーを選ぶか、解除してください。");
            return;
        }
    }
    keys_ = chosen;
    accepted_ = true;
    CloseModal();
}

void TForm4::OnCommand(int id, int code) {
    if (code != BN_CLICKED)
        return;
    if (id >= kIdClear && id < kIdClear + static_cast<int>(kHotkeyActions))
        btnClearClick(static_cast<std::size_t>(id - kIdClear));
    else if (id == kIdBtnOK)
        btnOKClick();
    else if (id == kIdBtnCancel)
        CloseModal();
}

}  // namespace vellicot

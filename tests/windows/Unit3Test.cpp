// The settings dialog: its layout, and what showing it, OK, Cancel, Esc, Enter and the title-bar close
// do to the Board.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "FormReading.h"
#include "ModalScript.h"
#include "platform/Wine.h"
#include "windows/Unit3.h"

namespace vellicot {
namespace {

using namespace testing_support;

// The lists of the display settings, in kDisplaySettings' order: iSettingsBtnBGColor,
// iSettingsTreeBtnTxtColor, iSettingsTreeBtnTxtBold, iSettingsTokuBtnTxtColor, iSettingsTokuBtnTxtBold.
constexpr int kLists = static_cast<int>(kDisplaySettings.size());
constexpr int ListId(int setting) {
    return TForm3::kIdSettingList + setting;
}

using Settings = DisplaySettings;

class Unit3Test : public ::testing::Test {
protected:
    void SetUp() override {
        owner.Create(400, 300);
        form.Create(owner.Handle(), board);
        form.EnsureControls();
        SetForegroundWindow(owner.Handle());
        PumpMessages(30);
    }
    HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
    int Selection(int id) const { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }
    Settings Selections() const {
        Settings values{};
        for (int i = 0; i < kLists; ++i)
            values[i] = Selection(ListId(i));
        return values;
    }
    void Select(const Settings& values) {
        for (int i = 0; i < kLists; ++i)
            SendMessageW(Item(ListId(i)), CB_SETCURSEL, values[i], 0);
    }
    void Show(std::vector<std::function<void()>> steps) {
        ShowModalWith(form, owner.Handle(), std::move(steps));
    }

    Board board;
    OwnerWindow owner;
    TForm3 form;
};

TEST_F(Unit3Test, WindowHasItsClassCaptionBorderAndClientSizeAndStartsHidden) {
    HWND hwnd = form.Handle();
    EXPECT_EQ(ClassOf(hwnd), L"TForm3");
    EXPECT_EQ(TextOf(hwnd), L"設定");
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "a fixed border";
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the dialog is always normal";
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 205);
    EXPECT_EQ(client.bottom, 359);
    EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner.Handle());
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST(Unit3LazyTest, ControlsAreMadeAtTheFirstShowingNotAtCreation) {
    Board board;
    OwnerWindow owner;
    owner.Create(400, 300);
    TForm3 form;
    form.Create(owner.Handle(), board);
    EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), nullptr) << "start-up makes no controls";
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 205) << "the dialog has its size all the same";
    EXPECT_EQ(client.bottom, 359);
    ShowModalWith(form, owner.Handle(), {[&] {
                      EXPECT_NE(GetDlgItem(form.Handle(), TForm3::kIdBtnOK), nullptr);
                      EXPECT_EQ(SendDlgItemMessageW(form.Handle(), ListId(0), CB_GETCURSEL, 0, 0), 0);
                      form.CloseModal();
                  }});
}

TEST_F(Unit3Test, ControlsSitAtTheirPlacesWithTheirTexts) {
    struct Expected {
        int id;
        const wchar_t* className;
        int left, top, width, height;  // width and height 0: sized to the text
        const wchar_t* text;
    };
    const Expected controls[] = {
        {TForm3::kIdGroupBox1, L"Button", 1, 3, 200, 70, L"共通"},
        {TForm3::kIdGroupBox1 + 1, L"Button", 1, 79, 200, 118, L"木の選択画面"},
        {TForm3::kIdGroupBox1 + 2, L"Button", 1, 203, 200, 118, L"徳/背徳の選択画面"},
        {TForm3::kIdLabel1, L"Static", 17, 30, 0, 0, L"ボタン背景色"},
        {TForm3::kIdLabel1 + 1, L"Static", 17, 106, 0, 0, L"徳/背徳選択後の文字"},
        {TForm3::kIdLabel1 + 2, L"Static", 34, 135, 0, 0, L"色"},
        {TForm3::kIdLabel1 + 3, L"Static", 34, 164, 0, 0, L"太さ"},
        {TForm3::kIdLabel1 + 4, L"Static", 17, 230, 0, 0, L"徳/背徳選択後の文字"},
        {TForm3::kIdLabel1 + 5, L"Static", 34, 259, 0, 0, L"色"},
        {TForm3::kIdLabel1 + 6, L"Static", 34, 288, 0, 0, L"太さ"},
        {ListId(0), L"ComboBox", 97, 27, 89, 23, L""},
        {ListId(1), L"ComboBox", 98, 131, 89, 23, L""},
        {ListId(2), L"ComboBox", 98, 161, 89, 23, L""},
        {ListId(3), L"ComboBox", 98, 255, 89, 23, L""},
        {ListId(4), L"ComboBox", 98, 285, 89, 23, L""},
        {TForm3::kIdBtnCancel, L"Button", 69, 327, 75, 25, L"キャンセル"},
        {TForm3::kIdBtnOK, L"Button", 146, 327, 56, 25, L"確定"},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        HWND control = Item(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), expected.className);
        EXPECT_EQ(TextOf(control), expected.text);
        RECT place = RectInParent(control);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        if (expected.width != 0) {
            EXPECT_EQ(place.right - place.left, expected.width);
            if (ClassOf(control) == L"ComboBox") {
                // Wine keeps a closed drop-down list at least as tall as its font's line needs: with
                // Noto Sans CJK JP's tall line that is 2 pixels over the 23 asked for.
                EXPECT_GE(place.bottom - place.top, expected.height);
                EXPECT_LE(place.bottom - place.top, expected.height + 2);
            } else {
                EXPECT_EQ(place.bottom - place.top, expected.height);
            }
        } else {
            EXPECT_GT(place.right - place.left, 0);
            EXPECT_GE(place.bottom - place.top, 12);
        }
    }
    EXPECT_EQ(GetWindowLongW(Item(TForm3::kIdBtnCancel), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(Item(TForm3::kIdBtnOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    for (int group = 0; group < 3; ++group)
        EXPECT_EQ(GetWindowLongW(Item(TForm3::kIdGroupBox1 + group), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
}

TEST_F(Unit3Test, ListsAreDropDownListsWithTheirTwoItemsAllShownWhenOpen) {
    const std::array<std::array<const wchar_t*, 2>, 5> items = {{
        {L"濃いカラー", L"半透明カラー"},
        {L"黒", L"グレー"},
        {L"標準", L"太字"},
        {L"薄いグレー", L"濃いグレー"},
        {L"標準", L"太字"},
    }};
    for (int i = 0; i < kLists; ++i) {
        SCOPED_TRACE(testing::Message() << "list " << ListId(i));
        HWND list = Item(ListId(i));
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
        for (int item = 0; item < 2; ++item) {
            wchar_t text[64] = {};
            SendMessageW(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, items[i][item]);
        }
    }
}

TEST_F(Unit3Test, AnOpenListShowsBothItemsWithoutScrolling) {
    std::vector<int> shortBy;
    Show({[&] {
        for (int i = 0; i < kLists; ++i) {
            HWND list = Item(ListId(i));
            SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            GetComboBoxInfo(list, &info);
            RECT client;
            GetClientRect(info.hwndList, &client);
            LRESULT itemHeight = SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
            shortBy.push_back(static_cast<int>(2 * itemHeight - client.bottom));
            SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
        }
        form.CloseModal();
    }});
    ASSERT_EQ(shortBy.size(), kDisplaySettings.size());
    for (int missing : shortBy)
        EXPECT_LE(missing, 0);
}

TEST_F(Unit3Test, TextIsMeiryoUi12PixelsAndOnlyTheGroupCaptionsAreBold) {
    for (HWND child = GetWindow(form.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        SCOPED_TRACE(testing::Message() << "control " << id);
        LOGFONTW font = FontOf(child);
        EXPECT_STREQ(font.lfFaceName, L"Meiryo UI");
        // Under Wine the lists' font may be smaller, to fit the items in the stand-in font (the
        // caption fit test checks that they do).
        bool list = id >= ListId(0) && id <= ListId(4);
        if (list && RunsUnderWine()) {
            EXPECT_LE(font.lfHeight, -9);
            EXPECT_GE(font.lfHeight, -12);
        } else {
            EXPECT_EQ(font.lfHeight, -12);
        }
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        bool group = id >= TForm3::kIdGroupBox1 && id < TForm3::kIdGroupBox1 + 3;
        EXPECT_EQ(font.lfWeight, group ? FW_BOLD : FW_NORMAL);
    }
}

TEST_F(Unit3Test, FormShowShowsTheStoredValuesEveryTimeAndAnyValueButZeroAsItemOne) {
    SetDisplaySettings(board, {0, 1, 7, 0, -3});
    Settings first{}, second{};
    HWND focus = nullptr;
    Show({[&] {
        first = Selections();
        focus = GetFocus();
        Select({1, 1, 1, 1, 1});
        PostMessageW(Item(TForm3::kIdBtnCancel), BM_CLICK, 0, 0);
    }});
    EXPECT_EQ(first, (Settings{0, 1, 1, 0, 1}));
    EXPECT_EQ(focus, Item(ListId(0))) << "the first list has the focus";

    SetDisplaySettings(board, {1, 0, 0, 2, 0});
    Show({[&] {
        second = Selections();
        PostMessageW(Item(TForm3::kIdBtnCancel), BM_CLICK, 0, 0);
    }});
    EXPECT_EQ(second, (Settings{1, 0, 0, 1, 0}));
}

TEST_F(Unit3Test, OkCopiesTheFiveChoicesAndSetsISettings) {
    const Settings cases[] = {{1, 0, 1, 1, 0}, {0, 1, 0, 0, 1}, {1, 1, 1, 1, 1}};
    for (const Settings& chosen : cases) {
        SetDisplaySettings(board, {0, 0, 0, 0, 0});
        board.iSettings = 0;
        Show({[&] {
            Select(chosen);
            PostMessageW(Item(TForm3::kIdBtnOK), BM_CLICK, 0, 0);
        }});
        EXPECT_EQ(board.iSettings, 1);
        EXPECT_EQ(DisplaySettingsOf(board), chosen);
        EXPECT_FALSE(IsWindowVisible(form.Handle()));
    }
}

TEST_F(Unit3Test, OkWithoutChangesStoresAnOddStoredValueAsOne) {
    SetDisplaySettings(board, {7, 0, -1, 1, 0});
    board.iSettings = 0;
    Show({[&] { PostMessageW(Item(TForm3::kIdBtnOK), BM_CLICK, 0, 0); }});
    EXPECT_EQ(board.iSettings, 1);
    EXPECT_EQ(DisplaySettingsOf(board), (Settings{1, 0, 1, 1, 0}));
}

TEST_F(Unit3Test, EnterPressesOk) {
    board.iSettings = 0;
    Show({[&] {
        Select({1, 0, 0, 1, 1});
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    }});
    EXPECT_EQ(board.iSettings, 1);
    EXPECT_EQ(DisplaySettingsOf(board), (Settings{1, 0, 0, 1, 1}));
}

TEST_F(Unit3Test, CancelEscAndTheTitleBarCloseLeaveTheBoardAlone) {
    struct Way {
        const char* name;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"cancel button", [&] { PostMessageW(Item(TForm3::kIdBtnCancel), BM_CLICK, 0, 0); }},
        {"Esc", [&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"title-bar close", [&] { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        SetDisplaySettings(board, {0, 1, 0, 1, 0});
        board.iSettings = 0;
        Show({[&] {
            Select({1, 0, 1, 0, 1});
            way.close();
        }});
        EXPECT_EQ(board.iSettings, 0);
        EXPECT_EQ(DisplaySettingsOf(board), (Settings{0, 1, 0, 1, 0}));
        EXPECT_FALSE(IsWindowVisible(form.Handle()));
        EXPECT_TRUE(IsWindow(form.Handle()));
    }
}

TEST_F(Unit3Test, CentredOverTheOwnerWheneverShownAndKeptInsideTheWorkArea) {
    auto placeWhenShown = [&] {
        RECT place{};
        Show({[&] {
            GetWindowRect(form.Handle(), &place);
            form.CloseModal();
        }});
        return place;
    };
    RECT ownerRect;
    GetWindowRect(owner.Handle(), &ownerRect);
    RECT place = placeWhenShown();
    EXPECT_NEAR((place.left + place.right) / 2.0, (ownerRect.left + ownerRect.right) / 2.0, 1.0);
    EXPECT_NEAR((place.top + place.bottom) / 2.0, (ownerRect.top + ownerRect.bottom) / 2.0, 1.0);

    SetWindowPos(owner.Handle(), nullptr, 700, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(owner.Handle(), &ownerRect);
    place = placeWhenShown();
    EXPECT_NEAR((place.left + place.right) / 2.0, (ownerRect.left + ownerRect.right) / 2.0, 1.0);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(place.top, area.top) << "the taller dialog would reach above the screen";
}

}  // namespace
}  // namespace vellicot

// The record window: its rows newest first with the best marked, copying a run's line again,
// deleting one run or all of them after the question, its scaling; and the main window's 結果COPY
// that keeps each result once and announces a new best.
#include <gtest/gtest.h>

#include "platform/Win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "FormReading.h"
#include "ModalScript.h"
#include "core/IniStore.h"
#include "outside/Outside.h"
#include "platform/Handles.h"
#include "shell/GlobalHotkeys.h"
#include "shell/UserSettings.h"
#include "windows/ControlIds.h"
#include "windows/Unit5.h"

namespace vellicot {
namespace {

using namespace testing_support;

const std::string kBom = "\xEF\xBB\xBF";

std::string Narrow(const std::wstring& text) {
    return Utf8FromWide(text);
}

std::wstring TempSettingsPath() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"vellicot-records-test.ini";
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadBytes(const std::wstring& path) {
    return outside::ReadWholeFile(path).value_or(std::string());
}

// The clipboard's text; Wine's clipboard manager may hold the clipboard a moment after a change.
std::wstring Clipboard() {
    std::wstring text;
    for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
        if (attempt == 50)
            return L"<closed>";
        Sleep(20);
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Three runs and what a hand edit left: 03:07.250 twice (the earlier is the best), a broken line.
const std::string kThreeRuns = kBom +
                               "[System]\r\nNAME=x\r\n\r\n[Records]\r\n"
                               "Run=2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | \"名無し\"\r\n"
                               "Run=2024/04/05 21:15 | 03:20.000 | Vellicot ver.1.40 | \"名無し\"\r\n"
                               "Run=not a run\r\n"
                               "Run=2024/04/06 08:01 | 03:07.250 | Vellicot ver.1.39 | \" 太郎 \"\r\n\r\n";

class Unit5Test : public ::testing::Test {
protected:
    void SetUp() override {
        path = TempSettingsPath();
        WriteBytes(path, kThreeRuns);
        owner.Create(300, 200);
        form.Create(owner.Handle());
    }
    void TearDown() override { DeleteFileW(path.c_str()); }

    HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
    HWND List() const { return Item(TForm5::kIdList); }
    int Rows() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring Cell(int row, int column) const {
        wchar_t text[128] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::vector<std::wstring> Row(int row) const {
        return {Cell(row, TForm5::kColumnDate), Cell(row, TForm5::kColumnTime),
                Cell(row, TForm5::kColumnName), Cell(row, TForm5::kColumnMark)};
    }
    // A click on a row, as the list takes it from the pointer.
    void Select(int row) const {
        RECT cell{};
        cell.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        const LPARAM at = MAKELPARAM(cell.left + 20, (cell.top + cell.bottom) / 2);
        SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(List(), WM_LBUTTONUP, 0, at);
    }
    void Press(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // Shows the window and runs the steps in it.
    void Show(std::vector<std::function<void()>> steps) {
        ModalScript script(std::move(steps), [this] { form.CloseModal(); });
        form.ShowRecords(owner.Handle(), path);
        EXPECT_TRUE(script.Finished());
    }

    std::wstring path;
    OwnerWindow owner;
    TForm5 form;
};

TEST_F(Unit5Test, RowsAreNewestFirstWithTheBestMarkedAndTheButtonsInTabOrder) {
    Show({[&] {
        EXPECT_EQ(TextOf(form.Handle()), L"タイムの記録");
        EXPECT_EQ(ClassOf(form.Handle()), L"TForm5");
        ASSERT_EQ(Rows(), 3) << "the broken line is not shown";
        using Cells = std::vector<std::wstring>;
        EXPECT_EQ(Row(0), (Cells{L"2024/04/06 08:01", L"03分07.250秒", L" 太郎 ", L""}));
        EXPECT_EQ(Row(1), (Cells{L"2024/04/05 21:15", L"03分20.000秒", L"名無し", L""}));
        EXPECT_EQ(Row(2), (Cells{L"2024/04/05 21:09", L"03分07.250秒", L"名無し", L"自己ベスト"}))
            << "of two equal times the earlier run is the best";
        EXPECT_EQ(TextOf(Item(TForm5::kIdSummary)), L"自己ベスト　03分07.250秒（2024/04/05 21:09　名無し）");
        EXPECT_EQ(TextOf(Item(TForm5::kIdStats)), L"記録 3回") << "no average before five runs";
        const wchar_t* headings[] = {L"日時", L"タイム", L"名前", L""};
        for (int column = 0; column < TForm5::kColumns; ++column) {
            wchar_t text[32] = {};
            LVCOLUMNW info{};
            info.mask = LVCF_TEXT;
            info.pszText = text;
            info.cchTextMax = 32;
            SendMessageW(List(), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                         reinterpret_cast<LPARAM>(&info));
            EXPECT_STREQ(text, headings[column]);
        }
        // The newest run is selected and the list has the keyboard; Tab goes on to the buttons.
        EXPECT_EQ(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
        EXPECT_EQ(GetFocus(), List());
        HWND tab = List();
        for (auto [id, text] : {std::pair{TForm5::kIdBtnCopy, L"コピー"},
                                {TForm5::kIdBtnDelete, L"削除"},
                                {TForm5::kIdBtnDeleteAll, L"すべて削除"},
                                {TForm5::kIdBtnClose, L"閉じる"}}) {
            tab = GetNextDlgTabItem(form.Handle(), tab, FALSE);
            EXPECT_EQ(tab, Item(id));
            EXPECT_EQ(TextOf(Item(id)), text);
        }
        // Everything lies inside the client area, at 96 DPI as laid out.
        RECT client;
        GetClientRect(form.Handle(), &client);
        EXPECT_EQ(client.right, TForm5::kClientWidth);
        EXPECT_EQ(client.bottom, TForm5::kClientHeight);
        for (HWND child = GetWindow(form.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT at = RectInParent(child);
            EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= client.right &&
                        at.bottom <= client.bottom);
        }
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    }});
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(Unit5Test, CopyPutsTheSelectedRunsLineOnTheClipboardAsItWasCopied) {
    Show({[&] { Select(0); },
          [&] {
              Press(TForm5::kIdBtnCopy);
              EXPECT_EQ(Clipboard(),
                        L" 太郎 選手のただいまの記録 『 03分07.250秒 』\u3000(2024/04/06 08:01\u3000"
                        L"Vellicot ver.1.39 調べ)");
              Select(1);
          },
          [&] {
              // Ctrl+C in the list copies too.
              SetFocus(List());
              BYTE keys[256] = {};
              GetKeyboardState(keys);
              keys[VK_CONTROL] = 0x80;
              SetKeyboardState(keys);
              SendMessageW(List(), WM_KEYDOWN, 'C', 0);
              keys[VK_CONTROL] = 0;
              SetKeyboardState(keys);
              EXPECT_EQ(Clipboard(),
                        L"名無し選手のただいまの記録 『 03分20.000秒 』\u3000(2024/04/05 21:15\u3000"
                        L"Vellicot ver.1.40 調べ)");
              Press(TForm5::kIdBtnClose);
          }});
}

TEST_F(Unit5Test, DeleteRemovesTheSelectedRunFromTheFileAndTheMarkMovesToTheNextBest) {
    Show({[&] { Select(2); },
          [&] {
              Press(TForm5::kIdBtnDelete);
              ASSERT_EQ(Rows(), 2);
              EXPECT_EQ(Cell(0, TForm5::kColumnMark), L"自己ベスト");
              EXPECT_EQ(Cell(1, TForm5::kColumnMark), L"");
              EXPECT_EQ(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1)
                  << "the row in the deleted one's place is selected";
              // The Delete key deletes too.
              SetFocus(List());
              SendMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);
              EXPECT_EQ(Rows(), 1);
              Press(TForm5::kIdBtnClose);
          }});
    EXPECT_EQ(ReadBytes(path),
              kBom +
                  "[System]\r\nNAME=x\r\n\r\n[Records]\r\nRun=not a run\r\n"
                  "Run=2024/04/06 08:01 | 03:07.250 | Vellicot ver.1.39 | \" 太郎 \"\r\n\r\n");
}

TEST_F(Unit5Test, DeleteAllAsksFirstAndKeepsEverythingWhenTheAnswerIsNo) {
    std::wstring question, again;
    Show({[&] { Press(TForm5::kIdBtnDeleteAll); }, AnswerBox(question, IDNO),
          [&] {
              EXPECT_EQ(Rows(), 3);
              EXPECT_EQ(ReadBytes(path), kThreeRuns);
              Press(TForm5::kIdBtnDeleteAll);
          },
          AnswerBox(again, IDYES),
          [&] {
              EXPECT_EQ(Rows(), 0);
              EXPECT_EQ(TextOf(Item(TForm5::kIdSummary)),
                        L"記録はまだありません。結果COPYでタイムが記録されます。");
              for (int id : {TForm5::kIdBtnCopy, TForm5::kIdBtnDelete, TForm5::kIdBtnDeleteAll})
                  EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
              EXPECT_EQ(GetFocus(), List());
              Press(TForm5::kIdBtnClose);
          }});
    EXPECT_EQ(question, L"タイムの記録をすべて削除しますか？\r\n削除した記録は元に戻せません。");
    EXPECT_EQ(ReadBytes(path), kBom + "[System]\r\nNAME=x\r\n\r\n[Records]\r\nRun=not a run\r\n\r\n")
        << "the line that does not read stays";
}

// Five runs of 200, 180, 220, 170 and 190 seconds: the fourth is the best.
TEST_F(Unit5Test, TheChartPutsEachRunAtItsTimeMarksTheBestAndTheSelectedRunAndAClickChoosesItsRow) {
    std::string runs = kBom + "[Records]\r\n";
    for (const char* time : {"03:20.000", "03:00.000", "03:40.000", "02:50.000", "03:10.000"})
        runs += std::string("Run=2024/04/05 21:09 | ") + time + " | Vellicot ver.1.40 | \"x\"\r\n";
    WriteBytes(path, runs);
    Show({[&] {
        HWND chartWindow = Item(TForm5::kIdChart);
        auto* chart = dynamic_cast<RunChart*>(WindowFromHandle(chartWindow));
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(TextOf(Item(TForm5::kIdStats)), L"記録 5回　直近5回平均 03分10.000秒");
        std::vector<POINT> at;
        for (std::size_t run = 0; run < 5; ++run)
            at.push_back(chart->PointOf(run).value());
        // Oldest at the left, evenly apart; a longer time higher up, in proportion.
        for (std::size_t run = 1; run < 5; ++run)
            EXPECT_NEAR(at[run].x - at[run - 1].x, at[1].x - at[0].x, 1) << run;
        EXPECT_GT(at[1].x, at[0].x);
        EXPECT_NEAR(at[0].y - at[2].y, at[1].y - at[0].y, 1) << "20 s apart each";
        EXPECT_NEAR(at[1].y - at[0].y, 2 * (at[3].y - at[1].y), 1) << "10 s is half of 20 s";
        EXPECT_GT(at[3].y, at[1].y);
        RECT client;
        GetClientRect(chartWindow, &client);
        MemoryCanvas canvas(client.right, client.bottom);
        auto highlightNear = [&](POINT p) {
            for (int y = p.y - 12; y <= p.y + 12; ++y) {
                for (int x = p.x - 12; x <= p.x + 12; ++x) {
                    if (ColourAt(canvas, x, y) == GetSysColor(COLOR_HIGHLIGHT))
                        return true;
                }
            }
            return false;
        };
        PaintClientInto(chartWindow, canvas);
        const std::uint32_t background = GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(ColourAt(canvas, at[3].x, at[3].y), RGB(204, 0, 0)) << "the best's point is red";
        for (std::size_t run : {0, 1, 2, 4}) {
            EXPECT_EQ(ColourAt(canvas, at[run].x, at[run].y), ColourAt(canvas, at[0].x, at[0].y)) << run;
            EXPECT_NE(ColourAt(canvas, at[run].x, at[run].y), background) << run;
        }
        // The newest run, selected in the list, is ringed in the selection colour, and only it.
        EXPECT_TRUE(highlightNear(at[4]));
        EXPECT_FALSE(highlightNear(at[2]));
        // A click beside the second run's point selects its row and gives the list the keyboard.
        SendMessageW(chartWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at[1].x + 3, at[1].y - 2));
        EXPECT_EQ(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
        EXPECT_EQ(GetFocus(), List());
        PaintClientInto(chartWindow, canvas);
        EXPECT_TRUE(highlightNear(at[1]));
        EXPECT_FALSE(highlightNear(at[4]));
        Press(TForm5::kIdBtnClose);
    }});
}

TEST_F(Unit5Test, ControlsColumnsAndFontGrowWithTheDisplayAt150Percent) {
    ChangeDpi(form.Handle(), 144);  // moved to a 150 % display while hidden
    Show({[&] {
        RECT client;
        GetClientRect(form.Handle(), &client);
        EXPECT_EQ(client.right, ScaleToDpi(TForm5::kClientWidth, 144));
        EXPECT_EQ(client.bottom, ScaleToDpi(TForm5::kClientHeight, 144));
        ExpectScaledRect(Item(TForm5::kIdChart), {12, 50, 448, 140}, 144);
        ExpectScaledRect(List(), {12, 198, 448, 172}, 144);
        ExpectScaledRect(Item(TForm5::kIdBtnCopy), {12, 380, 75, 25}, 144);
        ExpectScaledRect(Item(TForm5::kIdBtnClose), {385, 380, 75, 25}, 144);
        EXPECT_EQ(SendMessageW(List(), LVM_GETCOLUMNWIDTH, TForm5::kColumnDate, 0), 219);
        EXPECT_EQ(FontOf(List()).lfHeight, -18);
        EXPECT_EQ(FontOf(Item(TForm5::kIdBtnDeleteAll)).lfHeight, -18);
        Press(TForm5::kIdBtnClose);
    }});
}

// 結果COPY in the main window keeps each result once and says when it is a new best.
class MainWindowRecordsTest : public MainAndPickerFixture {
protected:
    void Copy() { SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnCOPY), BM_CLICK, 0, 0); }
    void Run(DWORD ms) {
        SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnSTA), BM_CLICK, 0, 0);
        Sleep(ms);
        SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnEND), BM_CLICK, 0, 0);
    }
    HWND Balloon() const { return VisibleThreadWindow(TOOLTIPS_CLASSW); }
};

TEST_F(MainWindowRecordsTest, EachCopiedResultIsKeptOnceAndANewBestIsAnnouncedWithoutTakingActivation) {
    form1.Show(SW_SHOW);
    PumpMessages(50);
    Run(800);
    Copy();
    const std::wstring line = Clipboard();
    std::vector<RunRecord> records = LoadRunRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(ResultLineOf(records[0]), line) << "the record gives back the very line copied";
    PumpMessages(50);
    HWND balloon = Balloon();
    ASSERT_NE(balloon, nullptr) << "the first run is the best";
    EXPECT_EQ(GetActiveWindow(), form1.Handle()) << "the balloon takes no activation";
    // In the window's font, as the name box: the system's tooltip font may have no Japanese.
    const LOGFONTW nameFont = FontOf(GetDlgItem(form1.Handle(), ids::kEdtNAME));
    EXPECT_EQ(std::wstring(FontOf(balloon).lfFaceName), nameFont.lfFaceName);
    EXPECT_EQ(FontOf(balloon).lfHeight, nameFont.lfHeight);
    // It hangs below the top row of buttons, and a click on it goes through to the map beneath.
    RECT at;
    GetWindowRect(balloon, &at);
    RECT copyButton;
    GetWindowRect(GetDlgItem(form1.Handle(), ids::kBtnCOPY), &copyButton);
    EXPECT_GE(at.top, copyButton.bottom);
    EXPECT_EQ(SendMessageW(balloon, WM_NCHITTEST, 0,
                           MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2)),
              HTTRANSPARENT);
    EXPECT_EQ(TextOf(form1.Handle()), L"Vellicot ver.1.40");

    Copy();  // the same stopped time again (its line may name the next minute)
    EXPECT_NE(Clipboard().find(FormatRunTime(records[0].elapsedMs)), std::wstring::npos);
    EXPECT_EQ(LoadRunRecords().size(), 1u);

    // Moving the window takes the balloon away; a slower run is kept without a word, a faster one
    // is announced.
    RECT place;
    GetWindowRect(form1.Handle(), &place);
    SetWindowPos(form1.Handle(), nullptr, place.left + 10, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages(50);
    EXPECT_EQ(Balloon(), nullptr);
    SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnAllClear), BM_CLICK, 0, 0);
    Run(1500);
    Copy();
    PumpMessages(50);
    EXPECT_EQ(Balloon(), nullptr);
    SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnAllClear), BM_CLICK, 0, 0);
    Run(10);
    Copy();
    PumpMessages(50);
    EXPECT_NE(Balloon(), nullptr);
    records = LoadRunRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(BestRunIndex(records), 2u);
    // A new best copied by a hot key while the window is minimised waits for the window to be shown.
    ShowWindow(form1.Handle(), SW_MINIMIZE);
    PumpMessages(50);
    EXPECT_EQ(Balloon(), nullptr);
    DeleteFileW(SettingsFileName().c_str());  // so that this run is the best whatever its time
    SendMessageW(GetDlgItem(form1.Handle(), ids::kBtnAllClear), BM_CLICK, 0, 0);
    Run(10);
    SendMessageW(form1.Handle(), WM_HOTKEY, GlobalHotkeys::IdOf(HotkeyAction::kCopy), 0);
    PumpMessages(50);
    EXPECT_EQ(Balloon(), nullptr) << "shown at the minimised window's parking place";
    ShowWindow(form1.Handle(), SW_RESTORE);
    PumpMessages(50);
    EXPECT_NE(Balloon(), nullptr) << "the news waited for the window";
    // The balloon goes with the window.
    balloon = Balloon();
    DestroyWindow(form1.Handle());
    EXPECT_FALSE(IsWindow(balloon));
}

TEST_F(MainWindowRecordsTest, AnUnwritableFileShowsTheErrorOnceAndCostsNeitherTheCopyNorTheRun) {
    WriteBytes(SettingsFileName(), "[System]\r\nNAME=x\r\n");
    SetFileAttributesW(SettingsFileName().c_str(), FILE_ATTRIBUTE_READONLY);
    Run(50);
    std::wstring message;
    int boxes = 0;
    ModalScript script({[&] { Copy(); },
                        [&] {
                            HWND box = ThreadMessageBox();
                            ASSERT_NE(box, nullptr) << "no message box";
                            ++boxes;
                            message = TextOf(GetDlgItem(box, 0xFFFF));
                            PostMessageW(box, WM_COMMAND, IDOK, 0);
                        },
                        [&] {
                            if (ThreadMessageBox() != nullptr)
                                ++boxes;
                        }},
                       [] {});
    EXPECT_TRUE(PumpUntil([&] { return script.Finished(); }, 10000));
    SetFileAttributesW(SettingsFileName().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(boxes, 1);
    EXPECT_NE(message.find(L"\" を作成できません。"), std::wstring::npos) << Narrow(message);
    EXPECT_NE(Clipboard().find(L"選手のただいまの記録"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(SettingsFileName()), "[System]\r\nNAME=x\r\n");
    // Once the file can be written, a copy of the same stopped time keeps the run after all.
    Copy();
    EXPECT_EQ(LoadRunRecords().size(), 1u);
}

TEST_F(MainWindowRecordsTest, TheSystemMenuHasTheRecordItemBelowTheHotkeyItem) {
    HMENU menu = GetSystemMenu(form1.Handle(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 2), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"ホットキーの設定...");
    GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"タイムの記録...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), ids::kSysCommandRecords);
}

}  // namespace
}  // namespace vellicot

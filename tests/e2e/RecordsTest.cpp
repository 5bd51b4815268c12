// The record of runs from outside: three runs timed and copied with real clicks, found after a
// restart in the record window (opened from the window's menu with the mouse and keys) newest first with
// the best marked, a line copied again from it; and a hand-edited record section that costs no
// other setting.
#include <gtest/gtest.h>

#include <regex>
#include <thread>
#include <vector>

#include "tests/e2e/E2e.h"

#include <commctrl.h>
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

// Memory in another process for the list view's messages, which carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    char* At() const { return static_cast<char*>(at_); }
    void Write(std::size_t offset, const void* data, std::size_t size) const {
        WriteProcessMemory(process_, At() + offset, data, size, nullptr);
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        ReadProcessMemory(process_, At() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
    std::size_t size_;
};

int Rows(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring Cell(HWND list, int row, int column) {
    RemoteBuffer remote(list, 4096);
    constexpr std::size_t kTextAt = 1024;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote.At() + kTextAt);
    item.cchTextMax = 256;
    remote.Write(0, &item, sizeof item);
    const auto length =
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At()));
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    remote.Read(kTextAt, text.data(), text.size() * sizeof(wchar_t));
    return text;
}

// A row's rectangle on the screen.
RECT RowOnScreen(HWND list, int row) {
    RemoteBuffer remote(list, sizeof(RECT));
    RECT rect{LVIR_LABEL, 0, 0, 0};
    remote.Write(0, &rect, sizeof rect);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At()));
    remote.Read(0, &rect, sizeof rect);
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The time of a result line, "03分07.250秒".
std::wstring TimeOf(const std::wstring& line) {
    std::wsmatch match;
    return std::regex_search(line, match, std::wregex(L"『 ([0-9]+分[0-9]{2}\\.[0-9]{3}秒) 』"))
               ? match[1].str()
               : L"";
}

// Times one run with real clicks from a reset stopwatch and copies it; the line copied.
std::wstring TimeAndCopy(HWND main, std::chrono::milliseconds length) {
    HWND start = Child(main, ids::kBtnSTA);
    HWND stop = Child(main, ids::kBtnEND);
    HWND copy = Child(main, ids::kBtnCOPY);
    Click(Child(main, ids::kBtnAllClear));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(copy); }));
    ClearClipboard();
    Click(start);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(stop) != FALSE; }));
    std::this_thread::sleep_for(length);
    Click(stop);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(copy) != FALSE; }));
    Click(copy);
    std::wstring line;
    EXPECT_TRUE(WaitFor([&] {
        line = ClipboardText();
        return !line.empty();
    }));
    return line;
}

// Opens the record window as a player does: a right click on the map opens the window's menu, whose
// second entry is "タイムの記録...", chosen with the arrow keys.
HWND OpenRecordsFromTheMenu(const App& app) {
    RightClick(app.MainWindow());  // the centre of the client area: the map, clear of the trees
    if (!WaitFor([&] { return PopupMenuOf(app) != nullptr; }))
        return nullptr;
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND records = nullptr;
    WaitFor([&] { return (records = app.FindTopLevel(L"TForm5")) != nullptr; });
    return records;
}

TEST(RecordsTest, ThreeCopiedRunsAreThereAfterARestartNewestFirstWithTheBestMarked) {
    App app(L"Records");
    app.WriteSettings("[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\nNAME=走者\r\n");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    std::vector<std::wstring> lines;
    for (int ms : {1500, 600, 1100}) {
        lines.push_back(TimeAndCopy(main, std::chrono::milliseconds(ms)));
        ASSERT_FALSE(lines.back().empty());
        if (lines.size() <= 2) {
            // The first run and the faster second are each a new best, said in a balloon at the
            // time label, while the main window keeps its title.
            HWND balloon = nullptr;
            EXPECT_TRUE(WaitFor([&] { return (balloon = app.FindTopLevel(TOOLTIPS_CLASSW)) != nullptr; }));
            EXPECT_EQ(Text(main), L"Vellicot ver.1.40");
        }
    }
    std::wregex shape(
        L"走者選手のただいまの記録 『 00分0[0-9]\\.[0-9]{3}秒 』　\\([0-9]{4}/[0-9]{2}/[0-9]{2} "
        L"[0-9]{2}:[0-9]{2}　Vellicot ver\\.1\\.40 調べ\\)");
    for (const std::wstring& line : lines)
        EXPECT_TRUE(std::regex_match(line, shape)) << Narrow(line);
    ASSERT_EQ(app.Close(), 0);

    App again(L"Records", false);
    ASSERT_TRUE(again.Start());
    HWND records = OpenRecordsFromTheMenu(again);
    ASSERT_NE(records, nullptr) << "the record window did not open from the window's menu";
    EXPECT_EQ(Text(records), L"タイムの記録");
    HWND list = Child(records, ids::kRecordsList);
    ASSERT_EQ(Rows(list), 3);
    for (int row = 0; row < 3; ++row) {
        const std::wstring& line = lines[2 - row];
        SCOPED_TRACE(Narrow(line));
        EXPECT_EQ(Cell(list, row, 1), TimeOf(line));
        EXPECT_NE(line.find(L"(" + Cell(list, row, 0) + L"　"), std::wstring::npos);
        EXPECT_EQ(Cell(list, row, 2), L"走者");
        EXPECT_EQ(Cell(list, row, 3), row == 1 ? L"自己ベスト" : L"") << row;
    }

    // The best run's line, copied again with a click on its row and on コピー.
    ClearClipboard();
    const RECT best = RowOnScreen(list, 1);
    ClickAt(best.left + 10, (best.top + best.bottom) / 2);
    Click(Child(records, ids::kRecordsCopy));
    std::wstring copied;
    EXPECT_TRUE(WaitFor([&] { return (copied = ClipboardText()) == lines[1]; })) << Narrow(copied);

    // With the newest row selected, a click on the best's red point in the chart (the lowest, so in
    // its lower half) selects the best's row and leaves the keyboard with the list: Delete there
    // removes the run, and the summary and the chart's red point go to the new best, the newest.
    const RECT newest = RowOnScreen(list, 0);
    ClickAt(newest.left + 10, (newest.top + newest.bottom) / 2);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }));
    RECT chart = ClientRectOnScreen(Child(records, ids::kRecordsChart));
    chart.top = (chart.top + chart.bottom) / 2;
    constexpr COLORREF kBestRed = RGB(204, 0, 0);
    const std::optional<POINT> bestPoint = FindOnScreen(chart, kBestRed);
    ASSERT_TRUE(bestPoint.has_value()) << "no red point for the best run";
    ClickAt(bestPoint->x, bestPoint->y);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 1; }));
    PressKey(VK_DELETE);
    EXPECT_TRUE(WaitFor([&] { return Rows(list) == 2; }));
    EXPECT_NE(Text(Child(records, ids::kRecordsSummary)).find(TimeOf(lines[2])), std::wstring::npos)
        << Narrow(Text(Child(records, ids::kRecordsSummary)));
    std::optional<POINT> moved;
    EXPECT_TRUE(WaitFor([&] { return (moved = FindOnScreen(chart, kBestRed)) && moved->x > bestPoint->x; }));

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(records); }));
    EXPECT_EQ(again.Close(), 0);
}

// Ten thousand slower runs follow the best: a slower run copied with real clicks is no new best, and
// the best stays kept and marked.
TEST(RecordsTest, AHandEditedRecordSectionCostsNoOtherSettingNorTheBestAndKeepsWhatDoesNotRead) {
    std::string section =
        "[Records]\r\n"
        "Run=2024/04/05 21:09 | 75:00.000 | Vellicot ver.1.40 | \"over an hour\"\r\n"
        "Run=2024/04/05 21:09 | -00:05.000 | Vellicot ver.1.40 | \"negative\"\r\n"
        "Run=three minutes or so\r\n"
        "run=2024/04/05 21:09 | 1:02:03.000 | Vellicot ver.1.40 | \"hours\"\r\n"
        "Run=2024/04/05 21:09 | 00:00.100 | Vellicot ver.1.40 | \"best\"\r\n";
    for (int i = 0; i < 10'000; ++i)
        section += "Run=2024/04/05 21:09 | 10:00.000 | Vellicot ver.1.40 | \"same key\"\r\n";
    const std::string other = "[Other]\r\nkeep=me\r\n";
    App app(L"RecordsEdited");
    app.WriteSettings(
        "[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\nNAME=手入力\r\nchTopmost=0\r\n"
        "HotkeyCopy=Ctrl+Shift+F10\r\n\r\n" +
        section + "\r\n" + other);
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    EXPECT_EQ(Text(Child(main, ids::kEdtNAME)), L"手入力");
    const std::wstring line = TimeAndCopy(main, std::chrono::milliseconds(200));
    DWORD_PTR answer = 0;  // once the copy's click is handled, no balloon says a new best
    ASSERT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 15000, &answer), 0);
    EXPECT_EQ(app.FindTopLevel(TOOLTIPS_CLASSW), nullptr) << "a slower time was announced 自己ベスト更新！";
    ASSERT_EQ(app.Close(), 0);

    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_NE(bytes.find("NAME=手入力\r\nchTopmost=0\r\nHotkeyCopy=Ctrl+Shift+F10\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[Other]\r\nkeep=me\r\n"), std::string::npos);
    // What does not read stays as it was, the best too; of the others the newest 98 beside the new one.
    EXPECT_NE(
        bytes.find("[Records]\r\nRun=2024/04/05 21:09 | -00:05.000 | Vellicot ver.1.40 | \"negative\"\r\n"
                   "Run=three minutes or so\r\n"
                   "run=2024/04/05 21:09 | 1:02:03.000 | Vellicot ver.1.40 | \"hours\"\r\n"),
        std::string::npos);
    std::size_t runs = 0;
    for (std::size_t at = bytes.find("\"same key\""); at != std::string::npos;
         at = bytes.find("\"same key\"", at + 1))
        ++runs;
    EXPECT_NE(bytes.find("\"hours\"\r\nRun=2024/04/05 21:09 | 00:00.100 | Vellicot ver.1.40 | \"best\"\r\n"),
              std::string::npos);
    EXPECT_EQ(runs, 98u);
    EXPECT_EQ(bytes.find("over an hour"), std::string::npos) << "the oldest run but the best went";
    EXPECT_NE(bytes.find(" | \"手入力\"\r\n\r\n[Other]"), std::string::npos);

    // The record window shows the hundred kept, the new one first, and the best, the oldest, marked.
    ASSERT_TRUE(app.Start());
    PostMessageW(app.MainWindow(), WM_SYSCOMMAND, ids::kSysCommandRecords, 0);
    HWND records = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (records = app.FindTopLevel(L"TForm5")) != nullptr; }));
    HWND list = Child(records, ids::kRecordsList);
    EXPECT_EQ(Rows(list), 100);
    EXPECT_EQ(Cell(list, 0, 1), TimeOf(line));
    EXPECT_EQ(Cell(list, 0, 3), L"");
    EXPECT_EQ(Cell(list, 99, 3), L"自己ベスト");
    PostMessageW(records, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(records); }));
    EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e

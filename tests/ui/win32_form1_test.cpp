// The native window: its controls and menus as designed, the stored settings applied at the
// start, and each button and menu item running its command.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "ui/dialog_paths.h"
#include "win32_fixture.h"

namespace tallix::testing {
namespace {

RECT ClientRectOf(HWND control, HWND window) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

TEST_F(Win32Form1Test, ControlsStandWhereTheyWereDesigned) {
    const HWND form = Window().Handle();
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 507);
    EXPECT_EQ(client.bottom, 290);
    for (const ControlLayout& layout : Form1ControlTable()) {
        SCOPED_TRACE(layout.name);
        const HWND control = Control(layout.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), form);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_EQ(Text(layout.name), layout.caption);
        const PixelRect designed = ClientRect(layout, 96);
        const RECT rect = ClientRectOf(control, form);
        EXPECT_EQ(rect.left, designed.left);
        if (!layout.autoSize || Text(layout.name).empty()) {
            EXPECT_EQ(rect.top, designed.top);
            EXPECT_EQ(rect.right - rect.left, designed.width);
            EXPECT_EQ(rect.bottom - rect.top, designed.height);
        } else {
            // Sized to its text, on the middle of its designed line.
            EXPECT_NEAR((rect.top + rect.bottom) / 2.0, designed.top + designed.height / 2.0, 0.5);
            const HDC dc = GetDC(control);
            const HGDIOBJ old =
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            const std::wstring text = Utf8ToWide(layout.caption);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(control, dc);
            EXPECT_EQ(rect.right - rect.left, extent.cx);
        }
        if (layout.kind == ControlKind::Line) {
            continue;  // drawn, no text
        }
        const LOGFONTW font = FontOf(control);
        EXPECT_EQ(font.lfHeight, layout.fontPoints > 9 ? -14 : -12);
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
        EXPECT_EQ(WideToUtf8(font.lfFaceName), "SimSun");
    }
    const RECT label = ClientRectOf(Control("Label18"), form);
    EXPECT_LT(label.bottom, ClientRectOf(Control("Line1"), form).top + 1)
        << "the rule runs under its caption, not through it";
}

// Moved to a monitor of another DPI, the window lays itself out again at that DPI, in the
// place Windows suggests.
TEST_F(Win32Form1Test, ANewDpiScalesTheLayoutAndTheFonts) {
    const HWND form = Window().Handle();
    RECT suggested{40, 30, 900, 700};
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 761);
    EXPECT_EQ(client.bottom, 435);
    RECT frame{};
    GetWindowRect(form, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    for (const char* name : {"Option2", "Command7", "lblFoundline"}) {
        SCOPED_TRACE(name);
        const PixelRect designed = ClientRect(Form1ControlTable()[*ControlIndex(name)], 144);
        const RECT rect = ClientRectOf(Control(name), form);
        EXPECT_EQ(rect.left, designed.left);
        EXPECT_EQ(rect.top, designed.top);
        EXPECT_EQ(rect.right - rect.left, designed.width);
        EXPECT_EQ(rect.bottom - rect.top, designed.height);
    }
    EXPECT_EQ(FontOf(Control("Command7")).lfHeight, -18);
    EXPECT_EQ(FontOf(Control("lblFoundline")).lfHeight, -21);
}

TEST_F(Win32Form1Test, TheFrameIsFixedCentredAndCaptioned) {
    const HWND form = Window().Handle();
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(WindowTextOf(form), "Cantorel Ver 1.00 Build 0062");

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    GetWindowRect(form, &frame);
    EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);

    // The results list: read-only, scrolling, on the menu bar's colour.
    const HWND list = Control("lblFoundline");
    const LONG listStyle = GetWindowLongW(list, GWL_STYLE);
    EXPECT_TRUE(listStyle & ES_MULTILINE);
    EXPECT_TRUE(listStyle & ES_READONLY);
    EXPECT_TRUE(listStyle & WS_VSCROLL);
    const HDC dc = GetDC(list);
    EXPECT_EQ(SendMessageW(form, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(list)),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU)));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_MENU));
    ReleaseDC(list, dc);
}

TEST_F(Win32Form1Test, TabRunsThroughTheFocusableControlsInDesignedOrder) {
    // Tab enters the option buttons' group once, as the dialog manager does; the arrow keys
    // move within it.
    const char* const order[] = {"txtFileName", "Command10",    "Command9", "Command8",
                                 "Command7",    "lblFoundline", "Option1",  "txtFileName"};
    const HWND form = Window().Handle();
    EXPECT_EQ(GetFocus(), Control("txtFileName")) << "the path box has the focus at start";
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(form, Control(order[i]), FALSE), Control(order[i + 1]))
            << "after " << order[i];
        // The Tab key as the program's message loop hands it to the dialog manager: the
        // results box must let it go on as well.
        SetFocus(Control(order[i]));
        MSG tab{Control(order[i]), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        EXPECT_TRUE(IsDialogMessageW(form, &tab));
        EXPECT_EQ(GetFocus(), Control(order[i + 1])) << "Tab from " << order[i];
    }
}

TEST_F(Win32Form1Test, MenusHoldTheirItemsAsDesigned) {
    wchar_t caption[64];
    for (const MenuLayout& entry : Form1MenuTable()) {
        SCOPED_TRACE(entry.name);
        const MenuPlace place = Window().MenuEntry(entry.name);
        ASSERT_NE(place.menu, nullptr);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = caption;
        item.cch = static_cast<UINT>(std::size(caption));
        ASSERT_TRUE(GetMenuItemInfoW(place.menu, place.position, TRUE, &item));
        EXPECT_EQ((item.fType & MFT_SEPARATOR) != 0, entry.separator);
        if (!entry.separator) {
            EXPECT_EQ(WideToUtf8(caption), entry.caption);
            EXPECT_EQ((item.fState & MFS_CHECKED) != 0, entry.checked);
        }
        const bool opensMenu =
            std::string_view(entry.name) == "meuSource" || entry.parent == nullptr;
        EXPECT_EQ(item.hSubMenu != nullptr, opensMenu);
        EXPECT_EQ(Window().MenuId(entry.name) != 0, !opensMenu && !entry.separator);
        if (entry.parent == nullptr) {
            EXPECT_EQ(place.menu, GetMenu(Window().Handle()));
        }
    }
}

TEST_F(Win32Form1Test, FirstStartSelectsVb6AndStoresNothing) {
    Window();
    EXPECT_TRUE(Selected("Option1"));
    EXPECT_FALSE(Selected("Option2"));
    EXPECT_TRUE(Marked("meuVB6Proj"));
    EXPECT_FALSE(Marked("meuVBdotNetProj"));
    EXPECT_FALSE(Marked("meuBlankLine"));
    EXPECT_FALSE(Marked("meuRemarkLine"));
    for (const char* key : {"Init_Dir", "SourceProj", "BlankLine", "RemarkLine"}) {
        EXPECT_EQ(Stored(key), std::nullopt) << key;
    }
}

TEST_F(Win32Form1Test, StoredSettingsApplyAtTheStart) {
    struct Case {
        const char* sourceProj;
        bool vbNet;
        const char* storedAfter;
        const char* blankLine;
        bool skipBlank;
    };
    const Case cases[] = {
        {"1", true, "1", "True", true},      {"-0.5", true, "1", "false", false},
        {"7abc", true, "1", "1", true},      {"0", false, "0", "FALSE", false},
        {"abc", false, "abc", "yes", false}, {"", false, "", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sourceProj);
        window_.reset();
        store_.StoreSetting("SourceProj", c.sourceProj);
        store_.StoreSetting("BlankLine", c.blankLine);
        store_.StoreSetting("RemarkLine", c.blankLine);
        Window();
        EXPECT_EQ(Selected("Option2"), c.vbNet);
        EXPECT_EQ(Selected("Option1"), !c.vbNet);
        EXPECT_EQ(Marked("meuVBdotNetProj"), c.vbNet);
        EXPECT_EQ(Marked("meuVB6Proj"), !c.vbNet);
        EXPECT_EQ(Stored("SourceProj"), c.storedAfter);
        EXPECT_EQ(Marked("meuBlankLine"), c.skipBlank);
        EXPECT_EQ(Marked("meuRemarkLine"), c.skipBlank);
    }
}

TEST_F(Win32Form1Test, KindFollowsOptionButtonsAndMenuItems) {
    Choose("meuVBdotNetProj");
    EXPECT_TRUE(Selected("Option2"));
    EXPECT_FALSE(Selected("Option1"));
    EXPECT_TRUE(Marked("meuVBdotNetProj"));
    EXPECT_FALSE(Marked("meuVB6Proj"));
    EXPECT_EQ(Stored("SourceProj"), "1");

    // Choosing the selected kind again writes nothing and moves no mark.
    store_.StoreSetting("SourceProj", "untouched");
    Choose("meuVBdotNetProj");
    Click("Option2");
    EXPECT_EQ(Stored("SourceProj"), "untouched");
    EXPECT_TRUE(Marked("meuVBdotNetProj"));

    Click("Option1");
    EXPECT_TRUE(Selected("Option1"));
    EXPECT_FALSE(Selected("Option2"));
    EXPECT_TRUE(Marked("meuVB6Proj"));
    EXPECT_FALSE(Marked("meuVBdotNetProj"));
    EXPECT_EQ(Stored("SourceProj"), "0");
}

TEST_F(Win32Form1Test, CountingOptionsToggleAndAreStoredAtOnce) {
    Choose("meuBlankLine");
    EXPECT_TRUE(Marked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), "True");
    EXPECT_FALSE(Marked("meuRemarkLine"));
    EXPECT_EQ(Stored("RemarkLine"), std::nullopt);
    Choose("meuBlankLine");
    EXPECT_FALSE(Marked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), "False");
    Choose("meuRemarkLine");
    EXPECT_TRUE(Marked("meuRemarkLine"));
    EXPECT_EQ(Stored("RemarkLine"), "True");
    Reopen();
    EXPECT_TRUE(Marked("meuRemarkLine")) << "kept in the registry";
    EXPECT_FALSE(Marked("meuBlankLine"));
}

class Win32Form1CountTest : public Win32Form1Test {
protected:
    void SetUp() override {
        Win32Form1Test::SetUp();
        // a.bas: 3 lines after its attribute line, 2 of them without the blank one.
        dir_.Write("p.vbp", "Module=A; a.bas\r\n");
        dir_.Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\nEnd Sub\r\n");
    }

    std::string ReadFile(const std::string& path) {
        std::ifstream file(FromUtf8(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
};

TEST_F(Win32Form1CountTest, ButtonsAndMenuItemsRunOpenStartSaveAndClear) {
    dialogs_.openAnswer = dir_.Str("p.vbp");
    Click("Command10");
    ASSERT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(dialogs_.openCalls[0].title, "打开VB6工程文件(*.vbp)");
    EXPECT_EQ(Text("txtFileName"), dir_.Str("p.vbp"));
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("p.vbp"));

    Click("Command8");
    EXPECT_EQ(Text("lblFoundline"), "a.bas:3");
    EXPECT_EQ(Text("LblTotalLine"), "3");
    Choose("meuBlankLine");
    Choose("meuStart");
    EXPECT_EQ(Text("lblFoundline"), "a.bas:2");
    EXPECT_EQ(Text("LblTotalLine"), "2");

    const std::string report = dir_.Str("R.LOG");
    dialogs_.saveAnswer = dir_.Str("r");
    Choose("meuSave");
    ASSERT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs_.saveCalls[0].title, "保存分析结果：");
    EXPECT_EQ(dialogs_.saveCalls[0].pattern, "*.LOG");
    EXPECT_EQ(dialogs_.saveCalls[0].filterName, "Log文件");
    EXPECT_EQ(dialogs_.saveCalls[0].startFolder, dir_.Str());
    // "文件名称：", "有效行数：", "总计行数：" and the header, in code page 936.
    EXPECT_EQ(ReadFile(report),
              "============\xB1\xBE\xC4\xDA\xC8\xDD\xD3\xC9Tallix\xB8\xA8\xD6\xFA\xC9\xFA\xB3\xC9"
              "============\r\n"
              "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA" +
                  dir_.Str("p.vbp") +
                  "\r\n"
                  "\xD3\xD0\xD0\xA7\xD0\xD0\xCA\xFD\xA3\xBA"
                  "a.bas:2\r\n"
                  "\xD7\xDC\xBC\xC6\xD0\xD0\xCA\xFD\xA3\xBA"
                  "2\r\n" +
                  std::string(46, '=') + "\r\n");
    // Windows saves the report under a path upper-cased whole, as it always has.
    EXPECT_EQ(Stored("Init_Dir"), UpperCase(report));

    Choose("meuClear");
    EXPECT_EQ(Text("txtFileName"), "");
    EXPECT_EQ(Text("lblFoundline"), "a.bas:2") << "Clear takes only the path";
    EXPECT_EQ(Text("LblTotalLine"), "2");
    SetText("txtFileName", "x");
    Click("Command9");
    EXPECT_EQ(Text("txtFileName"), "");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Win32Form1CountTest, TheTotalFitsEveryCount) {
    const HWND total = Control("LblTotalLine");
    for (const int lines : {7, 1234567, 7}) {
        std::string source = "Attribute VB_Name = \"A\"\r\n";
        for (int i = 0; i < lines; ++i) {
            source += "x\r\n";
        }
        dir_.Write("a.bas", source);
        dialogs_.openAnswer = dir_.Str("p.vbp");
        Click("Command10");
        Click("Command8");
        ASSERT_EQ(Text("LblTotalLine"), std::to_string(lines));
        const HDC dc = GetDC(total);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(total, WM_GETFONT, 0, 0)));
        SIZE extent{};
        const std::wstring text = Utf8ToWide(std::to_string(lines));
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(total, dc);
        const RECT rect = ClientRectOf(total, Window().Handle());
        EXPECT_EQ(rect.right - rect.left, extent.cx);
        EXPECT_EQ(rect.left, 96);
    }
}

TEST_F(Win32Form1CountTest, StartIsDisabledWhileItRunsAndKeepsTheFocus) {
    SetText("txtFileName", dir_.Str("gone.vbp"));
    SetFocus(Control("Command8"));
    Click("Command8");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "文件" + dir_.Str("gone.vbp") + "不存在！");
    EXPECT_FALSE(messages_.shown[0].startEnabled) << "disabled while the message shows";
    EXPECT_TRUE(IsWindowEnabled(Control("Command8")));
    EXPECT_EQ(GetFocus(), Control("Command8"));
}

TEST_F(Win32Form1Test, HelpMenuItemsReachTheDesktopAndTheMessageBox) {
    Choose("meuHelpFile");
    ASSERT_EQ(messages_.shown.size(), 1u) << "no readme.txt in the program folder";
    EXPECT_EQ(messages_.shown[0].title, "提示");
    EXPECT_EQ(messages_.shown[0].text, "帮助文件readme.txt未找到！");
    dir_.Write("readme.txt", "help\r\n");
    Choose("meuHelpFile");
    Choose("meuVisitMyWeb");
    Choose("meuMailToMe");
    ASSERT_EQ(desktop_.opened.size(), 3u);
    EXPECT_EQ(desktop_.opened[0], dir_.Str() + "\\readme.txt");
    EXPECT_TRUE(desktop_.opened[1].starts_with("http")) << desktop_.opened[1];
    EXPECT_TRUE(desktop_.opened[2].starts_with("mailto:")) << desktop_.opened[2];
    Choose("meuAbout");
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, WindowTextOf(Window().Handle()));
    EXPECT_EQ(closed_, 0);
    Choose("meuExit");
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(Window().Handle(), nullptr);
}

}  // namespace
}  // namespace tallix::testing

// The export command in the native window: its dialog "导出源程序", made from the design
// table and answered from a second thread, and the menu item that runs the whole export.
#include <fstream>
#include <iterator>

#include "engine/projects/project_title.h"
#include "ui/export_source_layout.h"
#include "ui/win32/export_source_dialog_win32.h"
#include "win32_box_watcher.h"
#include "win32_fixture.h"

namespace tallix::testing {
namespace {

const ExportSourceChoice kPrefilled{"教务管理系统", "V1.0", false};

struct SeenDialog {
    std::vector<std::string> problems;  // what did not stand as designed
    std::string name, version;
    bool allPages = false;
    bool nameFocused = false;
};

// Looks the dialog over against the table, then lets `answer` act on it.
std::function<void(HWND)> Inspect(SeenDialog& seen, std::function<void(HWND)> answer) {
    return [&seen, answer = std::move(answer)](HWND dialog) {
        RECT client{};
        GetClientRect(dialog, &client);
        if (client.right != TwipsToPixels(kExportSourceWidthTwips, 96) ||
            client.bottom != TwipsToPixels(kExportSourceHeightTwips, 96)) {
            seen.problems.push_back("client " + std::to_string(client.right) + "x" +
                                    std::to_string(client.bottom));
        }
        for (const ControlLayout& control : ExportSourceControlTable()) {
            const HWND child = GetDlgItem(dialog, ExportSourceControlId(control.name));
            if (child == nullptr) {
                seen.problems.push_back(std::string("no ") + control.name);
                continue;
            }
            RECT rect{};
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
            const PixelRect designed = ClientRect(control, 96);
            const bool placed = control.autoSize
                                    ? rect.left == designed.left
                                    : rect.left == designed.left && rect.top == designed.top &&
                                          rect.right - rect.left == designed.width &&
                                          rect.bottom - rect.top == designed.height;
            if (!placed) {
                seen.problems.push_back(std::string(control.name) + " misplaced");
            }
            if (control.kind != ControlKind::TextBox &&
                WindowTextOf(child) != std::string(control.caption)) {
                seen.problems.push_back(std::string(control.name) + " caption " +
                                        WindowTextOf(child));
            }
            const bool tabStop = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0;
            if (tabStop != TakesFocus(control.kind)) {
                seen.problems.push_back(std::string(control.name) + " tab stop");
            }
        }
        if (WindowTextOf(dialog) != "导出源程序") {
            seen.problems.push_back("title " + WindowTextOf(dialog));
        }
        const LONG ok = GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE);
        if ((ok & BS_TYPEMASK) != BS_DEFPUSHBUTTON) {
            seen.problems.push_back("OK is not the default button");
        }
        seen.name = WindowTextOf(GetDlgItem(dialog, ExportSourceControlId("txtSoftwareName")));
        seen.version =
            WindowTextOf(GetDlgItem(dialog, ExportSourceControlId("txtSoftwareVersion")));
        seen.allPages = SendMessageW(GetDlgItem(dialog, ExportSourceControlId("chkAllPages")),
                                     BM_GETCHECK, 0, 0) == BST_CHECKED;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        seen.nameFocused =
            gui.hwndFocus == GetDlgItem(dialog, ExportSourceControlId("txtSoftwareName"));
        answer(dialog);
    };
}

void Type(HWND dialog, const char* name, const std::string& text) {
    SendMessageW(GetDlgItem(dialog, ExportSourceControlId(name)), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

TEST(Win32ExportSourceDialog, StandsAsDesignedAndGivesBackWhatIsChosen) {
    SeenDialog seen;
    BoxWatcher person("导出源程序", Inspect(seen, [](HWND dialog) {
                          Type(dialog, "txtSoftwareName", "库存管理");
                          Type(dialog, "txtSoftwareVersion", "V2.5");
                          SendMessageW(GetDlgItem(dialog, ExportSourceControlId("chkAllPages")),
                                       BM_CLICK, 0, 0);
                          Press(dialog, IDOK);
                      }));
    const auto chosen = ShowExportSourceDialog(nullptr, kPrefilled);
    ASSERT_TRUE(person.Seen().found) << "no dialog titled 导出源程序";
    EXPECT_EQ(seen.problems, std::vector<std::string>{});
    EXPECT_EQ(seen.name, "教务管理系统");
    EXPECT_EQ(seen.version, "V1.0");
    EXPECT_FALSE(seen.allPages);
    EXPECT_TRUE(seen.nameFocused);
    EXPECT_EQ(chosen, (std::optional<ExportSourceChoice>{{"库存管理", "V2.5", true}}));
}

TEST(Win32ExportSourceDialog, CancelAndEscGiveNothingAndOkKeepsWhatWasGiven) {
    for (const int id : {IDCANCEL, IDOK}) {
        SeenDialog seen;
        BoxWatcher person("导出源程序", Inspect(seen, [id](HWND dialog) { Press(dialog, id); }));
        const ExportSourceChoice all{"N", "", true};
        const auto chosen = ShowExportSourceDialog(nullptr, all);
        ASSERT_TRUE(person.Seen().found);
        EXPECT_TRUE(seen.allPages);
        if (id == IDCANCEL) {
            EXPECT_EQ(chosen, std::nullopt);
        } else {
            EXPECT_EQ(chosen, std::optional<ExportSourceChoice>(all));
        }
    }
    EXPECT_EQ(ExportSourceControlId("cmdCancel"), IDCANCEL);
    EXPECT_EQ(ExportSourceControlId("nothing"), 0);
}

class Win32ExportTest : public Win32Form1Test {
protected:
    void SetUp() override {
        Win32Form1Test::SetUp();
        dir_.Write("p.vbp", "Module=A; a.bas\r\n");
        dir_.Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\n' c\r\nEnd Sub\r\n");
    }
};

TEST_F(Win32ExportTest, TheMenuItemAsksTheDialogAndWritesTheDeposit) {
    Choose("meuExportSource");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "请先分析完成后，才能导出源程序!");

    dialogs_.openAnswer = dir_.Str("p.vbp");
    Click("Command10");
    Click("Command8");
    const std::string pdf = dir_.Str("软著.pdf");
    dialogs_.saveAnswer = dir_.Str("软著");
    SeenDialog seen;
    BoxWatcher person("导出源程序", Inspect(seen, [](HWND dialog) { Press(dialog, IDOK); }));
    Choose("meuExportSource");
    ASSERT_TRUE(person.Seen().found);
    const ProjectTitle title = ReadProjectTitle(dir_.Str("p.vbp"), SourceKind::Vb6);
    EXPECT_EQ(seen.name, title.name);
    EXPECT_EQ(seen.version, title.version);
    ASSERT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs_.saveCalls[0].pattern, "*.pdf");
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text,
              "源程序量：4 行\n源程序共 1 页，已全部导出\n已保存到：" + pdf);
    std::ifstream written(FromUtf8(pdf), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace tallix::testing

// Windows' own message boxes, file dialogs and shell behind the services, shown for real and
// answered from a second thread the way a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "engine/text/wide_text.h"
#include "temp_dir.h"
#include "ui/win32/win32_services.h"
#include "win32_box_watcher.h"

namespace tallix::testing {
namespace {

TEST(Win32MessageSink, ShowsModalBoxesTitledTallixAndPrompt) {
    Win32MessageSink sink;
    BoxWatcher plain("Tallix", PressOk);
    sink.ShowMessage("请先打开文件!");
    const SeenBox message = plain.Seen();
    ASSERT_TRUE(message.found) << "no box titled Tallix";
    EXPECT_NE(std::find(message.texts.begin(), message.texts.end(), "请先打开文件!"),
              message.texts.end());
    EXPECT_FALSE(message.showsIcon);

    BoxWatcher prompt("提示", PressOk);
    sink.ShowInformation("提示", "帮助文件readme.txt未找到！");
    const SeenBox information = prompt.Seen();
    ASSERT_TRUE(information.found) << "no box titled 提示";
    EXPECT_NE(
        std::find(information.texts.begin(), information.texts.end(), "帮助文件readme.txt未找到！"),
        information.texts.end());
    EXPECT_TRUE(information.showsIcon);
}

TEST(Win32FileDialogs, SaveTakesANewNameInTheStartFolderAndCancelGivesNothing) {
    TempDir dir;
    Win32FileDialogs dialogs;
    const FileDialogRequest request{"保存分析结果：", "*.LOG", "Log文件", dir.Str()};

    BoxWatcher typing(request.title, [](HWND dialog) {
        // The file name box of the classic dialog: an edit (edt1) or a combo box (cmb13).
        HWND name = GetDlgItem(dialog, 0x480);
        if (name == nullptr) {
            name = GetDlgItem(dialog, 0x47c);
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"report"));
        PressOk(dialog);
    });
    const std::string chosen = dialogs.ShowSaveDialog(request);
    ASSERT_TRUE(typing.Seen().found);
    EXPECT_EQ(chosen, dir.Str("report")) << "a file that does not exist yet is accepted";

    BoxWatcher cancelling(request.title, [](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(dialogs.ShowSaveDialog(request), "");
    EXPECT_TRUE(cancelling.Seen().found);
}

TEST(Win32FileDialogs, TheFilterNamesThePatternAndEndsInTwoNuls) {
    const std::wstring filter = CommonDialogFilter("Log文件", "*.LOG");
    EXPECT_EQ(filter, std::wstring(L"Log文件(*.LOG)\0*.LOG\0", 19));
    EXPECT_EQ(filter.c_str()[filter.size()], L'\0') << "the second closing NUL";
}

TEST(Win32Desktop, SaysSoWhenTheEditorCannotStart) {
    Win32Desktop desktop("tallix-no-such-editor.exe");
    EXPECT_FALSE(desktop.ShowTextFile("C:\\readme.txt"));
}

}  // namespace
}  // namespace tallix::testing

// The window's design as data: every control and menu item once, the tab order, and the
// pixels each toolkit places a control at.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ui/export_source_layout.h"
#include "ui/form1_layout.h"

namespace tallix {
namespace {

const char* const kControlNames[] = {
    "Frame1",   "Option1",     "Option2",      "Label19",  "Command10",
    "Command9", "txtFileName", "Command8",     "Command7", "Label18",
    "Line1",    "Label17",     "lblFoundline", "Label16",  "LblTotalLine",
};

const char* const kMenuNames[] = {
    "meuFile",
    "meuOpen",
    "meuClear",
    "bar0",
    "meuStart",
    "meuSave",
    "meuExportSource",
    "bar1",
    "meuExit",
    "meuOption",
    "meuSource",
    "meuVB6Proj",
    "meuVBdotNetProj",
    "barCalcSetting",
    "meuBlankLine",
    "meuRemarkLine",
    "meuHelp",
    "meuHelpFile",
    "bar2",
    "meuVisitMyWeb",
    "meuMailToMe",
    "bar3",
    "meuAbout",
};

TEST(Form1LayoutTable, NamesEveryControlAndMenuItemOnce) {
    const auto controls = Form1ControlTable();
    ASSERT_EQ(controls.size(), std::size(kControlNames));
    for (const char* name : kControlNames) {
        SCOPED_TRACE(name);
        const auto index = ControlIndex(name);
        ASSERT_TRUE(index.has_value());
        EXPECT_STREQ(controls[*index].name, name);
        EXPECT_EQ(
            std::count_if(controls.begin(), controls.end(),
                          [name](const ControlLayout& c) { return c.name == std::string(name); }),
            1);
    }
    const auto menus = Form1MenuTable();
    ASSERT_EQ(menus.size(), std::size(kMenuNames));
    for (std::size_t i = 0; i < menus.size(); ++i) {
        EXPECT_STREQ(menus[i].name, kMenuNames[i]);
    }
    EXPECT_FALSE(ControlIndex("command8").has_value()) << "names match in their letter case";
    EXPECT_FALSE(MenuIndex("Frame1").has_value());
    EXPECT_EQ(MenuIndex("meuAbout"), menus.size() - 1);
}

TEST(Form1LayoutTable, TabOrderRunsFromThePathBoxThroughTheButtons) {
    std::vector<int> places;
    std::vector<std::string> focusable(14);
    for (const ControlLayout& c : Form1ControlTable()) {
        if (c.kind == ControlKind::Line) {
            EXPECT_EQ(c.tabIndex, -1) << c.name;
            continue;
        }
        ASSERT_GE(c.tabIndex, 0) << c.name;
        ASSERT_LT(c.tabIndex, 14) << c.name;
        places.push_back(c.tabIndex);
        if (TakesFocus(c.kind)) {
            focusable[c.tabIndex] = c.name;
        }
    }
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    focusable.erase(std::remove(focusable.begin(), focusable.end(), ""), focusable.end());
    EXPECT_EQ(focusable,
              (std::vector<std::string>{"txtFileName", "Command10", "Command9", "Command8",
                                        "Command7", "lblFoundline", "Option1", "Option2"}));
}

TEST(Form1LayoutTable, OnlyTheOptionButtonsSitInTheFrame) {
    std::set<std::string> inFrame;
    for (const ControlLayout& c : Form1ControlTable()) {
        if (c.container == ControlContainer::Frame1) {
            inFrame.insert(c.name);
        }
    }
    EXPECT_EQ(inFrame, (std::set<std::string>{"Option1", "Option2"}));
}

TEST(Form1LayoutTable, ResultsUseTheLargerFont) {
    for (const ControlLayout& c : Form1ControlTable()) {
        const bool result =
            c.name == std::string("lblFoundline") || c.name == std::string("LblTotalLine");
        EXPECT_DOUBLE_EQ(c.fontPoints, result ? 10.5 : 9.0) << c.name;
    }
}

TEST(Form1LayoutTable, MenusComeBeforeTheirItems) {
    std::set<std::string> seen;
    for (const MenuLayout& m : Form1MenuTable()) {
        SCOPED_TRACE(m.name);
        if (m.parent != nullptr) {
            EXPECT_TRUE(seen.count(m.parent)) << "parent " << m.parent;
        }
        EXPECT_EQ(m.separator, std::string(m.name).starts_with("bar"));
        if (m.separator) {
            EXPECT_STREQ(m.caption, "-");
        }
        EXPECT_EQ(m.checked, m.name == std::string("meuVB6Proj"));
        seen.insert(m.name);
    }
    EXPECT_STREQ(Form1MenuTable()[*MenuIndex("meuVBdotNetProj")].parent, "meuSource");
    EXPECT_STREQ(Form1MenuTable()[*MenuIndex("meuSource")].parent, "meuOption");
}

TEST(Form1LayoutTable, TwipsBecomePixelsRoundedToTheNearest) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {{0, 96, 0},      {7, 96, 0},      {8, 96, 1},     {15, 96, 1},
                          {7605, 96, 507}, {4350, 96, 290}, {255, 144, 26}, {2175, 144, 218},
                          {375, 120, 31},  {375, 192, 50},  {-8, 96, -1},   {1440, 96, 96}};
    for (const Case& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

TEST(Form1LayoutTable, ClientRectanglesCountFromTheClientArea) {
    struct Case {
        const char* name;
        int dpi;
        PixelRect rect;
    };
    const Case cases[] = {
        {"Frame1", 96, {8, 8, 489, 57}},          {"Option1", 96, {24, 32, 145, 17}},
        {"Option2", 96, {200, 32, 217, 17}},      {"txtFileName", 96, {8, 104, 483, 25}},
        {"Command7", 96, {376, 136, 81, 25}},     {"Line1", 96, {8, 160, 240, 1}},
        {"lblFoundline", 96, {96, 184, 393, 49}}, {"LblTotalLine", 96, {96, 238, 7, 14}},
        {"Option1", 144, {36, 48, 218, 26}},      {"Line1", 192, {16, 320, 480, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlLayout& control = Form1ControlTable()[*ControlIndex(c.name)];
        const PixelRect rect = ClientRect(control, c.dpi);
        EXPECT_EQ(rect, c.rect) << c.dpi << " dpi: " << rect.left << "," << rect.top << " "
                                << rect.width << "x" << rect.height;
    }
}

TEST(Form1LayoutTable, TheExportItemFollowsSaveInTheFileMenu) {
    const MenuLayout& item = Form1MenuTable()[*MenuIndex("meuExportSource")];
    EXPECT_STREQ(item.caption, "导出源程序...");
    EXPECT_STREQ(item.parent, "meuFile");
    EXPECT_FALSE(item.checked);
    EXPECT_EQ(*MenuIndex("meuExportSource"), *MenuIndex("meuSave") + 1);
    EXPECT_EQ(*MenuIndex("bar1"), *MenuIndex("meuExportSource") + 1);
}

TEST(ExportSourceLayoutTable, NamesCaptionsAndTabOrder) {
    struct Expected {
        const char* name;
        ControlKind kind;
        const char* caption;
        int tabIndex;
    };
    const Expected expected[] = {
        {"txtSoftwareName", ControlKind::TextBox, "", 0},
        {"txtSoftwareVersion", ControlKind::TextBox, "", 1},
        {"chkAllPages", ControlKind::CheckBox, "导出全部页（不只前30页和后30页）", 2},
        {"cmdOK", ControlKind::Button, "确定", 3},
        {"cmdCancel", ControlKind::Button, "取消", 4},
        {"lblSoftwareName", ControlKind::Label, "软件名称：", 5},
        {"lblSoftwareVersion", ControlKind::Label, "版本号：", 6},
    };
    const auto table = ExportSourceControlTable();
    ASSERT_EQ(table.size(), std::size(expected));
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(table[i].name, expected[i].name);
        EXPECT_EQ(table[i].kind, expected[i].kind);
        EXPECT_STREQ(table[i].caption, expected[i].caption);
        EXPECT_EQ(table[i].tabIndex, expected[i].tabIndex);
        EXPECT_EQ(TakesFocus(table[i].kind), table[i].tabIndex < 5);
        // Inside the client area, with a margin.
        EXPECT_GE(table[i].left, 120);
        EXPECT_LE(table[i].left + table[i].width, kExportSourceWidthTwips - 120);
        EXPECT_LE(table[i].top + table[i].height, kExportSourceHeightTwips - 90);
    }
    EXPECT_STREQ(kExportSourceCaption, "导出源程序");
}

}  // namespace
}  // namespace tallix

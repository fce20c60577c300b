// The window's controls and menus: names, captions, places, fonts, tab order and frame.
#include <cmath>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

struct Placement {
    const char* name;
    const char* container;  // "" for the client area
    const char16_t* caption;
    QRect rect;  // pixels; labels sized to their text give width 0
    // The label's height is its font's line, centred on the designed height.
    bool lineHigh = false;
};

// The designer's twips divided by 15.
const Placement kPlacements[] = {
    {"Frame1", "", u"分析来源", {8, 8, 489, 57}},
    {"Option1", "Frame1", u"VB6 工程文件(*.vbp)", {16, 24, 145, 17}},
    {"Option2", "Frame1", u"VB7/8/9 工程文件(*.vbproj)", {192, 24, 217, 17}},
    {"Label19", "", u"准备分析的文件：", {8, 80, 0, 12}, true},
    {"Command10", "", u"打开文件(&O)", {272, 72, 81, 25}},
    {"Command9", "", u"清除文件(&C)", {376, 72, 81, 25}},
    {"txtFileName", "", u"", {8, 104, 483, 25}},
    {"Command8", "", u"开始分析(&R)", {272, 136, 81, 25}},
    {"Command7", "", u"保存结果(&S)", {376, 136, 81, 25}},
    {"Label18", "", u"分析结果：", {8, 144, 0, 12}, true},
    {"Line1", "", u"", {8, 160, 240, 1}},
    {"Label17", "", u"有效行数：", {32, 186, 0, 12}, true},
    {"lblFoundline", "", u"", {96, 184, 393, 49}},
    {"Label16", "", u"总计行数：", {32, 240, 0, 12}, true},
    {"LblTotalLine", "", u"", {96, 238, 7, 14}, true},
};

QString Caption(const QWidget* widget) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return frame->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
        return box->text();
    }
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(widget)) {
        return box->toPlainText();
    }
    return QString();
}

// Every character of the text has a glyph in the widget's resolved font.
bool Renders(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    for (QChar c : text) {
        if (c != u'&' && !metrics.inFont(c)) {
            return false;
        }
    }
    return true;
}

TEST_F(Form1Test, ControlsStandWhereTheyWereDesigned) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        const QWidget* control = Find<QWidget>(p.name);
        const QWidget* container =
            *p.container == '\0' ? Window().centralWidget() : Find<QWidget>(p.container);
        EXPECT_EQ(control->parentWidget(), container);
        EXPECT_EQ(Caption(control), QString::fromUtf16(p.caption));
        if (!p.lineHigh) {
            EXPECT_EQ(control->geometry(), p.rect);
        } else {
            EXPECT_EQ(control->x(), p.rect.x());
            EXPECT_NEAR(control->y() + control->height() / 2.0, p.rect.y() + p.rect.height() / 2.0,
                        0.5)
                << "centred on its designed line";
            if (p.rect.width() > 0) {
                EXPECT_EQ(control->width(), p.rect.width());
            } else {
                EXPECT_EQ(control->size(), control->sizeHint()) << "sized to its text";
            }
        }
        EXPECT_TRUE(control->isVisible());
    }
    EXPECT_LT(Find<QWidget>("Label18")->geometry().bottom(), Find<QWidget>("Line1")->y())
        << "the rule runs under its caption, not through it";
}

// The total sizes itself to each count: a longer one is shown whole, on the same line.
TEST_F(Form1Test, TheTotalLabelFitsEveryCount) {
    Write("p.vbp", "Module=A; a.bas\r\n");
    const auto* total = Find<QLabel>("LblTotalLine");
    const QRect designed = total->geometry();
    for (const int lines : {7, 1234567, 7}) {
        Write("a.bas", "Attribute VB_Name = \"A\"\r\n" + QByteArray("x\r\n").repeated(lines));
        dialogs_.answer = Native("p.vbp").toStdString();
        Click("Command10");
        Click("Command8");
        ASSERT_EQ(total->text(), QString::number(lines));
        EXPECT_GE(total->width(), total->fontMetrics().horizontalAdvance(total->text()));
        EXPECT_EQ(total->size(), total->sizeHint());
        EXPECT_EQ(total->pos(), designed.topLeft());
        EXPECT_EQ(total->height(), designed.height());
    }
}

// Entries as Start joins them; names with spaces, Chinese names, and one entry longer than a
// line, which alone may break inside.
QString Entries(int count, const QString& name) {
    QStringList entries;
    for (int i = 1; i <= count; ++i) {
        entries << name.arg(i) + u':' + QString::number(i * 37 % 1000);
    }
    return entries.join(u',');
}

const QString kResults[] = {
    Entries(40, QStringLiteral("mod%1.bas")),
    Entries(25, QStringLiteral("My Form %1.frm")),
    Entries(30, QStringLiteral("窗体%1.frm")),
    Entries(3, QStringLiteral("a%1.bas")) + u',' + QString(120, u'x') + QStringLiteral(".bas:9,") +
        Entries(12, QStringLiteral("b%1.cls")),
};

// The box breaks a line only after a comma, so a name stays with its count, and is a whole
// number of lines tall, so no half line shows at its foot; at any size of its font.
TEST_F(Form1Test, TheResultBoxBreaksAfterCommasAndShowsWholeLines) {
    auto* box = Find<QPlainTextEdit>("lblFoundline");
    for (const qreal points : {10.5, 9.0, 14.0}) {
        QFont font = box->font();
        font.setPointSizeF(points);
        box->setFont(font);
        for (const QString& text : kResults) {
            SCOPED_TRACE(::testing::Message() << points << " pt: " << text.left(30).toStdString());
            box->setPlainText(text);
            QTest::qWait(0);
            EXPECT_EQ(box->toPlainText(), text) << "the text is laid out, never changed";
            const QTextBlock block = box->document()->firstBlock();
            const QTextLayout* layout = block.layout();
            ASSERT_GT(layout->lineCount(), 2);
            for (int i = 0; i + 1 < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const QString shown = text.mid(line.textStart(), line.textLength());
                EXPECT_TRUE(shown.endsWith(u',') || !shown.contains(u','))
                    << "line " << i << ": " << shown.toStdString();
            }
            const qreal pitch = layout->lineAt(1).y() - layout->lineAt(0).y();
            ASSERT_GT(pitch, 0);
            const int height = box->viewport()->height();
            EXPECT_GE(height, pitch);
            EXPECT_DOUBLE_EQ(std::fmod(height, pitch), 0.0) << height << " / " << pitch;
            EXPECT_GT(box->verticalScrollBar()->maximum(), 0) << "the rest is scrolled to";
            EXPECT_FALSE(box->horizontalScrollBar()->isVisible());
        }
    }
}

TEST_F(Form1Test, EveryCaptionRendersInASongFont) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        const QWidget* control = Find<QWidget>(p.name);
        const QFontInfo font(control->font());
        EXPECT_TRUE(font.family() == QStringLiteral("SimSun") ||
                    font.family() == QStringLiteral("Noto Serif CJK SC"))
            << font.family().toStdString();
        const bool results = control->objectName() == QStringLiteral("lblFoundline") ||
                             control->objectName() == QStringLiteral("LblTotalLine");
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), results ? 10.5 : 9.0);
        EXPECT_TRUE(Renders(control->font(), QString::fromUtf16(p.caption)));
    }
    for (const QMenu* menu : Window().findChildren<QMenu*>()) {
        SCOPED_TRACE(menu->objectName().toStdString());
        EXPECT_TRUE(Renders(menu->font(), menu->title()));
        for (const QAction* item : menu->actions()) {
            EXPECT_TRUE(Renders(menu->font(), item->text())) << item->text().toStdString();
        }
    }
}

TEST_F(Form1Test, TabOrderFollowsTheDesign) {
    QStringList order;
    QWidget* widget = Find<QWidget>("txtFileName");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty()) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Find<QWidget>("txtFileName"));
    EXPECT_EQ(order, QStringList({"txtFileName", "Command10", "Command9", "Command8", "Command7",
                                  "lblFoundline", "Option1", "Option2"}));
    for (const char* name :
         {"Frame1", "Label16", "Label17", "Label18", "Label19", "LblTotalLine"}) {
        EXPECT_EQ(Find<QWidget>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
}

// One line per item: name and caption, "-" for a separator, ">" for a submenu, [x]/[ ] for a
// check mark.
QStringList Describe(const QList<QAction*>& items) {
    QStringList lines;
    for (const QAction* item : items) {
        if (item->isSeparator()) {
            lines << item->objectName() + QStringLiteral(" -");
        } else if (item->menu() != nullptr) {
            lines << item->menu()->objectName() + u' ' + item->text() + QStringLiteral(" >");
        } else {
            QString mark = item->isCheckable() ? (item->isChecked() ? QStringLiteral("[x] ")
                                                                    : QStringLiteral("[ ] "))
                                               : QString();
            lines << item->objectName() + u' ' + mark + item->text();
        }
    }
    return lines;
}

TEST_F(Form1Test, MenusHoldTheDesignedItems) {
    EXPECT_EQ(Describe(Window().menuBar()->actions()),
              QStringList({"meuFile 文件(&F) >", "meuOption 设置(&O) >", "meuHelp 帮助(&H) >"}));
    EXPECT_EQ(Describe(Find<QMenu>("meuFile")->actions()),
              QStringList({"meuOpen 打开文件", "meuClear 清除文件", "bar0 -", "meuStart 开始分析",
                           "meuSave 保存结果", "meuExportSource 导出源程序...", "bar1 -",
                           "meuExit 退出"}));
    EXPECT_EQ(Describe(Find<QMenu>("meuOption")->actions()),
              QStringList({"meuSource 分析来源 >", "barCalcSetting -",
                           "meuBlankLine [ ] 不统计空白行", "meuRemarkLine [ ] 不统计注释行"}));
    EXPECT_EQ(Describe(Find<QMenu>("meuSource")->actions()),
              QStringList({"meuVB6Proj [x] VB6 工程文件(*.vbp)",
                           "meuVBdotNetProj [ ] VB7/8/9 工程文件(*.vbproj)"}));
    EXPECT_EQ(Describe(Find<QMenu>("meuHelp")->actions()),
              QStringList({"meuHelpFile 帮助文件", "bar2 -", "meuVisitMyWeb 访问我的个人主页",
                           "meuMailToMe 发送邮件给我...", "bar3 -", "meuAbout 关于本软件"}));
    for (const QAction* item : Window().findChildren<QAction*>()) {
        SCOPED_TRACE(item->objectName().toStdString());
        EXPECT_TRUE(item->shortcut().isEmpty());
        EXPECT_TRUE(item->isEnabled());
        EXPECT_TRUE(item->isVisible());
    }
}

TEST_F(Form1Test, WindowHasAFixedSizeAndNoMinMaxButtons) {
    EXPECT_EQ(Window().centralWidget()->size(), QSize(507, 290));
    EXPECT_EQ(Window().centralWidget()->y(), Window().menuBar()->height());
    EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
    EXPECT_EQ(Window().windowFlags() & Qt::WindowMinMaxButtonsHint, Qt::WindowFlags());
    EXPECT_TRUE(Window().windowFlags() & Qt::WindowCloseButtonHint);
    // Centred before the platform adds its frame, so the frame may shift it a little.
    const QSize frame = Window().frameGeometry().size() - Window().size();
    const QPoint offCentre =
        Window().geometry().center() - Window().screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), frame.width() + frame.height() + 2);
}

}  // namespace
}  // namespace tallix::testing

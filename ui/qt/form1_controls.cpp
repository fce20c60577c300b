#include "ui/qt/form1_controls.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/qt/result_box.h"

namespace tallix {

namespace {

// The layout was designed in twips, at 15 twips to a pixel.
constexpr int Pixels(int twips) {
    return (twips + 7) / 15;
}

}  // namespace

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

// 宋体 (SimSun) where Windows provides it; elsewhere another Song face that covers the
// Chinese captions. Noto Serif CJK SC (Debian's fonts-noto-cjk) keeps file names legible at
// 9 points, "l" apart from "1" and "," from "."; the Arphic Ming faces draw those alike at
// that size and serve only where Noto is missing.
QFont SongFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("AR PL SungtiL GB")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    return font;
}

namespace {

template <typename Widget>
Widget* Place(QWidget* container, const char* name, QRect rect) {
    auto* widget = new Widget(container);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(rect);
    return widget;
}

template <typename Button>
Button* PlaceButton(QWidget* container, const char* name, const QString& caption, QRect rect) {
    auto* button = Place<Button>(container, name, rect);
    button->setText(caption);
    return button;
}

}  // namespace

// The design's Song face fills a line of 12 pixels at 9 points, 180 twips, the height every
// captioned label was given. A face with a taller line (Noto's is 18) would push the text
// down, onto the rule under "分析结果："; so a label keeps the middle of its designed line.
void CentreOnDesignedLine(QLabel* label, int designedTop, int designedHeight) {
    label->move(label->x(), designedTop + (designedHeight - label->height()) / 2);
}

namespace {

// Captioned labels size themselves to their text, keeping their left edge and middle line.
QLabel* PlaceLabel(QWidget* container, const char* name, const QString& caption, int left,
                   int top) {
    auto* label = Place<QLabel>(container, name, TwipsRect(left, top, 0, 0));
    label->setText(caption);
    label->adjustSize();
    CentreOnDesignedLine(label, Pixels(top), Pixels(180));
    return label;
}

// The total sizes itself to every new count, keeping its top-left corner (Form1); it is as
// tall as a count makes it from the start, so each count sits on the designed middle line.
QLabel* PlaceTotal(QWidget* container, const char* name, QRect designed) {
    auto* label = Place<QLabel>(container, name, designed);
    label->setFont(SongFont(10.5));
    label->setTextFormat(Qt::PlainText);
    label->setText(QStringLiteral("0"));
    label->resize(designed.width(), label->sizeHint().height());
    label->clear();
    CentreOnDesignedLine(label, designed.y(), designed.height());
    return label;
}

QFrame* PlaceLine(QWidget* container, const char* name, int left, int top, int right) {
    auto* line = Place<QFrame>(container, name, TwipsRect(left, top, right - left, 15));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

QPlainTextEdit* PlaceResultList(QWidget* container, const char* name, QRect rect) {
    auto* box = Place<ResultBox>(container, name, rect);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The background of a menu bar, as the box was designed.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
    box->setFont(SongFont(10.5));
    return box;
}

void SetTabOrder(std::initializer_list<QWidget*> chain) {
    for (auto it = chain.begin(); std::next(it) != chain.end(); ++it) {
        QWidget::setTabOrder(*it, *std::next(it));
    }
}

// Menus open as windows of their own and so do not inherit the bar's font.
QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setFont(bar->font());
    return menu;
}

QMenu* AddSubmenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setFont(parent->font());
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(checkable);
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

}  // namespace

Form1Controls CreateControls(QWidget* client) {
    client->setFont(SongFont(9));
    Form1Controls c{};
    c.Frame1 = Place<QGroupBox>(client, "Frame1", TwipsRect(120, 120, 7335, 855));
    c.Frame1->setTitle(QStringLiteral("分析来源"));
    c.Option1 = PlaceButton<QRadioButton>(
        c.Frame1, "Option1", QStringLiteral("VB6 工程文件(*.vbp)"), TwipsRect(240, 360, 2175, 255));
    c.Option1->setChecked(true);
    c.Option2 =
        PlaceButton<QRadioButton>(c.Frame1, "Option2", QStringLiteral("VB7/8/9 工程文件(*.vbproj)"),
                                  TwipsRect(2880, 360, 3255, 255));
    c.Label19 = PlaceLabel(client, "Label19", QStringLiteral("准备分析的文件："), 120, 1200);
    c.Command10 = PlaceButton<QPushButton>(client, "Command10", QStringLiteral("打开文件(&O)"),
                                           TwipsRect(4080, 1080, 1215, 375));
    c.Command9 = PlaceButton<QPushButton>(client, "Command9", QStringLiteral("清除文件(&C)"),
                                          TwipsRect(5640, 1080, 1215, 375));
    c.txtFileName = Place<QLineEdit>(client, "txtFileName", TwipsRect(120, 1560, 7245, 375));
    c.Command8 = PlaceButton<QPushButton>(client, "Command8", QStringLiteral("开始分析(&R)"),
                                          TwipsRect(4080, 2040, 1215, 375));
    c.Command7 = PlaceButton<QPushButton>(client, "Command7", QStringLiteral("保存结果(&S)"),
                                          TwipsRect(5640, 2040, 1215, 375));
    c.Label18 = PlaceLabel(client, "Label18", QStringLiteral("分析结果："), 120, 2160);
    c.Line1 = PlaceLine(client, "Line1", 120, 2400, 3720);
    c.Label17 = PlaceLabel(client, "Label17", QStringLiteral("有效行数："), 480, 2785);
    c.lblFoundline = PlaceResultList(client, "lblFoundline", TwipsRect(1440, 2760, 5895, 735));
    c.Label16 = PlaceLabel(client, "Label16", QStringLiteral("总计行数："), 480, 3600);
    c.LblTotalLine = PlaceTotal(client, "LblTotalLine", TwipsRect(1440, 3570, 105, 210));
    SetTabOrder({c.txtFileName, c.Command10, c.Command9, c.Command8, c.Command7, c.lblFoundline,
                 c.Option1, c.Option2});
    return c;
}

Form1Menus CreateMenus(QMenuBar* bar) {
    bar->setFont(SongFont(9));
    Form1Menus m{};
    m.meuFile = AddMenu(bar, "meuFile", QStringLiteral("文件(&F)"));
    m.meuOpen = AddItem(m.meuFile, "meuOpen", QStringLiteral("打开文件"));
    m.meuClear = AddItem(m.meuFile, "meuClear", QStringLiteral("清除文件"));
    AddSeparator(m.meuFile, "bar0");
    m.meuStart = AddItem(m.meuFile, "meuStart", QStringLiteral("开始分析"));
    m.meuSave = AddItem(m.meuFile, "meuSave", QStringLiteral("保存结果"));
    m.meuExportSource = AddItem(m.meuFile, "meuExportSource", QStringLiteral("导出源程序..."));
    AddSeparator(m.meuFile, "bar1");
    m.meuExit = AddItem(m.meuFile, "meuExit", QStringLiteral("退出"));

    m.meuOption = AddMenu(bar, "meuOption", QStringLiteral("设置(&O)"));
    m.meuSource = AddSubmenu(m.meuOption, "meuSource", QStringLiteral("分析来源"));
    m.meuVB6Proj = AddItem(m.meuSource, "meuVB6Proj", QStringLiteral("VB6 工程文件(*.vbp)"), true);
    m.meuVB6Proj->setChecked(true);
    m.meuVBdotNetProj =
        AddItem(m.meuSource, "meuVBdotNetProj", QStringLiteral("VB7/8/9 工程文件(*.vbproj)"), true);
    AddSeparator(m.meuOption, "barCalcSetting");
    m.meuBlankLine = AddItem(m.meuOption, "meuBlankLine", QStringLiteral("不统计空白行"), true);
    m.meuRemarkLine = AddItem(m.meuOption, "meuRemarkLine", QStringLiteral("不统计注释行"), true);

    m.meuHelp = AddMenu(bar, "meuHelp", QStringLiteral("帮助(&H)"));
    m.meuHelpFile = AddItem(m.meuHelp, "meuHelpFile", QStringLiteral("帮助文件"));
    AddSeparator(m.meuHelp, "bar2");
    m.meuVisitMyWeb = AddItem(m.meuHelp, "meuVisitMyWeb", QStringLiteral("访问我的个人主页"));
    m.meuMailToMe = AddItem(m.meuHelp, "meuMailToMe", QStringLiteral("发送邮件给我..."));
    AddSeparator(m.meuHelp, "bar3");
    m.meuAbout = AddItem(m.meuHelp, "meuAbout", QStringLiteral("关于本软件"));
    return m;
}

}  // namespace tallix

// The real message box, answered by a ModalAnswerer instead of a person.
#include "ui/qt/message_sink.h"

#include <gtest/gtest.h>

#include "modal_answerer.h"
#include "qt_test_printing.h"

#include <QMessageBox>

namespace tallix::testing {
namespace {

TEST(MessageBoxSinkTest, PlainTextTitledTallixWithOnlyOkAndNoIcon) {
    QWidget owner;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    ModalAnswerer person(std::function<void(QMessageBox&)>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        format = box.textFormat();
        icon = box.icon();
        buttons = box.standardButtons();
        parent = box.parentWidget();
        box.accept();
    }));
    MessageBoxSink sink;
    sink.SetOwner(&owner);
    sink.ShowMessage("文件<b>a&b</b>不存在！");
    EXPECT_TRUE(person.answered());
    EXPECT_EQ(title, QStringLiteral("Tallix"));
    EXPECT_EQ(text, QStringLiteral("文件<b>a&b</b>不存在！"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(parent, &owner);
}

TEST(MessageBoxSinkTest, InformationHasItsOwnTitleAndTheInformationIcon) {
    QWidget owner;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswerer person(std::function<void(QMessageBox&)>([&](QMessageBox& box) {
        title = box.windowTitle();
        icon = box.icon();
        buttons = box.standardButtons();
        box.accept();
    }));
    MessageBoxSink sink;
    sink.SetOwner(&owner);
    sink.ShowInformation("提示", "帮助文件readme.txt未找到！");
    EXPECT_TRUE(person.answered());
    EXPECT_EQ(title, QStringLiteral("提示"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
}  // namespace tallix::testing

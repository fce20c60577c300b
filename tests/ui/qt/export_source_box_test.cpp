// The export command's Qt dialog, offscreen, answered by a ModalAnswerer: its controls as the
// table has them, what it is prefilled with, and what OK, Cancel, Enter and Esc give back.
#include "ui/qt/export_source_box.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "modal_answerer.h"
#include "qt_test_printing.h"
#include "ui/export_source_layout.h"

namespace tallix::testing {
namespace {

const ExportSourceChoice kPrefilled{"教务管理系统", "V1.0", false};

TEST(ExportSourceBox, HoldsTheTablesControlsWhereTheyWereDesigned) {
    ExportSourceBox box(kPrefilled, nullptr);
    EXPECT_EQ(box.objectName(), QStringLiteral("frmExportSource"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("导出源程序"));
    EXPECT_EQ(box.size(), QSize(361, 140));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "fixed size";
    for (const ControlLayout& control : ExportSourceControlTable()) {
        SCOPED_TRACE(control.name);
        auto* widget = box.findChild<QWidget*>(QString::fromLatin1(control.name));
        ASSERT_NE(widget, nullptr);
        const QRect designed((control.left + 7) / 15, (control.top + 7) / 15,
                             (control.width + 7) / 15, (control.height + 7) / 15);
        if (control.autoSize) {
            EXPECT_EQ(widget->x(), designed.x());
            EXPECT_EQ(static_cast<QLabel*>(widget)->text(), QString::fromUtf8(control.caption));
        } else {
            EXPECT_EQ(widget->geometry(), designed);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(control.caption));
        }
        EXPECT_EQ(widget->focusPolicy() != Qt::NoFocus, TakesFocus(control.kind));
    }
    EXPECT_TRUE(box.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
    // The tab order of the table: name, version, check box, OK, Cancel.
    QStringList order;
    QWidget* widget = box.findChild<QWidget*>(QStringLiteral("txtSoftwareName"));
    for (int i = 0; i < 5; ++i, widget = widget->nextInFocusChain()) {
        order << widget->objectName();
    }
    EXPECT_EQ(order, QStringList({"txtSoftwareName", "txtSoftwareVersion", "chkAllPages", "cmdOK",
                                  "cmdCancel"}));
}

TEST(ExportSourceBox, ShowsWhatItIsGivenAndGivesBackWhatIsChosen) {
    struct Case {
        const char* what;
        std::function<void(ExportSourceBox&)> answer;
        std::optional<ExportSourceChoice> chosen;
    };
    const auto click = [](const char* button) -> std::function<void(ExportSourceBox&)> {
        return [button](ExportSourceBox& box) {
            QTest::mouseClick(box.findChild<QPushButton*>(QString::fromLatin1(button)),
                              Qt::LeftButton);
        };
    };
    const Case cases[] = {
        {"OK as prefilled", click("cmdOK"), kPrefilled},
        {"Cancel", click("cmdCancel"), std::nullopt},
        {"Esc", [](ExportSourceBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, std::nullopt},
        {"typed, checked, Enter",
         [](ExportSourceBox& box) {
             auto* name = box.findChild<QLineEdit*>(QStringLiteral("txtSoftwareName"));
             EXPECT_TRUE(name->hasFocus()) << "the name has the keyboard";
             EXPECT_EQ(name->selectedText(), QStringLiteral("教务管理系统")) << "all selected";
             QTest::keyClicks(name, QStringLiteral("Store"));  // over the selection
             auto* version = box.findChild<QLineEdit*>(QStringLiteral("txtSoftwareVersion"));
             version->clear();
             QTest::keyClicks(version, QStringLiteral("V2.5"));
             box.findChild<QCheckBox*>(QStringLiteral("chkAllPages"))->setChecked(true);
             QTest::keyClick(version, Qt::Key_Return);
         },
         ExportSourceChoice{"Store", "V2.5", true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModalAnswerer person(c.answer);
        EXPECT_EQ(AskExportSource(nullptr, kPrefilled), c.chosen);
        EXPECT_TRUE(person.answered());
        EXPECT_TRUE(person.strays.isEmpty()) << person.strays.join(u',').toStdString();
    }
    // A choice given with every page checked comes back checked.
    ModalAnswerer person(click("cmdOK"));
    const ExportSourceChoice all{"N", "", true};
    EXPECT_EQ(AskExportSource(nullptr, all), all);
}

}  // namespace
}  // namespace tallix::testing

// File drops, synthesised as the window system delivers them: to the window, at a point over
// a control, so that Qt's own choice of the drop target is part of what is tested.
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QWindow>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

class Form1DropTest : public Form1Test {
protected:
    void SetUp() override {
        Write("p.vbp", "Module=A; a.bas\r\n");
        Write("q.vbp", "Module=B; b.bas\r\n");
        Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\nEnd Sub\r\n");
        Write("b.bas", "Attribute VB_Name = \"B\"\r\nx = 1\r\n");
    }

    QList<QUrl> Files(std::initializer_list<const char*> names) const {
        QList<QUrl> urls;
        for (const char* name : names) {
            urls << QUrl::fromLocalFile(FilePath(QString::fromLatin1(name)));
        }
        return urls;
    }

    // Drags the data over the named control and drops it there, the source offering
    // `offered` and proposing what the modifiers ask for. Returns the action the drop was taken
    // with, IgnoreAction when it was refused; what the window answered on entering must agree,
    // since that answer is what the source acts on.
    Qt::DropAction DropOn(const char* control, QMimeData& data,
                          Qt::DropActions offered = Qt::CopyAction,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget& window = Window();
        const bool onWindow = control == std::string_view("Form1");
        QWidget* target = onWindow ? &window : Find<QWidget>(control);
        const QPoint at = onWindow ? QPoint(window.width() - 3, window.height() - 3)
                                   : target->mapTo(&window, target->rect().center());
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        QDropEvent drop(at, offered, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(window.windowHandle(), &drop);
        const auto taken = [](const QDropEvent& event) {
            return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
        };
        EXPECT_EQ(taken(enter), taken(drop)) << "the drag was answered unlike the drop";
        return taken(drop);
    }

    Qt::DropAction DropFiles(const char* control, std::initializer_list<const char*> names) {
        QMimeData data;
        data.setUrls(Files(names));
        return DropOn(control, data);
    }

    QString PathBox() { return Find<QLineEdit>("txtFileName")->text(); }
    QString Total() { return Find<QLabel>("LblTotalLine")->text(); }
};

TEST_F(Form1DropTest, OneProjectOnTheWindowOpensWithoutADialog) {
    Write("stale.bas", "");
    EXPECT_EQ(Qt::CopyAction, DropFiles("Form1", {"p.vbp"}));
    EXPECT_EQ(PathBox(), Native("p.vbp"));
    EXPECT_TRUE(dialogs_.openCalls.empty());
    EXPECT_EQ(Stored("Init_Dir"), Native("p.vbp"));
    Click("Command8");
    EXPECT_EQ(Find<QPlainTextEdit>("lblFoundline")->toPlainText(), QStringLiteral("a.bas:2"));
}

TEST_F(Form1DropTest, EveryListedControlHandsTheDropToTheWindow) {
    for (const char* control :
         {"Frame1", "Option1", "Option2", "Command7", "Command8", "Command9", "Command10",
          "txtFileName", "lblFoundline", "Label16", "Label17", "Label18", "Label19"}) {
        SCOPED_TRACE(control);
        Click("Command9");
        EXPECT_EQ(Qt::CopyAction, DropFiles(control, {"q.vbp"}));
        EXPECT_EQ(PathBox(), Native("q.vbp"));
    }
    EXPECT_TRUE(dialogs_.openCalls.empty());
    EXPECT_TRUE(messages_.Texts().isEmpty());
}

TEST_F(Form1DropTest, TheTotalAndTheRuleTakeNoDrop) {
    EXPECT_EQ(Qt::CopyAction, DropFiles("Form1", {"p.vbp"}));
    Click("Command8");  // the total gets its text, and with it a place to drop on
    Click("Command9");
    Store("Init_Dir", "before");
    for (const char* control : {"LblTotalLine", "Line1"}) {
        SCOPED_TRACE(control);
        EXPECT_EQ(Qt::IgnoreAction, DropFiles(control, {"p.vbp"}));
    }
    EXPECT_EQ(PathBox(), QString());
    EXPECT_EQ(Stored("Init_Dir"), QStringLiteral("before"));
    EXPECT_EQ(Total(), QStringLiteral("2"));
    EXPECT_TRUE(dialogs_.openCalls.empty());
}

// An address of the web is no file: it leaves the box as it was, and when the drop holds no
// file at all Open asks, as for a drop of text.
TEST_F(Form1DropTest, AWebAddressIsNoFile) {
    const QUrl web(QStringLiteral("http://www.example.com/p.vbp"));
    const QUrl file = QUrl::fromLocalFile(FilePath(QStringLiteral("p.vbp")));
    struct Case {
        QList<QUrl> urls;
        QString box;
        std::size_t dialogs;
    };
    const Case cases[] = {
        {{web}, QStringLiteral("typed"), 1},
        {{QUrl(QStringLiteral("ftp://host/q.vbp")), web}, QStringLiteral("typed"), 1},
        {{file, web}, Native("p.vbp"), 0},
        {{web, file}, Native("p.vbp"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.urls.constFirst().toString().toStdString() + " and " +
                     std::to_string(c.urls.size() - 1) + " more");
        dialogs_.openCalls.clear();
        QMimeData data;
        data.setUrls(c.urls);
        Find<QLineEdit>("txtFileName")->setText(QStringLiteral("typed"));
        EXPECT_EQ(Qt::CopyAction, DropOn("Form1", data));
        EXPECT_EQ(PathBox(), c.box);
        EXPECT_EQ(dialogs_.openCalls.size(), c.dialogs);
    }
}

// The source acts on the answer: a move would let a file manager delete the dropped project.
struct OfferedActions {
    const char* name;
    Qt::DropActions offered;
    Qt::KeyboardModifiers modifiers;  // Shift proposes a move, Ctrl a copy
    Qt::DropAction taken;
};

const OfferedActions kOffers[] = {
    {"copy or move, move proposed", Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier,
     Qt::CopyAction},
    {"copy or move, copy proposed", Qt::CopyAction | Qt::MoveAction, Qt::ControlModifier,
     Qt::CopyAction},
    {"everything, move proposed", Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
     Qt::ShiftModifier, Qt::CopyAction},
    {"move or link", Qt::MoveAction | Qt::LinkAction, Qt::ShiftModifier, Qt::LinkAction},
    {"move only", Qt::MoveAction, Qt::NoModifier, Qt::IgnoreAction},
};

TEST_F(Form1DropTest, ADropIsNeverTakenAsAMove) {
    for (const OfferedActions& offer : kOffers) {
        SCOPED_TRACE(offer.name);
        Click("Command9");
        Store("Init_Dir", "before");
        QMimeData data;
        data.setUrls(Files({"p.vbp"}));
        EXPECT_EQ(DropOn("Form1", data, offer.offered, offer.modifiers), offer.taken);
        const bool opened = offer.taken != Qt::IgnoreAction;
        EXPECT_EQ(PathBox(), opened ? Native("p.vbp") : QString());
        EXPECT_EQ(Stored("Init_Dir"), opened ? Native("p.vbp") : QStringLiteral("before"));
    }
    // The first row is the dangerous one only if Qt proposes the move there.
    QMimeData data;
    const QDropEvent shifted(QPointF(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                             Qt::ShiftModifier);
    EXPECT_EQ(shifted.proposedAction(), Qt::MoveAction);
    EXPECT_TRUE(dialogs_.openCalls.empty());
}

TEST_F(Form1DropTest, TextBoxesNeverInsertTheDroppedText) {
    QMimeData data;
    data.setUrls(Files({"p.vbp"}));
    data.setText(QStringLiteral("inserted"));
    Find<QLineEdit>("txtFileName")->setText(QStringLiteral("typed"));
    EXPECT_EQ(Qt::CopyAction, DropOn("txtFileName", data));
    EXPECT_EQ(PathBox(), Native("p.vbp"));
    EXPECT_EQ(Qt::CopyAction, DropOn("lblFoundline", data));
    EXPECT_EQ(Find<QPlainTextEdit>("lblFoundline")->toPlainText(), QString());
}

}  // namespace
}  // namespace tallix::testing

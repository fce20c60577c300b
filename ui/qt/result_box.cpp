#include "ui/qt/result_box.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

namespace tallix {

namespace {

// Space between the text and the frame on the left, and the scroll bar on the right.
constexpr int kSidePadding = 4;

// How far one line of text in the document lies below the one before it: the plain-text
// layout includes the leading and takes a negative leading off, rounded up.
qreal LineAdvance(const QTextLine& line) {
    return line.height() + (line.leading() < 0 ? qCeil(line.leading()) : 0);
}

int LinePitch(const QFont& font, const QPaintDevice* device) {
    QTextLayout layout(QStringLiteral("0"), font, device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    layout.endLayout();
    return qCeil(LineAdvance(line));
}

// Qt breaks a line of the results wherever the room runs out, which can part "mod04.bas:"
// from "5,". Once Qt has laid a block out, each of its lines is laid again to end after its
// last comma; a line without one holds a single entry wider than the box, and keeps the break
// Qt chose inside it. The text itself is never touched.
class CommaBreakLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    // Every view asks for a block's rectangle before it draws or measures the block, and a
    // block whose layout was cleared (the box was resized) is laid out again here.
    QRectF blockBoundingRect(const QTextBlock& block) const override {
        if (block.isValid() && block.layout()->lineCount() == 0) {
            QPlainTextDocumentLayout::blockBoundingRect(block);
            const_cast<CommaBreakLayout*>(this)->BreakAfterCommas(block);
        }
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

protected:
    // Qt lays a changed block out again at once, or clears it for later.
    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        for (QTextBlock block = document()->findBlock(from);
             block.isValid() && block.position() <= from + charsAdded; block = block.next()) {
            if (block.layout()->lineCount() > 0) {
                BreakAfterCommas(block);
            }
        }
    }

private:
    void BreakAfterCommas(QTextBlock block) {
        QTextLayout* layout = block.layout();
        const qreal width = layout->lineAt(0).width();
        const qreal left = layout->lineAt(0).x();
        const QString text = block.text();
        const int linesBefore = document()->lineCount();
        qreal top = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            const int end = line.textStart() + line.textLength();
            const auto comma = end < text.size() ? text.lastIndexOf(u',', end - 1) : -1;
            if (comma >= line.textStart()) {
                line.setNumColumns(static_cast<int>(comma) + 1 - line.textStart(), width);
            }
            line.setPosition(QPointF(left, top));
            top += LineAdvance(line);
        }
        layout->endLayout();
        block.setLineCount(block.isVisible() ? layout->lineCount() : 0);
        if (document()->lineCount() != linesBefore) {
            emit documentSizeChanged(documentSize());
        }
    }
};

}  // namespace

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent) {
    auto* document = new QTextDocument(this);
    document->setDocumentLayout(new CommaBreakLayout(document));
    // The layout's margin is only kept above the first line, and would show part of a line
    // at the bottom once scrolled; the room around the text is the viewport's margin instead.
    document->setDocumentMargin(0);
    setDocument(document);
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Every line is broken to the box's width, yet Qt's measure of the widest line can still
    // call up a sideways scroll bar, which would cover the bottom line and leave a part line.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Any break at all, so that Qt fills each line; CommaBreakLayout then moves it back.
    setWordWrapMode(QTextOption::WrapAnywhere);
}

void ResultBox::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitWholeLines();
    }
}

void ResultBox::resizeEvent(QResizeEvent* event) {
    FitWholeLines();
    QPlainTextEdit::resizeEvent(event);
}

// As many whole lines as the box holds, the rest split above and below them.
void ResultBox::FitWholeLines() {
    const int room = contentsRect().height();
    const int pitch = LinePitch(font(), viewport());
    const int lines = std::max(1, room / pitch);
    const int spare = std::max(0, room - lines * pitch);
    setViewportMargins(kSidePadding, spare / 2, kSidePadding, spare - spare / 2);
}

}  // namespace tallix

#pragma once

#include <QPlainTextEdit>

namespace tallix {

// The list of counted members, "name:count" entries joined by commas. It holds the text exactly
// as counted (Save writes what it holds), but lays it out for reading: a line breaks only after
// a comma, so a member's name never sits apart from its count, unless one entry alone is wider
// than the box. And it shows whole lines only: the text area is an exact number of lines tall,
// whatever the font, inside the box's outer rectangle.
class ResultBox : public QPlainTextEdit {
public:
    explicit ResultBox(QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitWholeLines();
};

}  // namespace tallix

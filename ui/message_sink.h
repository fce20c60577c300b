#pragma once

#include <QString>

class QWidget;

namespace tallix {

// Where the window's messages go: a message box in the program, a list in the tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
    // A box with the information icon and a title of its own.
    virtual void ShowInformation(QWidget* owner, const QString& title, const QString& text) = 0;
};

// A modal box over the owner: the text, an OK button, no icon, the application title.
class MessageBoxSink : public MessageSink {
public:
    void ShowMessage(QWidget* owner, const QString& text) override;
    void ShowInformation(QWidget* owner, const QString& title, const QString& text) override;
};

}  // namespace tallix

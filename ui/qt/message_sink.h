#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/window_services.h"

namespace tallix {

// Modal message boxes over the owner window, the text always plain.
class MessageBoxSink : public MessageSink {
public:
    // The window the boxes belong to; until it is set they are top-level.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(const std::string& text) override;
    void ShowInformation(const std::string& title, const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace tallix

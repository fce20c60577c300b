#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace tallix::testing {

// Stands in for the person in front of a modal window: answers the first modal window of the
// given kind that opens, and dismisses every other one (a question, a warning, or the same
// window again after a refused answer), noting its class. After a few seconds it dismisses
// whatever is open, so that no test can hang on a box.
class ModalAnswerer {
public:
    template <typename Window>
    explicit ModalAnswerer(std::function<void(Window&)> answer) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            while (QWidget* open = QApplication::activeModalWidget()) {
                auto* wanted = qobject_cast<Window*>(open);
                if (wanted != nullptr && !answered_ && ++ticks_ < kPatience) {
                    answered_ = true;
                    // Answered from the event loop, not from here: an answer that opens a box
                    // of its own would otherwise block this timer, which must dismiss it.
                    QMetaObject::invokeMethod(
                        wanted, [wanted, answer] { answer(*wanted); }, Qt::QueuedConnection);
                    return;
                }
                strays << QString::fromLatin1(open->metaObject()->className());
                if (auto* dialog = qobject_cast<QDialog*>(open)) {
                    dialog->reject();
                } else {
                    open->close();
                }
            }
            ++ticks_;
        });
        timer_.start();
    }

    bool answered() const { return answered_; }

    QStringList strays;

private:
    static constexpr int kPatience = 250;  // ticks of 20 ms

    QTimer timer_;
    bool answered_ = false;
    int ticks_ = 0;
};

}  // namespace tallix::testing

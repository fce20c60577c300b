#include "ui/qt/message_sink.h"

#include <QGuiApplication>
#include <QMessageBox>

#include "version/version.h"

namespace tallix {

namespace {

void ShowBox(QWidget* owner, QMessageBox::Icon icon, const std::string& title,
             const std::string& text) {
    QMessageBox box(icon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, owner);
    // Paths may hold "<" or "&"; the text is never markup.
    box.setTextFormat(Qt::PlainText);
    // A box during a long command shows the pointer, not the command's wait cursor.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    box.exec();
    if (waiting) {
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace

void MessageBoxSink::ShowMessage(const std::string& text) {
    ShowBox(owner_, QMessageBox::NoIcon, kApplicationTitle, text);
}

void MessageBoxSink::ShowInformation(const std::string& title, const std::string& text) {
    ShowBox(owner_, QMessageBox::Information, title, text);
}

}  // namespace tallix

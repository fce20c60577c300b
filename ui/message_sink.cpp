#include "ui/message_sink.h"

#include <QMessageBox>

#include "app/version.h"

namespace tallix {

namespace {

void ShowBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    // Paths may hold "<" or "&"; the text is never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void MessageBoxSink::ShowMessage(QWidget* owner, const QString& text) {
    ShowBox(owner, QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text);
}

void MessageBoxSink::ShowInformation(QWidget* owner, const QString& title, const QString& text) {
    ShowBox(owner, QMessageBox::Information, title, text);
}

}  // namespace tallix

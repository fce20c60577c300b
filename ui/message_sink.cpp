#include "ui/message_sink.h"

#include <QMessageBox>

#include "app/version.h"

namespace tallix {

void MessageBoxSink::ShowMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, owner);
    // Paths may hold "<" or "&"; the text is never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace tallix

#include "ui/qt/export_source_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "ui/export_source_layout.h"
#include "ui/qt/form1_controls.h"

namespace tallix {

namespace {

QWidget* MakeControl(const ControlLayout& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    const QRect rect = TwipsRect(control.left, control.top, control.width, control.height);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            label->move(rect.topLeft());
            label->adjustSize();
            CentreOnDesignedLine(label, rect.y(), rect.height());
            return label;
        }
        case ControlKind::CheckBox:
            widget = new QCheckBox(caption, parent);
            break;
        case ControlKind::Button:
            widget = new QPushButton(caption, parent);
            break;
        default:  // the table's text boxes
            widget = new QLineEdit(parent);
            break;
    }
    widget->setGeometry(rect);
    return widget;
}

}  // namespace

ExportSourceBox::ExportSourceBox(const ExportSourceChoice& prefilled, QWidget* owner)
    : QDialog(owner) {
    setObjectName(QString::fromLatin1(kExportSourceDialogName));
    setWindowTitle(QString::fromUtf8(kExportSourceCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(SongFont(9));
    setFixedSize(TwipsRect(0, 0, kExportSourceWidthTwips, kExportSourceHeightTwips).size());
    std::map<int, QWidget*> byTab;
    for (const ControlLayout& control : ExportSourceControlTable()) {
        QWidget* widget = MakeControl(control, this);
        widget->setObjectName(QString::fromLatin1(control.name));
        if (TakesFocus(control.kind)) {
            byTab[control.tabIndex] = widget;
        }
    }
    for (auto it = byTab.begin(); std::next(it) != byTab.end(); ++it) {
        QWidget::setTabOrder(it->second, std::next(it)->second);
    }
    name_ = findChild<QLineEdit*>(QStringLiteral("txtSoftwareName"));
    version_ = findChild<QLineEdit*>(QStringLiteral("txtSoftwareVersion"));
    allPages_ = findChild<QCheckBox*>(QStringLiteral("chkAllPages"));
    name_->setText(QString::fromStdString(prefilled.softwareName));
    version_->setText(QString::fromStdString(prefilled.softwareVersion));
    allPages_->setChecked(prefilled.allPages);
    auto* ok = findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(findChild<QPushButton*>(QStringLiteral("cmdCancel")), &QPushButton::clicked, this,
            &QDialog::reject);
    name_->setFocus();
    name_->selectAll();
}

ExportSourceChoice ExportSourceBox::Choice() const {
    return {name_->text().toStdString(), version_->text().toStdString(), allPages_->isChecked()};
}

std::optional<ExportSourceChoice> AskExportSource(QWidget* owner,
                                                  const ExportSourceChoice& prefilled) {
    ExportSourceBox box(prefilled, owner);
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.Choice();
}

}  // namespace tallix

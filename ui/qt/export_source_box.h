#pragma once

#include <QDialog>
#include <optional>

#include "ui/window_services.h"

class QCheckBox;
class QLineEdit;

namespace tallix {

// The export command's dialog, "导出源程序", built from ExportSourceControlTable(): each
// control carries its table name as objectName. OK is the default button; Cancel and Esc
// close it without a choice.
class ExportSourceBox : public QDialog {
    Q_OBJECT

public:
    ExportSourceBox(const ExportSourceChoice& prefilled, QWidget* owner);

    ExportSourceChoice Choice() const;

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* version_ = nullptr;
    QCheckBox* allPages_ = nullptr;
};

// Runs the dialog modal over owner: what was chosen with OK, or nullopt.
std::optional<ExportSourceChoice> AskExportSource(QWidget* owner,
                                                  const ExportSourceChoice& prefilled);

}  // namespace tallix

#include "ui/qt/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "ui/dialog_paths.h"

namespace tallix {

std::string QtFileDialogs::ShowOpenDialog(const FileDialogRequest& request) {
    const auto dialog = MakeFileDialog(FileDialogMode::Open, owner_, request);
    return RunFileDialog(*dialog).toStdString();
}

std::string QtFileDialogs::ShowSaveDialog(const FileDialogRequest& request) {
    const auto dialog = MakeFileDialog(FileDialogMode::Save, owner_, request);
    return RunFileDialog(*dialog).toStdString();
}

std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogMode mode, QWidget* owner,
                                            const FileDialogRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(
        owner, QString::fromStdString(request.title), QString::fromStdString(request.startFolder),
        QString::fromStdString(DialogFilter(request.filterName, request.pattern)));
    if (mode == FileDialogMode::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return dialog;
}

QString RunFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

}  // namespace tallix

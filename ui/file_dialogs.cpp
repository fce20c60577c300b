#include "ui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "persistence/user_settings.h"
#include "ui/dialog_paths.h"

namespace tallix {

QString QtFileDialogs::ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                                      const QString& filterName) {
    const auto dialog = MakeFileDialog(FileDialogMode::Open, owner, title, pattern, filterName,
                                       StartingFolder(settings_.InitDir()));
    return RunFileDialog(*dialog);
}

QString QtFileDialogs::ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                                      const QString& filterName) {
    const auto dialog = MakeFileDialog(FileDialogMode::Save, owner, title, pattern, filterName,
                                       StartingFolder(settings_.InitDir()));
    const QString path = RunFileDialog(*dialog);
    return path.isEmpty() ? path : NormaliseSavePath(path, pattern);
}

std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogMode mode, QWidget* owner,
                                            const QString& title, const QString& pattern,
                                            const QString& filterName, const QString& folder) {
    auto dialog =
        std::make_unique<QFileDialog>(owner, title, folder, DialogFilter(filterName, pattern));
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
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

}  // namespace tallix

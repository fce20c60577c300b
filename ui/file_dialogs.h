#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace tallix {

class UserSettings;

// The window's two file dialogs. Both return "" when the user cancels; tests put a fake in
// their place so that no test waits on a real dialog.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A path to an existing file.
    virtual QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                                   const QString& filterName) = 0;
    // A report path, normalised by NormaliseSavePath.
    virtual QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                                   const QString& filterName) = 0;
};

// Qt's file dialogs, opening where the last chosen file was ("Init_Dir").
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(const UserSettings& settings) : settings_(settings) {}

    QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                           const QString& filterName) override;
    QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                           const QString& filterName) override;

private:
    const UserSettings& settings_;
};

enum class FileDialogMode { Open, Save };

// A dialog set up as the window wants it: modal to the owner, one filter, no read-only
// choice; an open dialog takes only an existing file, a save dialog also a new file in an
// existing folder and never asks before overwriting.
std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogMode mode, QWidget* owner,
                                            const QString& title, const QString& pattern,
                                            const QString& filterName, const QString& folder);

// Runs the dialog: the chosen path with the platform's separators, or "" when cancelled.
QString RunFileDialog(QFileDialog& dialog);

}  // namespace tallix

#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "ui/window_services.h"

class QFileDialog;

namespace tallix {

// Qt's file dialogs, modal to the owner window.
class QtFileDialogs : public FileDialogs {
public:
    // The window the dialogs belong to; until it is set they are top-level.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    std::string ShowOpenDialog(const FileDialogRequest& request) override;
    std::string ShowSaveDialog(const FileDialogRequest& request) override;

private:
    QPointer<QWidget> owner_;
};

enum class FileDialogMode { Open, Save };

// A dialog set up as the window wants it: modal to the owner, one filter, no read-only
// choice; an open dialog takes only an existing file, a save dialog also a new file in an
// existing folder and never asks before overwriting.
std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogMode mode, QWidget* owner,
                                            const FileDialogRequest& request);

// Runs the dialog: the chosen path with the platform's separators, or "" when cancelled.
QString RunFileDialog(QFileDialog& dialog);

}  // namespace tallix

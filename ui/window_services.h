#pragma once

#include <optional>
#include <string>

namespace tallix {

// What the commands ask of the platform beyond the window itself; each window supplies its
// toolkit's versions, tests supply fakes that answer and record.

// One file dialog: the title, a filter of one pattern with its name, and the folder to
// start in ("" leaves that to the dialog).
struct FileDialogRequest {
    std::string title, pattern, filterName, startFolder;
};

// Both return "" when cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A path to an existing file.
    virtual std::string ShowOpenDialog(const FileDialogRequest& request) = 0;
    // A path to save to, as chosen; a new file in an existing folder will do. Never asks
    // before overwriting.
    virtual std::string ShowSaveDialog(const FileDialogRequest& request) = 0;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A modal box over the window: the text, an OK button, no icon, the title "Tallix".
    virtual void ShowMessage(const std::string& text) = 0;
    // The same with the information icon and a title of its own.
    virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
};

// Both return false when nothing could open what was asked for.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Shows a text file without waiting for the viewer: Notepad on Windows, the desktop's
    // viewer for the file elsewhere.
    virtual bool ShowTextFile(const std::string& path) = 0;
    // Opens a web or mailto address with the desktop's program for it.
    virtual bool OpenUrl(const std::string& url) = 0;
};

// What the small dialog of the export command asks: the software's name and version for
// every page's header, and whether every page is deposited rather than the first and last 30.
struct ExportSourceChoice {
    std::string softwareName;
    std::string softwareVersion;
    bool allPages = false;
    friend bool operator==(const ExportSourceChoice&, const ExportSourceChoice&) = default;
};

// The dialog titled "导出源程序", which each window makes of its own toolkit's controls
// (ui/export_source_layout.h).
class ExportSourceDialog {
public:
    virtual ~ExportSourceDialog() = default;
    // Modal over the window, its boxes and check box showing `prefilled`: what the user
    // chose with OK, or nullopt for Cancel.
    virtual std::optional<ExportSourceChoice> AskExportSource(
        const ExportSourceChoice& prefilled) = 0;
};

}  // namespace tallix

#pragma once

// A window and platform made of plain data, for testing the commands without a toolkit:
// the view keeps what it is shown, the services answer as set and record what they were
// asked.

#include <string>
#include <vector>

#include "ui/form1_view.h"
#include "ui/window_services.h"

namespace tallix::testing {

class FakeView : public Form1View {
public:
    std::string ProjectPath() const override { return path; }
    void SetProjectPath(const std::string& value) override { path = value; }
    SourceKind SelectedKind() const override { return kind; }
    void SetSelectedKind(SourceKind value) override { kind = value; }
    void SetKindMarks(SourceKind value) override { marked = value; }
    bool IsChecked(Form1Toggle item) const override {
        return item == Form1Toggle::BlankLine ? skipBlank : skipRemark;
    }
    void SetChecked(Form1Toggle item, bool checked) override {
        (item == Form1Toggle::BlankLine ? skipBlank : skipRemark) = checked;
    }
    void ShowResults(const std::string& foundLines, const std::string& totalLines) override {
        found = foundLines;
        total = totalLines;
    }
    void SetBusy(bool value) override { busyChanges.push_back(value); }
    void CloseWindow() override { closed = true; }

    bool Busy() const { return !busyChanges.empty() && busyChanges.back(); }

    // As designed: Option1 selected, meuVB6Proj checked.
    std::string path;
    SourceKind kind = SourceKind::Vb6;
    SourceKind marked = SourceKind::Vb6;
    bool skipBlank = false;
    bool skipRemark = false;
    std::string found;
    std::string total;
    std::vector<bool> busyChanges;
    bool closed = false;
};

class FakeDialogs : public FileDialogs {
public:
    std::string ShowOpenDialog(const FileDialogRequest& request) override {
        openCalls.push_back(request);
        return answer;
    }
    std::string ShowSaveDialog(const FileDialogRequest& request) override {
        saveCalls.push_back(request);
        return answer;
    }

    std::string answer;
    std::vector<FileDialogRequest> openCalls;
    std::vector<FileDialogRequest> saveCalls;
};

// Keeps each message with what the view showed when it appeared.
class RecordingMessages : public MessageSink {
public:
    struct Message {
        std::string title;  // "" for the plain box titled with the application's title
        std::string text;
        std::string shownTotal;
        bool busy;
        std::string shownPath = {};
        std::string shownFound = {};
    };

    explicit RecordingMessages(const FakeView& view) : view_(view) {}

    void ShowMessage(const std::string& text) override {
        shown.push_back({"", text, view_.total, view_.Busy(), view_.path, view_.found});
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        shown.push_back({title, text, view_.total, view_.Busy(), view_.path, view_.found});
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Message& message : shown) {
            texts.push_back(message.text);
        }
        return texts;
    }

    std::vector<Message> shown;

private:
    const FakeView& view_;
};

// Answers the export dialog as set, and records what it was shown.
class FakeExportDialog : public ExportSourceDialog {
public:
    std::optional<ExportSourceChoice> AskExportSource(
        const ExportSourceChoice& prefilled) override {
        shown.push_back(prefilled);
        return answer;
    }

    std::optional<ExportSourceChoice> answer;  // nullopt: Cancel
    std::vector<ExportSourceChoice> shown;
};

// Answers as a desktop that has, or lacks, a program for what it is asked to open.
class RecordingDesktop : public Desktop {
public:
    bool ShowTextFile(const std::string& path) override {
        textFiles.push_back(path);
        return opens;
    }
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return opens;
    }

    bool opens = true;
    std::vector<std::string> textFiles;
    std::vector<std::string> urls;
};

}  // namespace tallix::testing

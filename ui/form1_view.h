#pragma once

#include <string>

#include "engine/projects/source_kind.h"

namespace tallix {

// The two counting options' menu items, meuBlankLine and meuRemarkLine.
enum class Form1Toggle { BlankLine, RemarkLine };

// What the commands read from and show in the window. Every call is synchronous; the view
// never calls back into the commands from inside one of these calls.
class Form1View {
public:
    virtual ~Form1View() = default;
    virtual std::string ProjectPath() const = 0;  // txtFileName
    virtual void SetProjectPath(const std::string& path) = 0;
    virtual SourceKind SelectedKind() const = 0;        // Option1 / Option2 / None
    virtual void SetSelectedKind(SourceKind kind) = 0;  // selects the button, silently
    virtual void SetKindMarks(SourceKind kind) = 0;     // meuVB6Proj / meuVBdotNetProj
    virtual bool IsChecked(Form1Toggle item) const = 0;
    virtual void SetChecked(Form1Toggle item, bool checked) = 0;
    virtual void ShowResults(const std::string& foundLines, const std::string& totalLines) = 0;
    virtual void SetBusy(bool busy) = 0;  // Command8 disabled + wait cursor; focus comes back
    virtual void CloseWindow() = 0;
};

}  // namespace tallix

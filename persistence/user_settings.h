#pragma once

#include <string>

#include "engine/projects/source_kind.h"

namespace tallix {

class SettingsStore;

// The program's four settings: every key, its default and its stored form live here, and
// nothing else spells a key except the engine, which names "Init_Dir" through its host.
class UserSettings {
public:
    // programFolder is where the dialogs start before any file was chosen.
    UserSettings(SettingsStore& store, std::string programFolder);

    // The folder that holds the program: the dialogs' first folder and the help file's.
    const std::string& ProgramFolder() const { return programFolder_; }

    // "Init_Dir": the last project or report path, "" after a cancelled save.
    std::string InitDir() const;
    void StoreInitDir(const std::string& path);

    // "SourceProj": VbNet for any number other than 0 at the start of the text, else Vb6.
    SourceKind ProjectKind() const;
    void StoreProjectKind(SourceKind kind);

    // "BlankLine" and "RemarkLine": the two counting options, off when absent.
    bool SkipBlankLines() const;
    void StoreSkipBlankLines(bool skip);
    bool SkipCommentLines() const;
    void StoreSkipCommentLines(bool skip);

    // For callers that carry the key as data. Returns false, storing nothing, for a key that is
    // not one of the four, so a misspelt key cannot leave a stray value behind.
    bool StoreByKey(const std::string& key, const std::string& value);

private:
    SettingsStore& store_;
    std::string programFolder_;
};

}  // namespace tallix

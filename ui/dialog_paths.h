#pragma once

#include <string>

namespace tallix {

// The file dialogs' text rules, kept free of any widget so they can be checked on their own.
// Paths are UTF-8.

// The one filter a dialog offers: the name with the pattern in brackets, "Log文件(*.LOG)".
std::string DialogFilter(const std::string& filterName, const std::string& pattern);

// The folder a dialog opens in. The remembered setting holds a file path, so a path that is
// not a folder starts in the folder holding it; "" leaves the choice to the dialog.
std::string StartingFolder(const std::string& initDir);

// Whether a saved path's folders are upper-cased with its name.
enum class FolderCase { Kept, UpperCased };

// Windows: UpperCased, as the report has always been saved there; its folders ignore case.
// Elsewhere: Kept, since on a case-sensitive file system upper-case folders would name
// folders that do not exist.
FolderCase PlatformFolderCase();

// The report path a save dialog returns: the file's own name in upper case (with its
// folders when they are UpperCased), with the pattern's extension (from its first ".",
// upper case) appended when the path has no "." or its tail from the last "." differs
// from the extension.
std::string NormaliseSavePath(const std::string& path, const std::string& pattern,
                              FolderCase folders = PlatformFolderCase());

// The path a deposit's save dialog returns, with ".pdf" appended unless its name ends in
// ".pdf" in any letter case. Nothing else changes: a PDF keeps the name it was given.
std::string DepositSavePath(const std::string& path);

// The text in upper case: the letters of ASCII, Latin-1, Greek, Cyrillic and the full-width
// forms, which are those a path in code page 936 can hold. Other characters, and bytes
// that are not UTF-8, are kept as they are.
std::string UpperCase(const std::string& text);

}  // namespace tallix

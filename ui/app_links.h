#pragma once

#include <string>

namespace tallix {

// The help file beside the program: the folder, this platform's separator, "readme.txt".
std::string HelpFilePath(const std::string& programFolder);

// The author's home page, and the mail address with the mailto address built from it.
std::string HomePageUrl();
std::string MailAddress();
std::string MailUrl();

}  // namespace tallix

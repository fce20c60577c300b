#include "ui/app_links.h"

#include <filesystem>

namespace tallix {

std::string HelpFilePath(const std::string& programFolder) {
    return programFolder + static_cast<char>(std::filesystem::path::preferred_separator) +
           "readme.txt";
}

std::string HomePageUrl() {
    return "http://www.example.com/soft";
}

std::string MailAddress() {
    return "tallix@example.com";
}

std::string MailUrl() {
    return "mailto:" + MailAddress();
}

}  // namespace tallix

#pragma once

#include "ui/window_services.h"

namespace tallix {

// The desktop's own programs for a text file, a web page and a mail.
class SystemDesktop : public Desktop {
public:
    bool ShowTextFile(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
};

}  // namespace tallix

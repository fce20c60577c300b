#pragma once

#include <string>
#include <string_view>

namespace tallix {

// Settings are kept as text, in the forms earlier versions of this tool wrote them; these
// turn the stored text into the values the program works with.

// The value of the number at the start of the text: optional spaces, a sign, digits with one
// decimal point, an exponent; whatever follows is ignored. 0 when the text starts with no
// number at all, so "", "abc" and "-" all read as 0. Read the same whatever the locale; a
// number too large for a double reads as an infinity, one too small as 0.
double LeadingNumber(std::string_view text);

// A stored option: the words True and False in any letter case, or a number that is true when
// not 0. Spaces around either are ignored. Any other text reads as false, so a hand-edited
// value can never keep the window from starting.
bool SettingToBool(std::string_view text);

// The word stored for an option: "True" or "False".
std::string BoolToSetting(bool value);

}  // namespace tallix

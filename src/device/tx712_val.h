#pragma once
#include <string>

#include "editor/pulsappend.h"  // generalNumber

namespace gyrel {

// The numeric value of the leading number of a text: blanks, an optional sign,
// digits and one decimal point; the rest is ignored; 0 when there is none.
double Val(const std::string& text);

// True when the text (blanks around it aside) is exactly one number that is not
// negative: digits with an optional fraction.
bool isPlainUnsigned(const std::string& text);

}  // namespace gyrel

#pragma once
#include <string>

namespace gyrel {

// The numeric value of the leading number of a text: blanks, an optional sign,
// digits and one decimal point; the rest is ignored; 0 when there is none.
double Val(const std::string& text);

// A number in the general number format: no exponent, a decimal point only for a fraction.
std::string generalNumber(double value);

// True when the text (blanks around it aside) is exactly one number that is not
// negative: digits with an optional fraction.
bool isPlainUnsigned(const std::string& text);

}  // namespace gyrel

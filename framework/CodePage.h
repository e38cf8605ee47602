#pragma once
// Conversion between 16-bit (UTF-16) texts and the 8-bit texts of the system code page that the program
// uses throughout. Characters that the code page cannot hold become '?'.
#include <string>

std::string WideToAnsi(const std::u16string& text);
std::u16string AnsiToWide(const std::string& text);

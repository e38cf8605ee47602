#pragma once
// Debugger output: the only place where failures that the user is not told about are reported.
#include <string>

void DebugOutput(const std::string& text);
void DebugOutputF(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

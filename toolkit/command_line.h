// Command-line parameters as split at toolkit start. Portable.
#pragma once

#include <vector>

#include "toolkit/text.h"

// Splits a raw command line: blanks separate; a parameter starting with a double quote
// runs to the next double quote and loses the quotes. The first entry is the program path.
std::vector<Text> SplitCommandLine(const Text& line);
void SetCommandLine(const Text& line, const Text& programPath);
Text CommandLineParameter(int n);   // 0: program path; beyond the count: error 208
int CommandLineCount();

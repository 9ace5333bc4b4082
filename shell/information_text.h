// The help text of the information window: sections with a three-line header, CR-only line
// ends and no line end after the last line. English in both interface languages.
#pragma once

#include <vector>

#include "toolkit/text.h"

// The titles of the sections, in the order in which the text shows them.
std::vector<Text> InformationSectionTitles();

// The whole text as the text view shows it.
Text InformationText();

// Sets the text into the information window's text view.
void FillInformationText();

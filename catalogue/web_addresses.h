// The web pages and the address the program shows or opens, chosen in one place.
#pragma once

// Where search plugins can be found and installed (the Add Plugin button): the Mycroft project's
// directory of search engines, which installs Mycroft-format plugins into the browser.
inline constexpr char kDownloadPageAddress[] = "https://mycroftproject.com/search-engines.html";
// The browser's product page (the logo link of the main window).
inline constexpr char kBrowserProductPageAddress[] = "https://www.mozilla.org/firefox/";

// The project's own addresses: the author's home page (the credit link of the main window and
// the website button of the information window) and e-mail address (the information text).
// The project has no site of its own yet, so both are placeholders under example.org; change
// them here and nowhere else.
inline constexpr char kHomePageAddress[] = "https://quorrel.example.org/";
inline constexpr char kAuthorEMailAddress[] = "quorrel@example.org";

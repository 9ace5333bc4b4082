// The web pages the program opens in the user's browser, chosen in one place.
#pragma once

// Where search plugins can be found and installed (the Add Plugin button).
inline constexpr char kDownloadPageAddress[] = "https://quorrel.example.org/plugins/";
// The browser's product page (the logo link of the main window).
inline constexpr char kBrowserProductPageAddress[] = "https://www.example.org/browser/";
// The author's home page (the credit link of the main window).
inline constexpr char kHomePageAddress[] = "https://quorrel.example.org/";

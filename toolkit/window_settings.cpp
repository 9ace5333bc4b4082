#include "toolkit/window_settings.h"

WindowSettings windowSettings;

Text WindowSettings::Title() const {
    std::lock_guard<std::mutex> guard(textLock);
    return title;
}

void WindowSettings::SetTitle(const Text& t) {
    std::lock_guard<std::mutex> guard(textLock);
    title = t;
}

Text WindowSettings::CloseConfirmation() const {
    std::lock_guard<std::mutex> guard(textLock);
    return closeConfirmation;
}

void WindowSettings::SetCloseConfirmation(const Text& text) {
    std::lock_guard<std::mutex> guard(textLock);
    closeConfirmation = text;
}

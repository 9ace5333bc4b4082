#include "catalogue/fatal_error.h"

#include "toolkit/interface_thread.h"

namespace {

constexpr int kFatalBoxFlags = 16;  // error icon, OK button

}  // namespace

Text FatalErrorText(int code) {
    switch (code) {
        case kFatalNoPluginFolder: return "Can't find ''searchplugins'' folder!";
        default: return Text();
    }
}

Text FatalErrorCaption(int code) {
    Text digits = std::to_string(code);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return "Fatal Error (#" + digits + ")";
}

void FatalError(int code) {
    ShowMessageBox(FatalErrorText(code), FatalErrorCaption(code), kFatalBoxFlags);
    EndProgram();
}

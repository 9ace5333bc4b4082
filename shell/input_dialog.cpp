#include "shell/input_dialog.h"

#include "catalogue/messages.h"
#include "shell/dialog_support.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/controls.h"
#include "toolkit/interface_thread.h"

namespace {

// The dialog's own texts; the prompt and the title come from the caller.
const char* const kOkText = "&OK";
const Phrase kCancelText{"&Cancel", "&Abbrechen"};

constexpr int kNominalWidth = 276;
constexpr int kNominalHeight = 148;
constexpr int kMaxCharacters = 48;
constexpr unsigned kEmLimitText = 0xC5;
constexpr unsigned kEmSetSel = 0xB1;
constexpr int kPollMs = 20;

}  // namespace

Text InputDialog(const Text& prompt, const Text& title, const Text& initial) {
    DialogKey escape = WatchDialogKey(kVkEscape);
    DialogKey enter = WatchDialogKey(kVkReturn);
    const Handle dialog = OpenModalDialog(title);
    const Handle ok = DialogControl(dialog, "BUTTON", kOkText, kPushButtonStyle, 15, 68, 60, 23);
    const Handle cancel = DialogControl(dialog, "BUTTON", Say(kCancelText), kPushButtonStyle, 195, 68, 60, 23);
    const Handle label = DialogControl(dialog, "STATIC", prompt, kTextLabelStyle, 16, 14, 240, 16);
    const Handle field = CreateEditField(dialog, initial, 15, 33, 240, 20);
    CentreModalDialog(dialog, kNominalWidth, kNominalHeight);
    for (Handle control : {ok, cancel, label, field}) SetControlFont(control, startup.normalFont);

    SetControlFocus(field);
    SendToWindow(field, kEmLimitText, kMaxCharacters, 0);
    SendToWindow(field, kEmSetSel, 0, static_cast<std::intptr_t>(initial.size()));

    Text result;
    for (;;) {
        PauseInterface(kPollMs);
        if (DialogKeyPressed(escape) || Clicked(cancel)) break;
        if (DialogKeyPressed(enter) || Clicked(ok)) {
            result = GetControlText(field);
            break;
        }
    }
    CloseModalDialog(dialog);
    return result;
}

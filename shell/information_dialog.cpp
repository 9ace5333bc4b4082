#include "shell/information_dialog.h"

#include <windows.h>

#include "catalogue/web_addresses.h"
#include "catalogue/messages.h"
#include "shell/dialog_support.h"
#include "shell/information_text.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/frame_window.h"
#include "toolkit/interface_thread.h"

InformationDialogState informationDialog;

namespace {

const char* const kTitle = "About...";
const char* const kProductText = "Quorrel";
const char* const kVersionText = "(v. 1.03)";
const Phrase kCreditText{"Written by the Quorrel project, 2006", "Geschrieben vom Quorrel-Projekt, 2006"};
const char* const kInternetText = "Internet:";
const Phrase kTermsText{"Freeware: free to use and to pass on unchanged.",
                           "Freeware: frei nutzbar und weitergebbar."};
const Phrase kWebsiteText{"Visit my website!", "Besuchen Sie meine Website!"};
const char* const kOkText = "OK";

constexpr int kNominalWidth = 400;
constexpr int kNominalHeight = 330;
constexpr unsigned kEmSetReadOnly = 0xCF;
constexpr unsigned kStmSetImage = 0x172;
constexpr unsigned kStmGetImage = 0x173;
constexpr int kImageBitmap = 0;
constexpr int kLoadMap3dColours = 0x1000;
constexpr std::uint32_t kBitmapStaticStyle = 0x5400010E;   // SS_NOTIFY | SS_BITMAP
constexpr int kBitmapStaticId = 31000;
constexpr int kGwlExStyle = -20;
constexpr int kWsExTransparent = 0x20;
constexpr int kShowHidden = 0;
constexpr int kGwlpWndProc = -4;
constexpr int kSwRestore = 9;

// What the window's close request needs on the interface thread: the dialog procedure it goes to
// and the OK button it is answered with. Written by the program thread before the window's
// procedure is replaced, read on the interface thread afterwards.
struct CloseAsOk {
    Handle dialogProcedure = 0;
    Handle okButton = 0;
};

CloseAsOk closeAsOk;

// A close request (Alt+F4, or WM_CLOSE sent by anyone) would reach the main loop as the program's
// own close and end the program. It is answered as a click on OK instead, so it closes this
// window only, the way the OK button does.
LRESULT CALLBACK InformationWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(closeAsOk.dialogProcedure);
    if (message != WM_CLOSE) return CallWindowProcA(procedure, window, message, wParam, lParam);
    const auto ok = reinterpret_cast<HWND>(closeAsOk.okButton);
    return CallWindowProcA(procedure, window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED),
                           reinterpret_cast<LPARAM>(ok));
}

void AnswerCloseAsOk(Handle window, Handle okButton) {
    closeAsOk.dialogProcedure = CallLibraryFunction("USER32", "GetWindowLongPtrA", {window, kGwlpWndProc});
    closeAsOk.okButton = okButton;
    CallLibraryFunction("USER32", "SetWindowLongPtrA",
                        {window, kGwlpWndProc, reinterpret_cast<std::intptr_t>(&InformationWindowProcedure)});
}

void CreateControls(Handle window) {
    InformationDialogState& d = informationDialog;
    DialogControl(window, "STATIC", "", kSeparatorStyle, 9, 245, 380, 4);
    DialogControl(window, "STATIC", "", kSeparatorStyle, 87, 55, 302, 4);
    DialogControl(window, "STATIC", "", kSeparatorStyle, 87, 172, 302, 4);
    d.textView = CreateControl("RichEdit", window, "", 87, 65, 295, 98);
    SendToWindow(d.textView, kEmSetReadOnly, 1, 0);
    const Handle product = CreateTextLabel(window, kProductText, 87, 15, 190, 14);
    FillInformationText();
    const Handle version = CreateTextLabel(window, kVersionText, 323, 15, 100, 14);
    const Handle credit = CreateTextLabel(window, Say(kCreditText), 87, 35, 290, 14);
    const Handle internet = CreateTextLabel(window, kInternetText, 87, 188, 55, 14);
    const Handle terms = CreateTextLabel(window, Say(kTermsText), 87, 218, 300, 16);
    const Handle frame = DialogControl(window, "STATIC", "", kTextLabelStyle, 9, 8, 70, 229, kStaticEdge);
    d.picture = CreateBitmapStatic("INFO", 0, 0, 68, 227, frame);
    d.websiteButton = CreateButton(window, Say(kWebsiteText), 140, 184, 155, 20);
    d.okButton = CreateButton(window, kOkText, 300, 255, 80, 22);

    for (Handle control : {d.textView, version, credit, internet, terms, d.websiteButton}) {
        SetControlFont(control, startup.normalFont);
    }
    SetControlFont(product, startup.boldFont);
    SetControlFont(d.okButton, startup.boldFont);
}

// The static control does not own its bitmap; it is deleted with the window.
void DestroyInformationWindow() {
    InformationDialogState& d = informationDialog;
    const Handle bitmap = SendToWindow(d.picture, kStmGetImage, kImageBitmap, 0);
    DestroyWindowHandle(d.window);
    if (bitmap != 0) CallLibraryFunction("GDI32", "DeleteObject", {bitmap});
    d = InformationDialogState{};
}

}  // namespace

void OpenInformationDialog() {
    FlushEvents();
    informationDialog.escapeKey = WatchDialogKey(kVkEscape);
    informationDialog.open = 1;
    SetWindowStyleFlags(kDialogStyleFlags);
    const Handle window = CreateDialogWindow(mainWindow.mainWindow, kTitle, ScreenWidth(), ScreenHeight(), 100, 100);
    informationDialog.window = window;
    CreateControls(window);
    AnswerCloseAsOk(window, informationDialog.okButton);
    // Centred on the nominal size, not on the outer size.
    const int x = static_cast<int>(ScreenWidth() * 0.5 - kNominalWidth / 2);
    const int y = static_cast<int>(ScreenHeight() * 0.5 - kNominalHeight / 2);
    PlaceWindow(window, x, y, WidthAdjustment() + kNominalWidth, HeightAdjustment() + kNominalHeight, 0);
}

void PollInformationDialog() {
    InformationDialogState& d = informationDialog;
    if (Clicked(d.websiteButton)) {
        ShellOpen(kHomePageAddress, "", kShowHidden);
        FlushEvents();
        return;
    }
    if ((DialogKeyPressed(d.escapeKey) && ForegroundWindow() == d.window) || Clicked(d.okButton)) {
        DestroyInformationWindow();
        FlushEvents();
        SetErrorLevel(-1);
        PlaceWindow(mainWindow.mainWindow, MainWindowLeft(), MainWindowTop(), MainWindowRight() - MainWindowLeft(),
                    MainWindowBottom() - MainWindowTop(), 0);
        SetErrorLevel(0);
        SetControlFocus(mainWindow.pluginList);
        latches.enter = 1;
    }
}

void BringInformationDialogToFront() {
    const Handle window = informationDialog.window;
    if (CallLibraryFunction("USER32", "IsIconic", {window}) != 0) {
        CallLibraryFunction("USER32", "ShowWindow", {window, kSwRestore});
    }
    CallLibraryFunction("USER32", "SetForegroundWindow", {window});
}

Handle CreateBitmapStatic(const Text& name, int x, int y, int width, int height, Handle parent) {
    const Text resource = UpperCase(name);
    const Handle bitmap = CallLibraryFunction(
        "USER32", "LoadImageA", {ProgramInstance(), Arg(resource), kImageBitmap, width, height, kLoadMap3dColours});
    if (parent == 0) parent = ForegroundWindow();
    const Handle control = CreateWindowDirect("STATIC", "", kBitmapStaticStyle, x, y, width, height, parent,
                                              kBitmapStaticId, ProgramInstance(), 0);
    CallLibraryFunction("USER32", "SetWindowLongA", {control, kGwlExStyle, kWsExTransparent});
    SendToWindow(control, kStmSetImage, kImageBitmap, bitmap);
    return control;
}

// The dialogs on the real window: the input dialog of the rename command (Enter, Escape, Cancel,
// OK and its 48-character limit), the hidden-plugins dialog (restoring by button and by key, the
// last and the only row, OK, Enter and Escape), the information window (opened once, the website
// button, Escape only while it is in front, a second click bringing it to the front, a close
// request closing it alone, OK clicked after the second click), and screenshots of each in both
// languages.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

class DialogsTest : public QuorrelTest {
protected:
    void TearDown() override {
        QuorrelTest::TearDown();
        CloseNotepads();
    }

    // The outer rectangle a dialog of the nominal size gets when it is centred on the screen.
    static std::string CentredPlace(int nominalWidth, int nominalHeight) {
        const int frame = GetSystemMetrics(SM_CXFRAME);
        const int caption = GetSystemMetrics(SM_CYCAPTION);
        const int width = frame - 4 + nominalWidth;
        const int height = frame + caption - 42 + nominalHeight;
        const int x = static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.5 - width * 0.5);
        const int y = static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.5 - height * 0.5);
        return Place(RECT{x, y, x + width, y + height});
    }

    static std::string Place(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
               std::to_string(r.bottom - r.top);
    }

    // Types into an edit control the way the keyboard does, so that its limit applies. The field's
    // whole text is selected when the dialog opens, so typing ends with the typed text up to the
    // limit; waiting for exactly that (not for a length the old text may already have) keeps the
    // caller from reading the field halfway through the typing.
    static void Type(HWND edit, const std::string& text) {
        for (char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        TextBecomes(edit, text.substr(0, 48));
    }

    // Opens the rename dialog with Backspace on the list; its children are OK, Cancel, the prompt
    // and the text field.
    HWND OpenRenameDialog(const std::string& title = "Rename Plugin") {
        if (!PressKey(app.Main(), VK_BACK)) return nullptr;
        HWND dialog = WaitDialog(title);
        if (dialog) WaitUntil([&] { return Children(dialog).size() == 4; }, 2000);
        return dialog;
    }

    std::string Shot(const std::string& name) {
        Sleep(300);
        const std::string path = JoinPath(WorkFolder(), name);
        EXPECT_TRUE(Screenshot(path)) << "cannot save " << path;
        return path;
    }
};

enum InputChild { kInputOk, kInputCancel, kInputPrompt, kInputField };
enum HiddenChild { kHiddenLabel, kHiddenSeparator, kHiddenFiles, kHiddenNames, kHiddenOk, kHiddenRestore };
enum InfoChild {
    kInfoBottomLine, kInfoUpperLine, kInfoLowerLine, kInfoText, kInfoProduct, kInfoVersion, kInfoCredit,
    kInfoInternet, kInfoTerms, kInfoPictureFrame, kInfoWebsite, kInfoOk, kInfoChildCount
};

TEST_F(DialogsTest, RenameTakesTheTypedNameOnEnterOrOkAndNothingOnEscapeOrCancel) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());

    HWND dialog = OpenRenameDialog();
    ASSERT_TRUE(dialog) << "Backspace opened no input dialog";
    std::vector<HWND> c = Children(dialog);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(WindowText(c[kInputOk]), "&OK");
    EXPECT_EQ(WindowText(c[kInputCancel]), "&Cancel");
    EXPECT_EQ(WindowText(c[kInputPrompt]), "New Name:");
    EXPECT_EQ(WindowText(c[kInputField]), "Alpha");
    EXPECT_EQ(SendMessageA(c[kInputField], EM_GETSEL, 0, 0), MAKELONG(0, 5)) << "the initial text must be selected";
    EXPECT_EQ(Place(WindowRect(dialog)), CentredPlace(276, 148));
    EXPECT_FALSE(IsEnabled(app.Main())) << "the main window takes no input while the dialog is open";
    Type(c[kInputField], "Zulu");
    EXPECT_EQ(WindowText(c[kInputField]), "Zulu") << "typing replaces the selected initial text";
    ASSERT_TRUE(XKeys({"Return"}));
    ASSERT_TRUE(DialogClosed(dialog));
    EXPECT_TRUE(RowsBecome({"Zulu", "Bravo"})) << Joined(Rows());
    EXPECT_NE(FileText("a.src").find("name=\"Zulu\""), std::string::npos) << FileText("a.src");
    EXPECT_TRUE(IsEnabled(app.Main()));
    EXPECT_TRUE(NotepadWindows().empty()) << "the Enter that confirmed the dialog opened the editor";

    dialog = OpenRenameDialog();
    ASSERT_TRUE(dialog) << "after a rename the list must have the focus again";
    Type(Children(dialog)[kInputField], "Yankee");
    ASSERT_TRUE(XKeys({"Escape"}));
    ASSERT_TRUE(DialogClosed(dialog));

    dialog = OpenRenameDialog();
    ASSERT_TRUE(dialog);
    Type(Children(dialog)[kInputField], "Yankee");
    ASSERT_TRUE(ClickButton(Children(dialog)[kInputCancel]));
    ASSERT_TRUE(DialogClosed(dialog));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Zulu", "Bravo"})) << "Escape and Cancel must change nothing";
    EXPECT_NE(FileText("a.src").find("name=\"Zulu\""), std::string::npos) << FileText("a.src");

    dialog = OpenRenameDialog();
    ASSERT_TRUE(dialog);
    c = Children(dialog);
    Type(c[kInputField], std::string(49, 'x'));
    EXPECT_EQ(WindowText(c[kInputField]), std::string(48, 'x')) << "the field takes at most 48 characters";
    ASSERT_TRUE(ClickButton(c[kInputOk]));
    ASSERT_TRUE(DialogClosed(dialog));
    EXPECT_TRUE(RowsBecome({std::string(48, 'x'), "Bravo"})) << Joined(Rows());
}

TEST_F(DialogsTest, HiddenPluginsAreRestoredByButtonAndByKeyOneAtATime) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("h1.hid", "Hidden one");
    AddPlugin("h2.hid", "Hidden two");
    AddPlugin("h3.hid", "Hidden three");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (3)");

    ASSERT_TRUE(ClickButton(At(kShowHidden)));
    HWND dialog = WaitDialog("Hidden Search Plugins");
    ASSERT_TRUE(dialog);
    std::vector<HWND> c = Children(dialog);
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(WindowText(c[kHiddenLabel]), "Here you can restore hidden search plugins:");
    EXPECT_EQ(WindowText(c[kHiddenRestore]), "Restore Selected Plugin");
    EXPECT_EQ(WindowText(c[kHiddenOk]), "OK");
    EXPECT_EQ(Place(WindowRect(dialog)), CentredPlace(320, 300));
    HWND names = c[kHiddenNames];
    EXPECT_EQ(ListRows(names), (std::vector<std::string>{"Hidden one", "Hidden two", "Hidden three"}));
    EXPECT_EQ(ListRows(c[kHiddenFiles]), (std::vector<std::string>{"h1.hid", "h2.hid", "h3.hid"}));
    EXPECT_EQ(ListSelection(names), 0);
    EXPECT_FALSE(IsEnabled(app.Main()));

    ASSERT_TRUE(ClickButton(c[kHiddenRestore]));
    ASSERT_TRUE(WaitUntil([&] { return ListRows(names) == std::vector<std::string>{"Hidden two", "Hidden three"}; }))
        << Joined(ListRows(names));
    EXPECT_TRUE(FileExists(PluginPath("h1.src")));
    EXPECT_TRUE(RowsBecome({"Alpha", "Hidden one"})) << "the main list is rebuilt at once: " << Joined(Rows());
    EXPECT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (2)");
    EXPECT_EQ(ListSelection(names), 0);

    // The restore keys work without clicking the list again, and a held key restores one row.
    ASSERT_TRUE(Select(names, 1));
    ASSERT_TRUE(PressKey(dialog, VK_MULTIPLY, 700));
    ASSERT_TRUE(WaitUntil([&] { return ListCount(names) < 2; })) << "numpad star restored nothing";
    Sleep(300);
    EXPECT_EQ(ListRows(names), std::vector<std::string>{"Hidden two"}) << "a held star restores one row";
    EXPECT_EQ(ListSelection(names), 0) << "restoring the last row selects the new last row";
    EXPECT_TRUE(FileExists(PluginPath("h3.src")));
    EXPECT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (1)");

    ASSERT_TRUE(ClickButton(c[kHiddenOk]));
    ASSERT_TRUE(DialogClosed(dialog));
    EXPECT_TRUE(IsEnabled(app.Main()));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Main()) == List(); })) << "the plugin list gets the focus back";

    ASSERT_TRUE(ClickButton(At(kShowHidden)));
    dialog = WaitDialog("Hidden Search Plugins");
    ASSERT_TRUE(dialog);
    c = Children(dialog);
    ASSERT_EQ(ListCount(c[kHiddenNames]), 1);
    ASSERT_TRUE(PressKeys(dialog, {VK_SHIFT, VK_OEM_PLUS}));
    ASSERT_TRUE(WaitUntil([&] { return ListCount(c[kHiddenNames]) == 0; })) << "Shift+plus restored nothing";
    EXPECT_EQ(ListSelection(c[kHiddenNames]), -1);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(c[kHiddenRestore]); })) << "nothing left: restore is disabled";
    EXPECT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (0)");
    EXPECT_FALSE(IsEnabled(At(kShowHidden)));
    EXPECT_TRUE(RowsBecome({"Alpha", "Hidden one", "Hidden two", "Hidden three"})) << Joined(Rows());
    ASSERT_TRUE(XKeys({"Return"}));
    ASSERT_TRUE(DialogClosed(dialog)) << "Enter must close the dialog";
    Sleep(500);
    EXPECT_TRUE(NotepadWindows().empty()) << "the Enter that closed the dialog opened the editor";
}

TEST_F(DialogsTest, AnEmptyHiddenPluginsDialogClosesWithEscapeOrEnter) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("x.hid", "Gone");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(DeleteFileA(PluginPath("x.hid").c_str()));
    for (const char* key : {"Escape", "Return"}) {
        ASSERT_TRUE(ClickButton(At(kShowHidden)));
        HWND dialog = WaitDialog("Hidden Search Plugins");
        ASSERT_TRUE(dialog);
        const std::vector<HWND> c = Children(dialog);
        EXPECT_EQ(ListCount(c[kHiddenNames]), 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(c[kHiddenRestore]); })) << "restore must be disabled";
        ASSERT_TRUE(XKeys({key}));
        EXPECT_TRUE(DialogClosed(dialog)) << key << " must close the dialog";
    }
}

TEST_F(DialogsTest, AHiddenFileGoneWhileTheDialogIsOpenIsNamedAndLosesItsRow) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("h1.hid", "Hidden one");
    AddPlugin("h2.hid", "Hidden two");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(ClickButton(At(kShowHidden)));
    HWND dialog = WaitDialog("Hidden Search Plugins");
    ASSERT_TRUE(dialog);
    const std::vector<HWND> c = Children(dialog);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(c[kHiddenNames]) == 2; }));
    ASSERT_TRUE(DeleteFileA(PluginPath("h1.hid").c_str()));
    ASSERT_TRUE(ClickButton(c[kHiddenRestore]));
    EXPECT_NE(AnswerBox("Message:").find("h1.hid"), std::string::npos) << "the gone file must be named";
    EXPECT_TRUE(WaitUntil([&] { return ListRows(c[kHiddenNames]) == std::vector<std::string>{"Hidden two"}; }))
        << Joined(ListRows(c[kHiddenNames]));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(At(kShowHidden)) == "  Show Hidden (1)"; }));
    EXPECT_FALSE(FileExists(PluginPath("h1.src"))) << "no file may be created";
    ASSERT_TRUE(ClickButton(c[kHiddenOk]));
    EXPECT_TRUE(DialogClosed(dialog));
}

TEST_F(DialogsTest, InformationWindowOpensOnceKeepsTheMainWindowUsableAndClosesOnlyItself) {
    ShellLog log(TestName());
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(ClickButton(At(kInfo)));
    HWND info = WaitDialog("About...");
    ASSERT_TRUE(info) << "\"?\" opened no information window";
    ASSERT_TRUE(WaitUntil([&] { return Children(info).size() == kInfoChildCount; }));
    const std::vector<HWND> c = Children(info);
    EXPECT_EQ(WindowText(c[kInfoProduct]), "Quorrel");
    EXPECT_EQ(WindowText(c[kInfoVersion]), "(v. 1.03)");
    EXPECT_EQ(WindowText(c[kInfoInternet]), "Internet:");
    EXPECT_EQ(WindowText(c[kInfoWebsite]), "Visit my website!");
    EXPECT_EQ(WindowText(c[kInfoOk]), "OK");
    EXPECT_FALSE(WindowText(c[kInfoCredit]).empty());
    EXPECT_FALSE(WindowText(c[kInfoTerms]).empty());
    const std::string text = WindowText(c[kInfoText]);
    EXPECT_EQ(text.rfind(std::string(44, '_') + "\r", 0), 0u) << text.substr(0, 60);
    EXPECT_NE(text.find(" :: Information"), std::string::npos);
    EXPECT_NE(text.find(" :: Disclaimer"), std::string::npos);
    EXPECT_TRUE(SendMessageA(c[kInfoText], EM_GETOPTIONS, 0, 0) & ECO_READONLY) << "the text view is read-only";
    HWND picture = FindChildById(c[kInfoPictureFrame], 31000);
    ASSERT_TRUE(picture) << "the picture is missing";
    EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "the picture shows no bitmap";
    const int frame = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int x = static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.5 - 200);
    const int y = static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.5 - 165);
    EXPECT_EQ(Place(WindowRect(info)), Place(RECT{x, y, x + frame - 4 + 400, y + frame + caption - 42 + 330}));
    EXPECT_TRUE(IsEnabled(app.Main())) << "the information window is not modal";

    ASSERT_TRUE(ClickButton(c[kInfoWebsite]));
    ASSERT_TRUE(log.WaitLines(1)) << "the website button opened nothing";
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"\thttps://quorrel.example.org/\t0"});
    EXPECT_TRUE(IsWindow(info)) << "the website button leaves the window open";

    SetForegroundWindow(app.Main());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Main(); }));
    ASSERT_TRUE(ClickButton(At(kInfo)));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == info; })) << "a second click left the window behind";
    EXPECT_EQ(TopLevelWindows({app.Pid(), "", "About..."}).size(), 1u) << "a second click opened a second window";

    SetForegroundWindow(app.Main());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Main(); }));
    ASSERT_TRUE(XKeys({"Escape"}));
    Sleep(300);
    EXPECT_TRUE(IsWindow(info)) << "Escape closed the window while the main window was in front";
    SetForegroundWindow(info);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == info; }));
    ASSERT_TRUE(XKeys({"Escape"}));
    EXPECT_TRUE(DialogClosed(info)) << "Escape must close the window in front";
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.Main()) == List(); })) << "the plugin list gets the focus back";

    // A close request closes the window the way OK does, and nothing else: the order moved but
    // not saved is still there.
    ASSERT_TRUE(SelectRow(1));
    ASSERT_TRUE(ClickButton(At(kMoveUp)));
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha"})) << Joined(Rows());
    const std::vector<std::pair<std::string, std::function<bool(HWND)>>> closers = {
        {"Alt+F4",
         [](HWND window) {
             SetForegroundWindow(window);
             return WaitUntil([&] { return GetForegroundWindow() == window; }) && XKeys({"alt", "F4"});
         }},
        {"WM_CLOSE", [](HWND window) { return PostClose(window); }},
        {"OK", [](HWND window) { return ClickButton(Children(window)[kInfoOk]); }},
    };
    for (const auto& [how, close] : closers) {
        ASSERT_TRUE(ClickButton(At(kInfo)));
        info = WaitDialog("About...");
        ASSERT_TRUE(info) << "the window must open again";
        ASSERT_TRUE(WaitUntil([&] { return Children(info).size() == kInfoChildCount; }));
        ASSERT_TRUE(close(info)) << how;
        EXPECT_TRUE(DialogClosed(info)) << how << " must close the window";
        ASSERT_TRUE(app.Running()) << how << " on the information window ended the program";
        EXPECT_EQ(Rows(), (std::vector<std::string>{"Bravo", "Alpha"})) << how;
    }
}

// After a second "?" brought the window to the front, a short real click on OK a moment later
// closes it: the text view that loses the focus to the button redraws itself after the click, and
// the notification of that must not cost the click.
TEST_F(DialogsTest, AClickOnTheInformationWindowsOkAfterASecondQuestionMarkClosesIt) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(XClick(WindowCenter(At(kInfo))));
        HWND info = WaitDialog("About...");
        ASSERT_TRUE(info) << "\"?\" opened no information window";
        ASSERT_TRUE(WaitUntil([&] { return Children(info).size() == kInfoChildCount; }));
        ASSERT_TRUE(XClick(WindowCenter(At(kInfo))));
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == info; }));
        Sleep(1000);
        ASSERT_TRUE(XClick(WindowCenter(Children(info)[kInfoOk]), 1, 10));
        ASSERT_TRUE(DialogClosed(info)) << "the click on OK was lost";
    }
}

// Screenshots of the context menu, the hidden-plugins dialog, the information window and the
// input dialog, with their texts in the language.
struct LanguageTexts {
    const char* parameter;
    const char* suffix;
    const char* hiddenTitle;
    const char* hiddenLabel;
    const char* restore;
    const char* website;
    const char* credit;
    const char* renameTitle;
    const char* prompt;
    const char* cancel;
};

class DialogScreens : public DialogsTest, public ::testing::WithParamInterface<LanguageTexts> {};

TEST_P(DialogScreens, EachWindowShowsItsTextsInTheLanguage) {
    const LanguageTexts& t = GetParam();
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    AddPlugin("c.src", "Charlie");
    AddPlugin("h1.hid", "Hidden one");
    AddPlugin("h2.hid", "Hidden two");
    ASSERT_NO_FATAL_FAILURE(Start(t.parameter));

    ASSERT_TRUE(SelectRow(1));
    ASSERT_TRUE(XClick(RowPoint(1), 3));
    HWND menu = WaitPopupMenu(app.Pid());
    ASSERT_TRUE(menu) << "no context menu";
    Shot(std::string("context_menu_") + t.suffix + ".png");
    ASSERT_TRUE(MenuCancel(menu));

    ASSERT_TRUE(ClickButton(At(kShowHidden)));
    HWND hidden = WaitDialog(t.hiddenTitle);
    ASSERT_TRUE(hidden);
    std::vector<HWND> c = Children(hidden);
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(WindowText(c[kHiddenLabel]), t.hiddenLabel);
    EXPECT_EQ(WindowText(c[kHiddenRestore]), t.restore);
    Shot(std::string("hidden_plugins_") + t.suffix + ".png");
    ASSERT_TRUE(ClickButton(c[kHiddenOk]));
    ASSERT_TRUE(DialogClosed(hidden));

    ASSERT_TRUE(ClickButton(At(kInfo)));
    HWND info = WaitDialog("About...");
    ASSERT_TRUE(info);
    ASSERT_TRUE(WaitUntil([&] { return Children(info).size() == kInfoChildCount; }));
    c = Children(info);
    EXPECT_EQ(WindowText(c[kInfoWebsite]), t.website);
    EXPECT_EQ(WindowText(c[kInfoCredit]), t.credit);
    Shot(std::string("information_") + t.suffix + ".png");
    ASSERT_TRUE(ClickButton(c[kInfoOk]));
    ASSERT_TRUE(DialogClosed(info));

    HWND rename = OpenRenameDialog(t.renameTitle);
    ASSERT_TRUE(rename);
    c = Children(rename);
    EXPECT_EQ(WindowText(c[kInputPrompt]), t.prompt);
    EXPECT_EQ(WindowText(c[kInputCancel]), t.cancel);
    Shot(std::string("input_dialog_") + t.suffix + ".png");
    ASSERT_TRUE(ClickButton(c[kInputCancel]));
    ASSERT_TRUE(DialogClosed(rename));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, DialogScreens,
    ::testing::Values(LanguageTexts{"-e", "en", "Hidden Search Plugins", "Here you can restore hidden search plugins:",
                                    "Restore Selected Plugin", "Visit my website!",
                                    "Written by the Quorrel project, 2006", "Rename Plugin", "New Name:", "&Cancel"},
                      LanguageTexts{"-d", "de", "Verstecke Suchplugins", "Wählen Sie ein Suchplugin:",
                                    "Suchplugin wiederherstellen", "Besuchen Sie meine Website!",
                                    "Geschrieben vom Quorrel-Projekt, 2006", "Suchplugin umbenennen", "Neuer Name:",
                                    "&Abbrechen"}),
    [](const ::testing::TestParamInfo<LanguageTexts>& info) { return std::string(info.param.suffix); });

}  // namespace
}  // namespace e2e

// Proves the end-to-end driver against the fixture window: finding and reading windows and lists,
// clicks, message boxes, menus, the folder browser, keys and mouse through the X server, screenshots,
// exit codes and the clean-up of a program left running.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_test.h"

namespace e2e {
namespace {

class DriverTest : public EndToEndTest {
 protected:
  void StartFixture(std::vector<std::string> args = {}) {
    AppOptions options;
    options.exe = FIXTURE_WINDOW_EXE;
    options.args = std::move(args);
    options.pluginFolder = plugins.Path();
    options.label = TestName();
    ASSERT_TRUE(app.Start(options)) << app.Error();
    status = FindChildById(app.Main(), 200);
    keys = FindChildById(app.Main(), 201);
    ASSERT_TRUE(status && keys) << "the fixture's status statics are missing";
  }

  bool StatusBecomes(const std::string& text) { return TextBecomes(status, text); }

  ScratchFolder plugins{TestName() + "-plugins"};
  App app;
  HWND status = nullptr;
  HWND keys = nullptr;
};

TEST_F(DriverTest, FindsTheMainWindowAndReadsListRowsWithWindows1252Text) {
  StartFixture();
  EXPECT_EQ(WindowText(app.Main()), "Quorrel fixture");
  HWND list = ChildAt(app.Main(), 0);
  ASSERT_EQ(WindowClass(list), "ListBox") << "children must come in creation order";
  EXPECT_EQ(ListRows(list), (std::vector<std::string>{"Alpha", "B\xE4r", "Gamma"}));
  EXPECT_EQ(ListSelection(list), -1);
  ASSERT_TRUE(SetListSelection(list, 1));
  EXPECT_EQ(ListSelection(list), 1);
  EXPECT_EQ(WindowText(FindChildById(app.Main(), 202)), "settings: " + plugins.Path())
      << "settings.ini beside the copy must name the plugin folder";
}

TEST_F(DriverTest, ClicksAButtonAndAnswersTheMessageBoxItOpens) {
  StartFixture();
  ASSERT_TRUE(ClickButton(FindButton(app.Main(), "Ask")));
  HWND box = WaitMessageBox(app.Pid(), "Message:");
  ASSERT_TRUE(box) << "no message box captioned \"Message:\"";
  EXPECT_EQ(MessageBoxText(box), "Keep the fixture running?");
  ASSERT_TRUE(PressDialogButton(box, IDNO));
  EXPECT_TRUE(StatusBecomes("answer 7")) << WindowText(status);
  EXPECT_EQ(WaitMessageBox(app.Pid(), "", 200), nullptr) << "the answered box is still there";
}

TEST_F(DriverTest, PassesArgumentsAndReportsTheExitCode) {
  StartFixture({"42"});
  ASSERT_TRUE(PostClose(app.Main()));
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(42));
}

TEST_F(DriverTest, KeysReachAPollingProgram) {
  StartFixture();
  ASSERT_TRUE(XKeys({"alt", "t"}));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(keys).find(" Alt+T") != std::string::npos; }))
      << "Alt+T through the X server was not seen: " << WindowText(keys);
  ASSERT_TRUE(PressKey(app.Main(), 'Q'));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(keys).find(" Q") != std::string::npos; }))
      << "Q through SendInput was not seen: " << WindowText(keys);
}

TEST_F(DriverTest, MouseClicksLandWhereTheWindowRectsSay) {
  StartFixture();
  ASSERT_TRUE(XClick(WindowCenter(FindButton(app.Main(), "Ask"))));
  HWND box = WaitMessageBox(app.Pid(), "Message:");
  ASSERT_TRUE(box) << "the left click did not reach the button";
  ASSERT_TRUE(PressDialogButton(box, IDCANCEL));
  EXPECT_TRUE(StatusBecomes("answer 2")) << WindowText(status);
}

TEST_F(DriverTest, RightClickMenuIsDrivenByKeys) {
  StartFixture();
  HWND list = ChildAt(app.Main(), 0);
  ASSERT_TRUE(XClick(WindowCenter(list), 3));
  HWND menu = WaitPopupMenu(app.Pid());
  ASSERT_TRUE(menu) << "the right click opened no menu";
  MenuKey(menu, VK_DOWN);
  MenuKey(menu, VK_DOWN);
  MenuKey(menu, VK_RETURN);
  EXPECT_TRUE(StatusBecomes("menu 302")) << WindowText(status);
  ASSERT_TRUE(WaitWindowGone(menu));

  ASSERT_TRUE(XClick(WindowCenter(list), 3));
  menu = WaitPopupMenu(app.Pid());
  ASSERT_TRUE(menu);
  MenuLetter(menu, 'f');
  EXPECT_TRUE(StatusBecomes("menu 301")) << WindowText(status);
  ASSERT_TRUE(WaitWindowGone(menu));

  ASSERT_TRUE(XClick(WindowCenter(list), 3));
  menu = WaitPopupMenu(app.Pid());
  ASSERT_TRUE(menu);
  EXPECT_TRUE(MenuCancel(menu));
  EXPECT_TRUE(StatusBecomes("menu 0")) << WindowText(status);
}

TEST_F(DriverTest, FolderBrowserIsCancelledOrWalkedToAFolder) {
  StartFixture();
  ASSERT_TRUE(ClickButton(FindButton(app.Main(), "Browse")));
  HWND browser = WaitFolderBrowser(app.Pid());
  ASSERT_TRUE(browser) << "no folder browser";
  ASSERT_TRUE(PressDialogButton(browser, IDCANCEL));
  EXPECT_TRUE(StatusBecomes("folder cancelled")) << WindowText(status);

  ASSERT_TRUE(ClickButton(FindButton(app.Main(), "Browse")));
  browser = WaitFolderBrowser(app.Pid());
  ASSERT_TRUE(browser);
  std::string tree;
  for (const std::string& line : FolderBrowserTree(browser, 1)) tree += line + "\n";
  ASSERT_TRUE(SelectFolderInBrowser(browser, plugins.Path())) << "cannot walk to " << plugins.Path() << " in\n"
                                                              << tree;
  ASSERT_TRUE(PressDialogButton(browser, IDOK));
  EXPECT_TRUE(StatusBecomes("folder " + plugins.Path())) << WindowText(status);
}

TEST_F(DriverTest, ScreenshotIsAPngFile) {
  StartFixture();
  std::string shot = JoinPath(plugins.Path(), "shot.png");
  ASSERT_TRUE(Screenshot(shot));
  std::optional<std::string> bytes = ReadFileBytes(shot);
  ASSERT_TRUE(bytes && bytes->size() > 100);
  EXPECT_EQ(bytes->substr(0, 4), "\x89PNG");
}

TEST_F(DriverTest, AProgramLeftRunningIsKilledWithItsApp) {
  DWORD pid = 0;
  {
    App left;
    AppOptions options;
    options.exe = FIXTURE_WINDOW_EXE;
    options.label = TestName();
    ASSERT_TRUE(left.Start(options)) << left.Error();
    pid = left.Pid();
    ASSERT_TRUE(ClickButton(FindButton(left.Main(), "Ask")));
    ASSERT_TRUE(WaitMessageBox(pid, "Message:"));
  }
  EXPECT_EQ(FindTopLevel({pid, "", "", false}), nullptr) << "windows of the killed program remain";
}

TEST(DriverFiles, PathsAndBytesSurviveTheRoundTrip) {
  ScratchFolder folder("files");
  ASSERT_TRUE(folder.Ok());
  EXPECT_EQ(WinPath("/tmp/a b/c"), "Z:\\tmp\\a b\\c");
  EXPECT_EQ(UnixPath("Z:\\tmp\\a b\\c"), "/tmp/a b/c");
  EXPECT_EQ(WinPath(UnixPath(folder.Path())), folder.Path());

  std::string bytes("line\r\nB\xE4r\0end", 13);
  std::string sub = JoinPath(folder.Path(), "x\\y");
  ASSERT_TRUE(MakeFolders(sub));
  ASSERT_TRUE(WriteFileBytes(JoinPath(sub, "K01##a.src"), bytes));
  EXPECT_EQ(ReadFileBytes(JoinPath(sub, "K01##a.src")), std::optional<std::string>(bytes));
  EXPECT_EQ(ListFolder(sub), std::vector<std::string>{"K01##a.src"});
  EXPECT_FALSE(ReadFileBytes(JoinPath(sub, "missing")));

  SetFileAttributesA(JoinPath(sub, "K01##a.src").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(RemoveTree(JoinPath(folder.Path(), "x")));
  EXPECT_TRUE(ListFolder(folder.Path()).empty());
}

}  // namespace
}  // namespace e2e

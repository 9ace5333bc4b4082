// Start-up as the user meets it: the plugin folder from settings.ini and how it is written back,
// the notice and the folder browser when there is no usable folder, the fatal end when the
// browser is cancelled, the language from the command line or the country setting, and a
// second copy that hands over to the running one.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_test.h"

namespace e2e {
namespace {

const char* const kEnglishNotice =
    "Since Firefox 1.5 the searchplugins are stored at two different places: in the Firefox and in the "
    "profile folder.\r\rThe ordering works for one direcotory only. Please move all serachplugins from the "
    "profile directory to the Firefox directory or reverse.\r\r\rThe profile directory usually is:\r"
    "C:\\Documents and Settings\\Administrator\\Application Data\\Mozilla\\Firefox\\Profiles\\\r\r"
    "Suchplugins in the Firefox Directory:\rC:\\Program Files\\Mozilla Firefox\\searchplugins\\";

const char* const kGermanNotice =
    "Seit Firefox 1.5 werden die Suchplugins an zwei Orten gespeichert: im Firefox Verzeichnis und im "
    "Profilordner.\r\rDie Sortierung funktioniert nur für einen Ordner. Verschieben Sie also vorher ggf. "
    "Suchplugins aus dem Firefox Verzeichnis\rin den Profilordner oder umgekehrt.\r\rDer Pfad der "
    "Suchplugins im Profilordners ist meist:\rC:\\Dokumente und Einstellungen\\Adminsitrator\\"
    "Anwendungsdaten\\Mozilla\\Firefox\\Profiles\\XXXXXXXXXX.default\\searchplugins\\\r\r"
    "Suchplugins im Firefox Ordner:\rC:\\Programme\\Mozilla Firefox\\searchplugins\\";

std::string PluginText(const std::string& name) {
    return "<search\r\nname=\"" + name + "\"\r\nmethod=\"GET\"\r\naction=\"http://example.org/\"\r\n>\r\n"
           "<input name=\"q\" user>\r\n</search>\r\n";
}

std::string SettingsFolder(const App& app) {
    char value[1024] = {};
    GetPrivateProfileStringA("Software\\Quorrel", "folder", "", value, sizeof value, app.SettingsPath().c_str());
    return value;
}

// The Sort button's caption tells the interface language.
std::string SortCaption(const App& app) { return WindowText(ChildAt(app.Main(), 9)); }

// Test names must not hold the word searchplugins: the scratch folders are named after them.
class StartupTest : public EndToEndTest {
protected:
    // A profile folder whose searchplugins subfolder holds two plugins.
    void SetUp() override {
        ASSERT_TRUE(profile.Ok());
        plugins = JoinPath(profile.Path(), "searchplugins");
        ASSERT_TRUE(MakeFolders(plugins));
        ASSERT_TRUE(WriteFileBytes(JoinPath(plugins, "b.src"), PluginText("Beta")));
        ASSERT_TRUE(WriteFileBytes(JoinPath(plugins, "a.src"), PluginText("Alpha")));
    }

    AppOptions Options(std::vector<std::string> args, std::optional<std::string> folder, const std::string& label) {
        AppOptions options;
        options.args = std::move(args);
        options.pluginFolder = std::move(folder);
        options.label = TestName() + "-" + label;
        return options;
    }

    static void Close(App& app) {
        PostMessageA(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0)) << "closing must end the program with code 0";
    }

    ScratchFolder profile{TestName() + "-profile"};
    std::string plugins;
};

TEST_F(StartupTest, AProfileFolderInTheSettingsLeadsToItsPluginSubfolderAndIsStoredAsThat) {
    App app;
    ASSERT_TRUE(app.Start(Options({"-e"}, profile.Path() + "\\", "parent"))) << app.Error();
    HWND list = ChildAt(app.Main(), 2);
    EXPECT_EQ(ListCount(list), 2) << "the plugins of the searchplugins subfolder must be listed";
    EXPECT_EQ(SettingsFolder(app), plugins) << "settings.ini must name the searchplugins folder itself";
    Close(app);
}

TEST_F(StartupTest, ThePluginFolderItselfWithABackslashIsStoredWithoutIt) {
    App app;
    ASSERT_TRUE(app.Start(Options({"-e"}, plugins + "\\", "itself"))) << app.Error();
    EXPECT_EQ(ListCount(ChildAt(app.Main(), 2)), 2);
    EXPECT_EQ(SettingsFolder(app), plugins);
    Close(app);
}

TEST_F(StartupTest, WithoutSettingsTheNoticeAndTheBrowserAppearAndCancellingIsFatal) {
    App app;
    ASSERT_TRUE(app.Launch(Options({"-e"}, std::nullopt, "cancel"))) << app.Error();
    HWND notice = WaitMessageBox(app.Pid(), "Attention:", 15000);
    ASSERT_TRUE(notice) << "no notice captioned \"Attention:\"";
    EXPECT_EQ(MessageBoxText(notice), kEnglishNotice);
    ASSERT_TRUE(PressDialogButton(notice, IDOK));

    HWND browser = WaitFolderBrowser(app.Pid());
    ASSERT_TRUE(browser) << "no folder browser after the notice";
    EXPECT_TRUE(FindChild(browser, "Static", "Please select the installation or profile directory\rof "
                                             "''Mozilla Firefox'':"))
        << "the browser must show the English prompt";
    ASSERT_TRUE(PressDialogButton(browser, IDCANCEL));

    HWND fatal = WaitMessageBox(app.Pid(), "Fatal Error (#0001)");
    ASSERT_TRUE(fatal) << "cancelling the browser must end in \"Fatal Error (#0001)\"";
    EXPECT_EQ(MessageBoxText(fatal), "Can't find ''searchplugins'' folder!");
    EXPECT_EQ(FindTopLevel({app.Pid(), "", "Quorrel", true}), nullptr) << "no main window may appear";
    ASSERT_TRUE(PressDialogButton(fatal, IDOK));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(StartupTest, AFolderChosenAfterTheGermanNoticeIsUsedAndStored) {
    App app;
    ASSERT_TRUE(app.Launch(Options({"-d"}, profile.Path() + "\\missing", "choose"))) << app.Error();
    HWND notice = WaitMessageBox(app.Pid(), "Hinweis:", 15000);
    ASSERT_TRUE(notice) << "a folder that does not exist must bring the notice captioned \"Hinweis:\"";
    EXPECT_EQ(MessageBoxText(notice), kGermanNotice);
    ASSERT_TRUE(PressDialogButton(notice, IDOK));

    HWND browser = WaitFolderBrowser(app.Pid());
    ASSERT_TRUE(browser);
    EXPECT_TRUE(FindChild(browser, "Static", "Wählen Sie den Ordner oder Profilordner von ''Mozilla Firefox'':"))
        << "the browser must show the German prompt";
    ASSERT_TRUE(SelectFolderInBrowser(browser, profile.Path())) << "cannot walk to " << profile.Path();
    ASSERT_TRUE(PressDialogButton(browser, IDOK));

    ASSERT_TRUE(app.WaitForMainWindow()) << app.Error();
    EXPECT_EQ(SortCaption(app), "Suchplugins sortieren!");
    EXPECT_EQ(ListCount(ChildAt(app.Main(), 2)), 2);
    EXPECT_EQ(SettingsFolder(app), plugins) << "the chosen folder must be stored as its searchplugins folder";
    Close(app);
}

// Replaces the user's country setting for one test and puts the old one back.
class CountrySetting {
public:
    CountrySetting() {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr);
        char value[256] = {};
        DWORD size = sizeof value;
        DWORD type = 0;
        if (RegQueryValueExA(key_, "sCountry", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS) {
            saved_ = value;
        }
    }
    ~CountrySetting() {
        if (saved_) {
            Set(*saved_);
        } else {
            RegDeleteValueA(key_, "sCountry");
        }
        RegCloseKey(key_);
    }
    CountrySetting(const CountrySetting&) = delete;
    CountrySetting& operator=(const CountrySetting&) = delete;

    bool Set(const std::string& country) {
        return RegSetValueExA(key_, "sCountry", 0, REG_SZ, reinterpret_cast<const BYTE*>(country.c_str()),
                              static_cast<DWORD>(country.size() + 1)) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
    std::optional<std::string> saved_;
};

TEST_F(StartupTest, TheFirstParameterWinsOverTheCountrySettingWhichDefaultsToEnglish) {
    CountrySetting country;
    struct Case {
        const char* country;
        std::vector<std::string> args;
        const char* sortCaption;
    };
    const Case cases[] = {
        {"ÖSTERREICH", {}, "Suchplugins sortieren!"},
        {"Schweiz", {"-E"}, "Sort Search Plugins!"},
        {"Schweiz", {"/Deutsch"}, "Suchplugins sortieren!"},
        {"Germany", {}, "Sort Search Plugins!"},
        {"Germany", {"deutsch", "extra"}, "Suchplugins sortieren!"},
        {"Deutschland", {"-german"}, "Suchplugins sortieren!"},
    };
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(country.Set(c.country));
        std::string args;
        for (const std::string& a : c.args) args += " " + a;
        App app;
        ASSERT_TRUE(app.Start(Options(c.args, plugins, "lang" + std::to_string(++n)))) << app.Error();
        EXPECT_EQ(SortCaption(app), c.sortCaption) << "country \"" << c.country << "\", parameters \"" << args << "\"";
        Close(app);
    }
}

TEST_F(StartupTest, ASecondCopyRestoresAndFlashesTheFirstAndEndsWithoutAWindow) {
    App first;
    ASSERT_TRUE(first.Start(Options({"-e"}, plugins, "first"))) << first.Error();
    ShowWindow(first.Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(first.Main()) != FALSE; })) << "cannot minimise the first copy";

    App second;
    const DWORD started = GetTickCount();
    ASSERT_TRUE(second.Launch(Options({"-e"}, plugins, "second"))) << second.Error();
    bool secondShowedAWindow = false;
    WaitUntil(
        [&] {
            if (!TopLevelWindows({second.Pid(), "", "", true}).empty()) secondShowedAWindow = true;
            return !second.Running();
        },
        15000);
    const DWORD elapsed = GetTickCount() - started;

    EXPECT_EQ(second.WaitForExit(0), std::optional<DWORD>(0)) << "the second copy must end by itself with code 0";
    EXPECT_FALSE(secondShowedAWindow) << "the second copy must show nothing of its own";
    EXPECT_GE(elapsed, 2400u) << "six flashes with five pauses of 500 ms take about 2.5 s";
    EXPECT_TRUE(first.Running()) << "the first copy must keep running";
    EXPECT_FALSE(IsIconic(first.Main())) << "the first copy must be restored";
    EXPECT_EQ(GetWindowLongA(first.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the first copy must not stay topmost";
    Close(first);
}

}  // namespace
}  // namespace e2e

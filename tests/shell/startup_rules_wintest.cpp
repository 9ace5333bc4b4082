// Start-up's rules: which words choose a language, which countries mean German, which file
// systems mean copy mode, how the plugin and temporary folders follow from the configured
// folder, and how a key state read by name is judged.
#include <gtest/gtest.h>

#include <optional>

#include "shell/startup_rules.h"

namespace {

const char* Name(std::optional<Language> language) {
    if (!language) return "no language";
    return *language == Language::German ? "German" : "English";
}

}  // namespace

TEST(LanguageRules, TheFirstParameterMatchesWholeWordsInAnyLetterCase) {
    struct Case {
        const char* word;
        std::optional<Language> expected;
    };
    const Case cases[] = {
        {"d", Language::German},       {"-d", Language::German},        {"/d", Language::German},
        {"deutsch", Language::German}, {"-deutsch", Language::German},  {"/deutsch", Language::German},
        {"-D", Language::German},      {"/Deutsch", Language::German},  {"DEUTSCH", Language::German},
        {"e", Language::English},      {"-e", Language::English},       {"/e", Language::English},
        {"english", Language::English}, {"-english", Language::English}, {"/english", Language::English},
        {"-E", Language::English},     {"/ENGLISH", Language::English},
        {"de", std::nullopt},          {"-german", std::nullopt},       {"--d", std::nullopt},
        {"deutsch extra", std::nullopt}, {"", std::nullopt},            {" -d", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageFromParameter(c.word), c.expected)
            << "\"" << c.word << "\" should choose " << Name(c.expected) << ", chose "
            << Name(LanguageFromParameter(c.word));
    }
}

TEST(LanguageRules, GermanSpeakingCountriesChooseGermanAndEverythingElseEnglish) {
    for (const char* country : {"Deutschland", "deutschland", "SCHWEIZ", "Schweiz", "Österreich",
                                "ÖSTERREICH", "österreich"}) {
        EXPECT_EQ(LanguageFromCountry(country), Language::German) << country << " must give German";
    }
    for (const char* country : {"Germany", "Austria", "Switzerland", "Osterreich", "", "Deutschland ",
                                "United States"}) {
        EXPECT_EQ(LanguageFromCountry(country), Language::English) << "\"" << country << "\" must give English";
    }
}

TEST(FileSystemRule, OnlyNamesWithFatMeanCopyMode) {
    for (const char* name : {"FAT", "FAT32", "exFAT", "VFAT"}) {
        EXPECT_TRUE(IsFatFileSystem(name)) << name << " must give copy mode";
    }
    for (const char* name : {"NTFS", "", "fat32", "ext4", "FA T"}) {
        EXPECT_FALSE(IsFatFileSystem(name)) << "\"" << name << "\" must give rename mode";
    }
}

TEST(FolderRules, OnlyPathsOnADriveAreUsable) {
    EXPECT_TRUE(NamesDriveFolder("C:\\Programme\\Mozilla Firefox\\"));
    EXPECT_TRUE(NamesDriveFolder("Z:\\"));
    EXPECT_FALSE(NamesDriveFolder("")) << "a cancelled folder browser must not be usable";
    EXPECT_FALSE(NamesDriveFolder("\\\\server\\share\\searchplugins")) << "a network path must not be usable";
    EXPECT_FALSE(NamesDriveFolder("C:searchplugins"));
}

TEST(FolderRules, AnInstallationFolderLeadsToItsSearchpluginsSubfolder) {
    const DerivedFolders f = DeriveFolders("C:\\Programme\\Mozilla Firefox\\");
    EXPECT_EQ(f.pluginFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins");
    EXPECT_EQ(f.tempFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins.quorrel-temp");
    EXPECT_EQ(f.configuredFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins");
}

TEST(FolderRules, AnInstallationFolderWithoutTrailingBackslashGetsOneBeforeTheSubfolder) {
    const DerivedFolders f = DeriveFolders("C:\\Programme\\Mozilla Firefox");
    EXPECT_EQ(f.pluginFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins")
        << "the subfolder name must not be glued to the folder name";
    EXPECT_EQ(f.tempFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins.quorrel-temp");
    EXPECT_EQ(f.configuredFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins");
}

TEST(FolderRules, TheSearchpluginsFolderItselfIsStoredWithoutTrailingBackslash) {
    // As the folder browser returns it: with a backslash, which the plugin folder keeps.
    const DerivedFolders chosen = DeriveFolders("C:\\Programme\\Mozilla Firefox\\searchplugins\\");
    EXPECT_EQ(chosen.pluginFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins\\");
    EXPECT_EQ(chosen.tempFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins.quorrel-temp");
    EXPECT_EQ(chosen.configuredFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins");

    // As the settings file holds it from the second start on.
    const DerivedFolders stored = DeriveFolders("C:\\Programme\\Mozilla Firefox\\searchplugins");
    EXPECT_EQ(stored.pluginFolder, "C:\\Programme\\Mozilla Firefox\\searchplugins");
    EXPECT_EQ(stored.tempFolder, chosen.tempFolder) << "choosing the folder or its parent must give the same temp";
    EXPECT_EQ(stored.configuredFolder, chosen.configuredFolder);
}

TEST(FolderRules, SearchpluginsInAnyLetterCaseIsThePluginFolderItself) {
    const DerivedFolders f = DeriveFolders("D:\\Profile\\SearchPlugins");
    EXPECT_EQ(f.pluginFolder, "D:\\Profile\\SearchPlugins");
    EXPECT_EQ(f.tempFolder, "D:\\Profile\\SearchPlugins.quorrel-temp");
    EXPECT_EQ(f.configuredFolder, "D:\\Profile\\SearchPlugins");
}

TEST(KeyStateRule, DownAboveOneHundredUpBelowAndOnlyTheLow16BitsCount) {
    EXPECT_TRUE(KeyStateIsDown(KeyStateValue(0xFF80))) << "-128 (down, not toggled) must read as down";
    EXPECT_TRUE(KeyStateIsDown(KeyStateValue(0xFF81))) << "-127 (down, toggled) must read as down";
    EXPECT_TRUE(KeyStateIsUp(KeyStateValue(0))) << "0 must read as up";
    EXPECT_TRUE(KeyStateIsUp(KeyStateValue(1))) << "1 (toggled) must read as up";
    // A SHORT result leaves the upper bits of the return register undefined.
    EXPECT_TRUE(KeyStateIsUp(KeyStateValue(static_cast<std::intptr_t>(0x7FFF12340001LL))))
        << "bits above the SHORT result must be ignored";
    EXPECT_TRUE(KeyStateIsDown(KeyStateValue(static_cast<std::intptr_t>(0x55550000FF80LL))));
    EXPECT_FALSE(KeyStateIsDown(100));
    EXPECT_FALSE(KeyStateIsUp(100)) << "exactly 100 is neither down nor up";
}

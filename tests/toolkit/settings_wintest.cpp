// Settings against a real initialisation file in a temporary folder and the real registry
// under HKEY_CURRENT_USER\Software\QuorrelTests.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "tests/support/error_capture.h"
#include "tests/support/test_files.h"
#include "tests/support/test_windows.h"
#include "toolkit/errors.h"
#include "toolkit/settings.h"

namespace {

const char* const kWarningCaptionStart = "REGISTRY: ";

Text UniqueName(const char* stem) {
    static int counter = 0;
    return Text(stem) + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(++counter);
}

// A settings file path in a fresh folder under %TEMP%; both go at the end of the test.
class TempIniFile {
public:
    const Text& path() const { return path_; }
    const Text& folder() const { return folder_.path(); }
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    TempFolder folder_{"quorrel-settings-"};
    Text path_ = folder_ / "settings.ini";
};

// A key path of its own below HKEY_CURRENT_USER\Software\QuorrelTests, deleted at the end.
class TestRegistryKey {
public:
    TestRegistryKey() : section_("Software\\QuorrelTests\\" + UniqueName("run-")) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, section_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        if (key) RegCloseKey(key);
    }
    ~TestRegistryKey() {
        RegDeleteTreeA(HKEY_CURRENT_USER, section_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorrelTests");  // only goes when empty
    }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    const Text& section() const { return section_; }

    void SetRaw(const Text& name, DWORD type, const std::string& bytes) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, section_.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

    // The stored type and bytes of a value; type REG_NONE when it is missing.
    std::pair<DWORD, std::string> GetRaw(const Text& name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, section_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
        char buffer[1024] = {};
        DWORD type = REG_NONE;
        DWORD size = sizeof buffer;
        LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return {REG_NONE, std::string()};
        return {type, std::string(buffer, size)};
    }

private:
    Text section_;
};

}  // namespace

TEST(SettingsFile, WritesAndReadsBackAValueInItsSection) {
    TempIniFile ini;
    ErrorCapture errors(1);
    WriteSetting(ini.path(), "Software\\Quorrel", "folder", "C:\\Program Files\\Browser\\searchplugins");
    EXPECT_EQ(ReadSetting(ini.path(), "Software\\Quorrel", "folder"), "C:\\Program Files\\Browser\\searchplugins");
    EXPECT_NE(ini.Contents().find("[Software\\Quorrel]"), std::string::npos) << ini.Contents();
    EXPECT_NE(ini.Contents().find("folder=C:\\Program Files\\Browser\\searchplugins"), std::string::npos);

    WriteSetting(ini.path(), "Software\\Quorrel", "folder", "D:\\other");
    EXPECT_EQ(ReadSetting(ini.path(), "Software\\Quorrel", "folder"), "D:\\other") << "a second write replaces";
    EXPECT_TRUE(errors.boxes.empty());
}

TEST(SettingsFile, MissingFileSectionOrKeyReadsAsEmptyWithoutWarning) {
    TempIniFile ini;
    WriteSetting(ini.path(), "Software\\Quorrel", "folder", "x");
    ErrorCapture errors(1);
    EXPECT_EQ(ReadSetting(ini.path(), "Software\\Quorrel", "missing"), "");
    EXPECT_EQ(ReadSetting(ini.path(), "Other", "folder"), "");
    EXPECT_EQ(ReadSetting(ini.folder() + "\\none.ini", "Software\\Quorrel", "folder"), "");
    EXPECT_TRUE(errors.boxes.empty()) << "a missing setting is not an error";
}

TEST(SettingsFile, ValuesAreReadUpTo255Characters) {
    TempIniFile ini;
    WriteSetting(ini.path(), "S", "long", std::string(300, 'v'));
    EXPECT_EQ(ReadSetting(ini.path(), "S", "long"), std::string(255, 'v'));
}

TEST(SettingsFile, AFailedWriteWarns303WithTheStore) {
    TempIniFile ini;
    const Text unwritable = ini.folder() + "\\no such folder\\settings.ini";
    ErrorCapture errors(1);
    WriteSetting(unwritable, "S", "k", "v");
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].caption, "Fehler beim Schreiben: " + unwritable);
    EXPECT_EQ(errors.boxes[0].flags, kBoxIconWarning | kBoxOkCancel);
    EXPECT_EQ(errors.ends, 0);
}

TEST(RegistrySettings, StringsRoundTripAndRootNamesIgnoreCase) {
    TestRegistryKey key;
    ErrorCapture errors(1);
    WriteSetting("HKEY_1", key.section(), "name", "Wert \xE4 1");
    auto [type, bytes] = key.GetRaw("name");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("Wert \xE4 1", 9)) << "stored with its NUL";
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "name"), "Wert \xE4 1");
    EXPECT_EQ(ReadSetting("hkey_1", key.section(), "name"), "Wert \xE4 1");
    EXPECT_EQ(ReadSetting("Hkey_1_anything", key.section(), "name"), "Wert \xE4 1")
        << "only the first six characters name the root";
    EXPECT_TRUE(errors.boxes.empty());
}

TEST(RegistrySettings, TheDwordMarkerStoresAndReadsNumbers) {
    TestRegistryKey key;
    ErrorCapture errors(1);
    WriteSetting("HKEY_DW_1", key.section(), "count", "42");
    auto [type, bytes] = key.GetRaw("count");
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\x2A\0\0\0", 4));
    EXPECT_EQ(ReadSetting("HKEY_DW_1", key.section(), "count"), "42");
    EXPECT_EQ(ReadSetting("hkey_dw_1", key.section(), "count"), "42") << "the marker is found in any case";

    WriteSetting("HKEY_DW_1", key.section(), "negative", "-5");
    EXPECT_EQ(ReadSetting("HKEY_DW_1", key.section(), "negative"), "-5") << "DWORDs read as signed numbers";
    EXPECT_TRUE(errors.boxes.empty());
}

TEST(RegistrySettings, StringTypesGiveTheirTextAndOtherTypesTheEmptyText) {
    TestRegistryKey key;
    key.SetRaw("expand", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9));
    key.SetRaw("multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
    key.SetRaw("binary", REG_BINARY, std::string("abc\0", 4));
    key.SetRaw("number", REG_DWORD, std::string("\x07\0\0\0", 4));
    ErrorCapture errors(1);
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "expand"), "%TEMP%\\x") << "must not be expanded";
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "multi"), "first");
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "binary"), "");
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "number"), "") << "a DWORD without the marker";
    EXPECT_TRUE(errors.boxes.empty());
}

TEST(RegistrySettings, AValueThatFillsTheWholeBufferIsNotReadPastIt) {
    TestRegistryKey key;
    key.SetRaw("full", REG_SZ, std::string(256, 'q'));  // no terminating NUL
    key.SetRaw("open", REG_SZ, std::string(255, 'o'));  // no terminating NUL, one byte of room
    key.SetRaw("fits", REG_SZ, std::string(255, 'f') + '\0');
    ErrorCapture errors(0);
    // Windows hands back the 256 bytes without a NUL; Wine counts a NUL of its own and reports
    // that the value does not fit. Either way the text holds only the value's bytes.
    const Text full = ReadSetting("HKEY_1", key.section(), "full");
    EXPECT_TRUE(full == std::string(256, 'q') || full.empty()) << "read " << full.size() << " bytes";
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "open"), std::string(255, 'o'));
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "fits"), std::string(255, 'f'));
}

TEST(RegistrySettings, MissingKeyPathsAndValuesWarn305WithTheirNames) {
    TestRegistryKey key;
    const Text missingPath = key.section() + "\\missing";
    ErrorCapture errors(1);
    EXPECT_EQ(ReadSetting("HKEY_1", missingPath, "x"), "");
    EXPECT_EQ(ReadSetting("HKEY_1", key.section(), "nothing"), "");
    ASSERT_EQ(errors.boxes.size(), 2u);
    EXPECT_EQ(errors.boxes[0].caption,
              Text(kWarningCaptionStart) + "RegOpenKeyEx scheiterte f\xFCr \"" + missingPath + "\".");
    EXPECT_EQ(errors.boxes[1].caption,
              Text(kWarningCaptionStart) + "\"nothing\" nicht in \"" + key.section() + "\" gefunden.");
    for (const auto& box : errors.boxes) EXPECT_EQ(box.flags, kBoxIconWarning | kBoxOkCancel);
    EXPECT_EQ(errors.ends, 0);
    EXPECT_EQ(LastErrorNumber(), kErrRegistry);
}

TEST(RegistrySettings, AnUnknownRootFailsToOpenAndToCreate) {
    TestRegistryKey key;
    ErrorCapture errors(1);
    EXPECT_EQ(ReadSetting("HKEY_9", key.section(), "x"), "");
    WriteSetting("HKEY_X", key.section(), "x", "v");
    ASSERT_EQ(errors.boxes.size(), 2u);
    EXPECT_EQ(errors.boxes[0].caption,
              Text(kWarningCaptionStart) + "RegOpenKeyEx scheiterte f\xFCr \"" + key.section() + "\".");
    EXPECT_EQ(errors.boxes[1].caption,
              Text(kWarningCaptionStart) + "RegCreateKeyEx scheiterte f\xFCr \"" + key.section() + "\".");
    EXPECT_EQ(key.GetRaw("x").first, static_cast<DWORD>(REG_NONE)) << "nothing may be written";
}

TEST(RegistrySettings, WarningsAreSilentBelowLevel1) {
    TestRegistryKey key;
    ErrorCapture errors(0);
    EXPECT_EQ(ReadSetting("HKEY_1", key.section() + "\\missing", "x"), "");
    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(LastErrorNumber(), kErrRegistry);
    EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
}

// Runtime errors at each error level, the error table, the fast-mode rule and the options.
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/error_capture.h"
#include "toolkit/command_line.h"
#include "toolkit/random.h"
#include "toolkit/text.h"

namespace {

const Text kMissingFile = "Datei nicht gefunden: C:\\x.src";

void ExpectFatalBox(const RecordedBox& box, const Text& caption) {
    EXPECT_EQ(box.text, kNoLineNumber);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.flags, kBoxIconError | kBoxOk);
}

TEST(Errors, TextsAreWindows1252BytesWithTheirOwnSpellings) {
    EXPECT_EQ(ErrorText(244), "Der Text pa\xDFt nicht komplett in die Bereichsvariable!");
    EXPECT_EQ(static_cast<unsigned char>(ErrorText(244)[11]), 0xDF) << "sharp s must be the single byte 0xDF";
    EXPECT_EQ(ErrorText(223), "Negative Fenstergr\xF6\xDF" "e!");
    EXPECT_EQ(ErrorText(248), "Funktion in DLL nicht vohanden: ");
    EXPECT_EQ(ErrorText(237), "Der Befehl setzt ein Fenster vorraus!");
    EXPECT_EQ(ErrorText(506), "Ergebnisdatei kann nicht ge\xF6" "ffnet werden!");
    EXPECT_EQ(Text(kNoLineNumber), "Zeilennummer nicht verf\xFCgbar.");
}

TEST(Errors, MessageIsTheTableTextFollowedByTheDetail) {
    EXPECT_EQ(ErrorMessage(209, "C:\\x.src"), kMissingFile);
    EXPECT_EQ(ErrorMessage(999, "only detail"), "only detail");
    EXPECT_EQ(ErrorText(0), "");
}

TEST(Errors, FatalErrorIsSilentOnlyAtLevelMinusOne) {
    for (int level : {-1, 0, 1, 2}) {
        ErrorCapture capture(level);
        RaiseFatalError(209, "C:\\x.src");
        EXPECT_EQ(LastErrorNumber(), 209);
        EXPECT_EQ(LastErrorKind(), ErrorKind::Fatal);
        if (level == -1) {
            EXPECT_TRUE(capture.boxes.empty()) << "level -1 must show nothing";
            EXPECT_EQ(capture.ends, 0) << "level -1 must let the program go on";
            continue;
        }
        ASSERT_EQ(capture.boxes.size(), 1u) << "level " << level;
        ExpectFatalBox(capture.boxes[0], kMissingFile);
        EXPECT_EQ(capture.ends, 1) << "level " << level;
    }
}

TEST(Errors, WarningIsSilentAtZeroAndBelowAndFatalAtTwo) {
    for (int level : {-1, 0}) {
        ErrorCapture capture(level);
        RaiseWarning(300, "a");
        EXPECT_EQ(LastErrorNumber(), 300) << "the number is recorded even when silent";
        EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
        EXPECT_TRUE(capture.boxes.empty()) << "level " << level;
        EXPECT_EQ(capture.ends, 0) << "level " << level;
    }
    ErrorCapture capture(2);
    RaiseWarning(209, "C:\\x.src");
    ASSERT_EQ(capture.boxes.size(), 1u);
    ExpectFatalBox(capture.boxes[0], kMissingFile);
    EXPECT_EQ(capture.ends, 1);
    EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
}

TEST(Errors, WarningAtLevelOneLetsTheUserContinueOrCancel) {
    {
        ErrorCapture capture(1, kBoxIdOk);
        RaiseWarning(209, "C:\\x.src");
        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_EQ(capture.boxes[0].text, kNoLineNumber);
        EXPECT_EQ(capture.boxes[0].caption, kMissingFile);
        EXPECT_EQ(capture.boxes[0].flags, kBoxIconWarning | kBoxOkCancel);
        EXPECT_EQ(capture.ends, 0) << "OK must return to the operation";
    }
    ErrorCapture capture(1, kBoxIdCancel);
    RaiseWarning(209, "C:\\x.src");
    ASSERT_EQ(capture.boxes.size(), 2u);
    ExpectFatalBox(capture.boxes[1], kProgramAborted);
    EXPECT_EQ(capture.ends, 1) << "Cancel must end the program";
}

TEST(Errors, TextAndCommandLineMisuseRaisesFatalErrors) {
    SetCommandLine("q.exe -e", "C:\\q.exe");
    {
        ErrorCapture capture(-1);
        EXPECT_EQ(FieldOf("a=b", 0, "="), "");
        EXPECT_EQ(LastErrorNumber(), 205);
        EXPECT_EQ(DeleteChars("abc", 0, 1), "abc");
        EXPECT_EQ(LastErrorNumber(), 204);
        EXPECT_EQ(CommandLineParameter(2), "");
        EXPECT_EQ(LastErrorNumber(), 208);
        EXPECT_EQ(LastErrorKind(), ErrorKind::Fatal);
    }
    ErrorCapture capture(0);
    FieldOf("a=b", -1, "=");
    DeleteChars("abc", -5, 1);
    CommandLineParameter(3);
    ASSERT_EQ(capture.boxes.size(), 3u);
    ExpectFatalBox(capture.boxes[0], "Substring-Nr ist < 1 !");
    ExpectFatalBox(capture.boxes[1], "String-Index ist < 1 !");
    ExpectFatalBox(capture.boxes[2], "Kommandozeilenparameter fehlt!");
    EXPECT_EQ(capture.ends, 3);
}

TEST(Errors, DefaultSinkWritesTheMessageAndEndsWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RaiseFatalError(208), ::testing::ExitedWithCode(1), "Kommandozeilenparameter fehlt!");
}

TEST(Errors, FastModeTogglesThroughMinusTwoAndTheLevelInForce) {
    ErrorCapture capture(1);
    const struct {
        int set;
        int level;
        bool fast;
    } steps[] = {
        {-2, 1, true},    // on; level kept
        {0, 0, true},     // stored while on
        {-2, -2, true},   // stored like any other level while on
        {-2, -2, false},  // the level in force switches fast mode off
        {1, 1, false},
        {1, 1, false},    // off: setting the same level again just stores it
    };
    for (const auto& s : steps) {
        SetErrorLevel(s.set);
        EXPECT_EQ(ErrorLevel(), s.level) << "after setting " << s.set;
        EXPECT_EQ(FastMode(), s.fast) << "after setting " << s.set;
    }
}

TEST(Errors, OptionsMatchWithoutCaseAndReturnThePreviousValue) {
    ErrorCapture capture(1);
    EXPECT_EQ(GetOption("SQLWIDTH"), 50);
    EXPECT_EQ(GetOption("autopaint"), 2);
    EXPECT_EQ(GetOption("MessageMode"), 1);

    EXPECT_EQ(SetOption("ErrorLevel", -1), 1);
    EXPECT_EQ(ErrorLevel(), -1);
    EXPECT_EQ(SetOption("errorlevel", -2), -1) << "errorlevel goes through SetErrorLevel";
    EXPECT_EQ(ErrorLevel(), -1);
    EXPECT_TRUE(FastMode());

    const int before = GetOption("truecolor");
    SetTrueColour(1);
    EXPECT_EQ(SetOption("TrueColor", before), 1);

    EXPECT_EQ(SetOption("colour", 5), 0);
    EXPECT_EQ(GetOption("colour"), 0) << "an unknown option must not be created";
}

TEST(Errors, RandSeedOptionSeedsTheGenerator) {
    SetOption("RandSeed", 1);
    SetOption("randseed", 4357);
    EXPECT_EQ(NextRandom32(), 3510405877u);
    EXPECT_EQ(SetOption("randseed", 4357), 4357);
}

}  // namespace

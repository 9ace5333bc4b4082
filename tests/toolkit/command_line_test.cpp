// Splitting the command line and reading its parameters.
#include "toolkit/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CommandLine, SplitsAtBlanksAndKeepsQuotedBlanks) {
    const struct {
        Text line;
        std::vector<Text> parts;
    } cases[] = {
        {"q.exe -e", {"q.exe", "-e"}},
        {"\"C:\\Program Files\\q.exe\"   -d  x ", {"C:\\Program Files\\q.exe", "-d", "x"}},
        {"q.exe \"two words\" end", {"q.exe", "two words", "end"}},
        {"q.exe \"\" x", {"q.exe", "", "x"}},
        {"q.exe \"no closing quote", {"q.exe", "no closing quote"}},
        {"q.exe \"a\"b", {"q.exe", "a", "b"}},
        {"   ", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.parts) << "line [" << c.line << "]";
}

TEST(CommandLine, ParameterZeroIsTheProgramPathAndTheCountExcludesIt) {
    SetCommandLine("q.exe -g  \"x y\"", "C:\\Tools\\q.exe");
    EXPECT_EQ(CommandLineCount(), 2);
    EXPECT_EQ(CommandLineParameter(0), "C:\\Tools\\q.exe");
    EXPECT_EQ(CommandLineParameter(1), "-g");
    EXPECT_EQ(CommandLineParameter(2), "x y");

    SetCommandLine("\"C:\\Tools\\q.exe\"", "C:\\Tools\\q.exe");
    EXPECT_EQ(CommandLineCount(), 0) << "a start without arguments";
    EXPECT_EQ(CommandLineParameter(0), "C:\\Tools\\q.exe");
}

}  // namespace

// Splitting the command line at start and handing out its parameters.
#include "toolkit/command_line.h"

#include "toolkit/errors.h"

namespace {

// The parameters of this run. Written once at toolkit start by the interface thread, before
// the program thread exists; read by the program thread afterwards.
struct CommandLineState {
    Text programPath;
    std::vector<Text> parameters;  // without the program path
};

CommandLineState& State() {
    static CommandLineState state;
    return state;
}

}  // namespace

std::vector<Text> SplitCommandLine(const Text& line) {
    std::vector<Text> parts;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        // A quoted parameter may hold blanks; one without its closing quote runs to the end.
        const bool quoted = line[i] == '"';
        const std::size_t begin = quoted ? i + 1 : i;
        std::size_t end = line.find(quoted ? '"' : ' ', begin);
        if (end == Text::npos) end = line.size();
        parts.push_back(line.substr(begin, end - begin));
        i = quoted && end < line.size() ? end + 1 : end;
    }
    return parts;
}

void SetCommandLine(const Text& line, const Text& programPath) {
    CommandLineState& state = State();
    std::vector<Text> parts = SplitCommandLine(line);
    state.programPath = programPath;
    state.parameters.assign(parts.size() > 1 ? parts.begin() + 1 : parts.end(), parts.end());
}

Text CommandLineParameter(int n) {
    const CommandLineState& state = State();
    if (n == 0) return state.programPath;
    if (n > CommandLineCount()) {
        RaiseFatalError(kErrMissingParameter);
        return Text();
    }
    if (n < 0) return Text();
    return state.parameters[static_cast<std::size_t>(n) - 1];
}

int CommandLineCount() {
    return static_cast<int>(State().parameters.size());
}

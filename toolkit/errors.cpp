// The error table, how errors are raised at each error level, and the runtime options.
#include "toolkit/errors.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "toolkit/random.h"

// Byte escapes keep these texts Windows-1252 whatever execution character set the compiler uses.
const char* const kNoLineNumber = "Zeilennummer nicht verf\xFCgbar.";
const char* const kProgramAborted = "Programm abgebrochen!";

namespace {

struct ErrorEntry {
    int number;
    const char* text;
};

constexpr ErrorEntry kErrorTable[] = {
    {101, "Unbekanntes Create-Objekt: "},
    {124, "STARTPAINT fehlt!"},
    {202, "Falscher Typ f\xFCr Datumstext!"},
    {203, "Falscher Typ f\xFCr Textdatum!"},
    {204, "String-Index ist < 1 !"},
    {205, "Substring-Nr ist < 1 !"},
    {206, "So viele Elemente sind nicht da!"},
    {208, "Kommandozeilenparameter fehlt!"},
    {209, "Datei nicht gefunden: "},
    {210, "Dateinummer nicht im erlaubten Bereich!"},
    {222, "Box nicht innerhalb des Fensters!"},
    {223, "Negative Fenstergr\xF6\xDF" "e!"},
    {224, "ICON nicht vorhanden: "},
    {225, "ICON nicht vorhanden! (Nur 0..4)"},
    {228, "Bitmap nicht ladbar: "},
    {229, "Bitmap konnte nicht gespeichert werden: "},
    {230, "Cursor nicht vorhanden! (Nur 0..11)"},
    {235, "Drucken ist nicht m\xF6glich!"},
    {237, "Der Befehl setzt ein Fenster vorraus!"},
    {244, "Der Text pa\xDFt nicht komplett in die Bereichsvariable!"},
    {247, "Fehler beim Laden der DLL: "},
    {248, "Funktion in DLL nicht vohanden: "},
    {252, "Men\xFC ist nicht ladbar: "},
    {269, "Kein freier CALLBACK mit der gew\xFCnschten Parameterzahl!"},
    {300, "Datei kann nicht gelesen werden: "},
    {301, "Datei kann nicht erzeugt werden: "},
    {303, "Fehler beim Schreiben: "},
    {305, "REGISTRY: "},
    {500, "ODBC ist nicht initialisiert!"},
    {503, "ODBC-Fehler"},
    {504, " S\xE4tze bearbeitet!"},
    {505, "Operation erfolgreich!"},
    {506, "Ergebnisdatei kann nicht ge\xF6" "ffnet werden!"},
    {600, "dB-Fehler: "},
    {601, "Datei nicht gefunden: "},
    {602, "Doppelter Feldname: "},
    {603, "Ung\xFCltige Feldl\xE4nge: "},
    {604, "Ung\xFCltige Dezimalstellen: "},
    {608, "Schl\xFCsselfeld nicht in Ordnung: "},
    {609, "Tabellennummer nicht im erlaubten Bereich!"},
    {611, "Formel nicht in Ordnung: "},
    {612, "Feld beim Lesen nicht gefunden: "},
    {613, "Feldnummer beim Lesen nicht gefunden: "},
    {614, "Feld zum Schreiben nicht gefunden: "},
    {615, "Feldnummer zum Schreiben nicht gefunden: "},
    {616, "Index-Dateiname fehlerhaft: "},
    {617, "Ung\xFCltige Eingabe: "},
};

struct OptionEntry {
    std::string_view name;  // lower case
    int initial;
};

enum OptionIndex : std::size_t {
    kOptErrorLevel,
    kOptFastMode,
    kOptMessageMode,
    kOptRandSeed,
    kOptPdc,
    kOptSqlWidth,
    kOptSqlDbc,
    kOptTrueColor,
    kOptAutoPaint,
    kOptDbMemoWidth,
    kOptDebugMode,
    kOptionCount
};

// In the order of OptionIndex. "randseed" has no default of its own; 0 stands for "not set".
constexpr std::array<OptionEntry, kOptionCount> kOptions = {{
    {"errorlevel", 1},
    {"fastmode", 0},
    {"messagemode", 1},
    {"randseed", 0},
    {"pdc", 0},
    {"sqlwidth", 50},
    {"sqldbc", 0},
    {"truecolor", 0},
    {"autopaint", 2},
    {"dbmemowidth", 0},
    {"debugmode", 0},
}};

int DefaultShowBox(const Text& /*text*/, const Text& caption, int /*flags*/) {
    std::fprintf(stderr, "%s\n", caption.c_str());
    return kBoxIdOk;
}

[[noreturn]] void DefaultEndProgram() {
    std::exit(1);
}

// Error level, options and the last error. The program thread writes them; the interface
// thread reads the level and the options, hence atomics. The sink is set at toolkit start.
struct ErrorState {
    std::array<std::atomic<int>, kOptionCount> options;  // the error level and fast mode included
    std::atomic<int> lastNumber{0};
    std::atomic<int> lastKind{static_cast<int>(ErrorKind::None)};
    std::mutex sinkMutex;
    ErrorSink sink{DefaultShowBox, DefaultEndProgram};

    ErrorState() {
        for (std::size_t i = 0; i < kOptionCount; ++i) options[i].store(kOptions[i].initial);
    }
};

ErrorState& State() {
    static ErrorState state;
    return state;
}

std::atomic<int>& Option(OptionIndex index) {
    return State().options[index];
}

// The option's index, or kOptionCount when the name matches none.
std::size_t FindOption(const Text& name) {
    const Text lower = LowerCase(name);
    for (std::size_t i = 0; i < kOptionCount; ++i)
        if (TextEquals(lower, Text(kOptions[i].name))) return i;
    return kOptionCount;
}

void RecordError(int number, ErrorKind kind) {
    State().lastNumber.store(number);
    State().lastKind.store(static_cast<int>(kind));
}

void ShowFatalBoxAndEnd(const ErrorSink& sink, const Text& message) {
    sink.showBox(kNoLineNumber, message, kBoxIconError | kBoxOk);
    sink.endProgram();
}

}  // namespace

Text ErrorText(int number) {
    for (const ErrorEntry& entry : kErrorTable)
        if (entry.number == number) return entry.text;
    return Text();
}

Text ErrorMessage(int number, const Text& detail) {
    return ErrorText(number) + detail;
}

void SetErrorSink(ErrorSink sink) {
    if (!sink.showBox) sink.showBox = DefaultShowBox;
    if (!sink.endProgram) sink.endProgram = DefaultEndProgram;
    std::lock_guard<std::mutex> lock(State().sinkMutex);
    State().sink = std::move(sink);
}

ErrorSink GetErrorSink() {
    std::lock_guard<std::mutex> lock(State().sinkMutex);
    return State().sink;
}

void RaiseFatalError(int number, const Text& detail) {
    RecordError(number, ErrorKind::Fatal);
    if (ErrorLevel() < 0) return;
    ShowFatalBoxAndEnd(GetErrorSink(), ErrorMessage(number, detail));
}

void RaiseWarning(int number, const Text& detail) {
    RecordError(number, ErrorKind::Warning);
    const int level = ErrorLevel();
    if (level <= 0) return;
    const ErrorSink sink = GetErrorSink();
    const Text message = ErrorMessage(number, detail);
    if (level >= 2) {
        ShowFatalBoxAndEnd(sink, message);
        return;
    }
    if (sink.showBox(kNoLineNumber, message, kBoxIconWarning | kBoxOkCancel) != kBoxIdCancel) return;
    sink.showBox(kNoLineNumber, kProgramAborted, kBoxIconError | kBoxOk);
    sink.endProgram();
}

int LastErrorNumber() {
    return State().lastNumber.load();
}

ErrorKind LastErrorKind() {
    return static_cast<ErrorKind>(State().lastKind.load());
}

void SetErrorLevel(int level) {
    std::atomic<int>& fastMode = Option(kOptFastMode);
    std::atomic<int>& errorLevel = Option(kOptErrorLevel);
    if (!fastMode.load()) {
        if (level == -2)
            fastMode.store(1);
        else
            errorLevel.store(level);
        return;
    }
    if (level == errorLevel.load())
        fastMode.store(0);
    else
        errorLevel.store(level);
}

int ErrorLevel() {
    return Option(kOptErrorLevel).load();
}

bool FastMode() {
    return Option(kOptFastMode).load() != 0;
}

int SetOption(const Text& name, int value) {
    const std::size_t index = FindOption(name);
    if (index == kOptionCount) return 0;
    std::atomic<int>& option = State().options[index];
    if (index == kOptErrorLevel) {
        const int previous = option.load();
        SetErrorLevel(value);
        return previous;
    }
    const int previous = option.exchange(value);
    if (index == kOptRandSeed) SeedRandom(static_cast<std::uint32_t>(value));
    return previous;
}

int GetOption(const Text& name) {
    const std::size_t index = FindOption(name);
    return index == kOptionCount ? 0 : State().options[index].load();
}

void SetTrueColour(int flag) {
    Option(kOptTrueColor).store(flag);
}

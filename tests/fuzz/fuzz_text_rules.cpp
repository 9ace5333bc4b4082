// Fuzzes the toolkit's text functions with arbitrary texts, positions and counts, and checks
// the length rules they promise.
#include "tests/fuzz/fuzz_support.h"
#include "toolkit/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceErrors();
    FuzzInput in(data, size);
    const Text a = in.NextText();
    const Text b = in.NextText();
    const Text c = in.NextText();
    const std::int64_t n = in.NextNumber();
    const std::int64_t m = in.NextNumber();
    const auto len = static_cast<std::int64_t>(a.size());

    Check(static_cast<std::int64_t>(LeftOf(a, n).size()) <= len);
    Check(static_cast<std::int64_t>(RightOf(a, n).size()) <= len);
    Check(static_cast<std::int64_t>(MidOf(a, n, m).size()) <= len);
    Check(static_cast<std::int64_t>(DeleteChars(a, n, m).size()) <= len);
    const std::int64_t found = FindText(b, a);
    Check(found >= 0 && found <= len);
    if (found > 0) Check(a.compare(static_cast<std::size_t>(found - 1), b.size(), b) == 0);
    Check(FieldOf(a, n, b).size() <= a.size());
    const Text replaced = ReplaceAll(a, b, c);
    if (b.empty()) Check(replaced == a);
    Check(UpperCase(a).size() == a.size() && LowerCase(a).size() == a.size());
    Check(TrimText(a).size() <= a.size());
    const std::int64_t times = m & 7;
    Check(RepeatText(b, times).size() == b.size() * static_cast<std::size_t>(times));
    return 0;
}

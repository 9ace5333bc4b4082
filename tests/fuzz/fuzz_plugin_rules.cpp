// Fuzzes the catalogue's text rules with arbitrary plugin texts: nothing may crash or read
// out of bounds, and the rules keep the properties the file operations rely on.
#include "catalogue/line_ends.h"
#include "catalogue/plugin_text.h"
#include "catalogue/prefixed_names.h"
#include "catalogue/update_lines.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceErrors();
    FuzzInput in(data, size);
    const Text fileName = in.NextText();
    const Text typedName = in.NextText();
    const Text text = in.Rest();

    const Text normalized = NormalizePluginText(text);
    Check(normalized.size() <= text.size());
    const DisplayName shown = ExtractDisplayName(normalized);
    Check(shown.quote.size() <= 1);
    if (!shown.quote.empty()) Check(shown.name.find(shown.quote) == Text::npos);
    if (IsPinnedName(shown.name)) {
        const UnpinnedPlugin unpinned = UnpinPluginText(shown.name, shown.quote, normalized);
        Check(!IsPinnedName(unpinned.name));
    }
    GetsPluginRow(shown.name);

    if (auto renamed = RenamePluginText(text, shown.name, typedName)) {
        Check(renamed->newName.size() >= 2);
        Check(!IsPinnedName(renamed->newName));
    }

    TextWithUpdatesDisabled(text);
    TextWithUpdatesEnabled(text);

    const Text dos = ToDosLineEnds(text);
    Check(dos.size() >= text.size());
    Check(!NeedsDosLineEnds(dos) && ToDosLineEnds(dos) == dos);
    Check(NeedsDosLineEnds(text) == (dos != text));
    MayRewriteFromRawRead(text);

    BaseNameOf(fileName);
    UnprefixedName(fileName);
    HiddenNameOf(fileName);
    RestoredNameOf(fileName);
    DeleteImageBase(fileName);
    const Text number = RowNumberText(static_cast<unsigned char>(size & 0xFF), 300);
    Check(number.size() == 3);
    return 0;
}

// Disabling and enabling the update attributes of a plugin text.
#include "catalogue/update_lines.h"

#include <gtest/gtest.h>

namespace {

struct ToggleCase {
    const char* label;
    const char* text;
    const char* disabled;
    const char* enabled;
};

TEST(UpdateLines, KeysAreNormalisedThenDisabledOrEnabled) {
    const ToggleCase cases[] = {
        {"spacing variants", "update=\"u\" updateIcon = \"i\" updateCheckDays= \"3\"",
         "#update=\"u\" #updateicon=\"i\" #updatecheckdays=\"3\"",
         "update=\"u\" updateicon=\"i\" updatecheckdays=\"3\""},
        {"capital keys", "Update=\"u\" UPDATE=\"v\" UPDATEICON=\"i\" UpdateCheckDays=\"3\"",
         "#update=\"u\" #update=\"v\" #updateicon=\"i\" #updatecheckdays=\"3\"",
         "update=\"u\" update=\"v\" updateicon=\"i\" updatecheckdays=\"3\""},
        {"capital keys with blanks beside =",
         "Update = \"u\" UPDATE  = \"v\" #Update =\"w\" UpdateIcon = \"i\" UPDATECHECKDAYS  =\"3\"",
         "#update=\"u\" #update=\"v\" #update=\"w\" #updateicon=\"i\" #updatecheckdays=\"3\"",
         "update=\"u\" update=\"v\" update=\"w\" updateicon=\"i\" updatecheckdays=\"3\""},
        {"already disabled", "#update=\"u\" #updateicon=\"i\" #updatecheckdays=\"3\"",
         "#update=\"u\" #updateicon=\"i\" #updatecheckdays=\"3\"",
         "update=\"u\" updateicon=\"i\" updatecheckdays=\"3\""},
        {"unlisted variant UpdateICON", "UpdateICON=\"i\"", "UpdateICON=\"i\"", "UpdateICON=\"i\""},
        {"Update not followed by =", "Update the plugin", "Update the plugin",
         "Update the plugin"},
        {"blanks go everywhere", "<x value=\"a = b\">", "<x value=\"a=b\">", "<x value=\"a=b\">"},
        {"tabs stay", "update\t=\"u\"", "update\t=\"u\"", "update\t=\"u\""},
        {"LF line ends stay", "update=\"u\"\nname=\"x\"\r\n", "#update=\"u\"\nname=\"x\"\r\n",
         "update=\"u\"\nname=\"x\"\r\n"},
    };
    for (const ToggleCase& c : cases) {
        EXPECT_EQ(TextWithUpdatesDisabled(c.text), c.disabled) << c.label;
        EXPECT_EQ(TextWithUpdatesEnabled(c.text), c.enabled) << c.label;
    }
}

TEST(UpdateLines, AllSevenCheckDaysVariantsAreRecognised) {
    for (const char* key : {"updateCheckDays", "updatecheckDays", "UpdateCheckDays",
                            "UpdatecheckDays", "Updatecheckdays", "UpdateCheckdays",
                            "UPDATECHECKDAYS"}) {
        EXPECT_EQ(TextWithUpdatesDisabled(Text(key) + "=\"3\""), "#updatecheckdays=\"3\"") << key;
    }
}

TEST(UpdateLines, DisablingTwiceLeavesOneHash) {
    const Text once = TextWithUpdatesDisabled("update=\"u\"\r\nupdateicon=\"i\"\r\n");
    EXPECT_EQ(TextWithUpdatesDisabled(once), once);
}

TEST(UpdateLines, UpToTwelveBlanksGoOnEachSideOfEquals) {
    const Text twelve(12, ' ');
    const Text thirteen(13, ' ');
    EXPECT_EQ(TextWithUpdatesDisabled("a" + twelve + "=" + twelve + "b"), "a=b");
    EXPECT_EQ(TextWithUpdatesDisabled("a" + thirteen + "=" + thirteen + "b"), "a = b");
}

}  // namespace

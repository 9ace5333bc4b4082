#include "shell/information_text.h"

#include <vector>

#include "catalogue/web_addresses.h"
#include "shell/information_dialog.h"
#include "toolkit/interface_thread.h"
#include "toolkit/window_services.h"

namespace {

constexpr char kLineEnd = '\r';     // the text view shows CR alone as a line break
constexpr int kRuleLength = 44;
constexpr char kUnderscore = '_';
constexpr char kMacron = '\xAF';    // Windows-1252: a line drawn along the top of the cell

struct Section {
    const char* title;
    std::vector<Text> lines;
};

// Every section but the last ends with an empty line that sets it off from the next header.
const Section kSections[] = {
    {"Information",
     {Text("eMail: ") + kAuthorEMailAddress,
      Text("Website: ") + kHomePageAddress,
      ""}},
    {"Short Description",
     {"Quorrel is a small tool that sorts the list of search",
      "plugins of Mozilla Firefox in the order you choose.",
      "It was tested with Firefox 1.5 and 2.0 under",
      "Windows 98, Windows 2000 and Windows XP.",
      ""}},
    {"Version History",
     {"1.0 (12.03.2006)",
      "-First public version",
      "",
      "1.01 (26.03.2006)",
      "-Plugins named Google or Yahoo can be moved as well",
      "-German user interface",
      "",
      "1.02 (07.05.2006)",
      "-New: hide search plugins and restore them later",
      "-New: right click menu to edit, rename and delete",
      " search plugins",
      "",
      "1.03 (18.06.2006)",
      "-New: rename method for NTFS drives and the button",
      " \"Orig. Filenames\"",
      "-New: disable and enable the update function",
      "",
      "1.04 (03.09.2006)",
      "-New: convert search plugins from Unix to DOS text",
      "-Keyboard shortcuts for the commands of the right",
      " click menu",
      ""}},
    {"Technical Background",
     {"Firefox keeps no order of its own for the search",
      "plugins: it lists them in the order in which their",
      "files lie in the searchplugins folder. That is why",
      "Quorrel has to write the order to the disk.",
      "On FAT32 drives the files are copied out and back in",
      "the chosen order (re-copy method); the folder shows no",
      "visible change. On NTFS drives the files have to be",
      "renamed so that their names sort in the chosen order",
      "(rename method). The button \"Orig. Filenames\" gives",
      "the plugin files back the names they had before.",
      "Note: under Windows 98 this does not work for plugin",
      "file names longer than about seven characters.",
      ""}},
    {"Functions",
     {"-Move Up / Move Down:",
      "Moves the selected search plugin one line up or down.",
      "The new order is kept only after sorting.",
      "",
      "-Sort Search Plugins:",
      "Writes the order of the list to the disk, so that",
      "Firefox shows the search plugins in this order.",
      "",
      "-Refresh List:",
      "Reads the list again from the folder. Only needed",
      "after changes made outside of Quorrel.",
      "",
      "-Show Hidden:",
      "Lists the hidden search plugins; the selected one",
      "can be restored.",
      "",
      "-Add Plugin:",
      "Opens a web page on which you find more search plugins.",
      "",
      "-Open Folder:",
      "Opens the searchplugins folder in the Explorer.",
      "",
      "==> RIGHT CLICK MENU",
      "",
      "-Edit:",
      "Opens the search plugin's source in the text editor.",
      "",
      "-Rename:",
      "Changes the name shown in the list and in Firefox.",
      "The file name stays the same.",
      "",
      "-Convert: Unix -> DOS:",
      "Turns Unix line ends into DOS line ends, so that the",
      "plugin's source shows correctly in Windows.",
      "",
      "-Disable Update Function:",
      "Some search plugins update themselves. When you have",
      "changed the name of such a plugin, a downloaded new",
      "version would appear beside it; disabling prevents that.",
      "",
      "-Move Up / Move Down:",
      "The same as the buttons, also with the keys - and +.",
      "",
      "-Hide:",
      "A compromise between keeping and deleting a search",
      "plugin: Firefox no longer shows it, but it can be",
      "restored at any time with \"Show Hidden\".",
      "",
      "-Delete:",
      "Deletes the search plugin and its image after asking.",
      ""}},
    {"Trademarks",
     {"- Windows and DOS are trademarks of Microsoft Corporation.",
      "- Mozilla and Firefox are trademarks of the Mozilla Foundation.",
      "- Unix is a trademark of The Open Group.",
      ""}},
    {"Disclaimer",
     {"I assume no liability for any loss or damage caused by",
      "any errors in the software."}},
};

Text SectionHeader(const char* title) {
    return Text(kRuleLength, kUnderscore) + kLineEnd + " :: " + title + kLineEnd + Text(kRuleLength, kMacron) +
           kLineEnd;
}

}  // namespace

std::vector<Text> InformationSectionTitles() {
    std::vector<Text> titles;
    for (const Section& section : kSections) titles.emplace_back(section.title);
    return titles;
}

Text InformationText() {
    Text text;
    for (const Section& section : kSections) {
        text += SectionHeader(section.title);
        for (const Text& line : section.lines) {
            text += line;
            text += kLineEnd;
        }
    }
    // The last line has no line end.
    text.pop_back();
    return text;
}

void FillInformationText() {
    ClearDialogLines();
    const Text text = InformationText();
    CallLibraryFunction("USER32", "SetWindowTextA", {informationDialog.textView, Arg(text)});
}

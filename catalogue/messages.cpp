#include "catalogue/messages.h"

#include "catalogue/catalogue_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/wide_names.h"

namespace phrases {

const Phrase kMessageCaption{"Message:", "Meldung:"};
const Phrase kQuestionCaption{"Question:", "Frage:"};

const Phrase kResortDone{"Re-sort successfully done!", "Sortierung erfolgreich abgeschlossen!"};
const Phrase kResortIncomplete{
    "The new order could not be written completely.",
    "Die neue Reihenfolge konnte nicht vollständig geschrieben werden."};
const Phrase kNotMoved{
    "These plugin files could not be moved or renamed and kept their place:",
    "Diese Suchplugin-Dateien konnten nicht verschoben oder umbenannt werden und blieben, wo sie waren:"};
const Phrase kKeptInPlace{
    "These entries could not be moved out of the plugin folder and kept their place, so the order on disk may differ from the list:",
    "Diese Einträge konnten nicht aus dem Suchplugin-Ordner verschoben werden und blieben an ihrem Platz, daher kann die Reihenfolge auf der Festplatte von der Liste abweichen:"};
const Phrase kStillInTemporaryFolder{
    "These files could not be moved back and are still in the temporary folder",
    "Diese Dateien konnten nicht zurückverschoben werden und liegen noch im temporären Ordner"};
const Phrase kRecoveredFromTemporaryFolder{
    "Files that an interrupted earlier re-sort had left in the temporary folder were moved back:",
    "Dateien, die eine abgebrochene frühere Sortierung im temporären Ordner gelassen hatte, wurden zurückverschoben:"};
const Phrase kNoTemporaryFolder{"Failed to create temporary folder!",
                                "Temporärer Ordner konnte nicht angelegt werden!"};
const Phrase kOriginalNamesIncomplete{
    "The original names could not be restored for these files:",
    "Für diese Dateien konnten die ursprünglichen Namen nicht wiederhergestellt werden:"};

const Phrase kUpdateDisabled{"Update function disabled!", "Die Update Funktion wurde deaktiviert!"};
const Phrase kUpdateEnabled{"Update function enabled!", "Die Update Funktion wurde aktiviert!"};
const Phrase kUpdateDisabledForAll{"Update function disabled for all plugins!",
                                   "Die Update Funktion wurde für alle Suchplugins deaktiviert!"};
const Phrase kUpdateEnabledForAll{"Update function enabled for all plugins!",
                                  "Die Update Funktion wurde für alle Suchplugins aktiviert!"};
const Phrase kUpdateNotChanged{
    "The update function could not be changed in these plugin files:",
    "In diesen Suchplugin-Dateien konnte die Update Funktion nicht geändert werden:"};

const Phrase kRenamePrompt{"New Name:", "Neuer Name:"};
const Phrase kRenameTitle{"Rename Plugin", "Suchplugin umbenennen"};
const Phrase kRenameNameNotFound{
    "The name was not changed: the plugin file holds no name attribute with the listed name.",
    "Der Name wurde nicht geändert: Die Suchplugin-Datei enthält kein Namensattribut mit dem angezeigten Namen."};
const Phrase kConversionSuccessful{"Conversion successful!", "Konvertierung erfolgreich!"};
const Phrase kConversionNotNecessary{"Conversion not necessary!", "Konvertierung nicht notwendig!"};
const Phrase kAllConverted{"All plugins were converted to DOS text!",
                           "Alle Suchplugins wurden ins DOS-Text Format umgewandelt!"};
const Phrase kNotConverted{"These plugin files were not converted:",
                           "Diese Suchplugin-Dateien wurden nicht umgewandelt:"};

const Phrase kLeftUnchangedTooLong{
    "The plugin file is longer than 32767 characters or holds a zero byte; it was left unchanged:",
    "Die Suchplugin-Datei ist länger als 32767 Zeichen oder enthält ein Null-Byte; sie wurde nicht verändert:"};
const Phrase kNotWritten{"The plugin file could not be written and was left unchanged:",
                         "Die Suchplugin-Datei konnte nicht geschrieben werden und wurde nicht verändert:"};
const Phrase kReasonTooLong{"(too long or holds a zero byte, left unchanged)",
                            "(zu lang oder mit Null-Byte, nicht verändert)"};
const Phrase kReasonNotWritten{"(could not be written, left unchanged)",
                                "(konnte nicht geschrieben werden, nicht verändert)"};
const Phrase kRestoredInterruptedRewrites{
    "These plugin files were being written when the program ended the last time; their earlier content was put back:",
    "Diese Suchplugin-Dateien wurden gerade geschrieben, als das Programm zuletzt endete; ihr früherer Inhalt wurde wiederhergestellt:"};
const Phrase kInterruptedRewritesKept{
    "The earlier content of these plugin files could not be put back and is kept in these files beside them:",
    "Der frühere Inhalt dieser Suchplugin-Dateien konnte nicht wiederhergestellt werden und liegt in diesen Dateien daneben:"};

const Phrase kPluginFileGone{
    "This plugin file is no longer in the plugin folder (deleted, renamed or replaced by a folder); the list was read again:",
    "Diese Suchplugin-Datei ist nicht mehr im Suchplugin-Ordner (gelöscht, umbenannt oder durch einen Ordner ersetzt); die Liste wurde neu eingelesen:"};
const Phrase kPluginFilesGone{
    "These plugin files are no longer in the plugin folder (deleted, renamed or replaced by a folder); the list was read again:",
    "Diese Suchplugin-Dateien sind nicht mehr im Suchplugin-Ordner (gelöscht, umbenannt oder durch einen Ordner ersetzt); die Liste wurde neu eingelesen:"};

const Phrase kHideFailed{"The plugin could not be hidden:", "Das Suchplugin konnte nicht versteckt werden:"};
const Phrase kRestoreFailed{"The plugin could not be restored:",
                            "Das Suchplugin konnte nicht wiederhergestellt werden:"};
const Phrase kDeleteQuestion{"Do yo really want to delete this plugin?\r\r",
                             "Wollen Sie dieses Suchplugin wirklich löschen?\r\r"};
const Phrase kDeleteFailed{"The plugin file could not be deleted:",
                           "Die Suchplugin-Datei konnte nicht gelöscht werden:"};
const Phrase kImageDeleteFailed{
    "The plugin file was deleted, but its image could not be deleted:",
    "Die Suchplugin-Datei wurde gelöscht, ihr Bild konnte aber nicht gelöscht werden:"};
const Phrase kReasonExists{"(a file of that name exists already)",
                           "(eine Datei dieses Namens gibt es schon)"};
const Phrase kReasonWindowsError{"(Windows error ", "(Windows-Fehler "};
const Phrase kMoreFiles{"more", "weitere"};

}  // namespace phrases

namespace {

// A box shows this many names; the rest are counted.
constexpr std::size_t kMaxNamesShown = 15;

constexpr int kErrorFileExists = 80;
constexpr int kErrorAlreadyExists = 183;

}  // namespace

Text Say(const Phrase& phrase, Language language) {
    return language == Language::German ? phrase.german : phrase.english;
}

Text Say(const Phrase& phrase) { return Say(phrase, catalogue.language); }

// Message boxes show ANSI texts: a file name with characters outside the code page is shown
// with a question mark for each of them.
void ShowCommandMessage(const Text& text, int flags) {
    ShowMessageBox(ReadableText(text), Say(phrases::kMessageCaption), flags);
}

void ShowCommandMessage(const Phrase& phrase, int flags) {
    ShowCommandMessage(Say(phrase), flags);
}

Text TextWithNames(const Text& lead, const std::vector<Text>& names) {
    Text text = lead + "\r";
    for (std::size_t i = 0; i < names.size() && i < kMaxNamesShown; ++i) text += "\r" + names[i];
    if (names.size() > kMaxNamesShown) {
        text += "\r... (" + std::to_string(names.size() - kMaxNamesShown) + " " +
                Say(phrases::kMoreFiles) + ")";
    }
    return text;
}

void AddNamesParagraph(Text& text, const Text& lead, const std::vector<Text>& names) {
    if (names.empty()) return;
    if (!text.empty()) text += "\r\r";
    text += TextWithNames(lead, names);
}

Text FailureReason(int win32Error) {
    if (win32Error == kErrorFileExists || win32Error == kErrorAlreadyExists) {
        return Say(phrases::kReasonExists);
    }
    return Say(phrases::kReasonWindowsError) + std::to_string(win32Error) + ")";
}

int AskQuestion(const Text& text, int flags) {
    return ShowMessageBox(text, Say(phrases::kQuestionCaption), flags);
}

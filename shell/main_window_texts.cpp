#include "shell/main_window_texts.h"

const char* const kMainWindowTitle = "Quorrel 1.03";

// The leading blanks of the right-hand column's captions indent their left-aligned text.
const MainWindowTexts kMainWindowTexts = {
    {"Use the right-click menu to delete, edit, rename or hide plugins.",
     "Benutzen Sie das Rechtsklickmenü zum löschen, bearbeiten, umbenennen oder verstecken."},
    {"Move Up", "Nach oben"},
    {"Move Down", "Nach unten"},
    {"  Refresh List", "  Aktualisieren"},
    {"  Add Plugin...", "  Hinzufügen..."},
    {"  Open Folder...", "  Ordner öffnen"},
    {"Sort Search Plugins!", "Suchplugins sortieren!"},
    {"Orig. Filenames", "Urspr. Dateinamen"},
    {"?", "?"},
    {"Search Engine Order", "Reihenfolge der Suchmaschinen"},
    {"Freeware © Quorrel Team", "Freeware © Quorrel Team"},

    {"Restore the original filenames and order of the plugins",
     "Ursprüngliche Dateinamen und Reihenfolge wiederherstellen"},
    {"Save the selected order", "Die gewählte Reihenfolge übernehmen"},
    {"Open ''searchplugins'' from your Mozilla Firefox folder", "Den ''searchplugins'' Ordner öffnen"},
    {"View or restore hidden search plugins", "Liste der verstecken Suchplugins anzeigen"},
    {"Refresh the list (only necessary for changes made outside of Quorrel)",
     "Liste aktualisieren (Nur nach Änderungen ausserhalb des Programms notwendig)"},
    {"Move the selected plugin one line up (-)",
     "Das gewählte Plugin um eine Position nach oben verschieben (-)"},
    {"Move the selected plugin one line down (+)",
     "Das gewählte Plugin um eine Position nach unten verschieben (+)"},
    {"Information and Help", "Informationen und Hilfe"},
    {"Installed search plugins, right-click for options",
     "Liste der installierten Suchplugins, Rechtsklick für weitere Optionen"},
    {"Find more search plugins on the Internet", "Weitere Suchplugins im Internet finden"},
};

Text ShowHiddenCaption(Language language, int hiddenCount) {
    const Text count = std::to_string(hiddenCount);
    return language == Language::German ? "  Versteckt: " + count : "  Show Hidden (" + count + ")";
}

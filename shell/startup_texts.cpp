#include "shell/startup_texts.h"

// "\r" is a single carriage return, which the message box takes as a line break; the other
// backslashes are part of the sample paths.
const StartupTexts kStartupTexts = {
    {
        "Attention:",
        "Hinweis:",
    },
    {
        "Since Firefox 1.5 the searchplugins are stored at two different places: in the Firefox "
        "and in the profile folder.\r\r"
        "The ordering works for one direcotory only. Please move all serachplugins from the "
        "profile directory to the Firefox directory or reverse.\r\r\r"
        "The profile directory usually is:\r"
        "C:\\Documents and Settings\\Administrator\\Application Data\\Mozilla\\Firefox\\Profiles\\\r\r"
        "Suchplugins in the Firefox Directory:\r"
        "C:\\Program Files\\Mozilla Firefox\\searchplugins\\",

        "Seit Firefox 1.5 werden die Suchplugins an zwei Orten gespeichert: im Firefox Verzeichnis "
        "und im Profilordner.\r\r"
        "Die Sortierung funktioniert nur für einen Ordner. Verschieben Sie also vorher ggf. "
        "Suchplugins aus dem Firefox Verzeichnis\rin den Profilordner oder umgekehrt.\r\r"
        "Der Pfad der Suchplugins im Profilordners ist meist:\r"
        "C:\\Dokumente und Einstellungen\\Adminsitrator\\Anwendungsdaten\\Mozilla\\Firefox\\Profiles\\"
        "XXXXXXXXXX.default\\searchplugins\\\r\r"
        "Suchplugins im Firefox Ordner:\r"
        "C:\\Programme\\Mozilla Firefox\\searchplugins\\",
    },
    {
        "Please select the installation or profile directory\rof ''Mozilla Firefox'':",
        "Wählen Sie den Ordner oder Profilordner von ''Mozilla Firefox'':",
    },
};

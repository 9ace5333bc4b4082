// Every text the catalogue's commands show the user, English and German side by side, and
// the message boxes that carry them.
#pragma once

#include <vector>

#include "catalogue/catalogue_state.h"
#include "toolkit/text.h"

// One text in both interface languages.
struct Phrase {
    const char* english;
    const char* german;
};

// The phrase in the given language, or in the interface language of the running program.
Text Say(const Phrase& phrase, Language language);
Text Say(const Phrase& phrase);

// Message-box styles and answers the commands use.
enum : int {
    kInformationBox = 0x40,   // information icon, OK
    kExclamationBox = 0x30,   // exclamation icon, OK
    kYesNoQuestionBox = 36,   // question icon, Yes and No
    kAnswerYes = 6,
};

namespace phrases {

extern const Phrase kMessageCaption;
extern const Phrase kQuestionCaption;

// Saving the order and restoring the original names.
extern const Phrase kResortDone;
extern const Phrase kResortIncomplete;
extern const Phrase kNotMoved;
extern const Phrase kKeptInPlace;
extern const Phrase kStillInTemporaryFolder;
extern const Phrase kRecoveredFromTemporaryFolder;
extern const Phrase kNoTemporaryFolder;
extern const Phrase kOriginalNamesIncomplete;

// Update function.
extern const Phrase kUpdateDisabled;
extern const Phrase kUpdateEnabled;
extern const Phrase kUpdateDisabledForAll;
extern const Phrase kUpdateEnabledForAll;
extern const Phrase kUpdateNotChanged;

// Renaming and converting.
extern const Phrase kRenamePrompt;
extern const Phrase kRenameTitle;
extern const Phrase kRenameNameNotFound;
extern const Phrase kConversionSuccessful;
extern const Phrase kConversionNotNecessary;
extern const Phrase kAllConverted;
extern const Phrase kNotConverted;

// Rewriting a plugin file.
extern const Phrase kLeftUnchangedTooLong;
extern const Phrase kNotWritten;
extern const Phrase kReasonTooLong;
extern const Phrase kReasonNotWritten;
extern const Phrase kRestoredInterruptedRewrites;
extern const Phrase kInterruptedRewritesKept;

// A plugin file gone since the listing: deleted, renamed away or replaced by a folder.
extern const Phrase kPluginFileGone;
extern const Phrase kPluginFilesGone;

// Hiding, restoring and deleting.
extern const Phrase kHideFailed;
extern const Phrase kRestoreFailed;
extern const Phrase kDeleteQuestion;
extern const Phrase kDeleteFailed;
extern const Phrase kImageDeleteFailed;
extern const Phrase kReasonExists;
extern const Phrase kReasonWindowsError;
extern const Phrase kMoreFiles;

}  // namespace phrases

// A command's result in one box with the caption "Message:" / "Meldung:".
void ShowCommandMessage(const Text& text, int flags);
void ShowCommandMessage(const Phrase& phrase, int flags);

// A lead sentence followed by the names it concerns, one a line (long lists are shortened).
Text TextWithNames(const Text& lead, const std::vector<Text>& names);
// Adds TextWithNames(lead, names) to text as a paragraph of its own; nothing when names is empty.
void AddNamesParagraph(Text& text, const Text& lead, const std::vector<Text>& names);

// Why a rename or delete failed, from its Win32 error code, in brackets.
Text FailureReason(int win32Error);

// Asks with the caption "Question:" / "Frage:"; returns the button pressed.
int AskQuestion(const Text& text, int flags);

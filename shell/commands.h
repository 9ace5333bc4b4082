// The main loop's commands: each consumes the event that started it, runs the catalogue
// operation or dialog, and then sets the key latches and the focus the way the shortcuts need.
#pragma once

void RestoreOriginalNamesCommand();
void SortCommand();
void MoveUpCommand();
void MoveDownCommand();
// Moves the row dropped by a drag in the plugin list to its place.
void DropCommand();
void OpenFolderCommand();
void ShowHiddenCommand();
void AddPluginCommand();
void InformationCommand();
void RefreshCommand();
void ConvertCommand();
void DisableAllUpdatesCommand();
void EnableAllUpdatesCommand();
void ConvertAllCommand();
void DisableUpdatesCommand();
void EnableUpdatesCommand();
void RenameCommand();
void HideCommand();
void EditCommand();
void DeleteCommand();
[[noreturn]] void CloseCommand();

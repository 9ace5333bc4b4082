// Scratch folders for the Win32 tests: a fresh folder under %TEMP% that goes with everything
// in it at the end of the test, and the removal of a whole folder tree.
#pragma once

#include "toolkit/text.h"

// Deletes the folder with all its files and sub-folders, read-only ones included.
void RemoveTree(const Text& path);

// A new folder under %TEMP% whose name starts with the stem and is unique to this process and
// moment; removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const Text& stem = "quorrel-test-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    Text operator/(const Text& name) const { return path_ + "\\" + name; }
    const Text& path() const { return path_; }
    bool made() const { return made_; }   // false when the folder could not be created

private:
    Text path_;
    bool made_ = false;
};

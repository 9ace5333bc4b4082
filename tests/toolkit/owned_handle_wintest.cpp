// The handle owner with real handles: a move leaves the source owning nothing, the last owner
// closes the handle exactly once, reset closes the handle it replaces, and a file's owner
// tells a failed open from an open file.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "tests/support/test_files.h"
#include "toolkit/owned_handle.h"

namespace {

std::map<HANDLE, int> closeCounts;

// Closes events as KernelObjectCloser does and counts the closes of each handle.
struct CountingCloser {
    using Value = HANDLE;
    static Value Invalid() { return nullptr; }
    static void Close(Value h) {
        ++closeCounts[h];
        CloseHandle(h);
    }
};
using CountedEvent = OwnedHandle<CountingCloser>;

CountedEvent NewEvent() { return CountedEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

}  // namespace

TEST(OwnedHandle, MovesHandOverTheHandleAndOnlyTheLastOwnerClosesIt) {
    closeCounts.clear();
    HANDLE first = nullptr;
    HANDLE second = nullptr;
    {
        CountedEvent source = NewEvent();
        CountedEvent replacement = NewEvent();
        first = source.get();
        second = replacement.get();
        ASSERT_TRUE(source && replacement);

        CountedEvent target(std::move(source));
        EXPECT_FALSE(source) << "a moved-from owner still holds the handle";
        {
            CountedEvent passedOn;
            passedOn = std::move(target);
            target = std::move(passedOn);
        }
        EXPECT_EQ(target.get(), first);
        EXPECT_TRUE(IsOpen(first)) << "an owner that was moved from closed the handle";
        EXPECT_EQ(closeCounts.count(first), 0u);

        target.reset(replacement.release());
        EXPECT_EQ(closeCounts[first], 1) << "reset must close the handle it replaces";
        EXPECT_EQ(target.get(), second);
        EXPECT_EQ(closeCounts.count(second), 0u);
    }
    EXPECT_EQ(closeCounts[second], 1) << "the last owner must close its handle once when it ends";
    EXPECT_EQ(closeCounts[first], 1);
    EXPECT_EQ(closeCounts.size(), 2u) << "an empty owner closed something";
}

TEST(OwnedHandle, AFileOwnerHoldsNothingAfterAFailedOpenAndClosesTheFileWhenItEnds) {
    TempFolder folder;
    ASSERT_TRUE(folder.made());
    const Text path = folder / "held.bin";
    auto open = [&](DWORD share, DWORD disposition) {
        return FileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    EXPECT_FALSE(open(0, OPEN_EXISTING)) << "opening a missing file gave an owner that holds a handle";
    {
        const FileHandle held = open(0, CREATE_ALWAYS);
        ASSERT_TRUE(held);
        EXPECT_FALSE(open(FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)) << "the file is not held";
    }
    EXPECT_TRUE(open(0, OPEN_EXISTING)) << "the file is still open after its owner ended";
}

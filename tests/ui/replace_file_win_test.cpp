// The file replacement on the real file system under Wine: which targets it
// refuses, that the old bytes survive every failure, and that no new file
// is left beside the target.
#include "ui/save_flow_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

// A folder of its own per process, in the prefix's temporary folder.
std::string TestFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "tavolin_replace_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void PutFile(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE f =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// The file's bytes, or "<absent>".
std::string FileBytes(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<absent>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
}

// Files whose names start with the target's name and end in ".new".
int LeftoverCount(const std::string& target) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((target + ".*.new").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do ++n;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return n;
}

enum class Target {
    Absent,
    Existing,
    ReadOnly,
    HeldByOther,
    HeldSharingWrite,
    Folder,
    MissingFolder
};

TEST(FileReplacement, ReplacesOnlyWhatMayBeReplacedAndKeepsTheOldBytesOtherwise) {
    const std::string folder = TestFolder();
    const struct {
        const char* name;
        Target target;
        bool isBegun, isReplaced;
    } rows[] = {
        {"no file of that name yet", Target::Absent, true, true},
        {"an older file is replaced", Target::Existing, true, true},
        // Wine lets a root user open a read-only file for writing, so the
        // attribute is what refuses it there.
        {"a read-only file is refused", Target::ReadOnly, false, false},
        {"a file another program holds without write sharing is refused", Target::HeldByOther, false, false},
        // Creating over it would have worked; the move cannot, and says so.
        {"a file held open without delete sharing is kept", Target::HeldSharingWrite, true, false},
        {"a folder of that name is refused", Target::Folder, false, false},
        {"a folder that does not exist", Target::MissingFolder, false, false},
    };
    const std::string fresh = "fresh bytes\r\nsecond line\r\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string target = folder + "\\target.txt";
        HANDLE holder = INVALID_HANDLE_VALUE;
        DeleteFileA(target.c_str());
        RemoveDirectoryA(target.c_str());
        switch (row.target) {
        case Target::Absent: break;
        case Target::Existing: PutFile(target, "old"); break;
        case Target::ReadOnly:
            PutFile(target, "old");
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
            break;
        case Target::HeldByOther:
        case Target::HeldSharingWrite:
            PutFile(target, "old");
            holder =
                CreateFileA(target.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | (row.target == Target::HeldSharingWrite ? FILE_SHARE_WRITE : 0),
                            nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
            break;
        case Target::Folder: CreateDirectoryA(target.c_str(), nullptr); break;
        case Target::MissingFolder: target = folder + "\\no such folder\\target.txt"; break;
        }
        const std::string before = FileBytes(target);
        {
            FileReplacement replacement;
            const bool isBegun = replacement.Begin(target.c_str(), FILE_SHARE_READ);
            EXPECT_EQ(isBegun, row.isBegun);
            if (isBegun) {
                EXPECT_TRUE(replacement.Write(fresh.data(), 13));
                // Until the move the target is as it was, and others may read the new file.
                EXPECT_EQ(FileBytes(target), before);
                EXPECT_TRUE(replacement.Write(fresh.data() + 13, DWORD(fresh.size() - 13)));
                EXPECT_EQ(replacement.Commit(), row.isReplaced);
            }
        }
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(FileBytes(target), row.isReplaced ? fresh : before);
        EXPECT_EQ(LeftoverCount(target), 0);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(FileReplacement, AnAbandonedReplacementLeavesTheTargetAlone) {
    const std::string target = TestFolder() + "\\abandoned.txt";
    PutFile(target, "old bytes");
    for (bool isExplicit : {true, false}) {
        SCOPED_TRACE(isExplicit ? "Abandon called" : "left to the destructor");
        {
            FileReplacement replacement;
            ASSERT_TRUE(replacement.Begin(target.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE));
            EXPECT_EQ(LeftoverCount(target), 1);
            EXPECT_TRUE(replacement.Write("new", 3));
            if (isExplicit) {
                replacement.Abandon();
                EXPECT_FALSE(replacement.Commit());
            }
        }
        EXPECT_EQ(FileBytes(target), "old bytes");
        EXPECT_EQ(LeftoverCount(target), 0);
    }
}

// Run by the ctest entry that starts this program under a file-size limit
// (TAVOLIN_FILE_LIMIT bytes, SIGXFSZ ignored): writes past the limit fail as
// on a medium that fills up halfway.
TEST(FileReplacement, AMediumThatFillsUpKeepsTheOldFile) {
    const char* limit = std::getenv("TAVOLIN_FILE_LIMIT");
    if (!limit) GTEST_SKIP() << "runs only under a file-size limit";
    const size_t limitBytes = std::strtoul(limit, nullptr, 10);
    const std::string target = TestFolder() + "\\full.txt";
    PutFile(target, "the user's previous file");

    const std::string chunk(4000, 'x');
    FileReplacement replacement;
    ASSERT_TRUE(replacement.Begin(target.c_str(), FILE_SHARE_READ));
    size_t accepted = 0;
    bool isWritten = true;
    for (size_t total = 0; total < 3 * limitBytes && isWritten; total += chunk.size()) {
        isWritten = replacement.Write(chunk.data(), DWORD(chunk.size()));
        if (isWritten) accepted += chunk.size();
    }
    EXPECT_FALSE(isWritten);
    EXPECT_GT(accepted, 0u);  // it filled up halfway, not at once
    EXPECT_LE(accepted, limitBytes);
    EXPECT_FALSE(replacement.Commit());
    EXPECT_EQ(FileBytes(target), "the user's previous file");
    EXPECT_EQ(LeftoverCount(target), 0);
}

}  // namespace

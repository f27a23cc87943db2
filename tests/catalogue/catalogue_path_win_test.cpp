// The default catalogue's place on Windows: %APPDATA% read as UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/known_folders_win.h"
#include "base/wide_text_win.h"
#include "catalogue/catalogue_path.h"

TEST(CataloguePlaceWin, AppDataReadAsUtf8) {
    // The Windows edge reads %APPDATA% as UTF-8, whatever the code page;
    // unset, Windows' own roaming folder stands in.
    struct WindowsRow {
        const char* name;
        const wchar_t* appData;  // L"": unset
        const char* path;        // nullptr: any, as long as it ends as ours
    } windowsRows[] = {
        {"APPDATA outside the code page", L"C:\\Users\\Ἀθήναι 東京\\Roaming",
         "C:\\Users\\Ἀθήναι 東京\\Roaming\\Tavolin\\catalogue.sqlite"},
        {"APPDATA unset", L"", nullptr},
    };
    const std::string saved = RoamingAppDataFolder();
    for (const WindowsRow& row : windowsRows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(_wputenv_s(L"APPDATA", row.appData), 0);
        const std::string path = DefaultCataloguePath(CataloguePlaceHere(RoamingAppDataFolder().c_str()));
        const std::string end = "\\Tavolin\\catalogue.sqlite";
        if (row.path) EXPECT_EQ(path, row.path);
        EXPECT_TRUE(path.size() > end.size() && path.rfind(end) == path.size() - end.size()) << path;
    }
    _wputenv_s(L"APPDATA", ToWide(saved.c_str()).c_str());
}

// Calls that only one door of the program may make, found in its sources (every folder but tests/ and
// build trees): folders are listed through core/FolderListing (names the code page cannot spell told
// apart), the shell's folders through core/ShellFolderListing, and every message box goes through the
// framework's AfxShowMessageBox, which gives the keys back and lets tests answer it. A path that comes
// in (a file dialog's, a drop's, the command line's, a path field's) is read in wide characters at its
// door, never in the code page, which would give a letter it lacks a look-alike; so is a name typed for a
// file or folder, and every message the loops take (a typed letter is in one).
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>

namespace {

// The program's C and C++ sources under the folder, by path from the repository ("core/File.cpp").
void CollectSources(const std::string& root, const std::string& rel,
                    std::map<std::string, std::string>* pFiles)
{
    const std::string folder = rel.empty() ? root : root + "\\" + rel;
    WIN32_FIND_DATAA entry;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE
        || ::GetFileAttributesA((folder + "\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name[0] == '.' || (rel.empty() && (name == "tests" || name.compare(0, 5, "build") == 0)))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectSources(root, rel.empty() ? name : rel + "/" + name, pFiles);
        else if (std::regex_search(name, std::regex(R"(\.(cpp|h|c)$)")))
            (*pFiles)[rel.empty() ? name : rel + "/" + name] = testpaths::ReadBytes(folder + "\\" + name);
    } while (::FindNextFileA(h, &entry));
    ::FindClose(h);
}

// The source without its comments and what its string and character literals hold: a comment or a
// text naming a call is not one.
std::string CodeOnly(const std::string& text)
{
    std::string code;
    for (size_t i = 0; i < text.size(); i++) {
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i) - 1;
        } else if (text.compare(i, 2, "/*") == 0) {
            i = std::min(text.find("*/", i), text.size()) + 1;
        } else if (text[i] == '"' || text[i] == '\'') {
            const char quote = text[i];
            while (++i < text.size() && text[i] != quote && text[i] != '\n')
                i += text[i] == '\\' ? 1 : 0;
        } else {
            code += text[i];
        }
    }
    return code;
}

} // namespace

TEST(Sources, FolderListingsAndMessageBoxesGoThroughTheirOneDoor)
{
    std::map<std::string, std::string> files;
    CollectSources(testpaths::SourceDir(), "", &files);
    // Sources not found would pass every rule below: that fails, wherever the clone is.
    ASSERT_EQ(files.count("core/FolderListing.cpp"), 1u)
        << "the sources are not at " << testpaths::SourceDir();
    const struct {
        const char* what;
        std::regex call;
        std::map<std::string, long> allowed; // the door's files, each with its number of calls
    } rules[] = {
        {"a folder listing",
         std::regex(
             R"(\b(FindFirstFile(Ex)?[AW]?|FindNextFile[AW]?|_w?findfirst\w*|opendir)\s*\(|directory_iterator)"),
         {{"core/FolderListing.cpp", 2}}},
        {"a listing of a shell folder",
         std::regex(R"(\bEnumObjects\s*\()"),
         {{"core/ShellFolderListing.cpp", 1}}},
        {"a message box of the system",
         std::regex(
             R"(\b(MessageBox(Ex)?[AW]|MessageBoxEx|MessageBoxIndirect[AW]?)\s*\(|[^\w]::\s*MessageBox\s*\()"),
         {{"framework/WinApp.cpp", 1}}},
        {"a file dialog of the system",
         std::regex(R"(\bGet(Open|Save)FileName[AW]?\b)"),
         {{"framework/CommonDialogs.cpp", 2}}},
        {"a dropped file's path", std::regex(R"(\bDragQueryFile[AW]?\b)"), {{"framework/PathDoor.cpp", 3}}},
        {"a read of the command line",
         std::regex(R"(\bGetCommandLine[AW]?\s*\(|\bm_lpCmdLine\b(?!\s*=[^=]))"),
         {{"framework/WinApp.cpp", 1}, {"app/TessarineAppInit.cpp", 2}}},
        {"a path field read in the code page",
         std::regex(
             R"(\bDDX_Text\s*\(\s*pDX\s*,\s*IDC_\w*(PATH|MUSIC)|\b(GetWindowText|GetDlgItemText)A?\s*\()"
             R"([^;]*\b(IDC_\w*(PATH|MUSIC)\w*|m_editPath|hEdit)\b)"),
         {}},
        {"a name field read in the code page",
         std::regex(R"(\b(DDX_Text|GetWindowText|GetDlgItemText)A?\s*\([^;]*)"
                    R"(\bIDC_(RENAME_|RENAME_FOLDER_|NEWFOLDER_|FAVORITE_|PICPROP_)NAME\b)"
                    R"(|->\s*item\.pszText\b(?!\s*(==|!=|=[^=])))"),
         {}},
        {"a message taken from the queue in the code page",
         std::regex(R"(\b(GetMessage|DispatchMessage|IsDialogMessage|TranslateAccelerator)A?\s*\()"
                    R"(|\bPeekMessageA?\s*\([^;]*PM_REMOVE)"),
         {}},
    };
    for (const auto& rule : rules) {
        std::map<std::string, long> found;
        for (const auto& file : files) {
            const std::string code = CodeOnly(file.second);
            if (const long calls = std::distance(std::sregex_iterator(code.begin(), code.end(), rule.call),
                                                 std::sregex_iterator()))
                found[file.first] = calls;
        }
        EXPECT_EQ(found, rule.allowed) << rule.what;
    }
}

// Calls that only one door of the program may make, found in the program's sources (every folder but
// tests/ and build trees): a folder is listed through core/FolderListing (names the code page cannot
// spell told apart), the shell's folders through core/ShellFolderListing, and every message box goes
// through the framework's AfxShowMessageBox, which gives the keys back and lets tests answer it.
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

bool EndsWith(const std::string& text, const char* end)
{
    const size_t n = strlen(end);
    return text.size() >= n && _stricmp(text.c_str() + text.size() - n, end) == 0;
}

// The program's C and C++ sources under folder, by path relative to the repository ("core/File.cpp").
void CollectSources(const std::string& root, const std::string& rel, std::vector<std::string>* pFiles)
{
    const std::string folder = rel.empty() ? root : root + "\\" + rel;
    if (::GetFileAttributesA((folder + "\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
        return; // a build tree
    WIN32_FIND_DATAA entry;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        const std::string path = rel.empty() ? name : rel + "/" + name;
        if (name[0] == '.' || (rel.empty() && (name == "tests" || name.compare(0, 5, "build") == 0)))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectSources(root, path, pFiles);
        else if (EndsWith(name, ".cpp") || EndsWith(name, ".h") || EndsWith(name, ".c"))
            pFiles->push_back(path);
    } while (::FindNextFileA(h, &entry));
    ::FindClose(h);
}

// The source without its comments and the insides of its string and character literals: a comment
// or a text naming a call is not one.
std::string CodeOnly(const std::string& text)
{
    std::string code;
    code.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n')
                i++;
            code += '\n';
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 1;
            code += ' ';
        } else if (c == '"' || c == '\'') {
            code += c;
            for (i++; i < text.size() && text[i] != c && text[i] != '\n'; i++) {
                if (text[i] == '\\')
                    i++;
            }
            code += c;
        } else {
            code += c;
        }
    }
    return code;
}

} // namespace

TEST(Sources, FolderListingsAndMessageBoxesGoThroughTheirOneDoor)
{
    const std::string root = testpaths::SourceDir();
    if (::GetFileAttributesA((root + "\\core\\FolderListing.cpp").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the sources are not at " << root;
    std::vector<std::string> files;
    CollectSources(root, "", &files);
    const struct {
        const char* what;
        std::regex call;
        std::map<std::string, int> allowed; // the door's files, each with its number of calls
    } rules[] = {
        {"a folder listing",
         std::regex(R"(\b(FindFirstFile(Ex)?[AW]?|FindNextFile[AW]?|_w?findfirst(32|64|i64)?|opendir)\s*\(|)"
                    R"(directory_iterator)"),
         {{"core/FolderListing.cpp", 2}}},
        {"a listing of a shell folder",
         std::regex(R"(\bEnumObjects\s*\()"),
         {{"core/ShellFolderListing.cpp", 1}}},
        {"a message box of the system",
         std::regex(
             R"(\b(MessageBox(Ex)?[AW]|MessageBoxEx|MessageBoxIndirect[AW]?)\s*\(|[^\w]::\s*MessageBox\s*\()"),
         {{"framework/WinApp.cpp", 1}}},
    };
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.what);
        std::map<std::string, int> found;
        for (const std::string& file : files) {
            std::string windowsPath = root + "\\" + file;
            for (char& c : windowsPath)
                if (c == '/')
                    c = '\\';
            const std::string code = CodeOnly(testpaths::ReadBytes(windowsPath));
            const auto calls = std::distance(std::sregex_iterator(code.begin(), code.end(), rule.call),
                                             std::sregex_iterator());
            if (calls > 0)
                found[file] = static_cast<int>(calls);
        }
        EXPECT_EQ(found, rule.allowed);
    }
}

// The export command's folder browser, the system's own, opens on the last export folder.
#include "framework/TestSeams.h"
#include "library/LibraryListCommands.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// What the browser showed selected when it came up, read by a timer of this thread while the
// browser runs its modal loop; the timer then closes the browser.
std::string g_selectedLabel;
int g_ticks = 0;

BOOL CALLBACK FindBrowser(HWND hWnd, LPARAM lParam)
{
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (::IsWindowVisible(hWnd) && std::string(cls) == "#32770") {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTree(HWND hWnd, LPARAM lParam)
{
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (std::string(cls) == WC_TREEVIEWA) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    g_ticks++;
    HWND hBrowser = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBrowser, reinterpret_cast<LPARAM>(&hBrowser));
    if (hBrowser == nullptr) {
        if (g_ticks > 200)
            ::KillTimer(nullptr, id);
        return;
    }
    HWND hTree = nullptr;
    ::EnumChildWindows(hBrowser, FindTree, reinterpret_cast<LPARAM>(&hTree));
    HTREEITEM hItem = hTree != nullptr ? TreeView_GetSelection(hTree) : nullptr;
    // The browser selects the start folder as it comes up; a few ticks let it expand the tree.
    if (hItem == nullptr && g_ticks < 200)
        return;
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (hItem != nullptr && TreeView_GetItem(hTree, &item))
        g_selectedLabel = text;
    else
        g_selectedLabel = "tree " + std::to_string(hTree != nullptr) + " count "
                          + std::to_string(hTree ? TreeView_GetCount(hTree) : -1) + " item "
                          + std::to_string(hItem != nullptr);
    ::KillTimer(nullptr, id);
    ::PostMessageA(hBrowser, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

TEST(ExportBrowser, OpensOnTheLastExportFolder)
{
    AfxTestReset(); // the system's own browser, not a scripted answer
    testpaths::TempDir dir;
    std::string folder = dir.Path() + "\\Derniers exports";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    HWND hOwner = ::CreateWindowExA(0, "STATIC", "ExportBrowser", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hOwner, nullptr);
    ::CoInitialize(nullptr);
    CString current = folder.c_str();
    g_ticks = 0;
    g_selectedLabel.clear();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, LookAndClose);
    ASSERT_NE(timer, 0u);
    CString chosen = BrowseExportFolder(hOwner, &current);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(chosen.IsEmpty()) << "closed with Cancel";
    EXPECT_EQ(g_selectedLabel, "Derniers exports");
    EXPECT_STREQ(current, folder.c_str()) << "a cancelled browser keeps the last folder";
    ::DestroyWindow(hOwner);
    ::CoUninitialize();
}

// What the thumbnail-list tests share: a top-level window that owns a list and answers as its owner,
// pictures written to a scratch folder, and the list's painting read back into memory (and kept as
// BMP screenshots in the build folder).
#pragma once
#include "framework/Wnd.h"
#include "piclist/PicListBox.h"
#include "tests/support/PaintedPixels.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class CListHostWnd : public CWnd, public CPicListOwner {
public:
    BOOL CreateHost(LPCSTR title, int width, int height);
    CString GetListFolder() override { return m_folder; }
    void OnListContentChanged(CPicListBox*) override
    {
        m_changes++;
        if (m_onChange)
            m_onChange();
    }
    BOOL IsLibraryOwner() const override { return m_library; }
    void OnListFocusChanged(CPicListBox*, BOOL bHasFocus) override { m_hasFocus = bHasFocus; }

    CString m_folder;
    int m_changes = 0;
    std::function<void()> m_onChange; // what the owner does when told, if anything
    BOOL m_library = FALSE;
    BOOL m_hasFocus = FALSE;
};

// A list's painting.
using ListPixels = PaintedPixels;

class PicListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new list of that view in the host window (which is made on first use), filled by nothing.
    CPicListBox* MakeList(int view, BOOL trash = FALSE, BOOL keepRecords = FALSE, int width = 560,
                          int height = 300);
    // A 24-bit BMP of one colour, with a black pixel in its corner; returns its path.
    std::string WriteBmp(const std::string& name, int width, int height, COLORREF color);
    std::string WriteBytes(const std::string& name, const std::string& bytes);
    // Builds every thumbnail the builder will build now; the number of steps taken.
    int BuildAll(CPicListBox* pList, int maxSteps = 1000);
    // Base names of the items in list order.
    std::vector<std::string> Names(CPicListBox* pList);
    // The list's client area painted into memory; with a name, also written as
    // <build>/screenshots/<name>.bmp.
    ListPixels Paint(CPicListBox* pList, const char* shotName = nullptr);
    void Pump();

    testpaths::TempDir m_temp;
    CListHostWnd* m_pHost = nullptr;
    CPicListBox* m_pList = nullptr;
};

// Colour distance small enough for a thumbnail of a one-colour picture.
bool NearColor(COLORREF a, COLORREF b, int tolerance = 12);

// The thumbnail-list test window, pictures and painting read-back.
#include "tests/piclist/PicListTestSupport.h"

#include "shell/SharedUi.h"
#include "core/BmpFile.h"
#include "core/PackedDib.h"
#include "formats/Readers.h"
#include "piclist/PicObject.h"

#include <cstdlib>

BOOL CListHostWnd::CreateHost(LPCSTR title, int width, int height)
{
    LPCSTR cls =
        AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return CreateEx(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, width, height,
                    nullptr, nullptr);
}

bool NearColor(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance
           && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance
           && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void PicListTest::SetUp()
{
    InstallPictureReaders();
    // The shared fonts the application makes at start-up, for tests that run without it.
    if (g_fontSmall.GetSafeHandle() == nullptr)
        g_fontSmall.CreatePointFont(80, "MS Sans Serif");
    if (g_fontSmallBold.GetSafeHandle() == nullptr) {
        LOGFONTA lf = {};
        lf.lfHeight = -11;
        lf.lfWeight = FW_BOLD;
        lstrcpyA(lf.lfFaceName, "MS Sans Serif");
        g_fontSmallBold.CreateFontIndirect(&lf);
    }
}

void PicListTest::TearDown()
{
    if (m_pList != nullptr) {
        m_pList->DestroyWindow();
        delete m_pList;
        m_pList = nullptr;
    }
    if (m_pHost != nullptr) {
        m_pHost->DestroyWindow();
        delete m_pHost;
        m_pHost = nullptr;
    }
}

void PicListTest::Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

CPicListBox* PicListTest::MakeList(int view, BOOL trash, BOOL keepRecords, int width, int height)
{
    if (m_pHost == nullptr) {
        m_pHost = new CListHostWnd;
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string title = std::string(info->test_suite_name()) + "." + info->name();
        EXPECT_TRUE(m_pHost->CreateHost(title.c_str(), width + 40, height + 60));
    }
    if (m_pList != nullptr) {
        m_pList->DestroyWindow();
        delete m_pList;
    }
    m_pList = new CPicListBox;
    m_pList->m_nView = view;
    m_pList->LIBLIST_TRASH_MODE = trash;
    m_pList->m_bKeepRecords = keepRecords;
    m_pList->m_nSortKey = 0;
    m_pList->m_nSortOrder = 0;
    EXPECT_TRUE(m_pList->Create(m_pHost, 101));
    ::MoveWindow(m_pList->m_hWnd, 0, 0, width, height, TRUE);
    Pump();
    return m_pList;
}

std::string PicListTest::WriteBmp(const std::string& name, int width, int height, COLORREF color)
{
    PackedDIB dib = CreateDIB(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
    BYTE* block = static_cast<BYTE*>(::GlobalLock(dib));
    BYTE* bits = FindDIBBits(block);
    DWORD row = DIBRowBytes(static_cast<DWORD>(width), 24);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            BYTE* p = bits + static_cast<size_t>(y) * row + static_cast<size_t>(x) * 3;
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
    }
    ::GlobalUnlock(dib);
    std::string path = m_temp.File(name);
    EXPECT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
    GlobalFreeHandle(dib);
    return path;
}

std::string PicListTest::WriteBytes(const std::string& name, const std::string& bytes)
{
    std::string path = m_temp.File(name);
    EXPECT_TRUE(testpaths::WriteBytes(path, bytes));
    return path;
}

int PicListTest::BuildAll(CPicListBox* pList, int maxSteps)
{
    int steps = 0;
    while (steps < maxSteps && pList->BuildNextThumbnail() == 1)
        steps++;
    return steps;
}

std::vector<std::string> PicListTest::Names(CPicListBox* pList)
{
    std::vector<std::string> names;
    for (int i = 0; i < pList->GetCount(); i++) {
        CPicObject* pRecord = pList->GetRecord(i);
        names.push_back(pRecord != nullptr ? static_cast<LPCSTR>(pRecord->m_strBaseName) : "<null>");
    }
    return names;
}

ListPixels PicListTest::Paint(CPicListBox* pList, const char* shotName)
{
    RECT client;
    ::GetClientRect(pList->m_hWnd, &client);
    ListPixels result = PaintIntoMemory(client.right, client.bottom, [pList](HDC hdc) {
        ::SendMessageA(pList->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        ::SendMessageA(pList->m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    });
    if (shotName != nullptr) {
        std::string folder = testpaths::BinaryDir() + "\\screenshots";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        PackedDIB dib = CreateDIB(static_cast<DWORD>(result.width), static_cast<DWORD>(result.height), 24);
        BYTE* block = static_cast<BYTE*>(::GlobalLock(dib));
        BYTE* bits = FindDIBBits(block);
        DWORD row = DIBRowBytes(static_cast<DWORD>(result.width), 24);
        for (int y = 0; y < result.height; y++) {
            for (int x = 0; x < result.width; x++) {
                DWORD v = result.pixels[static_cast<size_t>(y) * result.width + x];
                BYTE* q =
                    bits + static_cast<size_t>(result.height - 1 - y) * row + static_cast<size_t>(x) * 3;
                q[0] = v & 0xFF;
                q[1] = (v >> 8) & 0xFF;
                q[2] = (v >> 16) & 0xFF;
            }
        }
        ::GlobalUnlock(dib);
        SaveDIBFile(dib, (folder + "\\" + shotName + ".bmp").c_str());
        GlobalFreeHandle(dib);
    }
    return result;
}

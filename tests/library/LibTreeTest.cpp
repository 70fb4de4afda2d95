// The library tree on a fresh library: fixed folders made on disk, folders named, renamed and moved,
// refused names, drops, and the protected folder's gate on opening.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "library/LibTreeCtrl.h"
#include "library/ProtectedAccess.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"

#include <functional>
#include <string>
#include <vector>

using libtest::LibraryStore;
using testpaths::WriteBytes;

namespace {

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool IsDir(const std::string& path)
{
    DWORD attr = ::GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The window holding the tree: records what the tree asks of its owner.
class CTreeHost : public CWnd, public CLibTreeOwner {
public:
    int m_nReloads = 0;
    std::vector<UINT> m_commands;
    void RequestFolderReload() override { m_nReloads++; }
    HWND CommandTarget() override { return m_hWnd; }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(LOWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

class LibTree : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        g_bProtectedUnlocked = FALSE;
        g_ProtectedPics.Empty();
        LPCSTR cls = AfxRegisterWndClass(0);
        ASSERT_TRUE(
            m_host.CreateEx(0, cls, "LibTreeTest", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 400), nullptr, 0));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS
                                      | TVS_SHOWSELALWAYS,
                                  CRect(0, 0, 300, 400), &m_host, 103));
    }
    void TearDown() override
    {
        if (::IsWindow(m_host.m_hWnd))
            m_host.DestroyWindow();
        g_bProtectedUnlocked = FALSE;
        g_ProtectedPics.Empty();
        LibraryStore::TearDown();
    }
    // Opens an item as a click on its button would, its button first brought in line with the disk.
    void Open(HTREEITEM h)
    {
        m_tree.UpdateExpandButton(h);
        m_tree.Expand(h, TVE_EXPAND);
    }
    HTREEITEM Child(HTREEITEM parent, const char* label)
    {
        for (HTREEITEM h = m_tree.GetChildItem(parent); h != nullptr; h = m_tree.GetNextSiblingItem(h))
            if (m_tree.GetItemText(h) == label)
                return h;
        return nullptr;
    }
    // Names a new folder under the selection as a user typing in the label editor (or pasting a name).
    void TypeNewFolder(const char* text, const wchar_t* pasted = nullptr)
    {
        ASSERT_TRUE(m_tree.BeginNewFolder());
        CEdit* pEdit = m_tree.GetEditControl();
        ASSERT_NE(pEdit, nullptr);
        const size_t said = Messages();
        if (text != nullptr || pasted != nullptr) {
            pasted != nullptr ? AfxTestPasteText(pEdit->m_hWnd, pasted) : pEdit->SetWindowText(text);
            m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE);
        } else {
            m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE);
        }
        // A refusal is said once the editor has closed, never while the tree still edits: the item
        // taken from under the editor would leave the label of the one selected next unpainted.
        EXPECT_EQ(Messages(), said);
        Pump();
    }

    void Rename(HTREEITEM h, const char* text)
    {
        CEdit* pEdit = m_tree.EditLabel(h);
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetWindowText(text);
        m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE);
        Pump();
    }

    CTreeHost m_host;
    CLibTreeCtrl m_tree;
};

} // namespace

TEST_F(LibTree, FreshLibraryGetsItsFixedFoldersOnDisk)
{
    const char* names[] = {"Images", "Images Favorites",
                           "Images Prot\xE9g\xE9"
                           "es",
                           "El\xE9ments Supprim\xE9s"};
    HTREEITEM h = m_tree.GetChildItem(m_tree.RootItem());
    for (int i = 0; i < 4; i++, h = m_tree.GetNextSiblingItem(h)) {
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(std::string(m_tree.GetItemText(h)), names[i]);
        EXPECT_EQ(m_tree.GetItemKind(h), LIB_KIND_IMAGES + i);
        EXPECT_EQ(std::string(m_tree.GetItemPath(h)), Path(names[i]));
        EXPECT_TRUE(IsDir(Path(names[i]))) << names[i];
    }
    EXPECT_EQ(m_tree.GetItemKind(m_tree.RootItem()), LIB_KIND_ROOT);
    EXPECT_EQ(std::string(m_tree.GetItemPath(m_tree.RootItem())), Root());
    EXPECT_EQ(std::string(g_strProtectedFolder), Path(names[2]));
}

TEST_F(LibTree, FoldersAreReadWhenOpenedAndAgainAfterClosing)
{
    CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
    CreateDirectoryA(Path("Images\\Voyage\\Jour 1").c_str(), nullptr);
    m_tree.SelectItem(m_tree.ImagesItem());
    Open(m_tree.ImagesItem());
    HTREEITEM hVoyage = Child(m_tree.ImagesItem(), "Voyage");
    ASSERT_NE(hVoyage, nullptr);
    EXPECT_TRUE(m_tree.ItemHasChildren(hVoyage)); // a button for "Jour 1"
    EXPECT_EQ(m_tree.GetItemKind(hVoyage), LIB_KIND_FOLDER);

    // A folder made outside the program shows after the next close and open.
    CreateDirectoryA(Path("Images\\Mariage").c_str(), nullptr);
    m_tree.ToggleItem(m_tree.ImagesItem());
    m_tree.ToggleItem(m_tree.ImagesItem());
    EXPECT_NE(Child(m_tree.ImagesItem(), "Mariage"), nullptr);

    m_tree.SelectPath(Path("images\\VOYAGE\\jour 1").c_str());
    EXPECT_EQ(std::string(m_tree.GetSelectedPath()), Path("Images\\Voyage\\Jour 1"));
    m_tree.SelectPath("C:\\Elsewhere\\Images");
    EXPECT_EQ(m_tree.GetSelectedKind(), LIB_KIND_ROOT);
}

TEST_F(LibTree, NewFoldersAreNamedInPlaceAndBadNamesLeaveNothing)
{
    m_tree.SelectItem(m_tree.ImagesItem());
    TypeNewFolder("Vacances");
    EXPECT_TRUE(IsDir(Path("Images\\Vacances")));
    ASSERT_NE(Child(m_tree.ImagesItem(), "Vacances"), nullptr);

    // Refused: cancelled, empty, taken, and names that would leave the folder.
    const char* refused[] = {nullptr, "", "Vacances", "..\\..\\Ailleurs", "a\\b", "x:y", "fin.", "?"};
    for (const char* text : refused) {
        m_tree.SelectItem(m_tree.ImagesItem());
        TypeNewFolder(text);
        int count = 0;
        for (HTREEITEM h = m_tree.GetChildItem(m_tree.ImagesItem()); h; h = m_tree.GetNextSiblingItem(h))
            count++;
        EXPECT_EQ(count, 1) << (text ? text : "(cancelled)");
        // The folder it was asked in is chosen again, not the neighbour "Vacances".
        EXPECT_EQ(m_tree.GetSelectedItem(), m_tree.ImagesItem()) << (text ? text : "-");
    }
    EXPECT_FALSE(IsDir(Root() + "\\Ailleurs"));
    EXPECT_FALSE(IsDir(Path("Images\\a")));
    // The taken name, the names that would leave the folder and those Windows refuses are explained.
    EXPECT_EQ(Messages(), 6u);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("existe d\xe9j\xe0"), std::string::npos);
    // So is a name with a letter the code page lacks, first or last: none is made under its look-alike.
    for (const wchar_t* pasted : {L"\x0141odz", L"Pozna\x0144"})
        TypeNewFolder(nullptr, pasted);
    EXPECT_FALSE(IsDir(Path("Images\\Lodz")) || IsDir(Path("Images\\Poznan")));
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("dossier 'Pozna?'"), std::string::npos);
    // An emptied name whose edit ended as another folder was chosen: the refused item leaves, the
    // folder chosen stays, chosen.
    m_tree.SelectItem(m_tree.ImagesItem());
    ASSERT_TRUE(m_tree.BeginNewFolder());
    m_tree.GetEditControl()->SetWindowText("");
    m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE);
    m_tree.SelectItem(Child(m_tree.ImagesItem(), "Vacances"));
    Pump();
    EXPECT_EQ(Child(m_tree.ImagesItem(), "Nouveau dossier"), nullptr);
    ASSERT_NE(Child(m_tree.ImagesItem(), "Vacances"), nullptr);
    EXPECT_EQ(m_tree.GetSelectedItem(), Child(m_tree.ImagesItem(), "Vacances"));
    // A folder the disk has no room for, or whose name the system finds too long, is said with
    // that reason, in French.
    ArmFileFault(kStepCreateFolder, "", 1, ERROR_DISK_FULL);
    TypeNewFolder("Plein");
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("Le disque est plein."), std::string::npos);
    TypeNewFolder(std::string(250, 'x').c_str());
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("Le nom du dossier est trop long."),
              std::string::npos);
}

TEST_F(LibTree, RenamesMoveTheFolderOnDiskAndRefuseBadNames)
{
    CreateDirectoryA(Path("Images\\Noel").c_str(), nullptr);
    WriteBytes(Path("Images\\Noel\\sapin.jpg"), "sapin");
    Open(m_tree.ImagesItem());
    HTREEITEM h = Child(m_tree.ImagesItem(), "Noel");
    ASSERT_NE(h, nullptr);
    m_tree.SelectItem(h);

    // Fixed folders and the root cannot be renamed.
    EXPECT_EQ(m_tree.EditLabel(m_tree.ImagesItem()), nullptr);
    EXPECT_EQ(m_tree.EditLabel(m_tree.RootItem()), nullptr);

    Rename(h, "..\\Noel");
    EXPECT_EQ(std::string(m_tree.GetItemText(h)), "Noel");
    EXPECT_EQ(Messages(), 1u);
    // So is one with a letter the code page lacks, naming it: the folder would take its look-alike.
    AfxTestPasteText(m_tree.EditLabel(h)->m_hWnd, L"\x0141odz");
    m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE);
    EXPECT_EQ(std::string(m_tree.GetItemText(h)), "Noel");
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("dossier '?odz'"), std::string::npos);
    Rename(h, "No\xEBl 2001");
    EXPECT_EQ(std::string(m_tree.GetItemText(h)), "No\xEBl 2001");
    EXPECT_EQ(testpaths::ReadBytes(Path("Images\\No\xEBl 2001\\sapin.jpg")), "sapin");
    EXPECT_FALSE(IsDir(Path("Images\\Noel")));

    // A failed rename keeps the folder and its old name, and says so, with why.
    ArmFileFault(kStepMove, "", 1, ERROR_SHARING_VIOLATION);
    Rename(h, "Autre");
    DisarmFileFault();
    EXPECT_EQ(std::string(m_tree.GetItemText(h)), "No\xEBl 2001");
    EXPECT_TRUE(IsDir(Path("Images\\No\xEBl 2001")));
    ASSERT_EQ(Messages(), 3u);
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("n'a pas pu \xeatre renomm\xe9. Le fichier est "
                                                             "utilis\xe9 par un autre programme."),
              std::string::npos);

    // A name another folder holds is refused with that reason, not only a beep.
    CreateDirectoryA(Path("Images\\Pris").c_str(), nullptr);
    Rename(h, "Pris");
    EXPECT_EQ(std::string(m_tree.GetItemText(h)), "No\xEBl 2001");
    ASSERT_EQ(Messages(), 4u);
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("existe d\xe9j\xe0"), std::string::npos);
    EXPECT_EQ(testpaths::ReadBytes(Path("Images\\No\xEBl 2001\\sapin.jpg")), "sapin");
}

TEST_F(LibTree, FolderDropsMoveSubtreesOrAskForTheTrash)
{
    std::string longName(60, 'L');
    CreateDirectoryA(Path("Images\\A").c_str(), nullptr);
    CreateDirectoryA(Path("Images\\A\\" + longName).c_str(), nullptr);
    WriteBytes(Path("Images\\A\\" + longName + "\\p.jpg"), "p");
    CreateDirectoryA(Path("Images\\B").c_str(), nullptr);
    CreateDirectoryA(Path("Images\\B\\Old").c_str(), nullptr);
    Open(m_tree.ImagesItem());
    HTREEITEM hA = Child(m_tree.ImagesItem(), "A");
    HTREEITEM hB = Child(m_tree.ImagesItem(), "B");
    ASSERT_TRUE(hA && hB);
    Open(hA);
    HTREEITEM hLong = Child(hA, longName.c_str());
    ASSERT_NE(hLong, nullptr);

    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, hA), kDropRefused);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, hLong), kDropRefused);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, m_tree.ImagesItem()), kDropRefused);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, m_tree.RootItem()), kDropRefused);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(m_tree.ImagesItem(), hB), kDropRefused);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, m_tree.TrashItem()), kDropToTrash);
    EXPECT_EQ(m_tree.ClassifyFolderDrop(hA, hB), kDropMove);

    Open(hB);
    ASSERT_TRUE(m_tree.DropFolder(hA, hB));
    EXPECT_EQ(testpaths::ReadBytes(Path("Images\\B\\A\\" + longName + "\\p.jpg")), "p");
    HTREEITEM hMoved = Child(hB, "A");
    ASSERT_NE(hMoved, nullptr);
    EXPECT_NE(Child(hMoved, longName.c_str()), nullptr) << "the whole label is carried";
    EXPECT_EQ(Child(m_tree.ImagesItem(), "A"), nullptr);

    // A drop on the trash deletes the folder that was dragged, not the one selected before.
    CreateDirectoryA(Path("Images\\C").c_str(), nullptr);
    m_tree.ToggleItem(m_tree.ImagesItem());
    m_tree.ToggleItem(m_tree.ImagesItem());
    HTREEITEM hC = Child(m_tree.ImagesItem(), "C");
    m_tree.SelectItem(Child(m_tree.ImagesItem(), "B"));
    ASSERT_TRUE(m_tree.DropFolder(hC, m_tree.TrashItem()));
    Pump();
    EXPECT_EQ(std::string(m_tree.GetSelectedText()), "C");
    ASSERT_EQ(m_host.m_commands.size(), 1u);
    EXPECT_EQ(m_host.m_commands[0], static_cast<UINT>(ID_LIB_DELETE));

    // A move that fails on disk changes nothing.
    HTREEITEM hB2 = Child(m_tree.ImagesItem(), "B");
    ArmFileFault(kStepMove, "", 1);
    EXPECT_FALSE(m_tree.DropFolder(hC, m_tree.FavoritesItem()));
    EXPECT_TRUE(IsDir(Path("Images\\C")));
    EXPECT_NE(Child(m_tree.ImagesItem(), "C"), nullptr);
    EXPECT_NE(hB2, nullptr);
}

TEST_F(LibTree, ProtectedFolderOpensOnlyWithItsPassword)
{
    CreateDirectoryA(Path("Images Prot\xE9g\xE9"
                          "es\\Secret")
                         .c_str(),
                     nullptr);
    m_tree.UpdateExpandButton(m_tree.ProtectedItem());
    g_ProtectedPics = "Rose";

    // Wrong case: refused, still closed.
    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "rose"}}, IDOK);
    m_tree.Expand(m_tree.ProtectedItem(), TVE_EXPAND);
    EXPECT_FALSE(g_bProtectedUnlocked);
    EXPECT_EQ(Child(m_tree.ProtectedItem(), "Secret"), nullptr);
    EXPECT_EQ(m_host.m_nReloads, 0);

    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "Rose"}}, IDOK);
    m_tree.Expand(m_tree.ProtectedItem(), TVE_EXPAND);
    EXPECT_TRUE(g_bProtectedUnlocked);
    EXPECT_NE(Child(m_tree.ProtectedItem(), "Secret"), nullptr);
    EXPECT_EQ(m_host.m_nReloads, 1);
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(LibTree, FolderDragsCancelledMoveNothingAndTheRootTakesNoNewFolder)
{
    CreateDirectoryA(Path("Images\\A").c_str(), nullptr);
    CreateDirectoryA(Path("Images\\B").c_str(), nullptr);
    Open(m_tree.ImagesItem());
    auto beginDrag = [&](HTREEITEM h) {
        NMTREEVIEWA nm = {};
        nm.hdr.hwndFrom = m_tree.m_hWnd;
        nm.hdr.idFrom = 103;
        nm.hdr.code = TVN_BEGINDRAGA;
        nm.itemNew.hItem = h;
        CRect r;
        m_tree.GetItemRect(h, &r, TRUE);
        nm.ptDrag = r.CenterPoint();
        m_host.SendMessage(WM_NOTIFY, 103, reinterpret_cast<LPARAM>(&nm));
    };
    auto releaseOn = [&](HTREEITEM h) {
        CRect r;
        m_tree.GetItemRect(h, &r, TRUE);
        LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
        m_tree.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at);
        m_tree.SendMessage(WM_LBUTTONUP, 0, at);
        Pump();
    };
    struct {
        const char* name;
        std::function<void()> interrupt;
        bool moves;
    } rows[] = {
        {"Escape", [&] { m_tree.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0); }, false},
        {"capture taken by another window",
         [&] {
             ::SetCapture(m_host.m_hWnd);
             ::ReleaseCapture();
         },
         false},
        {"nothing", [] {}, true},
    };
    for (auto& row : rows) {
        SCOPED_TRACE(row.name);
        HTREEITEM hA = Child(m_tree.ImagesItem(), "A");
        HTREEITEM hB = Child(m_tree.ImagesItem(), "B");
        ASSERT_TRUE(hA && hB);
        beginDrag(hA);
        row.interrupt();
        releaseOn(hB);
        EXPECT_EQ(IsDir(Path("Images\\B\\A")), row.moves);
        EXPECT_EQ(IsDir(Path("Images\\A")), !row.moves);
        EXPECT_NE(::GetCapture(), m_tree.m_hWnd);
    }

    // The root shows only the fixed folders: no new folder there.
    m_tree.SelectItem(m_tree.RootItem());
    EXPECT_FALSE(m_tree.BeginNewFolder());
    EXPECT_EQ(m_tree.GetEditControl(), nullptr);
}

// Editing a long name scrolls the tree sideways to show it; once the edit ends, cancelled or
// accepted, the tree is back at its left edge, the icons and the names' beginnings in view.
TEST_F(LibTree, TheTreeComesBackToItsLeftEdgeAfterANameIsEdited)
{
    const std::string longName(80, 'x');
    CreateDirectoryA(Path("Images\\" + longName).c_str(), nullptr);
    Open(m_tree.ImagesItem());
    HTREEITEM h = Child(m_tree.ImagesItem(), longName.c_str());
    ASSERT_NE(h, nullptr);
    m_tree.SelectItem(h);
    for (BOOL bCancel : {TRUE, FALSE}) {
        CEdit* pEdit = m_tree.EditLabel(h);
        ASSERT_NE(pEdit, nullptr);
        ASSERT_GT(m_tree.GetScrollPos(SB_HORZ), 0) << "the edit shows the long name";
        pEdit->SetWindowText(std::string(90, 'y').c_str());
        m_tree.SendMessage(TVM_ENDEDITLABELNOW, bCancel);
        Pump();
        EXPECT_EQ(m_tree.GetScrollPos(SB_HORZ), 0) << bCancel;
    }
    EXPECT_TRUE(IsDir(Path("Images\\" + std::string(90, 'y'))));
}

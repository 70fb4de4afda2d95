// The picture properties sheet: its pages per mode, the page remembered after OK only, the edited
// texts written back for one picture and for several (only the texts edited), a refused name that
// keeps the other texts, a picture in the trash shown read-only (and looking it) and never written,
// long names cut with an ellipsis, and records not written said with their reason.
#include "tests/piclist/LibraryTestSupport.h"

#include "framework/TestSeams.h"
#include "piclist/DelObject.h"
#include "piclist/PicObject.h"
#include "piclist/PicProperties.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "tests/support/PaintedPixels.h"

#include <memory>
#include <vector>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

const int kImage = 0, kIdentite = 1, kCommentaire = 2, kApercu = 3;

HWND CurrentPage(CWnd* pSheet)
{
    return reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Types into controls of the page in front (several pages share control ids).
AfxModalStep TypeOnPage(int page, std::vector<std::pair<int, std::string>> fields)
{
    AfxModalStep step;
    step.page = page;
    step.buttonId = 0;
    step.check = [fields](CWnd* pSheet) {
        for (const auto& field : fields)
            ::SetDlgItemTextA(CurrentPage(pSheet), field.first, field.second.c_str());
    };
    return step;
}

PaintedPixels Painted(HWND hCtl)
{
    RECT r;
    ::GetClientRect(hCtl, &r);
    return PaintIntoMemory(r.right, r.bottom, [hCtl](HDC hdc) {
        ::SendMessageA(hCtl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT | PRF_ERASEBKGND);
    });
}

// TRUE when the control paints "..." in its text, as a text cut short says so.
bool ShowsAnEllipsis(HWND hCtl)
{
    char text[1024] = "";
    ::GetWindowTextA(hCtl, text, sizeof(text));
    const PaintedPixels whole = Painted(hCtl);
    ::SetWindowTextA(hCtl, "...");
    const PaintedPixels dots = Painted(hCtl);
    ::SetWindowTextA(hCtl, text);
    // The dots' columns: those not all paper (the paper's colour is at the far right).
    std::vector<int> inked;
    for (int x = 0; x < dots.width; ++x)
        for (int y = 0; y < dots.height; ++y)
            if (dots.At(x, y) != dots.At(dots.width - 1, 0) && (inked.empty() || inked.back() != x))
                inked.push_back(x);
    for (int at = 0; !inked.empty() && at + inked.back() - inked.front() < whole.width; ++at) {
        bool same = true;
        for (int x = inked.front(); x <= inked.back() && same; ++x)
            for (int y = 0; y < dots.height && same; ++y)
                same = whole.At(at + x - inked.front(), y) == dots.At(x, y);
        if (same)
            return true;
    }
    return false;
}

AfxModalStep Press(int button, int page = -1)
{
    AfxModalStep step;
    step.page = page;
    step.buttonId = button;
    return step;
}

class PropertiesStore : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        CreateDirectoryA(Folder().c_str(), nullptr);
        CPicPropertySheet::SetRememberedPage(0);
    }
    std::string Folder() const { return Path("Images"); }
    std::string In(const std::string& name) const { return Folder() + "\\" + name; }
    std::unique_ptr<CPicObject> AddPicture(const std::string& base, const std::string& comment)
    {
        std::string path = In(base + ".bmp");
        EXPECT_TRUE(libtest::WriteBmp(path, 40, 30, static_cast<int>(base.size())));
        auto rec = std::make_unique<CPicObject>();
        libtest::FillRecord(*rec, path);
        rec->m_strComment = comment.c_str();
        EXPECT_TRUE(rec->SaveDai());
        return rec;
    }
    std::unique_ptr<CPicObject> Reread(const std::string& picture)
    {
        auto rec = std::make_unique<CPicObject>();
        rec->m_strPath = picture.c_str();
        EXPECT_TRUE(rec->LoadDai()) << picture;
        return rec;
    }
};

} // namespace

TEST_F(PropertiesStore, ModesHaveTheirPagesAndTheLastOKPageIsRemembered)
{
    {
        CPicPropertySheet one(kPicPropOne);
        EXPECT_EQ(one.GetPageCount(), 4);
        EXPECT_EQ(one.GetPage(kApercu), &one.m_pageApercu);
        CPicPropertySheet several(kPicPropSeveral);
        EXPECT_EQ(several.GetPageCount(), 3);
        EXPECT_EQ(several.GetPage(0), &several.m_pageSelection);
        EXPECT_EQ(several.GetPage(kCommentaire), &several.m_pageCommentaire);
    }
    AfxScriptModal(IDS_PICTURE_PROPERTIES, {Press(IDOK, kApercu)});
    {
        CPicPropertySheet sheet(kPicPropOne);
        EXPECT_EQ(sheet.DoModal(), IDOK);
    }
    EXPECT_EQ(CPicPropertySheet::GetRememberedPage(), kApercu);
    // No preview among several pictures: the comment page, the nearest.
    AfxScriptModal(IDS_SELECTION_PROPERTIES, {Press(IDCANCEL, 0)});
    {
        CPicPropertySheet sheet(kPicPropSeveral);
        EXPECT_EQ(sheet.GetActiveIndex(), kCommentaire);
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(CPicPropertySheet::GetRememberedPage(), kCommentaire);
    CPicPropertySheet selection(kPicPropSelection);
    EXPECT_EQ(selection.GetPageCount(), 1);
    EXPECT_EQ(CPicPropertySheet::GetRememberedPage(), 0);
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(PropertiesStore, OnePictureGetsItsEditedTextsAndNameWithItsRecord)
{
    auto rec = AddPicture("Plage", "ancien");
    std::string shownName, shownFolder;
    AfxModalStep look;
    look.page = kImage;
    look.buttonId = 0;
    look.check = [&](CWnd* pSheet) {
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(CurrentPage(pSheet), IDC_PICPROP_FILE_NAME, text, sizeof(text));
        shownName = text;
        ::GetDlgItemTextA(CurrentPage(pSheet), IDC_PICPROP_FOLDER, text, sizeof(text));
        shownFolder = text;
    };
    AfxScriptModal(IDS_PICTURE_PROPERTIES,
                   {look,
                    TypeOnPage(kIdentite, {{IDC_PICPROP_NAME, " Mer "},
                                           {IDC_PICPROP_AUTHOR, "Ang\xE8le"},
                                           {IDC_PICPROP_KEYWORDS, "mer,\xE9t\xE9"}}),
                    TypeOnPage(kCommentaire, {{IDC_PICPROP_COMMENT, "Le large\r\nau matin"}}), Press(IDOK)});
    EXPECT_EQ(RunPictureProperties(nullptr, {rec.get()}, Folder().c_str()), IDOK);
    EXPECT_EQ(shownName, "Plage.bmp");
    EXPECT_EQ(shownFolder, "Images");
    EXPECT_FALSE(PathExists(In("Plage.bmp").c_str()));
    EXPECT_FALSE(PathExists(In("Plage.dai").c_str()));
    auto back = Reread(In("Mer.bmp"));
    EXPECT_STREQ(back->m_strAuthor, "Ang\xE8le");
    EXPECT_STREQ(back->m_strKeywords, "mer,\xE9t\xE9");
    EXPECT_STREQ(back->m_strComment, "Le large\r\nau matin");
    EXPECT_STREQ(back->m_strBaseName, "Mer");
    EXPECT_EQ(CPicPropertySheet::GetRememberedPage(), kCommentaire);

    // A name already taken is refused with a message; the texts typed with it are kept.
    auto other = AddPicture("Port", "port");
    ResetUi();
    AfxScriptModal(IDS_PICTURE_PROPERTIES,
                   {TypeOnPage(kIdentite, {{IDC_PICPROP_NAME, "port"}}),
                    TypeOnPage(kCommentaire, {{IDC_PICPROP_COMMENT, "gard\xE9"}}), Press(IDOK)});
    EXPECT_EQ(RunPictureProperties(nullptr, {rec.get()}, Folder().c_str()), IDOK);
    EXPECT_EQ(Messages(), 1u);
    EXPECT_STREQ(Reread(In("Mer.bmp"))->m_strComment, "gard\xE9");
    EXPECT_STREQ(Reread(In("Port.bmp"))->m_strComment, "port");
}

TEST_F(PropertiesStore, SeveralPicturesShareOnlyTheTextsEditedAndNothingIsWrittenWithoutEdits)
{
    auto a = AddPicture("a", "commentaire a");
    auto b = AddPicture("b", "commentaire b");
    std::vector<CPicObject*> both = {a.get(), b.get()};
    auto before = Snapshot(Root());
    std::string shownComment = "?", shownAuthor, count;
    BOOL nameReadOnly = FALSE;
    AfxModalStep look;
    look.page = kIdentite;
    look.buttonId = 0;
    look.check = [&](CWnd* pSheet) {
        char text[256] = "";
        ::GetDlgItemTextA(CurrentPage(pSheet), IDC_PICPROP_AUTHOR, text, sizeof(text));
        shownAuthor = text;
        nameReadOnly =
            (::GetWindowLongA(::GetDlgItem(CurrentPage(pSheet), IDC_PICPROP_NAME), GWL_STYLE) & ES_READONLY)
            != 0;
    };
    AfxModalStep lookComment;
    lookComment.page = kCommentaire;
    lookComment.buttonId = 0;
    lookComment.check = [&](CWnd* pSheet) {
        char text[256] = "";
        ::GetDlgItemTextA(CurrentPage(pSheet), IDC_PICPROP_COMMENT, text, sizeof(text));
        shownComment = text;
    };
    AfxScriptModal(IDS_SELECTION_PROPERTIES, {look, lookComment, Press(IDOK)});
    EXPECT_EQ(RunPictureProperties(nullptr, both, Folder().c_str()), IDOK);
    EXPECT_EQ(shownAuthor, "Ren\xE9");
    EXPECT_EQ(shownComment, "");
    EXPECT_TRUE(nameReadOnly);
    EXPECT_EQ(Snapshot(Root()), before);

    AfxScriptModal(IDS_SELECTION_PROPERTIES,
                   {TypeOnPage(kIdentite, {{IDC_PICPROP_KEYWORDS, "famille"}}), Press(IDOK)});
    EXPECT_EQ(RunPictureProperties(nullptr, both, Folder().c_str()), IDOK);
    for (const char* name : {"a", "b"}) {
        auto back = Reread(In(std::string(name) + ".bmp"));
        EXPECT_STREQ(back->m_strKeywords, "famille");
        EXPECT_EQ(std::string(back->m_strComment), std::string("commentaire ") + name);
        EXPECT_STREQ(back->m_strAuthor, "Ren\xE9");
    }
}

TEST_F(PropertiesStore, APictureInTheTrashIsShownReadOnlyAndNothingIsWritten)
{
    // Names longer than their fields.
    const std::string folder = "Voyages en Bretagne et en Normandie avec les enfants et les grands-parents";
    const std::string base = folder + "\\Plage de sable fin au soleil couchant un soir de juillet";
    CreateDirectoryA(In(folder).c_str(), nullptr);
    auto rec = AddPicture(base, "dans la corbeille");
    CDelObject item(kTrashPicture);
    item.m_strRelPath = ("Images\\" + base + ".bmp").c_str();
    item.m_strRelDaiPath = ("Images\\" + base + ".dai").c_str();
    item.m_strOrigFolder = In(folder).c_str();
    ASSERT_TRUE(item.MoveToTrash());
    // Another picture now lives at the former place, newer than the trash's record.
    auto live = AddPicture(base, "vivant");
    libtest::SetWriteTime(In(base + ".bmp"), 2030, 1, 1, 12, 0);
    auto before = Snapshot(Root());
    std::string comment;
    BOOL readOnly = FALSE, authorReadOnly = FALSE, okOffered = TRUE;
    COLORREF commentPaper = 0, authorPaper = 0;
    bool nameCutSaid = false, folderCutSaid = false;
    AfxModalStep lookImage;
    lookImage.page = kImage;
    lookImage.buttonId = 0;
    lookImage.check = [&](CWnd* pSheet) {
        nameCutSaid = ShowsAnEllipsis(::GetDlgItem(CurrentPage(pSheet), IDC_PICPROP_FILE_NAME));
        folderCutSaid = ShowsAnEllipsis(::GetDlgItem(CurrentPage(pSheet), IDC_PICPROP_FOLDER));
    };
    // The paper of an edit, at its far right where no text is.
    auto paper = [](HWND hEdit) {
        const PaintedPixels pixels = Painted(hEdit);
        return pixels.At(pixels.width - 3, pixels.height / 2);
    };
    AfxModalStep look;
    look.page = kCommentaire;
    look.buttonId = 0;
    look.check = [&](CWnd* pSheet) {
        HWND hEdit = ::GetDlgItem(CurrentPage(pSheet), IDC_PICPROP_COMMENT);
        char text[256] = "";
        ::GetWindowTextA(hEdit, text, sizeof(text));
        comment = text;
        readOnly = (::GetWindowLongA(hEdit, GWL_STYLE) & ES_READONLY) != 0;
        commentPaper = paper(hEdit);
    };
    AfxModalStep lookIdentity;
    lookIdentity.page = kIdentite;
    lookIdentity.buttonId = 0;
    lookIdentity.check = [&](CWnd* pSheet) {
        HWND hAuthor = ::GetDlgItem(CurrentPage(pSheet), IDC_PICPROP_AUTHOR);
        authorReadOnly = (::GetWindowLongA(hAuthor, GWL_STYLE) & ES_READONLY) != 0;
        authorPaper = paper(hAuthor);
        HWND hOK = ::GetDlgItem(pSheet->GetSafeHwnd(), IDOK);
        okOffered = ::IsWindowVisible(hOK) || ::IsWindowEnabled(hOK);
    };
    AfxScriptModal(IDS_PICTURE_PROPERTIES,
                   {lookImage, look, lookIdentity, TypeOnPage(kIdentite, {{IDC_PICPROP_NAME, "Autre"}}),
                    Press(IDCANCEL)});
    EXPECT_TRUE(RunTrashedPictureProperties(nullptr, item));
    EXPECT_EQ(comment, "dans la corbeille");
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(authorReadOnly);
    // Read-only fields do not look like the fields one types in.
    EXPECT_NE(commentPaper, ::GetSysColor(COLOR_WINDOW));
    EXPECT_NE(authorPaper, ::GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(nameCutSaid);
    EXPECT_TRUE(folderCutSaid);
    EXPECT_FALSE(okOffered);
    EXPECT_EQ(Snapshot(Root()), before);

    CDelObject folderItem(kTrashFolder);
    EXPECT_FALSE(RunTrashedPictureProperties(nullptr, folderItem));
    item.m_bFromProtected = 1;
    EXPECT_FALSE(RunTrashedPictureProperties(nullptr, item));
}

// A record that cannot be written is said so, with why. When a retry can succeed the sheet comes back
// with the texts typed: OK writes them once the record can be written; Cancel gives the records not
// written their texts back. When none can, the record keeps its texts at once.
TEST_F(PropertiesStore, ARecordNotWrittenIsSaidAndTheTypedTextsComeBack)
{
    auto rec = AddPicture("Plage", "ancien");
    std::vector<std::string> shown;
    auto look = [&](int page, int id) {
        AfxModalStep step;
        step.page = page;
        step.buttonId = 0;
        step.check = [&shown, id](CWnd* pSheet) {
            char text[256] = "";
            ::GetDlgItemTextA(CurrentPage(pSheet), id, text, sizeof(text));
            shown.push_back(text);
        };
        return step;
    };
    const std::string record = In("Plage.dai");
    // The record file held open as another program would, until the sheet shown again lets it go.
    std::shared_ptr<void> holder;
    const struct {
        const char* what;
        DWORD error;        // the system's refusal of the write (0: none injected; ~0: held open)
        bool readOnly;      // the record file has the read-only attribute
        bool memoryOnly;    // the record file is not its own
        const char* cause;  // what the message says of it
        int secondPress;    // the button pressed on the sheet shown again (0: not shown again)
        const char* stored; // the comment of the record file afterwards
        const char* held;   // the comment of the record in memory afterwards
    } rows[] = {
        {"held by another program, written at the second OK", ~0u, false, false,
         "utilis\xE9 par un autre programme", IDOK, "nouveau", "nouveau"},
        {"a full disk, cancelled after the failure", ERROR_DISK_FULL, false, false, "Le disque est plein.",
         IDCANCEL, "ancien", "ancien"},
        {"a read-only record file", 0, true, false, "Le fichier est en lecture seule.", 0, "ancien",
         "ancien"},
        {"a refused access", ERROR_ACCESS_DENIED, false, false, "L'acc\xE8s est refus\xE9.", 0, "ancien",
         "ancien"},
        {"a record in memory only", 0, false, true, "utilis\xE9 par un autre programme", 0, "ancien",
         "ancien"},
        {"a name too long", ERROR_FILENAME_EXCED_RANGE, false, false, "Le nom du fichier est trop long.", 0,
         "ancien", "ancien"},
        {"a cause outside the common list, in the system's French words", ERROR_DIR_NOT_EMPTY, false, false,
         "Le r\xE9pertoire n'est pas vide.", 0, "ancien", "ancien"},
    };
    AfxModalStep letGo;
    letGo.buttonId = 0;
    letGo.check = [&holder](CWnd*) { holder.reset(); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ResetUi();
        shown.clear();
        rec->m_bMemoryOnly = row.memoryOnly;
        if (row.error == ~0u)
            holder.reset(CreateFileA(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                         CloseHandle);
        else if (row.error != 0)
            ArmFileFault(kStepWrite, "Plage.dai", 1, row.error);
        if (row.readOnly)
            SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_READONLY);
        AfxScriptModal(IDS_PICTURE_PROPERTIES,
                       {TypeOnPage(kCommentaire, {{IDC_PICPROP_COMMENT, "nouveau"}}),
                        TypeOnPage(kIdentite, {{IDC_PICPROP_AUTHOR, "Moi"}}), Press(IDOK)});
        if (row.secondPress != 0)
            AfxScriptModal(IDS_PICTURE_PROPERTIES,
                           {look(kCommentaire, IDC_PICPROP_COMMENT), look(kIdentite, IDC_PICPROP_AUTHOR),
                            letGo, Press(row.secondPress)});
        EXPECT_EQ(RunPictureProperties(nullptr, {rec.get()}, Folder().c_str()),
                  row.secondPress ? row.secondPress : IDOK);
        DisarmFileFault();
        SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(Messages(), 1u);
        const std::string said = AfxTestRecords().messageBoxes.back().text;
        EXPECT_NE(said.find(row.cause), std::string::npos) << said;
        EXPECT_EQ(said.find("annuler") != std::string::npos, row.secondPress != 0) << said; // the retry
        const std::vector<std::string> typed = {"nouveau", "Moi"};
        EXPECT_EQ(shown, row.secondPress ? typed : std::vector<std::string>());
        EXPECT_STREQ(Reread(In("Plage.bmp"))->m_strComment, row.stored);
        EXPECT_STREQ(rec->m_strComment, row.held);
        EXPECT_EQ(AfxTestPendingScripts(), "");
        // Back to the start for the next row.
        rec->m_bMemoryOnly = FALSE;
        rec->m_strComment = "ancien";
        ASSERT_TRUE(rec->SaveDai());
    }

    // Several pictures: the one that cannot be written is named; the other is written.
    auto other = AddPicture("Port", "port");
    ResetUi();
    ArmFileFault(kStepWrite, "Port.dai", 1, ERROR_SHARING_VIOLATION);
    AfxScriptModal(IDS_SELECTION_PROPERTIES,
                   {TypeOnPage(kCommentaire, {{IDC_PICPROP_COMMENT, "ensemble"}}), Press(IDOK)});
    AfxScriptModal(IDS_SELECTION_PROPERTIES, {look(kCommentaire, IDC_PICPROP_COMMENT), Press(IDCANCEL)});
    EXPECT_EQ(RunPictureProperties(nullptr, {rec.get(), other.get()}, Folder().c_str()), IDCANCEL);
    ASSERT_EQ(Messages(), 1u);
    EXPECT_EQ(shown.back(), "ensemble");
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("Port.bmp"), std::string::npos);
    EXPECT_STREQ(Reread(In("Plage.bmp"))->m_strComment, "ensemble");
    EXPECT_STREQ(Reread(In("Port.bmp"))->m_strComment, "port");
    EXPECT_STREQ(other->m_strComment, "port");
}

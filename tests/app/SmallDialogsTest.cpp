// The small dialogs: load error (retry with another path), slide-show options (ranges, the controls
// of automatic mode, the music choice and its length), new folder and the create-document question.
#include "tests/app/AppFixture.h"
#include "tests/support/FocusRecorder.h"

#include "shell/LoadErrorDlg.h"
#include "shell/NewFolderDlg.h"
#include "app/QuestionDlg.h"
#include "app/SlideShowDlg.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <string>
#include <vector>

namespace {

std::string ItemText(CWnd* pDlg, int id)
{
    char text[512] = "";
    ::GetDlgItemTextA(pDlg->GetSafeHwnd(), id, text, sizeof(text));
    return text;
}

bool ItemEnabled(CWnd* pDlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(pDlg->GetSafeHwnd(), id)) != FALSE;
}

// One slide-show dialog run: a field typed, then OK; the number of refusals seen and the last said.
struct SlideRun {
    INT_PTR result;
    size_t refusals;
    UINT pause;
    std::string said;
};

SlideRun RunSlideShowTyping(int id, const std::string& value, BOOL automatic, const std::wstring& wide = L"")
{
    size_t before = AfxTestRecords().messageBoxes.size();
    AfxScriptMessageBox(IDOK);
    AfxModalStep typed;
    typed.fields = {{id, value}};
    if (!wide.empty())
        typed.wideFields = {{id, wide}};
    std::vector<AfxModalStep> steps;
    steps.push_back(typed);
    AfxScriptModal(IDD_SLIDESHOW, steps);
    CSlideShowDlg dlg;
    dlg.m_nPause = 5;
    dlg.m_bAutomatic = automatic;
    dlg.m_bManual = !automatic;
    dlg.m_nPictureSize = 1;
    INT_PTR result = dlg.DoModal();
    const auto& boxes = AfxTestRecords().messageBoxes;
    SlideRun run = {result, boxes.size() - before, dlg.m_nPause, boxes.empty() ? "" : boxes.back().text};
    // A refusal leaves the scripted answer used; an accepted value leaves it waiting.
    AfxTestReset();
    AfxTestArm();
    return run;
}

SlideRun RunSlideShowWithPause(const std::string& pause, BOOL automatic)
{
    return RunSlideShowTyping(IDC_SLIDE_PAUSE, pause, automatic);
}

} // namespace

TEST_F(AppTest, LoadErrorDialogConfirmedUnchangedGivesThePathInLowerCase)
{
    ASSERT_TRUE(Start());
    std::string shownName, shownPath;
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* pDlg) {
        shownName = ItemText(pDlg, IDC_LOADERR_NAME);
        shownPath = ItemText(pDlg, IDC_LOADERR_PATH);
    };
    AfxModalStep ok;
    AfxScriptModal(IDD_LOAD_ERROR, {look, ok});
    CString newPath;
    EXPECT_EQ(CLoadErrorDlg::AskForRetry("C:\\Photos\\Et\xE9.JPG", &newPath), IDOK);
    EXPECT_EQ(shownName, "C:\\PHOTOS\\ET\xC9.JPG");
    EXPECT_EQ(shownPath, "c:\\photos\\et\xE9.jpg");
    EXPECT_EQ(std::string(newPath), "c:\\photos\\et\xE9.jpg");
}

TEST_F(AppTest, LoadErrorDialogRetriesAnEditedLongPathAndAbandonGivesUp)
{
    ASSERT_TRUE(Start());
    // Longer than the 100 characters the field once held.
    std::string longPath = "c:\\" + std::string(150, 'a') + "\\b.jpg";
    AfxScriptNextModal(IDD_LOAD_ERROR, {{IDC_LOADERR_PATH, longPath}}, IDOK);
    CString newPath;
    EXPECT_EQ(CLoadErrorDlg::AskForRetry("c:\\x.jpg", &newPath), IDOK);
    EXPECT_EQ(std::string(newPath), longPath);

    AfxScriptNextModal(IDD_LOAD_ERROR, {{IDC_LOADERR_PATH, "c:\\other.jpg"}}, IDCANCEL);
    CString untouched = "kept";
    EXPECT_EQ(CLoadErrorDlg::AskForRetry("c:\\x.jpg", &untouched), IDCANCEL);
    EXPECT_EQ(std::string(untouched), "kept");

    // A path pasted with a letter the code page cannot spell is refused: its look-alike is another file.
    AfxModalStep pasted;
    pasted.wideFields = {{IDC_LOADERR_PATH, L"c:\\Pozna\x0144.jpg"}};
    AfxScriptModal(IDD_LOAD_ERROR, {pasted});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(CLoadErrorDlg::AskForRetry("c:\\x.jpg", &untouched), IDCANCEL);
    EXPECT_EQ(std::string(untouched), "kept");
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("fichier 'c:\\Pozna?.jpg'"), std::string::npos);
}

TEST_F(AppTest, SlideShowPauseOutsideOneTo500IsRefusedAndItsLimitsAccepted)
{
    ASSERT_TRUE(Start());
    SlideRun zero = RunSlideShowWithPause("0", TRUE);
    EXPECT_EQ(zero.refusals, 1u);
    EXPECT_NE(zero.result, IDOK);
    SlideRun high = RunSlideShowWithPause("501", TRUE);
    EXPECT_EQ(high.refusals, 1u);
    EXPECT_NE(high.result, IDOK);
    SlideRun text = RunSlideShowWithPause("abc", TRUE);
    EXPECT_EQ(text.refusals, 1u);
    SlideRun one = RunSlideShowWithPause("1", TRUE);
    EXPECT_EQ(one.result, IDOK);
    EXPECT_EQ(one.refusals, 0u);
    EXPECT_EQ(one.pause, 1u);
    SlideRun top = RunSlideShowWithPause("500", TRUE);
    EXPECT_EQ(top.result, IDOK);
    EXPECT_EQ(top.pause, 500u);
    // Manual mode: the edit is disabled but still checked.
    SlideRun manual = RunSlideShowWithPause("0", FALSE);
    EXPECT_EQ(manual.refusals, 1u);
    EXPECT_NE(manual.result, IDOK);
}

// The music path is refused when the settings could not keep it (they would forget it at the next
// start), with the file dialogs' message.
TEST_F(AppTest, SlideShowMusicPathMustFitAFullPath)
{
    ASSERT_TRUE(Start());
    for (size_t length : {260u, 259u}) {
        const SlideRun run =
            RunSlideShowTyping(IDC_SLIDE_MUSIC, "c:\\" + std::string(length - 7, 'm') + ".wav", FALSE);
        EXPECT_EQ(run.refusals, length == 260 ? 1u : 0u);
        EXPECT_EQ(run.result == IDOK, length == 259);
        EXPECT_EQ(run.said.find("trop long") != std::string::npos, length == 260) << run.said;
    }
    // Nor one pasted with a letter the code page cannot spell: its look-alike is another file.
    const SlideRun run = RunSlideShowTyping(IDC_SLIDE_MUSIC, "", FALSE, L"c:\\\x0141odz\\fond.wav");
    EXPECT_EQ(run.refusals, 1u);
    EXPECT_NE(run.result, IDOK);
    EXPECT_NE(run.said.find("dossier 'c:\\?odz'"), std::string::npos) << run.said;
}

TEST_F(AppTest, SlideShowRefusalNamesTheRangeInFrench)
{
    ASSERT_TRUE(Start());
    AfxScriptMessageBox(IDOK);
    AfxModalStep typed;
    typed.fields = {{IDC_SLIDE_PAUSE, "501"}};
    std::string focused;
    FocusRecorder focus;
    typed.check = [&](CWnd* pDlg) {
        HWND hFocus = focus.Last();
        focused = hFocus == ::GetDlgItem(pDlg->GetSafeHwnd(), IDC_SLIDE_PAUSE) ? "pause" : "other";
    };
    AfxScriptModal(IDD_SLIDESHOW, {typed});
    CSlideShowDlg dlg;
    dlg.m_nPause = 5;
    dlg.m_bAutomatic = TRUE;
    dlg.DoModal();
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    const std::string& text = AfxTestRecords().messageBoxes.back().text;
    EXPECT_NE(text.find("1"), std::string::npos) << text;
    EXPECT_NE(text.find("500"), std::string::npos) << text;
    EXPECT_EQ(focused, "pause");
}

TEST_F(AppTest, SlideShowAutomaticControlsFollowTheMode)
{
    ASSERT_TRUE(Start());
    bool atOpen[4] = {}, afterAuto[4] = {}, afterManual[4] = {};
    const int ids[4] = {IDC_SLIDE_LOOP, IDC_SLIDE_PAUSE, IDC_SLIDE_PAUSE_LABEL, IDC_SLIDE_SECONDS_LABEL};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* p) {
        for (int i = 0; i < 4; i++)
            atOpen[i] = ItemEnabled(p, ids[i]);
    };
    AfxModalStep automatic;
    automatic.buttonId = 0;
    automatic.fields = {{IDC_SLIDE_AUTOMATIC, "1"}};
    automatic.check = [&](CWnd* p) {
        for (int i = 0; i < 4; i++)
            afterAuto[i] = ItemEnabled(p, ids[i]);
    };
    AfxModalStep manual;
    manual.buttonId = 0;
    manual.fields = {{IDC_SLIDE_MANUAL, "1"}};
    manual.check = [&](CWnd* p) {
        for (int i = 0; i < 4; i++)
            afterManual[i] = ItemEnabled(p, ids[i]);
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_SLIDESHOW, {look, automatic, manual, cancel});
    CSlideShowDlg dlg;
    dlg.m_nPause = 3;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    for (int i = 0; i < 4; i++) {
        EXPECT_FALSE(atOpen[i]) << ids[i];
        EXPECT_TRUE(afterAuto[i]) << ids[i];
        EXPECT_FALSE(afterManual[i]) << ids[i];
    }
}

// The display is shared with the tests running beside: a real click (another test's drag) on "manuel"
// after the script chose the automatic mode never reaches the dialog.
TEST_F(AppTest, ARealMouseClickNeverReachesAScriptedDialog)
{
    ASSERT_TRUE(Start());
    bool met = false, automaticKept = false;
    AfxModalStep automatic;
    automatic.buttonId = 0;
    automatic.fields = {{IDC_SLIDE_AUTOMATIC, "1"}};
    automatic.check = [&](CWnd* p) {
        HWND hDlg = p->GetSafeHwnd();
        ::SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RECT r;
        ::GetWindowRect(::GetDlgItem(hDlg, IDC_SLIDE_MANUAL), &r);
        const LONG before = AfxTestRealInputDropped();
        ::SetCursorPos(r.left + 5, (r.top + r.bottom) / 2);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, in, sizeof(INPUT));
        // The click has met the dialog's thread: dropped, or taken by the button.
        met = PumpUntil([&] {
            return AfxTestRealInputDropped() >= before + 2 || ::IsDlgButtonChecked(hDlg, IDC_SLIDE_MANUAL);
        });
        automaticKept = ::IsDlgButtonChecked(hDlg, IDC_SLIDE_AUTOMATIC) && ItemEnabled(p, IDC_SLIDE_PAUSE);
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_SLIDESHOW, {automatic, cancel});
    CSlideShowDlg dlg;
    dlg.m_nPause = 3;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(met);
    EXPECT_TRUE(automaticKept);
}

// The two modes are one group of two radio buttons: a click on either clears the other, both ways.
TEST_F(AppTest, SlideShowModesAreOneGroupOfTwoButtons)
{
    ASSERT_TRUE(Start());
    struct Click {
        int id;
        bool manual, automatic; // ticked after the click
    } clicks[] = {
        {IDC_SLIDE_AUTOMATIC, false, true},
        {IDC_SLIDE_MANUAL, true, false},
        {IDC_SLIDE_AUTOMATIC, false, true},
        {IDC_SLIDE_MANUAL, true, false},
    };
    std::vector<std::string> seen;
    HWND groupAfterManual = nullptr, groupAfterAutomatic = nullptr, manual = nullptr, automatic = nullptr;
    AfxModalStep play;
    play.buttonId = 0;
    play.check = [&](CWnd* p) {
        HWND hDlg = p->GetSafeHwnd();
        manual = ::GetDlgItem(hDlg, IDC_SLIDE_MANUAL);
        automatic = ::GetDlgItem(hDlg, IDC_SLIDE_AUTOMATIC);
        groupAfterManual = ::GetNextDlgGroupItem(hDlg, manual, FALSE);
        groupAfterAutomatic = ::GetNextDlgGroupItem(hDlg, automatic, FALSE);
        for (const Click& c : clicks) {
            ::SendMessageA(::GetDlgItem(hDlg, c.id), BM_CLICK, 0, 0);
            seen.push_back(std::to_string(::IsDlgButtonChecked(hDlg, IDC_SLIDE_MANUAL)) + "/"
                           + std::to_string(::IsDlgButtonChecked(hDlg, IDC_SLIDE_AUTOMATIC)));
        }
    };
    AfxModalStep ok;
    AfxScriptModal(IDD_SLIDESHOW, {play, ok});
    CSlideShowDlg dlg;
    dlg.m_nPause = 3;
    dlg.m_bManual = TRUE;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(seen.size(), sizeof(clicks) / sizeof(clicks[0]));
    for (size_t i = 0; i < seen.size(); i++)
        EXPECT_EQ(seen[i], std::to_string(clicks[i].manual) + "/" + std::to_string(clicks[i].automatic))
            << "after click " << i;
    EXPECT_EQ(groupAfterManual, automatic);
    EXPECT_EQ(groupAfterAutomatic, manual);
    EXPECT_TRUE(dlg.m_bManual);
    EXPECT_FALSE(dlg.m_bAutomatic);
}

TEST_F(AppTest, SlideShowMusicChoiceIsLowerCasedAndCancelKeepsTheEdit)
{
    ASSERT_TRUE(Start());
    AfxCommonDialogAnswer chosen;
    chosen.ok = true;
    chosen.path = "C:\\Musique\\Fond.MID";
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, chosen);
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, AfxCommonDialogAnswer());
    std::string afterChoice, afterCancel;
    AfxModalStep browse;
    browse.buttonId = IDC_SLIDE_BROWSE;
    browse.check = [&](CWnd* p) { afterChoice = ItemText(p, IDC_SLIDE_MUSIC); };
    AfxModalStep again;
    again.buttonId = IDC_SLIDE_BROWSE;
    again.check = [&](CWnd* p) { afterCancel = ItemText(p, IDC_SLIDE_MUSIC); };
    AfxModalStep ok;
    AfxScriptModal(IDD_SLIDESHOW, {browse, again, ok});
    CSlideShowDlg dlg;
    dlg.m_nPause = 4;
    dlg.m_nPictureSize = 2;
    dlg.m_strMusicFile = "old.wav";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(afterChoice, "c:\\musique\\fond.mid");
    EXPECT_EQ(afterCancel, "c:\\musique\\fond.mid");
    EXPECT_EQ(std::string(dlg.m_strMusicFile), "c:\\musique\\fond.mid");
    EXPECT_EQ(dlg.m_nPictureSize, 2);
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(AppTest, NewFolderDialogGivesTheTypedNameAndTheQuestionEndsWithNo)
{
    ASSERT_TRUE(Start());
    AfxScriptNextModal(IDD_NEW_FOLDER, {{IDC_NEWFOLDER_NAME, "Vacances \xE9t\xE9"}}, IDOK);
    CNewFolderDlg folder;
    EXPECT_EQ(folder.DoModal(), IDOK);
    EXPECT_EQ(std::string(folder.m_strName), "Vacances \xE9t\xE9");

    std::string question;
    AfxModalStep no;
    no.fields = {{IDC_QUESTION_DONT_ASK, "1"}};
    no.buttonId = 0;
    no.check = [&](CWnd* p) { question = ItemText(p, IDC_QUESTION_TEXT); };
    AfxModalStep press;
    press.buttonId = IDC_QUESTION_NO;
    AfxScriptModal(IDD_CREATE_QUESTION, {no, press});
    CQuestionDlg ask;
    ask.m_strFileName = "c:\\a%d.bmp";
    EXPECT_EQ(ask.DoModal(), IDC_QUESTION_NO);
    EXPECT_EQ(question, "Le fichier \"c:\\a%d.bmp\" n'existe pas.");
    EXPECT_TRUE(ask.m_bDontAskAgain);
}

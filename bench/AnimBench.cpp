// Pacing of an animation window: a 100-frame GIF played at 50 frames a second (a frame every 20 ms)
// in the program's own window and timer; reports the mean and the worst interval between frame
// steps over three rounds, measured with the performance counter.
#include <windows.h>

#include <gif_lib.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "viewers/AnimToolBar.h"
#include "shell/AppMessages.h"
#include "app/MainFrame.h"
#include "viewers/GifDocMDI.h"
#include "app/TessarineApp.h"
#include "framework/Document.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "viewers/GifView.h"

namespace {

// 100 frames of 160 x 120, each a different band pattern over a 256-colour map.
bool WriteAnimation(const std::string& path, int frames)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr)
        return false;
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int k = 0; k < 256; k++) {
        map->Colors[k].Red = GifByteType(k);
        map->Colors[k].Green = GifByteType(255 - k);
        map->Colors[k].Blue = GifByteType(k * 7);
    }
    const int w = 160, h = 120;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    std::vector<GifPixelType> line(w);
    for (int f = 0; ok && f < frames; f++) {
        const GifByteType block[4] = {0, 2, 0, 0};
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) == GIF_OK
             && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < h; y++) {
            for (int x = 0; x < w; x++)
                line[x] = GifPixelType((x + y + f * 5) & 0xFF);
            ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ok;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string path = std::string(temp) + "tessarine-animbench.gif";
    const int kFrames = 100;
    if (!WriteAnimation(path, kFrames)) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    // The program as it runs, with its own settings key and no dialog waiting for a person.
    AfxTestArm();
    std::string company = "TessarineAnimBench-" + std::to_string(GetCurrentProcessId());
    CTessarineApp* pApp = new CTessarineApp;
    pApp->m_strWindowClass = ("TessarineAnimBench-" + std::to_string(GetCurrentProcessId())).c_str();
    pApp->m_strCompanyKey = company.c_str();
    for (const char* key :
         {"ExplorerAuto", "ShowWarnComponents", "ShowWarnColor16", "ShowWarnAssoc", "ShowWelcome"}) {
        DWORD zero = 0;
        std::string keyPath = "Software\\" + company + "\\Tessarine 3.0\\prefs";
        SHSetValueA(HKEY_CURRENT_USER, keyPath.c_str(), key, REG_DWORD, &zero, sizeof(zero));
    }
    char cmdLine[] = "";
    pApp->m_lpCmdLine = cmdLine;
    if (!pApp->InitInstance()) {
        std::printf("the program did not start\n");
        return 1;
    }
    CDocument* pDoc = pApp->OpenDocumentFile(path.c_str());
    POSITION pos = pDoc != nullptr ? pDoc->GetFirstViewPosition() : nullptr;
    CView* pView = pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
    if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CGifView))) {
        std::printf("the animation did not open\n");
        return 1;
    }
    CGifView* pGif = static_cast<CGifView*>(pView);
    auto* pFrame = static_cast<CGifDocMDI*>(pGif->GetParentFrame());
    pFrame->m_wndToolBar.m_wndSpeed.SetCurSel(12); // 50 frames a second
    pGif->SendMessage(WM_ANIMSPEEDCHANGED);
    std::printf("AnimBench: %d frames of 160 x 120, interval %d ms, 3 rounds\n", kFrames,
                pGif->GetInterval());

    // The message loop of the program, watching the frame shown after each message.
    std::vector<double> steps;
    int last = pGif->GetCurrentFrame();
    double start = Now();
    MSG msg;
    while (steps.size() < size_t(3 * kFrames) + 1 && Now() - start < 30.0) {
        if (!GetMessageW(&msg, nullptr, 0, 0))
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (pGif->GetCurrentFrame() != last) {
            last = pGif->GetCurrentFrame();
            steps.push_back(Now());
        }
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < steps.size(); i++)
        intervals.push_back((steps[i] - steps[i - 1]) * 1000.0);
    if (intervals.empty()) {
        std::printf("no frame step\n");
        return 1;
    }
    double sum = 0, worst = 0;
    for (double v : intervals) {
        sum += v;
        worst = std::max(worst, v);
    }
    std::sort(intervals.begin(), intervals.end());
    double mean = sum / double(intervals.size());
    std::printf("  steps %zu  mean %.2f ms (%+.1f %%)  median %.2f ms  p95 %.2f ms  worst %.2f ms\n",
                intervals.size(), mean, (mean - 20.0) / 20.0 * 100.0, intervals[intervals.size() / 2],
                intervals[intervals.size() * 95 / 100], worst);
    pApp->m_pMainWnd->DestroyWindow();
    pApp->ExitInstance();
    SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + company).c_str());
    DeleteFileA(path.c_str());
    return 0;
}

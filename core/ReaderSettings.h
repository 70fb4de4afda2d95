// The user settings that the picture readers consult, as process-wide values named after their
// registry keys. The application loads them at start-up and saves them at exit (shell/Settings.cpp,
// whose table gives them these defaults too). The readers themselves take them through the thread's
// reader options (core/ReaderOptions.h).
#pragma once

// The values of a fresh installation.
const int kDefaultPhotoCDSize = 2;
const int kDefaultCouleursJPEG = 2;
const int kDefaultTauxJPEG = 50;
const int kDefaultWmfCX = 640;
const int kDefaultWmfCY = 480;

extern int g_PhotoCDSize;  // "PhotoCDSize": PhotoCD resolution index 0..3
extern int g_CouleursJPEG; // "CouleursJPEG": 0 24-bit, 1 8-bit, 2 by the screen depth
extern int g_TauxJPEG;     // "TauxJPEG": JPEG compression rate; quality = 100 - rate
extern int g_DefaultWmfCX; // "DefaultWmfCX": largest width a metafile is rendered to
extern int g_DefaultWmfCY; // "DefaultWmfCY": largest height a metafile is rendered to

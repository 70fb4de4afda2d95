// The user settings that the picture readers consult, as process-wide values named after their
// registry keys. The application loads them at start-up and saves them at exit.
#pragma once

extern int g_PhotoCDSize;  // "PhotoCDSize": PhotoCD resolution index 0..3, default 2
extern int g_CouleursJPEG; // "CouleursJPEG": 0 24-bit, 1 8-bit, 2 by the screen depth (default)
extern int g_TauxJPEG;     // "TauxJPEG": JPEG compression rate; quality = 100 - rate, default 50
extern int g_DefaultWmfCX; // "DefaultWmfCX": largest width a metafile is rendered to, default 640
extern int g_DefaultWmfCY; // "DefaultWmfCY": largest height a metafile is rendered to, default 480

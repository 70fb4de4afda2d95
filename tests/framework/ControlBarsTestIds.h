// Resource and command ids of the control-bar tests (shared by ControlBarsTest.rc and the tests).
#pragma once

#define IDR_CB_TOOLBAR 720 // tool bar and its bitmap
#define IDR_CB_TOOLBAR_BADVERSION 721
#define IDR_CB_TOOLBAR_TRUNCATED 722
#define IDR_CB_TOOLBAR_NOBITMAP 723
#define IDD_CB_DIALOGBAR 724
#define IDD_CB_POPUP 725

#define ID_CB_OPEN 40160
#define ID_CB_SAVE 40161
#define ID_CB_DISABLED 40162
#define ID_CB_CHECKED 40163
#define ID_CB_NOHANDLER 40164
#define ID_CB_INFO 40165
#define ID_CB_APPLY 40166
#define ID_CB_LABEL 40167

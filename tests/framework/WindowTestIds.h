// Resource and command ids of the window-layer tests (shared by WindowTests.rc and the tests).
#pragma once

#define IDR_TEST_MAINFRAME 2
#define IDR_TEST_DOCA 300
#define IDR_TEST_DOCB 301

#define IDD_TEST_INTEGER 100
#define IDD_TEST_FIELDS 101
#define IDD_TEST_PAGE_ONE 200
#define IDD_TEST_PAGE_TWO 201
#define IDD_TEST_PAGE_THREE 202
#define IDS_TEST_SHEET 203

#define IDC_TEST_VALUE 1001
#define IDC_TEST_NAME 1002
#define IDC_TEST_CHECK 1003
#define IDC_TEST_RADIO1 1004
#define IDC_TEST_RADIO2 1005
#define IDC_TEST_RADIO3 1006
#define IDC_TEST_PAGE_VALUE 1010

#define ID_TEST_TRACE 40001
#define ID_TEST_DISABLED 40010
#define ID_TEST_NOHANDLER 40011
#define ID_TEST_ENABLED 40012
#define ID_TEST_CHILDKEY 40020

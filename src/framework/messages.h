#pragma once
// The program's own message numbers and timer ids.

#define UM_SELECTIONCHANGED 0x402
#define UM_RUNADDRESSTEXT 0x415
#define UM_RELOADADDRESSTEXT 0x416
#define UM_OPENADDRESSDIALOG 0x417
#define UM_RESTOREFOCUS 0x41C
#define UM_LOOKUPDONE 0x432
#define UM_RDAPDONE 0x433
#define UM_SENDERPROCESS 0x500
#define UM_SENDERTEXT 0x501
#define UM_SPLITTERMOVED 0x1401

// Messages to the hidden socket window.
#define UM_SOCKETEVENT 0x401
#define UM_HOSTRESOLVED 0x402

#define PAUSE_TIMER 10
#define REFRESH_TIMER 25

// Main window class: other programs find the window by it.
#define MAIN_WINDOW_CLASS "Velmora_Ownerlens"

// A command that faults on purpose, honoured only when the environment
// variable OWNERLENS_TEST_FAULTS is 1: the tests use it to check the guard.
#define IDM_TEST_FAULT 40999

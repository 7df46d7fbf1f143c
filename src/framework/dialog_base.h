#pragma once
// Framework dialogs: built on the caller's stack, filled from the caller's
// data, run modally, copied back through ExchangeData on OK.

#include <windows.h>

#include <cstdint>

class DialogBase {
  public:
    explicit DialogBase(uint16_t templateId_) : templateId(templateId_) {}
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // Base: not handled.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Members to controls (toControls) or controls to members.
    virtual void ExchangeData(bool toControls);
    // True when the dialog ended with IDOK.
    bool DoModal(HWND parent);

    HWND hdlg = nullptr;
    uint16_t templateId;
};

class StandardDialog : public DialogBase {
  public:
    using DialogBase::DialogBase;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual INT_PTR OnCommand(int code, WPARAM wParam, LPARAM lParam);
    virtual INT_PTR OnInitDialog();
    virtual INT_PTR OnNotify(WPARAM wParam, LPARAM lParam);
    // Enables or disables controls after a change.
};

// The dialog procedure of every framework dialog; the object is the
// parameter of DialogBoxParam and lives in the dialog's DWLP_USER.
INT_PTR CALLBACK GenericDialogProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam);

// Template id of the dialog being opened; the language file translates by it.
int OpeningDialogTemplate();

// Every dialog is translated before its own WM_INITDIALOG and mirrored after
// it; the language layer, which sits above the framework, installs both
// (null: dialogs show their resource texts, left to right).
void SetDialogLanguageHooks(void (*translate)(HWND dialog), void (*mirror)(HWND dialog));

// Control operations shared by the dialogs.
void ExchangeCheckBox(HWND dialog, int id, int32_t* member, bool toControl);
void ExchangeInteger(HWND dialog, int id, int32_t* member, bool toControl);
void EnableControl(HWND dialog, int id, bool enable);

// Centres a window on the screen, keeping its size.
void CenterOnScreen(HWND window);

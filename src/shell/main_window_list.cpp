#include <windows.h>
#include <commctrl.h>

#include "input/address_list.h"
#include "shell/main_window.h"
#include "shell/messages.h"

// The result list's side of the main window.

void MainWindow::ExchangeColumnSettings(SettingsFile& file) {
    if (!file.Reading()) addressList->FillColumnLayout();
    const bool read =
        file.ExchangeBinary("Columns", &addressList->columnLayout, static_cast<int>(sizeof addressList->columnLayout));
    file.ExchangeInteger("Sort", &addressList->persistedSort, 0);
    if (file.Reading() && read) addressList->ApplyColumnLayout(addressList->columnLayout);
}

void MainWindow::AutoSizeColumns() { addressList->AutoSizeColumns(); }

void MainWindow::ClearAddressList() {
    addressList->Clear();
    addressList->DeleteAllRows();
}

void MainWindow::AddAddressesFromText() { addressList->AddAddressesFromText(); }

void MainWindow::RebuildList(bool resort) { addressList->Rebuild(resort); }

void MainWindow::ReloadAddressText() {
    addressList->AddAddressesFromText();
    // Many new rows are made far faster while the control does not redraw.
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    addressList->Rebuild(false);
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

void MainWindow::ReadSenderText(WPARAM length, LPARAM address) {
    if (ReadAddressesFromProcess(senderProcessId, static_cast<uintptr_t>(address), static_cast<uint32_t>(length),
                                 options->addressText)) {
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
}

void MainWindow::ReleaseAddressList() { addressList->Clear(); }

void MainWindow::SortList(int32_t value, bool keep) { addressList->Sort(value, keep); }

void MainWindow::FindNext(const FINDREPLACEA* request) {
    FindRequest find;
    find.text = addressList->findText;
    find.down = (request->Flags & FR_DOWN) != 0;
    find.wholeWord = (request->Flags & FR_WHOLEWORD) != 0;
    find.matchCase = (request->Flags & FR_MATCHCASE) != 0;
    addressList->FindNext(find);
}

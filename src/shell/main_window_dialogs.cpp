#include <windows.h>

#include "extras/about_dialog.h"
#include "extras/shell_open.h"
#include "input/address_list.h"
#include "shell/main_window.h"
#include "views/column_dialog.h"

// The About box, the public-address page and the column settings dialog.

void MainWindow::ShowAbout() {
    RunAboutBox(hwnd);
}

void MainWindow::ShowMyAddress() {
    ::ShowMyAddress(hwnd);
}

void MainWindow::ChooseColumns() {
    ColumnDialog::Open(hwnd, *addressList, listView);
}

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "shell/main_window.h"

// Reports, saving and the dialogs opened from the menus.

void MainWindow::ShowAbout() {}

void MainWindow::ShowMyAddress() {}

void MainWindow::ShowProperties() {}

void MainWindow::ChooseColumns() {}

void MainWindow::SaveSelectedItems() {}

void MainWindow::SaveWhoisRecords() {}

void MainWindow::ShowHtmlReport(int) {}

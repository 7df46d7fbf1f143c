#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "shell/main_window.h"

// The lookup engine's side of the main window.

void MainWindow::ShowSelectedAnswer() {
    if (textPane) SetWindowTextA(textPane, "");
}


void MainWindow::StartNextLookup() { running = 0; }

void MainWindow::StopRun() {
    running = 0;
    UpdateCommandStates();
    UpdateStatusBar();
}

void MainWindow::OnLookupDone(int) {}

void MainWindow::RefreshResolvedNames() {}

void MainWindow::ReadServerOverrides(SettingsFile&) {}

void MainWindow::OpenAddressDialog() {}

#include <windows.h>

#include "shell/main_window.h"

// The About box, the public-address page and the column settings dialog.

void MainWindow::ShowAbout() {}

void MainWindow::ShowMyAddress() {}

void MainWindow::ChooseColumns() {}

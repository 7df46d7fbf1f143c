#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "shell/main_window.h"

// The result list's side of the main window.

namespace {
constexpr int kColumnCount = 18;
}

void MainWindow::ExchangeColumnSettings(SettingsFile& file) {
    unsigned char layout[kColumnCount * 4] = {};
    HWND header = ListView_GetHeader(listView);
    const bool writing = !file.Reading();
    if (writing) {
        int order[kColumnCount] = {};
        const bool haveOrder = header && Header_GetOrderArray(header, kColumnCount, order);
        for (int id = 0; id < kColumnCount; ++id) {
            const int16_t width = static_cast<int16_t>(ListView_GetColumnWidth(listView, id));
            int16_t position = 0;
            for (int p = 0; haveOrder && p < kColumnCount; ++p) {
                if (order[p] == id) position = static_cast<int16_t>(p);
            }
            std::memcpy(layout + id * 4, &width, 2);
            std::memcpy(layout + id * 4 + 2, &position, 2);
        }
    }
    const bool read = file.ExchangeBinary("Columns", layout, static_cast<int>(sizeof layout));
    file.ExchangeInteger("Sort", &sortState, 0);
    if (!writing && read) ApplyColumnLayout(layout);
}

void MainWindow::ApplyColumnLayout(const unsigned char* layout) {
    int16_t widths[kColumnCount], positions[kColumnCount];
    int atZero = 0;
    for (int id = 0; id < kColumnCount; ++id) {
        std::memcpy(&widths[id], layout + id * 4, 2);
        std::memcpy(&positions[id], layout + id * 4 + 2, 2);
        if (positions[id] == 0) ++atZero;
    }
    if (atZero > 1) return;
    int order[kColumnCount];
    HWND header = ListView_GetHeader(listView);
    if (!header || !Header_GetOrderArray(header, kColumnCount, order)) return;
    for (int id = 0; id < kColumnCount; ++id) {
        if (widths[id] < 0 || widths[id] >= 2000 || positions[id] < 0 || positions[id] >= kColumnCount) continue;
        ListView_SetColumnWidth(listView, id, widths[id]);
        // Move the column to its stored display position.
        int from = 0;
        for (int p = 0; p < kColumnCount; ++p) {
            if (order[p] == id) from = p;
        }
        const int to = positions[id];
        if (from < to) {
            for (int p = from; p < to; ++p) order[p] = order[p + 1];
        } else {
            for (int p = from; p > to; --p) order[p] = order[p - 1];
        }
        order[to] = id;
    }
    Header_SetOrderArray(header, kColumnCount, order);
}

void MainWindow::AutoSizeColumns() {
    for (int id = 0; id < kColumnCount; ++id) {
        if (ListView_GetColumnWidth(listView, id) > 0) ListView_SetColumnWidth(listView, id, LVSCW_AUTOSIZE);
    }
}

void MainWindow::CopySelection() {
    if (!ListHasFocus() && textPane) SendMessageA(textPane, WM_COPY, 0, 0);
}

void MainWindow::ClearAddressList() { ListView_DeleteAllItems(listView); }

void MainWindow::AddAddressesFromText() {}

void MainWindow::RebuildList(bool) {}

void MainWindow::ReloadAddressText() {}

void MainWindow::ReadSenderText(WPARAM, LPARAM) {}

void MainWindow::ReleaseAddressList() {}

void MainWindow::SortList(int32_t value, bool) { sortState = value; }

void MainWindow::FindNext(const FINDREPLACEA*) {}

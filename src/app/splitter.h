#pragma once
// The split bar between the result list and the WHOIS text pane.

#include <windows.h>

class Splitter {
  public:
    // Handles WM_PAINT, WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN,
    // WM_LBUTTONUP and WM_SIZE of the main window; returns true when the
    // message was consumed (the cursor was set).
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Until Setup runs the members mean nothing and WM_SIZE is ignored.
    void Setup(HWND window, int position, int topReserve, int bottomReserve, HCURSOR cursor);
    void SetReserves(int topReserve, int bottomReserve);

    int barTop = 0;
    int thickness = 4;
    int position = 21844;  // the list's share of the height, in 1/32767
    int topReserve = 0;
    int bottomReserve = 0;
    HWND window = nullptr;
    bool dragging = false;
    int minimum = 2000;
    int maximum = 30000;
    HCURSOR cursor = nullptr;

  private:
    int AvailableHeight() const;
    bool OverBar(int clientY) const { return clientY >= barTop && clientY < barTop + thickness; }
    void DrawBand(int screenY);
    int ClampBand(int screenY) const;
    int bandY = 0;  // screen y of the band's top while dragging
    int limitTop = 0;
    int limitBottom = 0;
};

#pragma once
// The main window's frame: its child windows (status bar, toolbar, result
// list, WHOIS text pane), the split bar between list and pane, their layout
// and the window's saved placement.

#include <windows.h>

#include "app/splitter.h"

class MainFrame {
  public:
    // Creates the children of window; the list's columns come later.
    void CreateChildren(HWND window);
    // Sets up the split bar once the children exist (position: 1/32767 of
    // the height given to the list).
    void SetupSplitter(int position);
    void Layout();

    // "WinPos": the placement is read before the window is shown.
    WINDOWPLACEMENT& Placement() { return placement; }
    void ApplyPlacement();
    void SavePlacement();

    // The split bar's messages; true when the message was consumed.
    bool HandleSplitterMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int SplitPosition() const { return splitter.position; }
    bool SplitterReady() const { return splitter.window != nullptr; }

    HWND StatusBar() const { return statusBar; }
    HWND Toolbar() const { return toolbar; }
    HWND ListView() const { return listView; }
    HWND TextPane() const { return textPane; }
    void SetStatusText(const char* text);

  private:
    void CreateToolbar();
    void CreateTextPane();

    HWND window = nullptr;
    HWND statusBar = nullptr;
    HWND toolbar = nullptr;
    HWND listView = nullptr;
    HWND textPane = nullptr;
    Splitter splitter;
    WINDOWPLACEMENT placement = {};
};

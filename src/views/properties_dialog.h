#pragma once
// The properties dialog: every column of one result row as a label and a
// read-only field, built when the dialog opens from the two hidden template
// controls of its resource.

#include <windows.h>

#include "framework/dialog_base.h"
#include "views/report_list.h"

// Control ids of the created rows: base + column id.
constexpr int kPropertyLabelIdBase = 2000;
constexpr int kPropertyFieldIdBase = 2100;

// Text colour of the fields: dark blue on white.
constexpr COLORREF kPropertyFieldTextColor = RGB(0, 0, 192);

class PropertiesDialog : public StandardDialog {
  public:
    PropertiesDialog();

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog() override;

    // Set by the caller before DoModal.
    const ReportItem* item = nullptr;
    const ReportList* list = nullptr;
    int linesPerField = 1;
    int rowGap = 4;  // pixels between rows

    // The label width the rows were built with, in pixels.
    int labelWidth = 0;

  private:
    void BuildRows();
};

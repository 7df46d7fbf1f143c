#pragma once
// The address selection dialog (template 109): the text to take addresses
// from, and the options of the next run. It edits a copy of the Options;
// only OK writes them back.

#include <cstdint>

#include "base/text_buffer.h"
#include "framework/dialog_base.h"

struct Options;

class AddressDialog : public StandardDialog {
  public:
    AddressDialog();

    // Copies the address text and the ten options in and out.
    void CopyFrom(const Options& options);
    void CopyTo(Options& options) const;

    void ExchangeData(bool toControls) override;
    INT_PTR OnCommand(int code, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog() override;

    TextBuffer addressText{256};
    int32_t HostNameToIP = 0;
    int32_t LoadOnlyLastIP = 0;
    int32_t Pause = 0;
    int32_t ResolveIPAddr = 0;
    int32_t FindServerByIP = 0;
    int32_t PauseTime = 0;
    int32_t PauseCount = 0;
    int32_t ReuseMaxAddresses = 0;  // the box shows whether it is above 0
    int32_t MaxConversations = 1;
    int32_t UseRdap = 0;

  private:
    void EnablePauseFields();
};

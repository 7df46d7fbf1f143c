#include "app/options_settings.h"

void ExchangeOptionKeys(SettingsFile& f, Options& o) {
    f.ExchangeFlag("ShowGridLines", &o.ShowGridLines, 0);
    f.ExchangeInteger("SaveFilterIndex", &o.SaveFilterIndex, 0);
    f.ExchangeFlag("HostNameToIP", &o.HostNameToIP, 0);
    f.ExchangeFlag("LoadOnlyLastIP", &o.LoadOnlyLastIP, 0);
    f.ExchangeInteger("SplitLoc", &o.SplitLoc, 21844);
    f.ExchangeFlag("ResolveIPAddr", &o.ResolveIPAddr, 1);
    f.ExchangeFlag("Pause", &o.Pause, 0);
    f.ExchangeInteger("PauseTime", &o.PauseTime, 30);
    f.ExchangeInteger("PauseCount", &o.PauseCount, 10);
    f.ExchangeFlag("ShowInfoTip", &o.ShowInfoTip, 1);
    f.ExchangeFlag("FindServerByIP", &o.FindServerByIP, 1);
}

bool IsPlacementPlausible(const int rect[4], const int desktop[4]) {
    const int width = rect[2] - rect[0], height = rect[3] - rect[1];
    return width > 20 && height > 20 && rect[2] > desktop[0] + 5 && rect[1] >= desktop[1] - 10 &&
           rect[0] + 20 < desktop[0] + desktop[2] && rect[1] + 20 < desktop[1] + desktop[3];
}

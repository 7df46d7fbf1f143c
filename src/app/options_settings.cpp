#include "app/options_settings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    static const char* const kBlockedKeys[] = {"ArinBlockedUntil", "RipeBlockedUntil", "ApnicBlockedUntil",
                                               "LacnicBlockedUntil", "AfrinicBlockedUntil"};
    for (int i = 0; i < 5; ++i) {
        char* value = o.BlockedUntil[i];
        if (!f.Reading()) {
            // No key while a registry answers, so that files of users who
            // never met a limit stay as they were.
            if (value[0]) f.ExchangeString(kBlockedKeys[i], value, "", 13);
            if (!value[0]) f.Delete(kBlockedKeys[i]);
            continue;
        }
        char text[32] = {};
        f.ExchangeString(kBlockedKeys[i], text, "", static_cast<int>(sizeof text));
        // Anything but twelve digits blocks nothing.
        bool digits = std::strlen(text) == 12;
        for (int c = 0; digits && c < 12; ++c) digits = std::isdigit(static_cast<unsigned char>(text[c])) != 0;
        std::strcpy(value, digits ? text : "");
    }
    static const char* const kPerMinuteKeys[] = {"ArinQueriesPerMinute", "RipeQueriesPerMinute",
                                                 "ApnicQueriesPerMinute", "LacnicQueriesPerMinute",
                                                 "AfrinicQueriesPerMinute"};
    static const int32_t kPerMinuteDefaults[] = {0, 0, 0, 5, 0};
    for (int i = 0; i < 5; ++i) f.ExchangeInteger(kPerMinuteKeys[i], &o.QueriesPerMinute[i], kPerMinuteDefaults[i]);
    f.ExchangeInteger("ReuseMaxAddresses", &o.ReuseMaxAddresses, 256);
    f.ExchangeInteger("MaxConversations", &o.MaxConversations, 1);
    // One conversation per registry at most, so five at most.
    if (o.MaxConversations < 1) o.MaxConversations = 1;
    if (o.MaxConversations > 5) o.MaxConversations = 5;
    f.ExchangeFlag("UseRdap", &o.UseRdap, 0);
    static const char* const kContactKeys[][2] = {{"RipeDailyContacts", "RipeContactsToday"},
                                                  {"ApnicDailyContacts", "ApnicContactsToday"},
                                                  {"AfrinicDailyContacts", "AfrinicContactsToday"}};
    static const int kContactRegistries[] = {1, 2, 4}, kContactDefaults[] = {900, 900, 4500};
    for (int k = 0; k < 3; ++k) {
        const int i = kContactRegistries[k];
        f.ExchangeInteger(kContactKeys[k][0], &o.DailyContacts[i], kContactDefaults[k]);
        char text[32] = {};
        if (!f.Reading()) {
            // Like the blocks: no key until the registry has sent a contact.
            std::snprintf(text, sizeof text, "%08d,%d", static_cast<int>(o.ContactsDay[i]),
                          static_cast<int>(o.ContactsToday[i]));
            if (o.ContactsDay[i] > 0) f.ExchangeString(kContactKeys[k][1], text, "", static_cast<int>(sizeof text));
            if (o.ContactsDay[i] <= 0) f.Delete(kContactKeys[k][1]);
            continue;
        }
        f.ExchangeString(kContactKeys[k][1], text, "", static_cast<int>(sizeof text));
        // "YYYYMMDD,N" or nothing counted: eight digits, a comma, up to nine digits.
        bool valid = std::strlen(text) >= 10 && std::strlen(text) <= 18 && text[8] == ',';
        for (int c = 0; valid && text[c]; ++c) valid = c == 8 || std::isdigit(static_cast<unsigned char>(text[c]));
        o.ContactsDay[i] = valid ? std::atoi(text) : 0;
        o.ContactsToday[i] = valid ? std::atoi(text + 9) : 0;
    }
}

bool IsPlacementPlausible(const int rect[4], const int desktop[4]) {
    const int width = rect[2] - rect[0], height = rect[3] - rect[1];
    return width > 20 && height > 20 && rect[2] > desktop[0] + 5 && rect[1] >= desktop[1] - 10 &&
           rect[0] + 20 < desktop[0] + desktop[2] && rect[1] + 20 < desktop[1] + desktop[3];
}

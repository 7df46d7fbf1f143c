#include "input/address_extraction.h"

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "input/host_name_resolver.h"
#include "input/reverse_resolve_starter.h"
#include "base/options.h"

const char kAddressSeparators[] = " []@\"{},;:*'()!\r\n\t/";
static_assert(sizeof kAddressSeparators == 20, "19 separators");

bool IsHostNameToken(const char* token) {
    int dots = 0;
    int lettersAndHyphens = 0;
    char previous = '\0';
    for (const char* p = token; *p; ++p) {
        const char c = *p;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-') {
            ++lettersAndHyphens;
        } else if (c == '.') {
            if (previous == '.') return false;
            ++dots;
        } else if (c < '0' || c > '9') {
            return false;
        }
        previous = c;
    }
    return dots > 0 && previous != '.' && lettersAndHyphens >= 3;
}

void AddressList::AddAddressesFromText() {
    const Options& current = CurrentOptions();
    const char* text = current.addressText.Text();
    lastAddress = 0;

    char token[kTokenBufferSize];
    int position = 0;
    while (NextToken(token, kTokenBufferSize - 1, text, kAddressSeparators, &position)) {
        uint32_t address = 0;
        if (ParseDottedQuad(token, &address, 0)) {
            AddAddress(address, nullptr);
        } else if (current.HostNameToIP && resolver && IsHostNameToken(token)) {
            if (resolver->ResolveHostName(token, &address)) AddAddress(address, token);
        }
    }
    if (current.LoadOnlyLastIP && lastAddress != 0) CreateItem(lastAddress, nullptr);

    if (current.ResolveIPAddr && starter) {
        for (int i = 0; i < ItemCount(); ++i) starter->StartResolve(At(i)->ip);
    }
}

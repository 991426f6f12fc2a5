// The check the web-page window makes before its control opens an address:
// only "about:blank" and web pages of the game's own hosts and domain pass.
//
// The address is parsed, not searched: it must be printable ASCII without
// a backslash, its scheme (any letter case) "http" or "https" followed by
// "//", its authority (up to the first '/', '?', '#' or the end) a host with
// an optional port of digits and no user part or percent sign, its host
// made of labels of letters, digits and '-'. The host then passes when it
// equals the host of an allowed prefix (with that prefix's scheme, and the
// prefix's path when it has one) or ends with the allowed domain after at
// least one label of its own. Letter case of scheme and host does not
// matter; anything else is refused.
#pragma once

#include <cstddef>
#include <string_view>

namespace QGUI
{
// Pages the window always may open: scheme, host and, for the last, the
// path below which its pages lie.
constexpr size_t kAllowedWebPrefixCount = 3;
constexpr const char* kAllowedWebPrefixes[kAllowedWebPrefixCount] = {
    "http://www.qxgame.example",
    "https://pay.partner.example",
    "http://help.partner.example/qxgame/",
};
// Every host of this domain may be opened.
constexpr const char* kAllowedWebDomain = ".qxgame.example";

// Limits of a host name, as DNS has them.
constexpr size_t kMaxWebHostLength = 253;
constexpr size_t kMaxWebLabelLength = 63;

// An address taken apart by the rule above; each piece lies inside the
// address, in its own letter case.
struct WebAddress
{
    std::string_view scheme; // "http" or "https"
    std::string_view host;
    std::string_view rest;   // from the end of the authority: path, query, fragment
};

// Takes an address apart; false when it does not have the form above.
bool ParseWebAddress(std::string_view address, WebAddress* out);
// Whether the window may open the address; a null address may not.
bool IsWebAddressAllowed(const char* address);
bool IsWebAddressAllowed(std::string_view address);
} // namespace QGUI

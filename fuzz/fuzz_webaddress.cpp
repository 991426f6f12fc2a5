// Feeds arbitrary text to the web-page window's address check and traps
// when an address it lets through would take a browser anywhere but
// "about:blank" or an allowed host, as an independent, lenient parser (the
// way browser engines read addresses) finds it. A second pass checks that
// an address the check allows still parses to the same pieces.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "BrowserUrlParser.h"
#include "widgets/WebAddressCheck.h"

namespace
{
void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view address(reinterpret_cast<const char*>(data), size);
    if (!QGUI::IsWebAddressAllowed(address))
        return 0;
    Check(browser::GoesToAllowedHost(address));
    QGUI::WebAddress parsed;
    if (QGUI::ParseWebAddress(address, &parsed))
    {
        const browser::Url url = browser::Parse(address);
        Check(browser::LowerText(parsed.scheme) == url.scheme);
        Check(browser::LowerText(parsed.host) == url.host);
    }
    return 0;
}

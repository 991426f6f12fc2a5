#include "widgets/WebAddressCheck.h"

namespace QGUI
{
namespace
{
char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLabelChar(char c)
{
    const char l = Lower(c);
    return (l >= 'a' && l <= 'z') || IsDigit(c) || c == '-';
}

// Printable ASCII, no space and no backslash.
bool IsPlainText(std::string_view text)
{
    for (char c : text)
    {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x21 || u > 0x7E || c == '\\')
            return false;
    }
    return true;
}

bool IsPort(std::string_view port)
{
    if (port.empty() || port.size() > 5)
        return false;
    unsigned value = 0;
    for (char c : port)
    {
        if (!IsDigit(c))
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value >= 1 && value <= 65535;
}

// Labels of letters, digits and '-', none empty.
bool IsHostName(std::string_view host)
{
    if (host.empty() || host.size() > kMaxWebHostLength)
        return false;
    size_t label = 0;
    for (char c : host)
    {
        if (c == '.')
        {
            if (label == 0)
                return false;
            label = 0;
        }
        else if (!IsLabelChar(c) || ++label > kMaxWebLabelLength)
        {
            return false;
        }
    }
    return label != 0;
}

// A path holds a "." or ".." segment, plain or percent-encoded, which a
// browser would resolve out of the folder it names.
bool HasDotSegment(std::string_view path)
{
    for (size_t i = 0; i < path.size(); ++i)
    {
        if (path[i] == '?' || path[i] == '#')
        {
            path = path.substr(0, i);
            break;
        }
    }
    size_t start = 0;
    while (start <= path.size())
    {
        size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        std::string_view segment = path.substr(start, slash - start);
        bool dots = !segment.empty();
        for (size_t i = 0; i < segment.size() && dots;)
        {
            if (segment[i] == '.')
                ++i;
            else if (segment.size() - i >= 3 && EqualsNoCase(segment.substr(i, 3), "%2e"))
                i += 3;
            else
                dots = false;
        }
        if (dots)
            return true;
        start = slash + 1;
    }
    return false;
}

struct AllowedPrefix
{
    bool valid;
    WebAddress address;
};

// The allowed prefixes taken apart once.
const AllowedPrefix* AllowedPrefixes()
{
    static const struct Table
    {
        AllowedPrefix prefixes[kAllowedWebPrefixCount];
        Table()
        {
            for (size_t i = 0; i < kAllowedWebPrefixCount; ++i)
                prefixes[i].valid = ParseWebAddress(kAllowedWebPrefixes[i], &prefixes[i].address);
        }
    } table;
    return table.prefixes;
}

bool MatchesPrefix(const WebAddress& address, const AllowedPrefix& prefix)
{
    if (!prefix.valid)
        return false;
    const WebAddress& allowed = prefix.address;
    if (!EqualsNoCase(address.scheme, allowed.scheme) || !EqualsNoCase(address.host, allowed.host))
        return false;
    if (allowed.rest.empty())
        return true;
    return address.rest.substr(0, allowed.rest.size()) == allowed.rest &&
           !HasDotSegment(address.rest);
}
} // namespace

bool ParseWebAddress(std::string_view address, WebAddress* out)
{
    if (address.empty() || !IsPlainText(address))
        return false;
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view scheme = address.substr(0, colon);
    if (!EqualsNoCase(scheme, "http") && !EqualsNoCase(scheme, "https"))
        return false;
    if (address.substr(colon + 1, 2) != "//")
        return false;
    // The authority runs to the first '/', '?', '#' or the end.
    const size_t start = colon + 3;
    size_t end = start;
    size_t portMark = std::string_view::npos;
    for (; end < address.size(); ++end)
    {
        const char c = address[end];
        if (c == '/' || c == '?' || c == '#')
            break;
        if (c == '@' || c == '%')
            return false;
        if (c == ':' && portMark == std::string_view::npos)
            portMark = end;
    }
    std::string_view host = address.substr(start, end - start);
    if (portMark != std::string_view::npos)
    {
        if (!IsPort(address.substr(portMark + 1, end - portMark - 1)))
            return false;
        host = address.substr(start, portMark - start);
    }
    if (!IsHostName(host))
        return false;
    if (out)
    {
        out->scheme = scheme;
        out->host = host;
        out->rest = address.substr(end);
    }
    return true;
}

bool IsWebAddressAllowed(std::string_view address)
{
    if (EqualsNoCase(address, "about:blank"))
        return true;
    WebAddress parsed;
    if (!ParseWebAddress(address, &parsed))
        return false;
    const AllowedPrefix* prefixes = AllowedPrefixes();
    for (size_t i = 0; i < kAllowedWebPrefixCount; ++i)
        if (MatchesPrefix(parsed, prefixes[i]))
            return true;
    const std::string_view domain(kAllowedWebDomain);
    return parsed.host.size() > domain.size() && EndsWithNoCase(parsed.host, domain);
}

bool IsWebAddressAllowed(const char* address)
{
    return address && IsWebAddressAllowed(std::string_view(address));
}
} // namespace QGUI

// A lenient address parser written the way browser engines read addresses,
// independent of the module's check: it strips what they strip, reads
// backslashes as slashes, takes any number of slashes after a web scheme,
// drops a user part up to the last '@', decodes percent escapes in the
// host and ignores a trailing dot. What it finds is where a browser would
// go; tests and the fuzz target hold the check's answers against it.
#pragma once

#include <string>
#include <string_view>

#include "widgets/WebAddressCheck.h"

namespace browser
{
struct Url
{
    std::string scheme; // lower case; empty when the text has none
    std::string host;   // lower case, decoded; empty when there is none
    std::string rest;   // what follows the authority (or the scheme)
};

inline char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

inline bool IsSpecialScheme(const std::string& s)
{
    return s == "http" || s == "https" || s == "ftp" || s == "ws" || s == "wss" || s == "file";
}

inline Url Parse(std::string_view input)
{
    // Leading and trailing controls and spaces go; tabs and line breaks
    // anywhere go.
    size_t first = 0;
    size_t last = input.size();
    while (first < last && static_cast<unsigned char>(input[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<unsigned char>(input[last - 1]) <= 0x20)
        --last;
    std::string text;
    for (size_t i = first; i < last; ++i)
        if (input[i] != '\t' && input[i] != '\n' && input[i] != '\r')
            text += input[i];

    Url url;
    size_t i = 0;
    const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!text.empty() && isAlpha(text[0]))
    {
        size_t j = 1;
        while (j < text.size() && (isAlpha(text[j]) || (text[j] >= '0' && text[j] <= '9') ||
                                   text[j] == '+' || text[j] == '-' || text[j] == '.'))
            ++j;
        if (j < text.size() && text[j] == ':')
        {
            for (size_t k = 0; k < j; ++k)
                url.scheme += Lower(text[k]);
            i = j + 1;
        }
    }
    if (!IsSpecialScheme(url.scheme))
    {
        // "//host" without a scheme is relative to the current page's
        // scheme and still names a host.
        if (url.scheme.empty() && text.compare(0, 2, "//") == 0)
            i = 0;
        else
        {
            url.rest = text.substr(i);
            return url;
        }
    }
    while (i < text.size() && (text[i] == '/' || text[i] == '\\'))
        ++i;
    size_t end = text.find_first_of("/\\?#", i);
    if (end == std::string::npos)
        end = text.size();
    std::string authority = text.substr(i, end - i);
    url.rest = text.substr(end);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos)
        authority = authority.substr(at + 1);
    std::string host = authority;
    if (host.empty() || host[0] != '[')
    {
        const size_t colon = host.rfind(':');
        if (colon != std::string::npos)
            host = host.substr(0, colon);
    }
    for (size_t k = 0; k < host.size(); ++k)
    {
        if (host[k] == '%' && k + 2 < host.size() && HexValue(host[k + 1]) >= 0 &&
            HexValue(host[k + 2]) >= 0)
        {
            url.host += Lower(static_cast<char>(HexValue(host[k + 1]) * 16 + HexValue(host[k + 2])));
            k += 2;
        }
        else
            url.host += Lower(host[k]);
    }
    if (!url.host.empty() && url.host.back() == '.')
        url.host.pop_back();
    return url;
}

inline std::string LowerText(std::string_view text)
{
    std::string out;
    for (char c : text)
        out += Lower(c);
    return out;
}

// Whether a browser reading the address would stay on "about:blank" or go
// to one of the allowed hosts with a web scheme.
inline bool GoesToAllowedHost(std::string_view address)
{
    const Url url = Parse(address);
    if (url.scheme == "about")
        return LowerText(url.rest) == "blank";
    if (url.scheme != "http" && url.scheme != "https")
        return false;
    for (const char* prefix : QGUI::kAllowedWebPrefixes)
    {
        const Url allowed = Parse(prefix);
        if (allowed.scheme == url.scheme && allowed.host == url.host)
            return true;
    }
    const std::string domain = LowerText(QGUI::kAllowedWebDomain);
    return url.host.size() > domain.size() &&
           url.host.compare(url.host.size() - domain.size(), domain.size(), domain) == 0 &&
           url.host[url.host.size() - domain.size() - 1] != '.';
}
} // namespace browser

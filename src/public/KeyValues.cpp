#include "KeyValues.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "KeyValuesInternal.h"
#include "codepage.h"
#include "keyvaluessystem.h"
#include "strtools.h"
#include "tier0.h"

namespace
{

// A chained tree may chain further; a cycle of chains ends here.
const int kMaxChainDepth = 64;

KeyValues::DestroyObserver s_destroyObserver = nullptr;

// Process-wide conversion buffers of GetString / GetWString.
char s_narrowConversion[512];
char16_t s_wideConversion[512];

char* CopyText(const char* text, size_t length, bool located)
{
    char* copy = static_cast<char*>(located ? g_pMemAlloc->Alloc(length + 1, __FILE__, __LINE__)
                                            : g_pMemAlloc->Alloc(length + 1));
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

char16_t* CopyWideText(const char16_t* text)
{
    size_t length = static_cast<size_t>(WideLength(text));
    char16_t* copy =
        static_cast<char16_t*>(g_pMemAlloc->Alloc((length + 1) * sizeof(char16_t), __FILE__, __LINE__));
    std::memcpy(copy, text, length * sizeof(char16_t));
    copy[length] = u'\0';
    return copy;
}

int ClampToInt(int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// Leading decimal integer of a text: white space, a sign, digits; 0 without
// digits; saturated to the 32-bit range.
template <typename Char>
int LeadingInt(const Char* text)
{
    if (!text)
        return 0;
    const Char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        if (value <= int64_t(1) << 32)
            value = value * 10 + (*p - '0');
    }
    return ClampToInt(negative ? -value : value);
}

float FloatFromDouble(double value)
{
    if (value > 3.4028234663852886e38)
        return HUGE_VALF;
    if (value < -3.4028234663852886e38)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

} // namespace

namespace kvtext
{

NumberScan ScanNumber(const char* text, size_t length)
{
    NumberScan scan{};
    const char* end = text + length;
    const char* p = text;
    scan.intEnd = text;
    scan.floatEnd = text;
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    scan.start = p;
    if (p < end && (*p == '+' || *p == '-'))
        scan.negative = *p++ == '-';
    const char* digits = p;
    uint64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
    {
        if (value <= (uint64_t(1) << 32))
            value = value * 10 + static_cast<uint64_t>(*p - '0');
    }
    scan.magnitude = value;
    bool anyDigits = p > digits;
    if (anyDigits)
        scan.intEnd = p;
    const char* q = p;
    if (q < end && *q == '.')
    {
        const char* fraction = ++q;
        while (q < end && *q >= '0' && *q <= '9')
            ++q;
        anyDigits = anyDigits || q > fraction;
    }
    if (anyDigits)
    {
        scan.floatEnd = q;
        if (q < end && (*q == 'e' || *q == 'E'))
        {
            const char* e = q + 1;
            if (e < end && (*e == '+' || *e == '-'))
                ++e;
            const char* exponent = e;
            while (e < end && *e >= '0' && *e <= '9')
                ++e;
            if (e > exponent)
                scan.floatEnd = e;
        }
    }
    return scan;
}

// A decimal without exponent of at most 15 digits, as digits / 10^fraction:
// both are exact doubles, so the one rounding of the division gives the
// nearest double, as a full conversion does. False for other forms.
bool ParseShortDecimal(const NumberScan& scan, double* value)
{
    static const double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = scan.start;
    if (*p == '+' || *p == '-')
        ++p;
    uint64_t digits = 0;
    int count = 0;
    int fraction = -1; // digits after the point; -1 before it
    for (; p < scan.floatEnd; ++p)
    {
        if (*p == '.')
        {
            fraction = 0;
            continue;
        }
        if (*p < '0' || *p > '9' || ++count > 15)
            return false; // an exponent, or too many digits for the short way
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
        if (fraction >= 0)
            ++fraction;
    }
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction > 0 ? fraction : 0];
    *value = scan.negative ? -magnitude : magnitude;
    return true;
}

bool ParseScannedFloat(const NumberScan& scan, double* value)
{
    if (scan.floatEnd == scan.start)
        return false;
    const char* first = scan.start;
    if (*first == '+')
        ++first;
    if (ParseShortDecimal(scan, value))
        return true;
    auto result = std::from_chars(first, scan.floatEnd, *value, std::chars_format::general);
    if (result.ec == std::errc() && result.ptr == scan.floatEnd)
        return true;
    if (result.ec != std::errc::result_out_of_range)
        return false;
    // Out of the double range: an infinity when the exponent is positive,
    // else zero.
    const char* e = first;
    while (e < scan.floatEnd && *e != 'e' && *e != 'E')
        ++e;
    bool tiny = e < scan.floatEnd && e[1] == '-';
    *value = tiny ? 0.0 : HUGE_VAL;
    if (scan.negative)
        *value = -*value;
    return true;
}

ValueKind ClassifyValue(const char* text, size_t length, int* intValue, float* floatValue)
{
    if (length == 0)
        return VALUE_STRING;
    NumberScan scan = ScanNumber(text, length);
    const char* end = text + length;
    if (scan.floatEnd > scan.intEnd && scan.floatEnd == end)
    {
        double value;
        if (!ParseScannedFloat(scan, &value) || !std::isfinite(value) || std::fabs(value) > 3.4028234663852886e38)
            return VALUE_STRING; // out of the float range: the text is kept as it is
        *floatValue = static_cast<float>(value);
        return VALUE_FLOAT;
    }
    if (scan.intEnd == end)
    {
        const uint64_t limit = scan.negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1;
        if (scan.magnitude > limit)
            return VALUE_STRING; // out of the 32-bit range: the text is kept as it is
        *intValue = static_cast<int>(scan.negative ? -static_cast<int64_t>(scan.magnitude)
                                                   : static_cast<int64_t>(scan.magnitude));
        return VALUE_INT;
    }
    return VALUE_STRING;
}

} // namespace kvtext

// ---------------------------------------------------------------------------
// Construction and destruction

void* KeyValues::operator new(size_t size)
{
    return KeyValuesSystem()->AllocNode(size);
}

void KeyValues::operator delete(void* memory)
{
    KeyValuesSystem()->FreeNode(memory);
}

void KeyValues::Init()
{
    m_iKeyName = -1;
    m_sValue = nullptr;
    m_wsValue = nullptr;
    m_pValue = nullptr;
    m_iDataType = TYPE_NONE;
    m_pPeer = nullptr;
    m_pSub = nullptr;
    m_pChain = nullptr;
    m_bHasEscapeSequences = false;
}

KeyValues::KeyValues(const char* name)
{
    Init();
    // A null name keeps the symbol -1 that Init set, without a look-up.
    if (name)
        SetName(name);
}

KeyValues::KeyValues(const char* name, const char* firstKey, const char* firstValue)
{
    Init();
    SetName(name);
    SetString(firstKey, firstValue);
}

KeyValues::KeyValues(const char* name, const char* firstKey, const char16_t* firstValue)
{
    Init();
    SetName(name);
    SetWString(firstKey, firstValue);
}

KeyValues::KeyValues(const char* name, const char* firstKey, int firstValue)
{
    Init();
    SetName(name);
    SetInt(firstKey, firstValue);
}

KeyValues::KeyValues(const char* name, const char* firstKey, const char* firstValue, const char* secondKey,
                     const char* secondValue)
{
    Init();
    SetName(name);
    SetString(firstKey, firstValue);
    SetString(secondKey, secondValue);
}

KeyValues::KeyValues(const char* name, const char* firstKey, int firstValue, const char* secondKey, int secondValue)
{
    Init();
    SetName(name);
    SetInt(firstKey, firstValue);
    SetInt(secondKey, secondValue);
}

KeyValues::~KeyValues()
{
    if (s_destroyObserver)
        s_destroyObserver(this);
    RemoveEverything();
}

void KeyValues::SetDestroyObserver(DestroyObserver observer)
{
    s_destroyObserver = observer;
}

void KeyValues::deleteThis()
{
    delete this;
}

void KeyValues::FreeStrings()
{
    if (m_sValue)
        g_pMemAlloc->Free(m_sValue);
    if (m_wsValue)
        g_pMemAlloc->Free(m_wsValue);
    m_sValue = nullptr;
    m_wsValue = nullptr;
}

void KeyValues::RemoveEverything()
{
    // Everything this node owns is unlinked onto one work list (threaded
    // through the peer links) and destroyed from there, so neither long peer
    // lists nor deep sub-key chains recurse. Each node is unlinked before it
    // is destroyed, so no node is reached twice.
    KeyValues* pending = nullptr;
    auto take = [&pending](KeyValues* first, const KeyValues* stop) {
        for (KeyValues* node = first; node && node != stop;)
        {
            KeyValues* next = node->m_pPeer;
            node->m_pPeer = pending;
            pending = node;
            node = next;
        }
    };
    take(m_pSub, nullptr);
    take(m_pPeer, this);
    m_pSub = nullptr;
    m_pPeer = nullptr;
    while (pending)
    {
        KeyValues* node = pending;
        pending = node->m_pPeer;
        node->m_pPeer = nullptr;
        take(node->m_pSub, nullptr);
        node->m_pSub = nullptr;
        delete node;
    }
    FreeStrings();
    Init();
}

void KeyValues::Clear()
{
    KeyValues* sub = m_pSub;
    m_pSub = nullptr;
    delete sub; // and, through it, its peers
    m_iDataType = TYPE_NONE;
}

// ---------------------------------------------------------------------------
// Names and navigation

const char* KeyValues::GetName() const
{
    return KeyValuesSystem()->NameForSymbol(m_iKeyName);
}

void KeyValues::SetName(const char* name)
{
    m_iKeyName = KeyValuesSystem()->SymbolForName(name);
}

KeyValues* KeyValues::FindKey(int keySymbol) const
{
    for (KeyValues* sub = m_pSub; sub; sub = sub->m_pPeer)
        if (sub->m_iKeyName == keySymbol)
            return sub;
    return nullptr;
}

KeyValues* KeyValues::FindKey(const char* keyName, bool create)
{
    return FindKeyImpl(keyName, create, 0);
}

KeyValues* KeyValues::FindKeyImpl(const char* keyName, bool create, int chainDepth)
{
    if (!keyName || !*keyName)
        return this;
    KeyValues* node = this;
    const char* part = keyName;
    std::string longPart;
    char shortPart[256];
    for (;;)
    {
        const char* slash = std::strchr(part, '/');
        size_t length = slash ? static_cast<size_t>(slash - part) : std::strlen(part);
        // Each component is looked up by its own symbol; a long one is
        // copied to the heap rather than cut.
        const char* name = shortPart;
        if (length < sizeof(shortPart))
        {
            std::memcpy(shortPart, part, length);
            shortPart[length] = '\0';
        }
        else
        {
            longPart.assign(part, length);
            name = longPart.c_str();
        }
        const int symbol = KeyValuesSystem()->SymbolForName(name);

        KeyValues* last = nullptr;
        KeyValues* found = nullptr;
        for (KeyValues* sub = node->m_pSub; sub; sub = sub->m_pPeer)
        {
            last = sub;
            if (sub->m_iKeyName == symbol)
            {
                found = sub;
                break;
            }
        }
        // A chained tree answers for this one component.
        if (!found && node->m_pChain && chainDepth < kMaxChainDepth)
            found = node->m_pChain->FindKeyImpl(name, false, chainDepth + 1);
        if (!found)
        {
            if (!create)
                return nullptr;
            found = new KeyValues(name);
            if (last)
                last->m_pPeer = found;
            else
                node->m_pSub = found;
            node->m_iDataType = TYPE_NONE;
        }
        if (!slash || !slash[1])
            return found;
        node = found;
        part = slash + 1;
    }
}

KeyValues* KeyValues::CreateNewKey()
{
    int64_t largest = 0;
    for (KeyValues* sub = m_pSub; sub; sub = sub->m_pPeer)
    {
        int value = LeadingInt(sub->GetName());
        if (value > largest)
            largest = value;
    }
    char name[32];
    std::snprintf(name, sizeof(name), "%lld", static_cast<long long>(largest + 1));
    return CreateKey(name);
}

KeyValues* KeyValues::CreateKey(const char* keyName)
{
    KeyValues* key = new KeyValues(keyName);
    key->m_bHasEscapeSequences = m_bHasEscapeSequences;
    KeyValues* last = m_pSub;
    if (!last)
    {
        m_pSub = key;
        return key;
    }
    while (last->m_pPeer)
        last = last->m_pPeer;
    last->m_pPeer = key;
    return key;
}

void KeyValues::RemoveSubKey(KeyValues* subKey)
{
    if (!subKey)
        return;
    if (m_pSub == subKey)
    {
        m_pSub = subKey->m_pPeer;
        subKey->m_pPeer = nullptr;
        return;
    }
    for (KeyValues* sub = m_pSub; sub; sub = sub->m_pPeer)
    {
        if (sub->m_pPeer == subKey)
        {
            sub->m_pPeer = subKey->m_pPeer;
            subKey->m_pPeer = nullptr;
            return;
        }
    }
    // Not a sub-key of this node: its own list is left as it is.
}

// ---------------------------------------------------------------------------
// Typed access

int KeyValues::GetDataType(const char* keyName)
{
    KeyValues* key = FindKey(keyName, false);
    return key ? key->m_iDataType : TYPE_NONE;
}

bool KeyValues::IsEmpty(const char* keyName)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return true;
    return key->m_iDataType == TYPE_NONE && !key->m_pSub;
}

int KeyValues::GetInt(const char* keyName, int defaultValue)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return defaultValue;
    switch (key->m_iDataType)
    {
    case TYPE_STRING:
        return LeadingInt(key->m_sValue);
    case TYPE_WSTRING:
        return LeadingInt(key->m_wsValue);
    case TYPE_FLOAT:
    {
        float value = key->m_flValue;
        if (std::isnan(value))
            return 0;
        if (value >= 2147483648.0f)
            return INT_MAX;
        if (value <= -2147483648.0f)
            return INT_MIN;
        return static_cast<int>(value);
    }
    default:
    {
        // The first four bytes of the value field.
        int32_t value;
        std::memcpy(&value, &key->m_iValue, sizeof(value));
        return value;
    }
    }
}

float KeyValues::GetFloat(const char* keyName, float defaultValue)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return defaultValue;
    switch (key->m_iDataType)
    {
    case TYPE_STRING:
    {
        if (!key->m_sValue)
            return 0.0f;
        kvtext::NumberScan scan = kvtext::ScanNumber(key->m_sValue, std::strlen(key->m_sValue));
        double value;
        if (!kvtext::ParseScannedFloat(scan, &value))
            return 0.0f;
        return FloatFromDouble(value);
    }
    case TYPE_INT:
        return static_cast<float>(key->m_iValue);
    case TYPE_FLOAT:
        return key->m_flValue;
    default:
        return 0.0f;
    }
}

void* KeyValues::GetPtr(const char* keyName, void* defaultValue)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return defaultValue;
    return key->m_iDataType == TYPE_PTR ? key->m_pValue : nullptr;
}

const char* KeyValues::GetString(const char* keyName, const char* defaultValue)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return defaultValue;
    char number[64];
    switch (key->m_iDataType)
    {
    case TYPE_STRING:
        return key->m_sValue ? key->m_sValue : defaultValue;
    case TYPE_INT:
        StrSnprintf(number, sizeof(number), "%d", key->m_iValue);
        break;
    case TYPE_PTR:
        // Pointers are written in full, as a pointer-sized decimal.
        StrSnprintf(number, sizeof(number), "%lld", static_cast<long long>(reinterpret_cast<intptr_t>(key->m_pValue)));
        break;
    case TYPE_FLOAT:
        StrSnprintf(number, sizeof(number), "%f", static_cast<double>(key->m_flValue));
        break;
    case TYPE_WSTRING:
        if (!key->m_wsValue ||
            !WideCharToMultiByte(CP_UTF8, 0, key->m_wsValue, -1, s_narrowConversion, sizeof(s_narrowConversion),
                                 nullptr, nullptr))
            return defaultValue;
        key->SetString(nullptr, s_narrowConversion);
        return key->m_sValue;
    default:
        return defaultValue;
    }
    key->SetString(nullptr, number);
    return key->m_sValue;
}

const char16_t* KeyValues::GetWString(const char* keyName, const char16_t* defaultValue)
{
    KeyValues* key = FindKey(keyName, false);
    if (!key)
        return defaultValue;
    char16_t number[64];
    switch (key->m_iDataType)
    {
    case TYPE_WSTRING:
        return key->m_wsValue ? key->m_wsValue : defaultValue;
    case TYPE_STRING:
        if (!key->m_sValue ||
            !MultiByteToWideChar(CP_UTF8, 0, key->m_sValue, -1, s_wideConversion,
                                 static_cast<int>(sizeof(s_wideConversion) / sizeof(s_wideConversion[0]))))
            return defaultValue;
        key->SetWString(nullptr, s_wideConversion);
        return key->m_wsValue;
    case TYPE_INT:
        WideSprintf(number, 64, u"%d", key->m_iValue);
        break;
    case TYPE_PTR:
        WideSprintf(number, 64, u"%lld", static_cast<long long>(reinterpret_cast<intptr_t>(key->m_pValue)));
        break;
    case TYPE_FLOAT:
        WideSprintf(number, 64, u"%f", static_cast<double>(key->m_flValue));
        break;
    default:
        return defaultValue;
    }
    key->SetWString(nullptr, number);
    return key->m_wsValue;
}

void KeyValues::SetString(const char* keyName, const char* value)
{
    KeyValues* key = FindKey(keyName, true);
    if (!key)
        return;
    if (!value)
        value = "";
    // Copy before freeing: the value may be this key's own text.
    char* copy = CopyText(value, std::strlen(value), false);
    key->FreeStrings();
    key->m_sValue = copy;
    key->m_iDataType = TYPE_STRING;
}

void KeyValues::SetWString(const char* keyName, const char16_t* value)
{
    KeyValues* key = FindKey(keyName, true);
    if (!key)
        return;
    char16_t* copy = CopyWideText(value ? value : u"");
    key->FreeStrings();
    key->m_wsValue = copy;
    key->m_iDataType = TYPE_WSTRING;
}

// The numeric setters drop an earlier text, so that no writer sees it.
void KeyValues::SetInt(const char* keyName, int value)
{
    KeyValues* key = FindKey(keyName, true);
    if (!key)
        return;
    key->FreeStrings();
    key->m_pValue = nullptr;
    key->m_iValue = value;
    key->m_iDataType = TYPE_INT;
}

void KeyValues::SetFloat(const char* keyName, float value)
{
    KeyValues* key = FindKey(keyName, true);
    if (!key)
        return;
    key->FreeStrings();
    key->m_pValue = nullptr;
    key->m_flValue = value;
    key->m_iDataType = TYPE_FLOAT;
}

void KeyValues::SetPtr(const char* keyName, void* value)
{
    KeyValues* key = FindKey(keyName, true);
    if (!key)
        return;
    key->FreeStrings();
    key->m_pValue = value;
    key->m_iDataType = TYPE_PTR;
}

// ---------------------------------------------------------------------------
// Copying

void KeyValues::CopyValueTo(KeyValues* target) const
{
    target->m_iDataType = m_iDataType;
    // The whole value field: int, float, pointer or colour.
    std::memcpy(&target->m_pValue, &m_pValue, sizeof(m_pValue));
    if (m_sValue)
        target->m_sValue = CopyText(m_sValue, std::strlen(m_sValue), true);
    if (m_wsValue)
        target->m_wsValue = CopyWideText(m_wsValue);
}

KeyValues* KeyValues::MakeCopy() const
{
    // The nodes whose sub-keys are still to copy wait on a list, so a deep
    // tree cannot exhaust the call stack.
    KeyValues* copy = new KeyValues(GetName());
    CopyValueTo(copy);
    std::vector<std::pair<const KeyValues*, KeyValues*>> pending;
    pending.emplace_back(this, copy);
    while (!pending.empty())
    {
        const KeyValues* source = pending.back().first;
        KeyValues* target = pending.back().second;
        pending.pop_back();
        KeyValues* last = nullptr;
        for (const KeyValues* sub = source->m_pSub; sub; sub = sub->m_pPeer)
        {
            KeyValues* subCopy = new KeyValues(sub->GetName());
            sub->CopyValueTo(subCopy);
            if (last)
                last->m_pPeer = subCopy;
            else
                target->m_pSub = subCopy;
            last = subCopy;
            if (sub->m_pSub)
                pending.emplace_back(sub, subCopy);
        }
    }
    return copy;
}

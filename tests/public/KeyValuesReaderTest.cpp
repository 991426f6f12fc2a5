// The text reader's names and tokens at their edges: names read again and
// again keep their symbols, many names each find their own, escapes near
// the token limit, decimals read to the nearest float.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "KeyValues.h"
#include "PublicTestSupport.h"
#include "keyvaluessystem.h"

using kvtest::Load;
using kvtest::TreePtr;

namespace
{
TEST(KeyValuesReader, EveryNameKeepsItsOwnSymbolAndValue)
{
    // Thousands of names, short and long, some the start of others, read
    // twice: each key has the symbol the key-values system gives its name.
    std::string text = "r {";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i)
    {
        std::string name = "n" + std::to_string(i);
        if (i % 3 == 1)
            name += std::string(static_cast<size_t>(20 + i % 15), 'x');  // around the cached length
        names.push_back(name);
    }
    names.push_back("ab");
    names.push_back("abc");
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < names.size(); ++i)
            text += " \"" + names[i] + "\" " + std::to_string(i);
    text += " }";
    TreePtr kv = Load(text);

    size_t index = 0;
    for (KeyValues* key = kv->GetFirstSubKey(); key; key = key->GetNextKey(), ++index)
    {
        const std::string& name = names[index % names.size()];
        ASSERT_EQ(key->GetName(), name);
        ASSERT_EQ(key->GetNameSymbol(), KeyValuesSystem()->SymbolForName(name.c_str()));
        ASSERT_EQ(key->GetInt(), static_cast<int>(index % names.size()));
    }
    EXPECT_EQ(index, names.size() * 2);
}

TEST(KeyValuesReader, EscapedAndLongTokens)
{
    struct Case
    {
        std::string text;
        std::string name;
        std::string value;
    };
    const std::string x1022(1022, 'x');
    const std::string x1500(1500, 'x');
    const Case cases[] = {
        // An escaped name, and the plain name it decodes to.
        {"r { \"a\\\"b\" 1 }", "a\"b", "1"},
        {"r { \"a\\\"b\" 1 \"a\\\"b\" 2 }", "a\"b", "1"},
        // An escape that decodes to the token's last kept byte.
        {"r { k \"" + x1022 + "\\nyyy\" }", "k", x1022 + "\n"},
        // An escape beyond the kept bytes.
        {"r { k \"" + x1500 + "\\\"tail\" }", "k", std::string(1023, 'x')},
        // A long name, cut, with an escape past the cut.
        {"r { \"" + x1500 + "\\t\" v }", std::string(1023, 'x'), "v"},
        // A bare value right before a brace and a quote.
        {"r { k abc}", "k", "abc"},
        {"r { k abc\"d\" }", "k", "abc"},
    };
    for (const Case& c : cases)
    {
        TreePtr kv = Load(c.text, true);
        KeyValues* key = kv->GetFirstSubKey();
        ASSERT_NE(key, nullptr) << c.text.substr(0, 40);
        EXPECT_EQ(key->GetName(), c.name) << c.text.substr(0, 40);
        EXPECT_EQ(key->GetString(), c.value) << c.text.substr(0, 40);
    }
}
// Decimals of every digit count around the reader's short conversion (up to
// 15 digits) and past it, with and without sign and point: each reads to the
// very float a full conversion of its text gives.
TEST(KeyValuesReader, DecimalsReadToTheNearestFloat)
{
    uint64_t state = 0x2545F4914F6CDD1Dull;
    auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::vector<std::string> numbers = {"0.0", "-0.0", "+1.5", "5.", ".5", "-.25", "999999999999999.",
                                        "0.000000000000001", "123456789012345.6", "1.00000000000000000001",
                                        "0.1", "0.3", "16777217.0", "-3.4028234e38"};
    for (int i = 0; i < 3000; ++i)
    {
        const int digits = 1 + static_cast<int>(next() % 18);
        const int point = static_cast<int>(next() % static_cast<uint64_t>(digits + 1));
        std::string text = next() % 2 ? "-" : "";
        for (int d = 0; d < digits; ++d)
        {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + next() % 10);
        }
        if (point == digits)
            text += ".0";
        numbers.push_back(text);
    }
    std::string text = "r {";
    for (const std::string& number : numbers)
        text += " v " + number;
    text += " }";
    TreePtr kv = Load(text);
    size_t index = 0;
    for (KeyValues* key = kv->GetFirstSubKey(); key; key = key->GetNextKey(), ++index)
    {
        const std::string& number = numbers[index];
        ASSERT_EQ(key->GetDataType(), KeyValues::TYPE_FLOAT) << number;
        const float read = key->GetFloat();
        const float expected = static_cast<float>(std::strtod(number.c_str(), nullptr));
        ASSERT_EQ(std::memcmp(&read, &expected, sizeof(float)), 0) << number << ": " << read << " != " << expected;
    }
    EXPECT_EQ(index, numbers.size());
}
} // namespace

// The text reader's names and tokens at their edges: names read again and
// again keep their symbols, many names each find their own, escapes near
// the token limit.
#include <gtest/gtest.h>

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
} // namespace

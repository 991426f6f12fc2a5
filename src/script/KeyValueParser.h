// Parsers of messages from the game. The script system creates one parser
// for one message, found by the message's name; the parser owns the message
// from its creation and destroys it with itself.
#pragma once

#include "core/ModuleMemory.h"
#include <new>

class KeyValues;

class IKeyValueParser : public QGUI::CModuleObject
{
public:
    explicit IKeyValueParser(KeyValues* message) : m_pMessage(message) {}
    // Destroys the held message.
    virtual ~IKeyValueParser();

    virtual bool CanHandle() = 0;
    virtual bool Handle() = 0;

protected:
    KeyValues* m_pMessage;

private:
    IKeyValueParser(const IKeyValueParser&) = delete;
    IKeyValueParser& operator=(const IKeyValueParser&) = delete;
};

// Makes a parser class registrable: Create and Destroy form the factory
// record that the script system keeps under a message name.
template <class Interface, class Parser, class Arg>
class LazyCreator
{
public:
    // A new parser holding the argument; null when the allocation fails (the
    // argument then stays with the caller).
    static Interface* Create(Arg arg)
    {
        try
        {
            return new Parser(arg);
        }
        catch (const std::bad_alloc&)
        {
            return nullptr;
        }
    }

    static void Destroy(Interface* parser) { delete parser; }
};

namespace QGUI
{
namespace KEYVAL_PARSER
{
// "_KeyVal_UpdateTitle": accepted and handled without further effect.
class CUpdateTitleParser
    : public IKeyValueParser,
      public LazyCreator<IKeyValueParser, CUpdateTitleParser, KeyValues*>
{
public:
    explicit CUpdateTitleParser(KeyValues* message) : IKeyValueParser(message) {}

    bool CanHandle() override { return true; }
    bool Handle() override { return true; }
};

extern const char* const kUpdateTitleMessage;
} // namespace KEYVAL_PARSER
} // namespace QGUI

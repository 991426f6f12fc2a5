#include "script/KeyValueParser.h"

#include "KeyValues.h"

IKeyValueParser::~IKeyValueParser()
{
    if (m_pMessage)
        m_pMessage->deleteThis();
}

namespace QGUI
{
namespace KEYVAL_PARSER
{
const char* const kUpdateTitleMessage = "_KeyVal_UpdateTitle";
} // namespace KEYVAL_PARSER
} // namespace QGUI

// A call of a named expression: its name, its expression text, how values are exchanged,
// and one flag and one variable name per parameter. One object is used by one thread at a
// time.
//
// Sharing: the name and expression are texts shared between a call and its copies (the same
// pointers) and stay valid as long as any of those calls lives. The two parameter vectors are
// copied; the variable names they point to are not owned by the call: whoever puts a pointer
// there keeps its text alive for as long as the call and its copies use it.
#pragma once

#include <vector>

#include "platform/Export.h"
#include "records/SharedText.h"

class XMK_EXPORT CExpressionCall {
  public:
    // No texts, exchange type 0, no parameters, not initialised.
    CExpressionCall();
    // Takes private copies of the texts (null stays null).
    CExpressionCall(const char* name, const char* expression, unsigned char exchangeType);
    CExpressionCall(const CExpressionCall& other);
    CExpressionCall& operator=(const CExpressionCall& other);
    ~CExpressionCall();

    char* GetName();
    char* GetExpression();
    unsigned char bExchangeType();
    bool bInited();
    std::vector<unsigned char>& GetvecParaFlag();
    std::vector<char*>& GetvecParaVarName();

  protected:
    SharedText m_Name;
    SharedText m_Expression;
    unsigned char m_bExchangeType;
    std::vector<unsigned char> m_vecParaFlag;
    std::vector<char*> m_vecParaVarName;
    bool m_bInited;
};

#include "records/CExpressionCall.h"

CExpressionCall::CExpressionCall() : m_bExchangeType(0), m_bInited(false) {}

CExpressionCall::CExpressionCall(const char* name, const char* expression,
                                 unsigned char exchangeType)
    : m_Name(name), m_Expression(expression), m_bExchangeType(exchangeType), m_bInited(false) {}

CExpressionCall::CExpressionCall(const CExpressionCall& other) = default;

CExpressionCall& CExpressionCall::operator=(const CExpressionCall& other) {
    if (this == &other) return *this;
    m_Name = other.m_Name;
    m_Expression = other.m_Expression;
    m_bExchangeType = other.m_bExchangeType;
    m_vecParaFlag = other.m_vecParaFlag;
    m_vecParaVarName = other.m_vecParaVarName;
    m_bInited = other.m_bInited;
    return *this;
}

CExpressionCall::~CExpressionCall() = default;

char* CExpressionCall::GetName() { return m_Name.Get(); }

char* CExpressionCall::GetExpression() { return m_Expression.Get(); }

unsigned char CExpressionCall::bExchangeType() { return m_bExchangeType; }

bool CExpressionCall::bInited() { return m_bInited; }

std::vector<unsigned char>& CExpressionCall::GetvecParaFlag() { return m_vecParaFlag; }

std::vector<char*>& CExpressionCall::GetvecParaVarName() { return m_vecParaVarName; }

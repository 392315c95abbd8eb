// ServiceRetValue: the three values of a write reply (code, message, data) and their
// judgement: code 1 is silent success, 2 or more success with the message shown, 0 or less
// failure with the message shown.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

class CJosn;

class XMK_EXPORT ServiceRetValue {
  public:
    // Code 0, message and data empty.
    ServiceRetValue();
    ServiceRetValue(const CString& reply);  // NOLINT: implicit, a reply text reads as one
    ServiceRetValue(CJosn& reply);          // NOLINT: implicit
    ServiceRetValue(const ServiceRetValue& other) = default;
    ServiceRetValue& operator=(const ServiceRetValue& other) = default;
    // Moving copies: the source keeps its values.
    ServiceRetValue(ServiceRetValue&& other);
    ServiceRetValue& operator=(ServiceRetValue&& other);

    // Reads code, message and data as the first three values of the reply, in text order.
    // An empty reply (or "{}") reads as code 0 and the message "什么也没有返回", and the data
    // keeps its value. Values the reply does not hold (it is cut short) read as 0 or empty.
    void ReadJosn(const CString& reply);
    // As above, from the document's current cursor; the cursor moves.
    void ReadJosn(CJosn& reply);
    // True for a code of 1 or more; shows the message unless the code is 1.
    bool MessageAndRet() const;

    int m_nRet;
    CString m_strMessage;
    CString m_strData;
};

#include "service/ServiceRetValue.h"

#include "json/CJosn.h"
#include "platform/FrameworkException.h"
#include "platform/MessageBox.h"

namespace {

// What an empty reply reads as: the back-end said nothing at all.
constexpr const char kNothingReturned[] = "什么也没有返回";

}  // namespace

ServiceRetValue::ServiceRetValue() : m_nRet(0) {}

ServiceRetValue::ServiceRetValue(const CString& reply) : m_nRet(0) { ReadJosn(reply); }

ServiceRetValue::ServiceRetValue(CJosn& reply) : m_nRet(0) { ReadJosn(reply); }

ServiceRetValue::ServiceRetValue(ServiceRetValue&& other) : ServiceRetValue(other) {}

ServiceRetValue& ServiceRetValue::operator=(ServiceRetValue&& other) { return *this = other; }

void ServiceRetValue::ReadJosn(const CString& reply) {
    CJosn document(reply);
    ReadJosn(document);
}

void ServiceRetValue::ReadJosn(CJosn& reply) {
    if (reply.IsEmpty()) {
        // The data text is left alone, so a caller reusing the envelope keeps it.
        m_nRet = 0;
        m_strMessage = kNothingReturned;
        return;
    }
    // The member names are never looked at: code, message and data are the first three values.
    int code = 0;
    CString message;
    CString data;
    try {
        reply.pop(code);
        reply.pop(message);
        reply.pop(data);
    } catch (const CInvalidArgException&) {
        // A reply cut off right after a colon: what could not be read stays 0 or empty, as a
        // value that does not convert would. A bad reply is the back-end's, not the caller's.
    }
    m_nRet = code;
    m_strMessage = message;
    m_strData = data;
}

bool ServiceRetValue::MessageAndRet() const {
    if (m_nRet == 1) return true;
    AfxMessageBox(m_strMessage, MB_OK);
    return m_nRet >= 1;
}

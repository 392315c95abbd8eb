#include "datastore/CDataStore.h"

CDataStore::CDataStore(const CString& areaCode, long lParam)
    : m_strAreaCode(areaCode), m_lParam(lParam) {}

CDataStore::CDataStore(const CString& areaCode, long lParam, const CString& url)
    : m_strAreaCode(areaCode), m_lParam(lParam), m_strUrl(url) {}

CDataStore::CDataStore(const CDataStore& other)
    : m_strAreaCode(other.m_strAreaCode), m_lParam(other.m_lParam), m_strUrl(other.m_strUrl) {}

CDataStore& CDataStore::operator=(const CDataStore& other) {
    m_strAreaCode = other.m_strAreaCode;
    m_lParam = other.m_lParam;
    m_strUrl = other.m_strUrl;
    return *this;
}

CDataStore::~CDataStore() {}

CString CDataStore::GetAreaCode() const { return m_strAreaCode; }

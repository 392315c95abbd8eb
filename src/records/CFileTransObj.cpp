#include "records/CFileTransObj.h"

#include <cstring>

CFileTransObj::CFileTransObj() : m_id(), m_lLocalSize(0), m_lRemoteSize(0) {}

CFileTransObj::CFileTransObj(const _GUID& id, long localSize, long remoteSize)
    : m_id(id), m_lLocalSize(localSize), m_lRemoteSize(remoteSize) {}

CFileTransObj::CFileTransObj(const CFileTransObj& other) = default;

CFileTransObj::CFileTransObj(CFileTransObj&& other) = default;

CFileTransObj& CFileTransObj::operator=(const CFileTransObj& other) = default;

CFileTransObj& CFileTransObj::operator=(CFileTransObj&& other) = default;

CFileTransObj::~CFileTransObj() = default;

int CFileTransObj::bEqual(_GUID& id) { return std::memcmp(&m_id, &id, sizeof(_GUID)) == 0 ? 1 : 0; }

long CFileTransObj::GetFileSize(bool local) { return local ? m_lLocalSize : m_lRemoteSize; }

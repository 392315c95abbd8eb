#include "records/CFtpFileTask.h"

CFtpFileTask::CFtpFileTask() : m_key(), m_bStatus(0) {}

CFtpFileTask::CFtpFileTask(const char* localFile, const char* remoteFile, const _GUID& key)
    : m_LocalFile(localFile), m_RemoteFile(remoteFile), m_key(key), m_bStatus(0) {}

CFtpFileTask::CFtpFileTask(const CFtpFileTask& other) = default;

CFtpFileTask& CFtpFileTask::operator=(const CFtpFileTask& other) = default;

CFtpFileTask::~CFtpFileTask() = default;

char* CFtpFileTask::GetLocalFile() { return m_LocalFile.Get(); }

char* CFtpFileTask::GetRemoteFile() { return m_RemoteFile.Get(); }

_GUID& CFtpFileTask::GetkeyGUID() { return m_key; }

unsigned char CFtpFileTask::bStatus() { return m_bStatus; }

void CFtpFileTask::SetStatus(unsigned char status) { m_bStatus = status; }

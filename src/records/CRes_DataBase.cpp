#include "records/CRes_DataBase.h"

CRes_DataBase::CRes_DataBase(bool sqlServer, bool dbModel, unsigned char status)
    : m_bSQLServer(sqlServer), m_bDBModel(dbModel), m_bStatus(status) {}

CRes_DataBase::~CRes_DataBase() = default;

bool CRes_DataBase::bSQLServer() { return m_bSQLServer; }

bool CRes_DataBase::GetDBModel() { return m_bDBModel; }

unsigned char CRes_DataBase::bStatus() { return m_bStatus; }

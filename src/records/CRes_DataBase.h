// The row library's database resource; this class carries its connection kind, database
// model and status. One object is used by one thread at a time.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CRes_DataBase {
  public:
    CRes_DataBase(bool sqlServer = false, bool dbModel = false, unsigned char status = 0);
    ~CRes_DataBase();

    bool bSQLServer();
    bool GetDBModel();
    unsigned char bStatus();

  protected:
    bool m_bSQLServer;
    bool m_bDBModel;
    unsigned char m_bStatus;
};

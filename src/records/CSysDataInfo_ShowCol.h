// A system data row that also carries the column it is shown in. A value; one object is used
// by one thread at a time.
#pragma once

#include "gridcore/CSysDataInfo.h"
#include "platform/Export.h"

class XMK_EXPORT CSysDataInfo_ShowCol : public CSysDataInfo {
  public:
    CSysDataInfo_ShowCol();
    CSysDataInfo_ShowCol(const CSysDataInfo_ShowCol& other);
    ~CSysDataInfo_ShowCol() override;

  protected:
    int m_nShowCol;
};

// A system data row that grants a right: the kind, right and tree ids it applies to. A value;
// one object is used by one thread at a time.
#pragma once

#include "gridcore/CSysDataInfo.h"
#include "platform/Export.h"

class XMK_EXPORT CSysDataInfoRightCode : public CSysDataInfo {
  public:
    // All three ids 0.
    CSysDataInfoRightCode();
    CSysDataInfoRightCode(long kindID, long rightID, long treeID);
    CSysDataInfoRightCode(const CSysDataInfoRightCode& other);
    // Copies: the source keeps all its values.
    CSysDataInfoRightCode(CSysDataInfoRightCode&& other);
    ~CSysDataInfoRightCode() override;

    virtual long GetKindID();
    virtual long GetRightID();
    virtual long GetTreeID();
    // The class name "CSysDataInfoRightCode". The text is static: callers must not modify it.
    virtual char* GetClassNameA();

  private:
    long m_lKindID;
    long m_lRightID;
    long m_lTreeID;
};

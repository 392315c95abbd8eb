// A table row of the tree of bill-of-quantities objects. This class gives the answers of a
// plain leaf row; derived rows override what they know better. A value; one object is used by
// one thread at a time.
#pragma once

#include "gridcore/CTableRow.h"
#include "gridcore/RowTypes.h"
#include "platform/Export.h"

class XMK_EXPORT CTarvex_Obj : public CTableRow {
  public:
    CTarvex_Obj();
    CTarvex_Obj(const CTarvex_Obj& other);
    ~CTarvex_Obj() override;

    virtual bool isLeaf();
    virtual double GetAreas();
    virtual DT_CateKind GetCateKind();
    virtual QDKind GetQDKind_();
    virtual bool bOATaskUnit();
    virtual bool bRootNode();
    virtual const char* getCheckResult_cstr();
    virtual void SetColor_no_recursion(unsigned long& color);
    virtual long getqdparamScopeID();
};

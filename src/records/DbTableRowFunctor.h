// A visitor over the rows of a table: the walker calls operator() for each row, StepIn and
// StepOut around each level, and stops when IsReturn() turns true. This class does nothing;
// derived visitors override the operations they need.
// The destructor is not virtual: never delete a derived visitor through a pointer to this
// class (visitors normally live on the caller's stack).
#pragma once

#include "platform/Export.h"

class CTableRow;

class XMK_EXPORT DbTableRowFunctor {
  public:
    // The return flag starts false.
    DbTableRowFunctor();
    DbTableRowFunctor(const DbTableRowFunctor& other);
    DbTableRowFunctor(DbTableRowFunctor&& other);
    DbTableRowFunctor& operator=(const DbTableRowFunctor& other);
    DbTableRowFunctor& operator=(DbTableRowFunctor&& other);
    ~DbTableRowFunctor();

    void SetReturn(bool value);

    virtual void operator()(CTableRow* parent, CTableRow& row);
    virtual void StepIn();
    virtual void StepOut();
    // Leaving the level of `row`: calls StepOut(), a derived visitor's if it has one.
    virtual void StepOutByObj(CTableRow* row);
    virtual bool IsReturn();
    virtual long GetTableKind();

  private:
    bool m_bReturn;
};

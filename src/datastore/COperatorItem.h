// COperatorItem: a record handed to a write of the data store. Applications derive their
// record classes from it; the store calls these operations during one write and keeps no
// reference to the item afterwards. Operations that a const item allows are const.
#pragma once

#include "datastore/XmkFunctionId.h"
#include "platform/CString.h"
#include "platform/Export.h"

class CJosn;

class XMK_EXPORT COperatorItem {
  public:
    COperatorItem();
    // An item holds no data here: copying copies nothing.
    COperatorItem(const COperatorItem& other);
    COperatorItem& operator=(const COperatorItem& other);
    virtual ~COperatorItem() = 0;

    // The record's function id: selects how it is written and is sent as "FunctionID".
    virtual XmkFunctionId GetFunctionId() const = 0;
    // The record's id; the only argument of a delete of the kinds with their own methods.
    virtual CString GetItemId() const = 0;
    // Write the new record's members at the document's cursor.
    virtual void WriteInsertValues(CJosn& request) = 0;
    // Write the members to update at the cursor. `flag` is 1 for the kinds with their own
    // methods and 0 otherwise. False: there is nothing to send.
    virtual bool WriteUpdateValues(CJosn& request, int flag) = 0;
    virtual void WriteAuditValues(CJosn& request) const = 0;
    // Write the members that select the records to delete at the cursor.
    virtual void WriteDeleteKeys(CJosn& request) const = 0;
    // Receives the data of a successful insert reply (the new id or number).
    virtual void SetNewId(const CString& id) = 0;
    // Numbers the record before an insert; false stops the insert.
    virtual bool MakeNumber() = 0;
    virtual void BeforeInsert() = 0;
    virtual void BeforeUpdate() = 0;
    virtual void AfterDelete() const = 0;
    virtual void AfterInsert() = 0;
    // The table of a generic object, sent as "TableName".
    virtual CString GetTableName() const = 0;
    // Further members written after the Permission block; `code` tells which write asks.
    virtual void WriteExtraValues(CJosn& request, int code) const = 0;
};

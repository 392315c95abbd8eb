// A record item for the data store's writes whose members the test sets, and one-member
// query conditions.
#pragma once

#include <vector>

#include "datastore/COperatorItem.h"
#include "datastore/ServiceConditionJosn.h"
#include "json/CJosn.h"

// One member an item writes: a text, or a number when `isText` is false.
struct ItemValue {
    CString name;
    CString text;
    int number = 0;
    bool isText = true;
};

inline ItemValue TextMember(const char* name, const CString& text) { return {name, text}; }
inline ItemValue NumberMember(const char* name, int number) { return {name, "", number, false}; }

// A record whose members and hooks are set by the test; it counts the hooks called.
class TestItem : public COperatorItem {
  public:
    explicit TestItem(int functionId, std::vector<ItemValue> values = {})
        : functionId_(functionId), values_(std::move(values)) {}

    XmkFunctionId GetFunctionId() const override { return XmkFunctionId(functionId_); }
    CString GetItemId() const override { return itemId; }
    void WriteInsertValues(CJosn& request) override { Write(request, values_); }
    bool WriteUpdateValues(CJosn& request, int) override {
        Write(request, values_);
        return !values_.empty();
    }
    void WriteAuditValues(CJosn& request) const override { Write(request, values_); }
    void WriteDeleteKeys(CJosn& request) const override { Write(request, deleteKeys); }
    void SetNewId(const CString& id) override { newId = id; }
    bool MakeNumber() override { return true; }
    void BeforeInsert() override {}
    void BeforeUpdate() override {}
    void AfterDelete() const override { ++afterDelete; }
    void AfterInsert() override { ++afterInsert; }
    CString GetTableName() const override { return tableName; }
    void WriteExtraValues(CJosn&, int) const override {}

    CString itemId;
    CString tableName;
    std::vector<ItemValue> deleteKeys;
    CString newId;
    int afterInsert = 0;
    mutable int afterDelete = 0;

  private:
    static void Write(CJosn& request, const std::vector<ItemValue>& values) {
        for (const ItemValue& v : values) {
            v.isText ? request.push(v.name, v.text) : request.push(v.name, v.number);
        }
    }

    int functionId_;
    std::vector<ItemValue> values_;
};

// A query condition holding one member.
template <typename T>
ServiceConditionJosn Cond(const char* name, T value) {
    ServiceConditionJosn c;
    c.push(name, value);
    return c;
}

// The end-to-end fixture: a back-end with an in-memory store on a free port of 127.0.0.1 as
// the project-library URL, the Permission block's host identity (user 12, application id 5,
// type 3) and a recording presenter; a record item and one-member query conditions.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "BackendServer.h"
#include "config/CIniManager.h"
#include "datastore/COperatorItem.h"
#include "datastore/ServiceConditionJosn.h"
#include "service/CWebService.h"
#include "support/FixedServiceSupport.h"
#include "support/RecordingPresenter.h"

class BackendFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server_.Start(0, &error)) << error;
        CIniManager::Instance().SetStrBzkWebService(Url());
        CWebService::instance().SetServiceSupport(new FixedServiceSupport);
    }

    CString Url() const { return CString(server_.Url()); }

    BackendServer server_;
    RecordingPresenter presenter_;
};

// A record that writes the members of `values` (an object in the library's JSON) for every
// write, and `deleteKeys` for a delete by conditions.
class TestItem : public COperatorItem {
  public:
    TestItem(int functionId, const std::string& values)
        : functionId_(functionId), values_(CString(values)) {}

    XmkFunctionId GetFunctionId() const override { return XmkFunctionId(functionId_); }
    CString GetItemId() const override { return itemId; }
    void WriteInsertValues(CJosn& request) override { request += values_; }
    bool WriteUpdateValues(CJosn& request, int) override {
        request += values_;
        return true;
    }
    void WriteAuditValues(CJosn& request) const override { request += values_; }
    void WriteDeleteKeys(CJosn& request) const override { request += deleteKeys; }
    void SetNewId(const CString& id) override { newId = id; }
    bool MakeNumber() override { return true; }
    void BeforeInsert() override {}
    void BeforeUpdate() override {}
    void AfterDelete() const override {}
    void AfterInsert() override {}
    CString GetTableName() const override { return tableName; }
    void WriteExtraValues(CJosn&, int) const override {}

    CString itemId;
    CString tableName;
    CJosn deleteKeys;
    CString newId;

  private:
    int functionId_;
    CJosn values_;
};

// A query condition holding one member.
template <typename T>
ServiceConditionJosn Cond(const char* name, T value) {
    ServiceConditionJosn c;
    c.push(name, value);
    return c;
}

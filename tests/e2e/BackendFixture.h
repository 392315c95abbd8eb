// The end-to-end fixture: a back-end with an in-memory store on a free port of 127.0.0.1 as
// the project-library URL, the Permission block's host identity (user 12, application id 5,
// type 3) and a recording presenter; a record item and one-member query conditions.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "BackendServer.h"
#include "datastore/ServiceConditionJosn.h"
#include "support/ServiceTesting.h"

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
class TestItem : public RecordingItem {
  public:
    TestItem(int functionId, const std::string& values)
        : RecordingItem(functionId), values_(CString(values)) {}

    void WriteInsertValues(CJosn& request) override { request += values_; }
    bool WriteUpdateValues(CJosn& request, int) override {
        request += values_;
        return true;
    }
    void WriteAuditValues(CJosn& request) const override { request += values_; }
    void WriteDeleteKeys(CJosn& request) const override { request += deleteKeys; }

    CJosn deleteKeys;

  private:
    CJosn values_;
};

// A query condition holding one member.
template <typename T>
ServiceConditionJosn Cond(const char* name, T value) {
    ServiceConditionJosn c;
    c.push(name, value);
    return c;
}

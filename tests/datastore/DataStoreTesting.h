// Shared by the data-store suites: a record item that logs every operation the store calls
// and writes configurable members, a support object with fixed identities, a fixture that
// installs them with a recording transport and presenter, and a whole-call view of WebCall.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "datastore/CDataStoreWebService.h"
#include "datastore/COperatorItem.h"
#include "json/CJosn.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "support/CStringPrinter.h"
#include "support/FixedServiceSupport.h"
#include "support/RecordingPresenter.h"
#include "support/RecordingTransport.h"

using Members = std::vector<std::pair<CString, CString>>;
using Calls = std::vector<std::string>;

class RecordingItem : public COperatorItem {
  public:
    explicit RecordingItem(int id) : functionId(static_cast<XmkFunctionId>(id)) {}

    XmkFunctionId GetFunctionId() const override { return Logged("GetFunctionId", functionId); }
    CString GetItemId() const override { return Logged("GetItemId", itemId); }
    void WriteInsertValues(CJosn& request) override {
        Write("WriteInsertValues", request, insertValues);
    }
    bool WriteUpdateValues(CJosn& request, int flag) override {
        Write("WriteUpdateValues(" + std::to_string(flag) + ")", request, updateValues);
        return hasUpdate;
    }
    void WriteAuditValues(CJosn& request) const override {
        Write("WriteAuditValues", request, auditValues);
    }
    void WriteDeleteKeys(CJosn& request) const override {
        Write("WriteDeleteKeys", request, deleteKeys);
    }
    void SetNewId(const CString& id) override { newId = Logged("SetNewId(" + id.Str() + ")", id); }
    bool MakeNumber() override { return Logged("MakeNumber", numbered); }
    void BeforeInsert() override { Log("BeforeInsert"); }
    void BeforeUpdate() override { Log("BeforeUpdate"); }
    void AfterDelete() const override { Log("AfterDelete"); }
    void AfterInsert() override { Log("AfterInsert"); }
    CString GetTableName() const override { return Logged("GetTableName", tableName); }
    void WriteExtraValues(CJosn& request, int code) const override {
        Write("WriteExtraValues(" + std::to_string(code) + ")", request, extraValues);
    }

    XmkFunctionId functionId;
    CString itemId;
    CString tableName;
    bool numbered = true;
    bool hasUpdate = true;
    Members insertValues, updateValues, auditValues, deleteKeys, extraValues;
    CString newId;
    mutable Calls calls;

  private:
    void Log(const std::string& call) const { calls.push_back(call); }
    template <typename T>
    T Logged(const std::string& call, T value) const {
        Log(call);
        return value;
    }
    void Write(const std::string& call, CJosn& request, const Members& members) const {
        Log(call);
        for (const auto& member : members) request.push(member.first, member.second);
    }
};

// A call as one text, "METHOD(NAME=VALUE;...)", for whole-call comparisons.
inline std::string Rendered(const WebCall& call) {
    std::string text = call.method.Str() + "(";
    for (size_t i = 0; i < call.arguments.size(); ++i) {
        text +=
            (i ? ";" : "") + call.arguments[i].first.Str() + "=" + call.arguments[i].second.Str();
    }
    return text + ")";
}

constexpr char kStoreUrl[] = "http://store.example/svc";
constexpr char kConfiguredUrl[] = "http://configured.example/url2";

// Installs the fixed support object, the configured project-library URL, a recording
// transport and a recording presenter; restores them all afterwards.
class DataStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedUrl_ = CIniManager::Instance().GetBzkWebService();
        CIniManager::Instance().SetStrBzkWebService(kConfiguredUrl);
        CWebService::instance().SetServiceSupport(new FixedServiceSupport);
    }
    void TearDown() override {
        CWebService::instance().SetServiceSupport(nullptr);
        CIniManager::Instance().SetStrBzkWebService(savedUrl_);
    }

    // Every call sent so far, rendered.
    std::vector<std::string> Sent() const {
        std::vector<std::string> calls;
        for (const WebCall& call : transport.Calls()) calls.push_back(Rendered(call));
        return calls;
    }
    // The one call sent; fails the test when there was not exactly one.
    std::string OnlyCall() const {
        EXPECT_EQ(1u, transport.CallCount());
        return transport.CallCount() == 0 ? std::string() : Rendered(transport.Call(0));
    }
    std::vector<CString> Shown() const { return presenter.Texts(); }

    RecordingTransport transport;
    RecordingPresenter presenter;
    const CDataStoreWebService store{"A1", 77, kStoreUrl};
    const CDataStoreWebService unconfiguredStore{"A1", 77};

  private:
    CString savedUrl_;
};

// Spelled out: a braced {} would also match the parameter overloads of the store's queries.
const std::vector<ServiceConditionJosn> kNoConditions;

// Reply texts of the write judgement.
constexpr char kReplyOk[] = "{Ret:1,Message:\"fine\",Data:\"57\"}";
constexpr char kReplyWarn[] = "{Ret:2,Message:\"check it\",Data:\"58\"}";
constexpr char kReplyFail[] = "{Ret:0,Message:\"refused\",Data:\"\"}";
constexpr char kReplyNegative[] = "{Ret:-1,Message:\"broken\",Data:\"\"}";
constexpr char kNothingReturned[] = "什么也没有返回";
constexpr char kMissingUrl[] = "缺少项目库url";

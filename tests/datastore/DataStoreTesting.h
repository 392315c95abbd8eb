// Shared by the data-store suites: a record item that logs every operation the store calls
// and writes configurable members, a support object with fixed identities, a fixture that
// installs them with a recording transport and presenter, and a whole-call view of WebCall.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
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
#include "support/RecordingPresenter.h"
#include "support/RecordingTransport.h"

// User id 12, application type 3, application id 5.
class FixedServiceSupport : public CServiceSupport {
  public:
    long GetAppId() override { return 5; }
    long GetUserDogId() override { return 12; }
    long GetAppType() const override { return 3; }
};

using Members = std::vector<std::pair<CString, CString>>;

class RecordingItem : public COperatorItem {
  public:
    explicit RecordingItem(XmkFunctionId id) : functionId(id) {}

    XmkFunctionId GetFunctionId() const override {
        Log("GetFunctionId");
        return functionId;
    }
    CString GetItemId() const override {
        Log("GetItemId");
        return itemId;
    }
    void WriteInsertValues(CJosn& request) override {
        Log("WriteInsertValues");
        Write(request, insertValues);
    }
    bool WriteUpdateValues(CJosn& request, int flag) override {
        Log("WriteUpdateValues(" + std::to_string(flag) + ")");
        Write(request, updateValues);
        return hasUpdate;
    }
    void WriteAuditValues(CJosn& request) const override {
        Log("WriteAuditValues");
        Write(request, auditValues);
    }
    void WriteDeleteKeys(CJosn& request) const override {
        Log("WriteDeleteKeys");
        Write(request, deleteKeys);
    }
    void SetNewId(const CString& id) override {
        Log("SetNewId(" + id.Str() + ")");
        newId = id;
    }
    bool MakeNumber() override {
        Log("MakeNumber");
        return numbered;
    }
    void BeforeInsert() override { Log("BeforeInsert"); }
    void BeforeUpdate() override { Log("BeforeUpdate"); }
    void AfterDelete() const override { Log("AfterDelete"); }
    void AfterInsert() override { Log("AfterInsert"); }
    CString GetTableName() const override {
        Log("GetTableName");
        return tableName;
    }
    void WriteExtraValues(CJosn& request, int code) const override {
        Log("WriteExtraValues(" + std::to_string(code) + ")");
        Write(request, extraValues);
    }

    XmkFunctionId functionId;
    CString itemId;
    CString tableName;
    bool numbered = true;
    bool hasUpdate = true;
    Members insertValues, updateValues, auditValues, deleteKeys, extraValues;
    CString newId;
    mutable std::vector<std::string> calls;

  private:
    void Log(const std::string& call) const { calls.push_back(call); }
    static void Write(CJosn& request, const Members& members) {
        for (const auto& member : members) request.push(member.first, member.second);
    }
};

// What one remote call carried, compared as a whole.
struct CallView {
    std::string url;
    std::string method;
    std::vector<std::pair<std::string, std::string>> arguments;

    bool operator==(const CallView& other) const {
        return url == other.url && method == other.method && arguments == other.arguments;
    }
};

inline void PrintTo(const CallView& call, std::ostream* os) {
    *os << call.url << " " << call.method << "(";
    for (const auto& argument : call.arguments) {
        *os << argument.first << "=" << argument.second << ";";
    }
    *os << ")";
}

inline CallView ViewOf(const WebCall& call) {
    CallView view{call.url.Str(), call.method.Str(), {}};
    for (const auto& argument : call.arguments) {
        view.arguments.emplace_back(argument.first.Str(), argument.second.Str());
    }
    return view;
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

    // Every call sent so far, as views.
    std::vector<CallView> Sent() const {
        std::vector<CallView> views;
        for (const WebCall& call : transport.Calls()) views.push_back(ViewOf(call));
        return views;
    }
    // The one call sent; fails the test when there was not exactly one.
    CallView OnlyCall() const {
        EXPECT_EQ(1u, transport.CallCount());
        return transport.CallCount() == 0 ? CallView() : ViewOf(transport.Call(0));
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

// Shared by the service and data-store suites: a whole-call text of what crossed the
// transport, a record item that logs what the store asks of it, and fixtures that record the
// transport and the message boxes and restore the configuration and the support object.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "datastore/CDataStoreWebService.h"
#include "datastore/COperatorItem.h"
#include "json/CJosn.h"
#include "service/CWebService.h"
#include "support/CStringPrinter.h"
#include "support/FixedServiceSupport.h"
#include "support/RecordingPresenter.h"
#include "support/RecordingTransport.h"
#include "support/TempDir.h"

using Texts = std::vector<CString>;
using Strings = std::vector<std::string>;
using Members = std::vector<std::pair<CString, CString>>;

// "URL METHOD(NAME=VALUE;...)"; a call of any interface other than the project library's
// "UniteInterface" begins with its namespace and interface.
inline std::string Rendered(const WebCall& call) {
    std::string text = call.url.Str() + " " + call.method.Str() + "(";
    for (size_t i = 0; i < call.arguments.size(); ++i) {
        text +=
            (i ? ";" : "") + call.arguments[i].first.Str() + "=" + call.arguments[i].second.Str();
    }
    if (call.nameSpace != "http://tempuri.org/" || call.service != "UniteInterface") {
        text = call.nameSpace.Str() + " " + call.service.Str() + " " + text;
    }
    return text + ")";
}

// A record item that logs what the store asks of it and writes the members it is given.
class RecordingItem : public COperatorItem {
  public:
    explicit RecordingItem(int id) : functionId(static_cast<XmkFunctionId>(id)) {}

    XmkFunctionId GetFunctionId() const override { return Log("GetFunctionId", functionId); }
    CString GetItemId() const override { return Log("GetItemId", itemId); }
    void WriteInsertValues(CJosn& request) override { Write("Insert", request, values); }
    bool WriteUpdateValues(CJosn& request, int flag) override {
        Write("Update" + std::to_string(flag), request, values);
        return hasUpdate;
    }
    void WriteAuditValues(CJosn& request) const override { Write("Audit", request, values); }
    void WriteDeleteKeys(CJosn& request) const override { Write("DeleteKeys", request, values); }
    void SetNewId(const CString& id) override { newId = Log("SetNewId", id); }
    bool MakeNumber() override { return Log("MakeNumber", numbered); }
    void BeforeInsert() override { Log("BeforeInsert"); }
    void BeforeUpdate() override { Log("BeforeUpdate"); }
    void AfterDelete() const override { Log("AfterDelete"); }
    void AfterInsert() override { Log("AfterInsert"); }
    CString GetTableName() const override { return Log("GetTableName", tableName); }
    void WriteExtraValues(CJosn& request, int code) const override {
        Write("Extra" + std::to_string(code), request, extraValues);
    }

    XmkFunctionId functionId;
    CString itemId, tableName, newId;
    bool numbered = true, hasUpdate = true;
    Members values, extraValues;  // what the item writes: its members, and after Permission
    mutable std::string calls;    // what the store asked, in order, space-separated

  private:
    template <typename T = int>
    T Log(const std::string& call, T value = T()) const {
        calls += (calls.empty() ? "" : " ") + call;
        return value;
    }
    void Write(const std::string& call, CJosn& request, const Members& members) const {
        Log(call);
        for (const auto& member : members) request.push(member.first, member.second);
    }
};

// The Permission block of user 12 in `area`; `rest` follows "FunctionType".
inline std::string Permission(int appId, long functionId, int type, const std::string& rest = "",
                              const std::string& area = "A1") {
    return "Permission:{UserID:12,AppID:" + std::to_string(appId) +
           ",FunctionID:" + std::to_string(functionId) + ",FunctionType:" + std::to_string(type) +
           rest + ",IsrtAreaCode:\"" + area + "\"}";
}

// " DoWork(...)" of a query through the uniform operation.
inline std::string Uniform(const std::string& conditions, long functionId) {
    return " DoWork(jsonInput={Conditions:{" + conditions + "}," + Permission(3, functionId, 0) +
           "})";
}

constexpr char kStoreUrl[] = "http://s/";
constexpr char kConfiguredUrl[] = "http://url2/";
constexpr char kNothingReturned[] = "什么也没有返回";
constexpr char kMissingUrl[] = "缺少项目库url";

// Records the transport and the boxes; the configured project-library URL is kConfiguredUrl.
// Restores the configuration and leaves no support object installed afterwards.
class ServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedIni_ = CIniManager::Instance();
        CIniManager::Instance().SetStrBzkWebService(kConfiguredUrl);
    }
    void TearDown() override {
        CWebService::instance().SetServiceSupport(nullptr);
        CIniManager::Instance() = savedIni_;
    }

    // Loads only the given keys, as the section of the area in use.
    void Configure(const std::map<std::string, std::string>& keys) {
        std::string text = "[Area_test]\n";
        for (const auto& key : keys) text += key.first + "=" + key.second + "\n";
        ASSERT_TRUE(CIniManager::Instance().ReadIniFile(dir_.WriteFile("t.ini", text), "test"));
    }

    Strings Sent() const {
        Strings calls;
        for (const WebCall& call : transport.Calls()) calls.push_back(Rendered(call));
        return calls;
    }
    // What `action` sends.
    template <typename Action>
    Strings SentBy(Action action) {
        const size_t before = transport.CallCount();
        action();
        const Strings sent = Sent();
        return Strings(sent.begin() + before, sent.end());
    }
    Texts Shown() const { return presenter.Texts(); }
    CWebService& client() { return CWebService::instance(); }

    RecordingTransport transport;
    RecordingPresenter presenter;

  private:
    CIniManager savedIni_;
    TempDir dir_;
};

// Installs the fixed host identity: user 12, application id 5, application type 3.
class DataStoreTest : public ServiceTest {
  protected:
    void SetUp() override {
        ServiceTest::SetUp();
        client().SetServiceSupport(new FixedServiceSupport);
    }

    const CDataStoreWebService store{"A1", 77, kStoreUrl};
};

// Spelled out: a braced {} would also match the parameter overloads of the store's queries.
const std::vector<ServiceConditionJosn> kNoConditions;

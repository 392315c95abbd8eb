// Helpers of the service suites: whole-call comparison, support-object doubles and a fixture
// that records the transport and the message boxes and restores the configuration and the
// installed support object afterwards.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "support/CStringPrinter.h"
#include "support/RecordingPresenter.h"
#include "support/RecordingTransport.h"
#include "support/TempDir.h"
#include "wirekit/WebTransport.h"

inline bool operator==(const WebCall& a, const WebCall& b) {
    return a.url == b.url && a.nameSpace == b.nameSpace && a.service == b.service &&
           a.method == b.method && a.arguments == b.arguments;
}

inline void PrintTo(const WebCall& call, std::ostream* os) {
    *os << "{url \"" << call.url.Str() << "\", ns \"" << call.nameSpace.Str() << "\", service \""
        << call.service.Str() << "\", method \"" << call.method.Str() << "\", args {";
    for (const auto& argument : call.arguments) {
        *os << " " << argument.first.Str() << "=\"" << argument.second.Str() << "\"";
    }
    *os << " }}";
}

// A call to the project-library back-end's interface.
inline WebCall UniteCall(const CString& url, const CString& method,
                         std::vector<std::pair<CString, CString>> arguments) {
    WebCall call;
    call.url = url;
    call.nameSpace = "http://tempuri.org/";
    call.service = "UniteInterface";
    call.method = method;
    call.arguments = std::move(arguments);
    return call;
}

// A host's support object that counts its destruction.
class CountingSupport : public CServiceSupport {
  public:
    explicit CountingSupport(int* destroyed = nullptr, bool old = false, long appId = 0,
                             long userId = 0)
        : CServiceSupport(old), destroyed_(destroyed), appId_(appId), userId_(userId) {}
    ~CountingSupport() override {
        if (destroyed_) ++*destroyed_;
    }

    long GetAppId() override { return appId_; }
    long GetUserDogId() override { return userId_; }

  private:
    int* destroyed_;
    long appId_;
    long userId_;
};

// A host that decides its URLs and application type itself.
class CustomSupport : public CountingSupport {
  public:
    CustomSupport(long appId, long userId, long appType)
        : CountingSupport(nullptr, false, appId, userId), appType_(appType) {}

    CString GetUrl(ServiceKind kind) const override {
        CString url;
        url.Format("http://custom/%d", static_cast<int>(kind));
        return url;
    }
    long GetAppType() const override { return appType_; }

  private:
    long appType_;
};

// Records the transport and the boxes; restores the configuration and leaves no support object
// installed when the test ends.
class ServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedIni_ = CIniManager::Instance();
        ASSERT_EQ(nullptr, CWebService::instance().GetServiceSupport());
    }

    void TearDown() override {
        CWebService::instance().SetServiceSupport(nullptr);
        CIniManager::Instance() = savedIni_;
    }

    // Loads an area section "Area_test" with the given keys.
    void Configure(const std::map<std::string, std::string>& keys) {
        std::string text = "[Area_test]\n";
        for (const auto& key : keys) text += key.first + "=" + key.second + "\n";
        ASSERT_TRUE(CIniManager::Instance().ReadIniFile(dir_.WriteFile("test.ini", text), "test"));
    }

    // Every URL the service layer reads, each set.
    void ConfigureAll() {
        Configure({{"URL0", "http://corp/"},
                   {"URL1", "http://kqkh/"},
                   {"URL2", "http://bzk/"},
                   {"URL_DL", "http://old/"}});
    }

    // Nothing configured at all.
    void ConfigureNone() { CIniManager::Instance() = CIniManager(); }

    CWebService& client() { return CWebService::instance(); }

    RecordingTransport transport_;
    RecordingPresenter presenter_;
    TempDir dir_;

  private:
    CIniManager savedIni_;
};

using Texts = std::vector<CString>;

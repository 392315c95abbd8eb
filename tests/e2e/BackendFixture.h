// The end-to-end fixture: a reference back-end on a free port of 127.0.0.1 with an
// in-memory store, reached through the library's built-in SOAP transport, a support object
// for the Permission block (user 12, application id 5, application type 3), the back-end
// configured as the project-library URL, and a recording message-box presenter.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BackendServer.h"
#include "config/CIniManager.h"
#include "json/CJosn.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "support/FixedServiceSupport.h"
#include "support/RecordingPresenter.h"
#include "wirekit/WebTransport.h"
#include "wirekit/WireSettings.h"

class BackendFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server_.Start(0, &error)) << error;
        previousTransport_ = SetWebTransport(nullptr);
        previousWire_ = GetWireSettings();
        previousUrl_ = CIniManager::Instance().GetBzkWebService();
        CIniManager::Instance().SetStrBzkWebService(CString(server_.Url()));
        CWebService::instance().SetServiceSupport(new FixedServiceSupport);
    }

    CString Url() const { return CString(server_.Url()); }

    void TearDown() override {
        CWebService::instance().SetServiceSupport(nullptr);
        CIniManager::Instance().SetStrBzkWebService(previousUrl_);
        SetWireSettings(previousWire_);
        SetWebTransport(previousTransport_);
        server_.Stop();
    }

    // The rows of a query on the back-end's store.
    std::vector<std::vector<std::string>> Query(const std::string& sql) {
        return server_.Query(sql);
    }
    // The single value of a query that yields one.
    std::string Value(const std::string& sql) {
        const auto rows = server_.Query(sql);
        return rows.size() == 1 && rows[0].size() == 1 ? rows[0][0] : "<no single value>";
    }

    BackendServer server_;
    RecordingPresenter presenter_;

  private:
    IWebTransport* previousTransport_ = nullptr;
    WireSettings previousWire_;
    CString previousUrl_;
};

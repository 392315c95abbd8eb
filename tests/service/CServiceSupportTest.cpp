#include <gtest/gtest.h>

#include "ServiceTestSupport.h"
#include "service/CServiceSupport.h"

namespace {

using ServiceSupportTest = ServiceTest;

TEST_F(ServiceSupportTest, ProjectLibraryUrlIsUrl2UnlessOldAndConfigured) {
    ConfigureAll();
    EXPECT_EQ(CString("http://bzk/"),
              CountingSupport(nullptr, false).GetUrl(CServiceSupport::BzkService));
    EXPECT_EQ(CString("http://old/"),
              CountingSupport(nullptr, true).GetUrl(CServiceSupport::BzkService));

    Configure({{"URL2", "http://bzk/"}, {"URL_DL", ""}});
    EXPECT_EQ(CString("http://bzk/"),
              CountingSupport(nullptr, true).GetUrl(CServiceSupport::BzkService));
}

TEST_F(ServiceSupportTest, KindOneIsUrl1AndOtherKindsHaveNoUrl) {
    ConfigureAll();
    CountingSupport support(nullptr, true);
    EXPECT_EQ(CString("http://kqkh/"), support.GetUrl(CServiceSupport::KQKHService));
    EXPECT_EQ(CString(), support.GetUrl(static_cast<CServiceSupport::ServiceKind>(5)));
    EXPECT_EQ(CString(), support.GetUrl(static_cast<CServiceSupport::ServiceKind>(-1)));
}

TEST_F(ServiceSupportTest, CopiesKeepTheOldFlag) {
    ConfigureAll();
    CountingSupport old(nullptr, true);
    CountingSupport copy(old);
    CountingSupport assigned(nullptr, false);
    assigned = old;
    EXPECT_EQ(CString("http://old/"), copy.GetUrl(CServiceSupport::BzkService));
    EXPECT_EQ(CString("http://old/"), assigned.GetUrl(CServiceSupport::BzkService));
}

TEST_F(ServiceSupportTest, ApplicationTypeDefaultsToMinusOne) {
    EXPECT_EQ(-1, CountingSupport().GetAppType());
}

TEST_F(ServiceSupportTest, InstallingAnotherSupportDeletesThePreviousOne) {
    int first = 0;
    int second = 0;
    client().SetServiceSupport(new CountingSupport(&first));
    client().SetServiceSupport(new CountingSupport(&second));
    EXPECT_EQ(1, first);
    EXPECT_EQ(0, second);
}

TEST_F(ServiceSupportTest, InstallingTheSameSupportAgainKeepsIt) {
    int destroyed = 0;
    CountingSupport* support = new CountingSupport(&destroyed);
    client().SetServiceSupport(support);
    client().SetServiceSupport(support);
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(support, client().GetServiceSupport());
}

TEST_F(ServiceSupportTest, InstallingNullDeletesAndLeavesNone) {
    int destroyed = 0;
    client().SetServiceSupport(new CountingSupport(&destroyed));
    client().SetServiceSupport(nullptr);
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(nullptr, client().GetServiceSupport());
}

TEST_F(ServiceSupportTest, ClientDeletesItsSupportWhenDestroyed) {
    int destroyed = 0;
    {
        CWebService local;
        EXPECT_EQ(nullptr, local.GetServiceSupport());
        local.SetServiceSupport(new CountingSupport(&destroyed));
    }
    EXPECT_EQ(1, destroyed);
}

TEST_F(ServiceSupportTest, ForwardersWithoutSupportGiveZeroZeroAndMinusOne) {
    EXPECT_EQ(0, client().GetUserDogId());
    EXPECT_EQ(0, client().GetAppId());
    EXPECT_EQ(-1, client().GetAppType());
}

TEST_F(ServiceSupportTest, ForwardersAskTheInstalledSupport) {
    client().SetServiceSupport(new CountingSupport(nullptr, false, 11, 22));
    EXPECT_EQ(11, client().GetAppId());
    EXPECT_EQ(22, client().GetUserDogId());
    EXPECT_EQ(-1, client().GetAppType());

    client().SetServiceSupport(new CustomSupport(11, 22, 6));
    EXPECT_EQ(6, client().GetAppType());
}

}  // namespace

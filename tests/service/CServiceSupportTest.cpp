#include <gtest/gtest.h>

#include "ServiceTestSupport.h"
#include "service/CServiceSupport.h"

namespace {

using ServiceSupportTest = ServiceTest;

// Asked of an assigned copy of a copy: copies keep the old flag.
TEST_F(ServiceSupportTest, UrlOfEachKindComesFromTheConfiguration) {
    const struct {
        bool old;
        const char* urlDl;  // the configured old project-library URL
        int kind;
        const char* url;
    } cases[] = {{false, "http://old/", 0, "http://bzk/"},
                 {true, "http://old/", 0, "http://old/"},
                 {true, "", 0, "http://bzk/"},
                 {true, "http://old/", 1, "http://kqkh/"},
                 {true, "http://old/", 5, ""},
                 {true, "http://old/", -1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.old << " " << c.urlDl << " " << c.kind);
        Configure({{"URL1", "http://kqkh/"}, {"URL2", "http://bzk/"}, {"URL_DL", c.urlDl}});
        const CountingSupport original(nullptr, c.old);
        CountingSupport support(nullptr, !c.old);
        support = CountingSupport(original);
        EXPECT_EQ(CString(c.url),
                  support.GetUrl(static_cast<CServiceSupport::ServiceKind>(c.kind)));
    }
}

TEST_F(ServiceSupportTest, InstallingReplacesAndDeletesThePreviousSupportOnce) {
    int first = 0;
    int second = 0;
    client().SetServiceSupport(new CountingSupport(&first));
    CountingSupport* installed = new CountingSupport(&second);
    client().SetServiceSupport(installed);
    client().SetServiceSupport(installed);  // the same one again: kept
    EXPECT_EQ(1, first);
    EXPECT_EQ(0, second);
    EXPECT_EQ(installed, client().GetServiceSupport());
    client().SetServiceSupport(nullptr);
    EXPECT_EQ(1, second);
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

TEST_F(ServiceSupportTest, ForwardersAskTheInstalledSupport) {
    EXPECT_EQ(0, client().GetUserDogId());
    EXPECT_EQ(0, client().GetAppId());
    EXPECT_EQ(-1, client().GetAppType());
    client().SetServiceSupport(new CountingSupport(nullptr, false, 11, 22));
    EXPECT_EQ(11, client().GetAppId());
    EXPECT_EQ(22, client().GetUserDogId());
    EXPECT_EQ(-1, client().GetAppType());  // the default application type
    client().SetServiceSupport(new CustomSupport(11, 22, 6));
    EXPECT_EQ(6, client().GetAppType());
}

}  // namespace

#include <gtest/gtest.h>

#include "ServiceTestSupport.h"
#include "support/LoopbackSoapServer.h"

namespace {

// The whole road of a uniform call over the built-in transport to a server on this machine.
class ServiceWireTest : public ServiceTest {
  protected:
    void SetUp() override {
        ServiceTest::SetUp();
        previous_ = SetWebTransport(nullptr);
    }
    void TearDown() override {
        SetWebTransport(previous_);
        ServiceTest::TearDown();
    }

    LoopbackSoapServer server_;

  private:
    IWebTransport* previous_ = nullptr;
};

TEST_F(ServiceWireTest, UniformCallsReachTheServerAndReadItsReplyOrFault) {
    Configure({{"URL2", server_.Url()}});
    server_.SetReplyText("DoWork", "{ret:1,msg:'好',data:'57'}");
    EXPECT_EQ(CString("{ret:1,msg:'好',data:'57'}"), client().ExcuteCmd("", "{Name:'<项目>'}"));
    ASSERT_EQ(1u, server_.RequestCount());
    const LoopbackSoapServer::Request request = server_.Requests()[0];
    EXPECT_EQ("DoWork", request.soapMethod);
    EXPECT_EQ("http://tempuri.org/", request.soapNamespace);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"jsonInput", "{Name:'<项目>'}"}}),
              request.arguments);

    server_.SetReplyText("DoWork", "{ret:2,msg:'已保存',data:''}");
    EXPECT_TRUE(client().ExcuteCmdBool(server_.Url().c_str(), "{a:1}"));
    EXPECT_EQ(Texts{"已保存"}, presenter_.Texts());

    server_.SetHandler([](const LoopbackSoapServer::Request&) {
        return LoopbackSoapServer::MakeSoapFault("数据库不可用");
    });
    EXPECT_EQ(CString("数据库不可用"),
              client().ExcuteCmd(server_.Url().c_str(), "Save", "jsonInput", "{a:1}"));
}

}  // namespace

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The mangled name of `Class::name() const`.
std::string ConstMember(const std::string& cls, const std::string& name) {
    return "_ZNK" + std::to_string(cls.size()) + cls + std::to_string(name.size()) + name + "Ev";
}

}  // namespace

// Members defined in their class are exported like the others, so applications can bind to them.
TEST(ExportedMembersTest, InClassMembersAreExportedByTheSharedLibrary) {
    void* library = dlopen(XMK_BINARY_DIR "/libxmkclient.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, library) << dlerror();
    // std::vector<char*>& CXML_FormatItemManager::GetValues()
    std::vector<std::string> members = {"_ZN22CXML_FormatItemManager9GetValuesEv",
                                        ConstMember("CWebService", "GetServiceSupport")};
    for (const char* getter :
         {"GetEmpConstraints1",  "GetEmpConstraints2",     "GetEnterpriseWebService",
          "GetKQKHWebService",   "GetBzkWebService",       "GetSegmentService",
          "IsGetFtpInfoFromINI", "GetCheckManagerService", "GetFirstCmd",
          "GetAopService",       "GetstrFtpUserName",      "GetstrFtpServer",
          "GetstrFtpPassWord",   "GetstrLoadButton",       "GetIssuer",
          "GetPrintModel",       "IsChangeReasonMust",     "IsAddTHSeggestionMust",
          "IsNeedAudit",         "isNeedSearch",           "GetAppType",
          "GetZbdlDogIds",       "GetZbdlAndSgjlDogIds",   "GetKcsjDogIds",
          "GetBzkWebService_old"}) {
        members.push_back(ConstMember("CIniManager", getter));
    }
    for (const std::string& name : members) {
        EXPECT_NE(nullptr, dlsym(library, name.c_str())) << name;
    }
    dlclose(library);
}

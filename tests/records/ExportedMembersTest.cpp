#include <dlfcn.h>
#include <gtest/gtest.h>

// Members defined in their class are exported like the others, so applications can bind to them.
TEST(ExportedMembersTest, InClassMembersAreExportedByTheSharedLibrary) {
    void* library = dlopen(XMK_BINARY_DIR "/libxmkclient.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, library) << dlerror();
    // std::vector<char*>& CXML_FormatItemManager::GetValues()
    const char* members[] = {"_ZN22CXML_FormatItemManager9GetValuesEv"};
    for (const char* name : members) EXPECT_NE(nullptr, dlsym(library, name)) << name;
    dlclose(library);
}

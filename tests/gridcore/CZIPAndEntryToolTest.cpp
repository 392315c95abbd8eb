#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "gridcore/CZIPAndEntryTool.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

TEST(UnZipTest, GivesOtherPathsAsTheyAreAndArchivesTheirFirstIniElseFirstFileOrNothing) {
    // The temporary directory is a folder of its own, so the test sees every file that
    // unpacking leaves there.
    const TempDir dir, unpacked;
    const std::string oldTmpdir = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", unpacked.Path().c_str(), 1);
    const std::string text = "[Area_default]\nURL2=http://example.test/service\n";
    const std::string bytes = ReadFile(dir.WriteZip("good.zip", {{"a.ini", text}}, /*store=*/true));
    std::string badCrc = bytes;
    badCrc[badCrc.find(text) + 5] ^= 0x20;
    const std::string fifo = dir.Path() + "/fifo";
    EXPECT_EQ(0, mkfifo(fifo.c_str(), 0600));

    // Each path and what UnZip gives: "=" the path as given, "" nothing, else the text unpacked.
    const std::pair<std::string, std::string> cases[] = {
        {dir.WriteFile("plain.ini", "[S]\na=1\n"), "="},
        {dir.WriteFile("pk.ini", "PK\x03"), "="},
        {dir.Path() + "/absent.ini", "="},
        {dir.Path(), "="},
        {fifo, "="},
        {dir.WriteZip("ini.zip", {{"readme.txt", "read me"},
                                  {"conf/", ""},
                                  {"conf/App.INI", "[S]\na=1\n"},
                                  {"other.ini", "[S]\na=2\n"}}),
         "[S]\na=1\n"},
        {dir.WriteZip("txt.zip", {{"docs/", ""}, {"settings.txt", "[S]\na=3\n"}, {"b.cfg", "x"}}),
         "[S]\na=3\n"},
        {dir.WriteFile("bad.zip", "PK\x03\x04"), ""},
        {dir.WriteFile("half.zip", bytes.substr(0, bytes.size() / 2)), ""},
        {dir.WriteFile("crc.zip", badCrc), ""},
        {dir.WriteZip("dirs.zip", {{"a/", ""}, {"b/", ""}}), ""},
        {dir.WriteZip("big.zip", {{"a.ini", std::string((64u << 20) + 1, ';')}}),
         ""},  // over the limit
    };
    for (const auto& [path, expected] : cases) {
        auto ret = std::make_unique<ZipRet>(CZIPAndEntryTool().UnZip(path.c_str()));
        const std::string given = ret->bUnzipped                 ? ReadFile(ret->strPath.Str())
                                  : ret->strPath == path.c_str() ? "="
                                                                 : ret->strPath.Str();
        EXPECT_EQ(expected, given) << path;
        // An unpacked file is private to the user, in the temporary folder, and goes with the
        // last copy of its ZipRet.
        struct stat info = {};
        stat(ret->strPath.GetString(), &info);
        EXPECT_EQ(ret->bUnzipped ? 0600u : 0u, ret->bUnzipped ? info.st_mode & 0777 : 0u);
        EXPECT_EQ(ret->bUnzipped, ret->strPath.Str().rfind(unpacked.Path() + "/", 0) == 0);
        ZipRet copy = *ret;
        ret.reset();
        EXPECT_EQ(copy.bUnzipped ? 1 : 0, unpacked.EntryCount()) << path;
        copy = ZipRet();
        EXPECT_EQ(0, unpacked.EntryCount()) << path;
    }
    setenv("TMPDIR", oldTmpdir.c_str(), 1);
    if (oldTmpdir.empty()) unsetenv("TMPDIR");
}

}  // namespace

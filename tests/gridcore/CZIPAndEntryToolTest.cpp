#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "gridcore/CZIPAndEntryTool.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Writes a zip archive holding `entries` (name, content) in order; names ending in "/" are
// directories. Stored uncompressed when `store` is set, so the test can find the bytes.
void WriteZip(const std::string& path, const Entries& entries, bool store = false) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        if (!name.empty() && name.back() == '/') {
            ASSERT_GE(zip_dir_add(archive, name.c_str(), 0), 0);
            continue;
        }
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
        ASSERT_GE(index, 0);
        if (store) zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// Points the temporary directory at a folder of its own, so the test can see every file that
// unpacking leaves there.
class UnZipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        oldTmpdir_ = old != nullptr ? old : "";
        setenv("TMPDIR", unpacked_.Path().c_str(), 1);
    }
    void TearDown() override {
        if (oldTmpdir_.empty()) unsetenv("TMPDIR");
        if (!oldTmpdir_.empty()) setenv("TMPDIR", oldTmpdir_.c_str(), 1);
    }

    std::string Zip(const Entries& entries, const std::string& name = "conf.zip") {
        const std::string path = dir_.Path() + "/" + name;
        WriteZip(path, entries);
        return path;
    }

    TempDir dir_;
    TempDir unpacked_;
    std::string oldTmpdir_;
};

TEST_F(UnZipTest, PlainTextAndMissingPathsAreHandedThrough) {
    for (const std::string& path :
         {dir_.WriteFile("plain.ini", "[S]\na=1\n"), dir_.WriteFile("short.ini", "PK"),
          dir_.Path() + "/absent.ini", dir_.Path(), std::string()}) {
        ZipRet ret = CZIPAndEntryTool().UnZip(path.c_str());
        EXPECT_EQ(ret.strPath, CString(path));
        EXPECT_FALSE(ret.bUnzipped);
    }
    EXPECT_EQ(0, unpacked_.EntryCount());
}

TEST_F(UnZipTest, FirstIniEntryElseFirstFileIsUnpacked) {
    const std::pair<Entries, std::string> cases[] = {
        {{{"readme.txt", "read me"},
          {"conf/", ""},
          {"conf/App.INI", "[S]\na=1\n"},
          {"other.ini", "[S]\na=2\n"}},
         "[S]\na=1\n"},
        {{{"docs/", ""}, {"settings.txt", "[S]\na=3\n"}, {"b.cfg", "x"}}, "[S]\na=3\n"},
    };
    for (const auto& [entries, text] : cases) {
        ZipRet ret = CZIPAndEntryTool().UnZip(Zip(entries).c_str());
        EXPECT_TRUE(ret.bUnzipped);
        EXPECT_EQ(1, unpacked_.EntryCount());
        EXPECT_EQ(text, ReadAll(ret.strPath.Str()));
    }
}

TEST_F(UnZipTest, UnpackedFileIsPrivateAndGoesWithTheLastCopy) {
    auto first =
        std::make_unique<ZipRet>(CZIPAndEntryTool().UnZip(Zip({{"a.ini", "[S]\n"}}).c_str()));
    const std::string unpacked = first->strPath.Str();
    ASSERT_EQ(0u, unpacked.rfind(unpacked_.Path() + "/", 0));
    struct stat info;
    ASSERT_EQ(0, stat(unpacked.c_str(), &info));
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ZipRet copy = *first;
    first.reset();
    EXPECT_EQ(1, unpacked_.EntryCount());
    copy = ZipRet();
    EXPECT_EQ(0, unpacked_.EntryCount());
}

TEST_F(UnZipTest, UnusableArchivesGiveAnEmptyPathAndLeaveNothing) {
    const std::string text = "[Area_default]\nURL2=http://example.test/service\n";
    const std::string good = dir_.Path() + "/good.zip";
    WriteZip(good, {{"a.ini", text}}, true);
    const std::string bytes = ReadAll(good);
    std::string badCrc = bytes;
    ASSERT_NE(std::string::npos, badCrc.find(text));
    badCrc[badCrc.find(text) + 5] ^= 0x20;

    const std::string paths[] = {
        dir_.WriteFile("bad.zip", "PK\x03\x04 not really a zip"),
        dir_.WriteFile("half.zip", bytes.substr(0, bytes.size() / 2)),
        dir_.WriteFile("crc.zip", badCrc),
        Zip({{"a/", ""}, {"b/", ""}}, "dirs.zip"),
        Zip({{"a.ini", std::string((64u << 20) + 1, ';')}}, "big.zip"),  // over the entry limit
    };
    for (const std::string& path : paths) {
        ZipRet ret = CZIPAndEntryTool().UnZip(path.c_str());
        EXPECT_EQ(ret.strPath, CString()) << path;
        EXPECT_FALSE(ret.bUnzipped) << path;
        EXPECT_EQ(0, unpacked_.EntryCount()) << path;
    }
}

}  // namespace

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
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
        ASSERT_NE(source, nullptr);
        zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
        ASSERT_GE(index, 0);
        if (store)
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Points the temporary directory at a folder of its own, so the test can see every file that
// unpacking leaves there.
class UnZipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        had_tmpdir_ = old != nullptr;
        if (had_tmpdir_) old_tmpdir_ = old;
        unpack_dir_ = dir_.Path() + "/unpacked";
        ASSERT_EQ(0, mkdir(unpack_dir_.c_str(), 0700));
        setenv("TMPDIR", unpack_dir_.c_str(), 1);
    }
    void TearDown() override {
        if (had_tmpdir_) {
            setenv("TMPDIR", old_tmpdir_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

    int FilesLeft() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(unpack_dir_)) {
            (void)entry;
            ++count;
        }
        return count;
    }

    // Unpacks `path` and returns the text read from what UnZip hands back.
    std::string UnpackedText(const std::string& path) {
        ZipRet ret = CZIPAndEntryTool().UnZip(path.c_str());
        EXPECT_TRUE(ret.bUnzipped);
        EXPECT_EQ(FilesLeft(), 1);
        return ReadAll(ret.strPath.Str());
    }

    TempDir dir_;
    std::string unpack_dir_;
    bool had_tmpdir_ = false;
    std::string old_tmpdir_;
};

TEST_F(UnZipTest, PlainTextAndMissingPathsAreHandedThrough) {
    std::string plain = dir_.WriteFile("plain.ini", "[S]\na=1\n");
    std::string shortFile = dir_.WriteFile("short.ini", "PK");
    for (const std::string& path :
         {plain, shortFile, dir_.Path() + "/absent.ini", dir_.Path(), std::string()}) {
        ZipRet ret = CZIPAndEntryTool().UnZip(path.c_str());
        EXPECT_EQ(ret.strPath, CString(path));
        EXPECT_FALSE(ret.bUnzipped);
    }
    EXPECT_EQ(FilesLeft(), 0);
}

TEST_F(UnZipTest, FirstEntryEndingInIniIsUnpacked) {
    std::string zip = dir_.Path() + "/conf.zip";
    WriteZip(zip, {{"readme.txt", "read me"},
                   {"conf/", ""},
                   {"conf/App.INI", "[S]\na=1\n"},
                   {"other.ini", "[S]\na=2\n"}});
    EXPECT_EQ(UnpackedText(zip), "[S]\na=1\n");
}

TEST_F(UnZipTest, WithoutAnIniEntryTheFirstFileIsUnpacked) {
    std::string zip = dir_.Path() + "/conf.zip";
    WriteZip(zip, {{"docs/", ""}, {"settings.txt", "[S]\na=3\n"}, {"b.cfg", "x"}});
    EXPECT_EQ(UnpackedText(zip), "[S]\na=3\n");
}

TEST_F(UnZipTest, UnpackedFileIsPrivateAndGoesWithTheLastCopy) {
    std::string zip = dir_.Path() + "/conf.zip";
    WriteZip(zip, {{"a.ini", "[S]\n"}});
    auto first = std::make_unique<ZipRet>(CZIPAndEntryTool().UnZip(zip.c_str()));
    std::string unpacked = first->strPath.Str();
    ASSERT_EQ(unpacked.rfind(unpack_dir_ + "/", 0), 0u);
    struct stat info;
    ASSERT_EQ(0, stat(unpacked.c_str(), &info));
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ZipRet copy = *first;
    first.reset();
    EXPECT_TRUE(Exists(unpacked));
    copy = ZipRet();
    EXPECT_FALSE(Exists(unpacked));
}

TEST_F(UnZipTest, DamagedArchivesGiveAnEmptyPathAndLeaveNothing) {
    std::string good = dir_.Path() + "/good.zip";
    const std::string text = "[Area_default]\nURL2=http://example.test/service\n";
    WriteZip(good, {{"a.ini", text}}, true);
    std::string bytes = ReadAll(good);

    std::string badCrc = bytes;
    size_t at = badCrc.find(text);
    ASSERT_NE(at, std::string::npos);
    badCrc[at + 5] ^= 0x20;

    for (const std::string& content :
         {std::string("PK\x03\x04 not really a zip"), bytes.substr(0, bytes.size() / 2), badCrc}) {
        std::string path = dir_.WriteFile("bad.zip", content);
        ZipRet ret = CZIPAndEntryTool().UnZip(path.c_str());
        EXPECT_EQ(ret.strPath, CString());
        EXPECT_FALSE(ret.bUnzipped);
        EXPECT_EQ(FilesLeft(), 0);
    }
}

TEST_F(UnZipTest, ArchiveHoldingOnlyDirectoriesGivesAnEmptyPath) {
    std::string zip = dir_.Path() + "/dirs.zip";
    WriteZip(zip, {{"a/", ""}, {"b/", ""}});
    EXPECT_EQ(CZIPAndEntryTool().UnZip(zip.c_str()).strPath, CString());
    EXPECT_EQ(FilesLeft(), 0);
}

TEST_F(UnZipTest, OversizedEntryIsRefused) {
    std::string zip = dir_.Path() + "/bomb.zip";
    WriteZip(zip, {{"a.ini", std::string((64u << 20) + 1, ';')}});
    EXPECT_EQ(CZIPAndEntryTool().UnZip(zip.c_str()).strPath, CString());
    EXPECT_EQ(FilesLeft(), 0);
}

}  // namespace

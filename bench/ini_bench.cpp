// Loading and look-up speed of the INI reader on a large file (10 MB, 100,000 keys), and of
// a whole configuration load on a realistic one.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "config/CIniManager.h"
#include "gridcore/CIniFile.h"

namespace {

constexpr int kSections = 1000;
constexpr int kKeysPerSection = 100;

// A temporary file holding `content`, removed when the object goes.
class TempFile {
  public:
    explicit TempFile(const std::string& content) {
        std::error_code error;
        path_ = (std::filesystem::temp_directory_path(error) / "ini_bench-XXXXXX").string();
        int fd = mkstemp(path_.data());
        if (fd < 0) abort();
        if (write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
            abort();
        }
        close(fd);
    }
    ~TempFile() { unlink(path_.c_str()); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::string LargeIni() {
    std::string text;
    char line[160];
    for (int s = 0; s < kSections; ++s) {
        std::snprintf(line, sizeof line, "[Section_%04d]\r\n", s);
        text += line;
        for (int k = 0; k < kKeysPerSection; ++k) {
            std::snprintf(
                line, sizeof line,
                "Key_%03d = \"http://server-%04d.example/some/longer/service/path/segment/more/"
                "endpoint-%03d.asmx?opt=%d\"\r\n",
                k, s, k, s * k);
            text += line;
        }
    }
    return text;
}

const TempFile& LargeFile() {
    static const TempFile file(LargeIni());
    return file;
}

void BM_ReadLargeFile(benchmark::State& state) {
    const std::string& path = LargeFile().Path();
    for (auto _ : state) {
        CIniFile ini(path.c_str());
        benchmark::DoNotOptimize(ini.ReadFile());
    }
    auto size = static_cast<int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.counters["keys"] = kSections * kKeysPerSection;
}
BENCHMARK(BM_ReadLargeFile)->Unit(benchmark::kMillisecond);

void BM_LookUpInLargeFile(benchmark::State& state) {
    CIniFile ini(LargeFile().Path().c_str());
    if (!ini.ReadFile()) abort();
    int i = 0;
    char section[32];
    char key[32];
    for (auto _ : state) {
        std::snprintf(section, sizeof section, "SECTION_%04d", (i * 7919) % kSections);
        std::snprintf(key, sizeof key, "key_%03d", i % kKeysPerSection);
        benchmark::DoNotOptimize(ini.GetValue(section, key));
        ++i;
    }
}
BENCHMARK(BM_LookUpInLargeFile);

void BM_ReadIniFileAndFirstCmd(benchmark::State& state) {
    std::string text = "[Area_default]\n";
    for (const char* key : {"URL0", "URL1", "URL2", "URL3", "CheckManager", "AopService"}) {
        text += std::string(key) + "=http://127.0.0.1:8080/" + key + ".asmx\n";
    }
    text += "[SYSTEM]\nFirstCmd=Open\nAppType=3\nZbdlDogIds=1,2,3\n";
    TempFile file(text);
    for (auto _ : state) {
        CIniManager settings;
        benchmark::DoNotOptimize(settings.ReadIniFile(file.Path().c_str(), "0571"));
        benchmark::DoNotOptimize(settings.ReadFirstCmd(file.Path().c_str()));
    }
}
BENCHMARK(BM_ReadIniFileAndFirstCmd)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

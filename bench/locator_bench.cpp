// One run's members found and counted in a large folder, named as the files are and named
// in another letter case, as projects written on Windows often name them.

#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/files/file_system.h"

namespace tallix::bench {
namespace {

// A folder of small VB6 modules, Module000001.bas and on, removed when the program ends.
class ModuleFolder {
public:
    explicit ModuleFolder(int files) {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("tallix-bench-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
        for (int i = 0; i < files; ++i) {
            std::ofstream out(path_ / FileName(i), std::ios::binary);
            out << "Attribute VB_Name = \"M" << i << "\"\r\nPublic X As Long\r\n";
        }
    }
    ~ModuleFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ModuleFolder(const ModuleFolder&) = delete;
    ModuleFolder& operator=(const ModuleFolder&) = delete;

    static std::string FileName(int i) {
        char name[32];
        std::snprintf(name, sizeof name, "Module%06d.bas", i);
        return name;
    }

    std::string Folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

// Making 100,000 files takes far longer than the runs measured, so each size is made once
// for the whole program rather than once for every batch of iterations.
const ModuleFolder& FolderOf(int files) {
    static std::map<int, ModuleFolder> folders;
    const auto it = folders.find(files);
    if (it != folders.end()) {
        return it->second;
    }
    return folders.try_emplace(files, files).first->second;
}

// Arguments: files in the folder, members in the project, and 1 when the project names the
// members in upper case while the files are in mixed case.
void BM_CountMembersOfOneRun(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const int members = static_cast<int>(state.range(1));
    const bool otherCase = state.range(2) != 0;
    const ModuleFolder& folder = FolderOf(files);
    std::vector<std::string> names;
    for (int i = 0; i < members; ++i) {
        std::string name = ModuleFolder::FileName(
            static_cast<int>(static_cast<std::int64_t>(i) * files / members));
        if (otherCase) {
            for (char& c : name) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        names.push_back(std::move(name));
    }
    std::int64_t counted = 0;
    for (auto _ : state) {
        FileLocator locator;
        counted = 0;
        for (const auto& name : names) {
            counted += CountMember(folder.Folder(), name, SourceKind::Vb6, {}, locator).lines;
        }
        benchmark::DoNotOptimize(counted);
    }
    if (counted != members) {
        state.SkipWithError("some members were not found");
    }
    state.counters["members"] = members;
}
BENCHMARK(BM_CountMembersOfOneRun)
    ->ArgNames({"files", "members", "otherCase"})
    ->Args({10000, 10000, 0})
    ->Args({10000, 10000, 1})
    ->Args({100000, 81, 0})
    ->Args({100000, 81, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallix::bench

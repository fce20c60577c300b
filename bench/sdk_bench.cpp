// The members of an SDK-style project whose default items are off and whose one Include is
// a glob over the whole tree: the time must grow with the files, not with their square.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "engine/projects/sdk_project.h"

namespace tallix::bench {
namespace {

// src/dNN/fNNNNN.vb, 100 files a folder, removed when the program ends.
class SourceTree {
public:
    explicit SourceTree(int files) {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("tallix-sdk-bench-" + std::to_string(seed()) + std::to_string(seed()));
        for (int i = 0; i < files; ++i) {
            char name[48];
            std::snprintf(name, sizeof name, "src/d%03d/f%06d.vb", i / 100, i);
            const std::filesystem::path file = path_ / name;
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file) << "Module M\r\nEnd Module\r\n";
        }
    }
    ~SourceTree() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SourceTree(const SourceTree&) = delete;
    SourceTree& operator=(const SourceTree&) = delete;

    std::string Folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

const SourceTree& TreeOf(int files) {
    static std::map<int, SourceTree> trees;
    const auto it = trees.find(files);
    if (it != trees.end()) {
        return it->second;
    }
    return trees.try_emplace(files, files).first->second;
}

void BM_GlobIncludeOverATree(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const SourceTree& tree = TreeOf(files);
    const SdkProjectScan scan = ScanSdkProject(
        "<Project Sdk=\"Microsoft.NET.Sdk\"><PropertyGroup><EnableDefaultCompileItems>false"
        "</EnableDefaultCompileItems></PropertyGroup><ItemGroup>"
        "<Compile Include=\"src/**/*.vb\" /><Compile Include=\"src\\d000\\*.vb\" /></ItemGroup>"
        "</Project>");
    for (auto _ : state) {
        const SdkMembers members = SdkProjectMembers(tree.Folder(), scan);
        if (members.names.size() != static_cast<std::size_t>(files)) {
            state.SkipWithError("not every file was listed once");
        }
        benchmark::DoNotOptimize(members);
    }
    state.SetComplexityN(files);
}
BENCHMARK(BM_GlobIncludeOverATree)
    ->RangeMultiplier(4)
    ->Range(2500, 40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace tallix::bench

// SPDX-License-Identifier: GPL-2.0-or-later
// The catalogue layer on a catalogue near its limits: 800 sections of four keys, as a TIA
// catalogue that has been filled by the dialog for years.

#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/drive.h"
#include "library/paths.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{

constexpr int Sections = 800;

std::string sectionName(int i)
{
    return "loader" + std::to_string(i) + ".tia";
}

// A drive with the full TIA catalogue, made once for all benchmarks of the run.
struct LargeCatalogue {
    LargeCatalogue()
    {
        root = std::filesystem::temp_directory_path() / "quorvel-bench-catalogue";
        std::filesystem::create_directories(root);
        Drive::SetRoot(root);
        std::filesystem::create_directories(Drive::NativePath(Paths::TiaFolder));
        std::ofstream out(Drive::NativePath(Paths::TiaCatalogue),
                          std::ios::binary | std::ios::trunc);
        // As make-libraries.sh writes it, so that the platform's read can be timed on the same.
        for (int i = 0; i < Sections; ++i) {
            char type[16];
            std::snprintf(type, sizeof type, "28F%03d", i);
            out << "[" << sectionName(i) << "]\r\nTYPE=" << type << "\r\nSTATUS=" << i % 3
                << "\r\nDescription=Loader number " << i << "\r\nSelected=" << (i == Sections - 1)
                << "\r\n";
        }
    }
    ~LargeCatalogue() { std::filesystem::remove_all(root); }
    std::filesystem::path root;
};

LargeCatalogue& catalogue()
{
    static LargeCatalogue instance;
    return instance;
}

void BM_ReadStringFirstSection(benchmark::State& state)
{
    catalogue();
    const CatalogueFile file{Paths::TiaCatalogue};
    for (auto _ : state)
        benchmark::DoNotOptimize(file.ReadString(sectionName(0), "Description", ""));
}
BENCHMARK(BM_ReadStringFirstSection);

void BM_ReadStringLastSection(benchmark::State& state)
{
    catalogue();
    const CatalogueFile file{Paths::TiaCatalogue};
    for (auto _ : state)
        benchmark::DoNotOptimize(file.ReadString(sectionName(Sections - 1), "Description", ""));
}
BENCHMARK(BM_ReadStringLastSection);

void BM_ReadSections(benchmark::State& state)
{
    catalogue();
    const CatalogueFile file{Paths::TiaCatalogue};
    std::vector<std::string> names;
    for (auto _ : state) {
        file.ReadSections(names);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_ReadSections);

// What the TIA list load reads: the section names, then three values and a flag per section.
void BM_ListLoad(benchmark::State& state)
{
    catalogue();
    std::vector<std::string> names;
    for (auto _ : state)
        benchmark::DoNotOptimize(CatalogueLists::ReadTiaRows(names));
}
BENCHMARK(BM_ListLoad)->Unit(benchmark::kMillisecond);

// The reference for the list load: the same rows with every value read on its own, as the load
// read them before it took one snapshot.
void BM_ListLoadValueByValue(benchmark::State& state)
{
    catalogue();
    const CatalogueFile file{Paths::TiaCatalogue};
    std::vector<std::string> names;
    for (auto _ : state) {
        file.ReadSections(names);
        for (const auto& name : names) {
            benchmark::DoNotOptimize(file.ReadString(name, "Type", "Unknown"));
            benchmark::DoNotOptimize(file.ReadString(name, "Description", ""));
            benchmark::DoNotOptimize(file.ReadInteger(name, "Status", 2));
            benchmark::DoNotOptimize(file.ReadBool(name, "Selected", false));
        }
    }
}
BENCHMARK(BM_ListLoadValueByValue)->Unit(benchmark::kMillisecond);

// One write into the middle of the catalogue (read, edit, replace the file).
void BM_WriteString(benchmark::State& state)
{
    catalogue();
    CatalogueFile file{Paths::TiaCatalogue};
    for (auto _ : state)
        file.WriteString(sectionName(Sections / 2), "Selected", "1");
}
BENCHMARK(BM_WriteString);

} // namespace

BENCHMARK_MAIN();

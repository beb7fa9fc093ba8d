// Speed of the numbered-section ini files: structure sets and comment templates, 1,000 to
// 100,000 of them, read from their text and written back over it.
#include "compare/StructureSetFile.h"
#include "platform/IniFile.h"
#include "report/CommentTemplates.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A structure-set file as the comparison window writes it.
std::string StructureSetText(long sets) {
    std::string text = "[List]\r\nCount=" + std::to_string(sets) + "\r\n";
    for (long i = 0; i < sets; ++i) {
        const std::string n = std::to_string(i);
        text += "\r\n[List" + n + "]\r\nTitle=Set " + n + "\r\nStructure0=PTV " + n +
                "\r\nStructure1=Rectum\r\nStructure2=Bladder\r\nStructure3=Femur L\r\n";
    }
    return text;
}

// A comment-template file as the comment dialog writes it.
std::string CommentTemplateText(long templates) {
    std::string text = "[Comment]\r\nCount=" + std::to_string(templates) + "\r\n";
    for (long i = 0; i < templates; ++i) {
        const std::string n = std::to_string(i);
        text += "\r\n[Comment" + n + "]\r\nText0=Plan " + n + " approved\r\nText1=by\r\nText2=\r\n";
    }
    return text;
}

// Reading a file of state.range(0) entries from its text, as the window that shows them does.
template <typename Read>
void BM_Read(benchmark::State& state, std::string (*textOf)(long), Read read) {
    const std::string text = textOf(state.range(0));
    for (auto _ : state) {
        platform::IniFile ini;
        ini.Parse(text);
        benchmark::DoNotOptimize(read(ini));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A save after "Save" in the comparison window: the file read, one set more written over it.
void BM_SaveStructureSets(benchmark::State& state) {
    const std::string text = StructureSetText(state.range(0));
    platform::IniFile read;
    read.Parse(text);
    std::vector<CompDVHrepClass> sets = ReadStructureSets(read);
    sets.push_back({{"PTV", "CTV", "", ""}, "New"});
    for (auto _ : state) {
        platform::IniFile ini;
        ini.Parse(text);
        WriteStructureSets(ini, sets);
        benchmark::DoNotOptimize(ini.Text());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every time per set or template is meant to stay flat from 1,000 to 100,000.
void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Read, StructureSets, StructureSetText, ReadStructureSets)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Read, CommentTemplates, CommentTemplateText, ReadCommentTemplates)->Apply(Sizes);
BENCHMARK(BM_SaveStructureSets)->Apply(Sizes);
BENCHMARK_MAIN();

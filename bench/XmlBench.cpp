// Throughput of the XML readers: the Parser base against a bare expat pass over the same bytes.
// Goal: the Parser reaches at least 0.8 of bare expat's throughput.
//
// What it reads: the game's own scripts (every file of data/animations/, each a document of its
// own, as the loader reads them), and a synthetic 1 MB document shaped like them, large enough to
// time on its own.
#include "resources/Parser.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>
#include <ctime>
#include <string>

namespace {

// About 1 MB of made-up scripts: commands with expression attributes, loops and text.
const std::string& SyntheticScriptsDocument()
{
    static const std::string document = [] {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<animations>\n";
        for (int i = 0; text.size() < (1u << 20); ++i) {
            std::string n = std::to_string(i);
            text += "  <animation name=\"menu_" + n + "\">\n";
            text += "    <add id=\"button_" + n + "\" image=\"button_play\" x=\"512 + " + n +
                    "\" y=\"300\" font=\"hud_text\" text=\"play_button\" if=\"global(level) &gt; 2\"/>\n";
            text += "    <move id=\"button_" + n + "\" x=\"100, 200\" time=\"50\" curve=\"out_quad\"/>\n";
            text += "    <loop count=\"3\">\n      <fade id=\"button_" + n +
                    "\" opacity=\"0.5\" time=\"20\"/>\n      <wait time=\"t * 2 + 1\"/>\n    </loop>\n";
            text += "    <say>Hello &amp; welcome, player " + n + "</say>\n";
            text += "  </animation>\n";
        }
        return text + "</animations>\n";
    }();
    return document;
}

class CountingParser : public Parser
{
public:
    long m_elements = 0;
    long m_attributeBytes = 0;

protected:
    void HandleElementStart(const std::wstring& name) override
    {
        (void)name;
        ++m_elements;
        m_attributeBytes += static_cast<long>(GetAttribute(L"id").size());
    }
    void HandleText(const std::wstring& text) override { m_attributeBytes += static_cast<long>(text.size()); }
};

long ParseWithParser(const std::string& bytes)
{
    CountingParser parser;
    parser.ParseBytes(bytes, "bench.xml");
    return parser.m_elements;
}

// The game's script files, read once.
const std::vector<std::string>& RealScriptFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> contents;
        const std::filesystem::path folder = std::filesystem::path(TARNVALE_SOURCE_DIR) / "data" / "animations";
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".xml")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            contents.push_back(bytes.str());
        }
        return contents;
    }();
    return files;
}

long ParseWithBareExpat(const std::string& bytes)
{
    long elements = 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(
        parser, [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<long*>(data); },
        [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
    XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE);
    XML_ParserFree(parser);
    return elements;
}

void BM_ParserOnSyntheticScripts(benchmark::State& state)
{
    const std::string& bytes = SyntheticScriptsDocument();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseWithParser(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParserOnSyntheticScripts)->Unit(benchmark::kMillisecond);

void BM_BareExpatOnSyntheticScripts(benchmark::State& state)
{
    const std::string& bytes = SyntheticScriptsDocument();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseWithBareExpat(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BareExpatOnSyntheticScripts)->Unit(benchmark::kMillisecond);

// CPU time of this thread, so that other work on a busy machine does not count.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Function> double Seconds(Function function)
{
    double start = ThreadSeconds();
    benchmark::DoNotOptimize(function(SyntheticScriptsDocument()));
    return ThreadSeconds() - start;
}

// Every real script file, twenty times over, so the pass is long enough to time.
template <typename Function> double SecondsOnRealScripts(Function function)
{
    double start = ThreadSeconds();
    for (int repeat = 0; repeat < 20; ++repeat)
        for (const std::string& file : RealScriptFiles())
            benchmark::DoNotOptimize(function(file));
    return ThreadSeconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Best of many rounds, the two passes taking turns so that both meet the same conditions.
    double parser = 1e9;
    double expat = 1e9;
    for (int round = 0; round < 25; ++round) {
        parser = std::min(parser, Seconds(ParseWithParser));
        expat = std::min(expat, Seconds(ParseWithBareExpat));
    }
    double megabytes = static_cast<double>(SyntheticScriptsDocument().size()) / (1 << 20);
    std::printf(
        "Synthetic scripts document: Parser %.1f MB/s, bare expat %.1f MB/s, ratio %.2f (goal >= 0.80)\n",
        megabytes / parser, megabytes / expat, expat / parser);

    std::size_t realBytes = 0;
    for (const std::string& file : RealScriptFiles())
        realBytes += file.size();
    if (realBytes == 0) {
        std::printf("The game's scripts: none found under data/animations/\n");
        return 0;
    }
    double realParser = 1e9;
    double realExpat = 1e9;
    for (int round = 0; round < 25; ++round) {
        realParser = std::min(realParser, SecondsOnRealScripts(ParseWithParser));
        realExpat = std::min(realExpat, SecondsOnRealScripts(ParseWithBareExpat));
    }
    const double realMegabytes = 20.0 * static_cast<double>(realBytes) / (1 << 20);
    std::printf("The game's scripts (%zu files, %zu bytes): Parser %.1f MB/s, bare expat %.1f MB/s, ratio %.2f\n",
                RealScriptFiles().size(), realBytes, realMegabytes / realParser, realMegabytes / realExpat,
                realExpat / realParser);
    return 0;
}

// The automatic categories on the installed fonts of the environment it runs
// in: the facts of every face read from scratch (what the worker does the
// first time), then from the cache, then showing a category and a
// combination. For the crowd of 5,000 families / 20,000 faces:
//
//   HOME=/work/crowd/home XDG_CONFIG_HOME=/work/crowd/home/.config
//   XDG_CACHE_HOME=/work/crowd/home/.cache auto_categories_bench [CACHE-FILE [--cached]]
//
// The facts cache goes to CACHE-FILE (default: a new temporary folder), never
// to the fonts' home.
#include "bench_clock.h"
#include "categories/auto_categories.h"
#include "categories/category_store.h"
#include "fonts/facts_cache.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using lw::bench::Clock;
using lw::bench::Ms;

std::string TemporaryCacheFile() {
    char folder[] = "/tmp/lw-facts-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return std::string(folder) + "/face-facts.cache";
}

lw::TAutoCategories Gather(const std::vector<lw::TFaceRef>& faces, const std::string& file,
                           const char* label) {
    auto start = Clock::now();
    lw::TFactsCache cache(file);
    cache.Load();
    const double loaded = Ms(start);
    lw::TAutoCategories groups = lw::BuildAutoCategories(faces, cache);
    const double built = Ms(start);
    start = Clock::now();
    cache.Save(true);
    std::printf("facts %-12s %zu faces: %8.1f ms (cache file read in %.1f ms, files read: %zu), "
                "saving %6.1f ms\n",
                label, faces.size(), built, loaded, cache.FilesRead(), Ms(start));
    return groups;
}

} // namespace

int main(int argc, char** argv) {
    const std::string cacheFile = argc > 1 ? argv[1] : TemporaryCacheFile();
    QCoreApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts, "/nonexistent/never-written.reg");

    auto start = Clock::now();
    lw::FontManager = std::make_unique<lw::TFontManager>();
    const std::vector<lw::TFaceRef> faces = lw::InstalledFaceRefs();
    std::printf("catalogue and face list: %zu families, %zu faces: %.1f ms\n",
                lw::FontManager->Families.size(), faces.size(), Ms(start));

    // --cached keeps a cache an earlier run left, to profile the warm path.
    if (argc < 3 || std::string(argv[2]) != "--cached") {
        std::filesystem::remove(cacheFile);
        Gather(faces, cacheFile, "from scratch");
    }
    lw::TAutoCategories groups;
    for (int run = 0; run < 3; ++run) {
        groups = Gather(faces, cacheFile, "from cache");
    }
    std::printf("cache file: %ju bytes, %zu automatic categories\n",
                static_cast<uintmax_t>(std::filesystem::file_size(cacheFile)), groups.Size());

    lw::TCategoryStore store({"/nonexistent", "/nonexistent"});
    store.Automatic = std::make_shared<const lw::TAutoCategories>(std::move(groups));
    const auto automatic = [](const char* id) { return lw::TCategoryOperand{false, id, true}; };
    for (const char* id : {"sans-serif", "weight:regular", "script:Latn"}) {
        start = Clock::now();
        const std::vector<std::string>* members = store.Automatic->Members(id);
        const size_t count = members ? std::vector<std::string>(*members).size() : 0;
        std::printf("show %-16s %6zu families: %6.2f ms\n", id, count, Ms(start));
    }
    const std::pair<const char*, const char*> pairs[] = {
        {"monospace", "italic"}, {"script:Latn", "serif"}, {"sans-serif", "weight:bold"}};
    const lw::TCombineOp ops[] = {lw::TCombineOp::And, lw::TCombineOp::Minus, lw::TCombineOp::Plus};
    for (size_t i = 0; i < 3; ++i) {
        start = Clock::now();
        const size_t count =
            store.CombineCategories(automatic(pairs[i].first), ops[i], automatic(pairs[i].second))
                .size();
        std::printf("combine %s %s %s: %zu families, %.1f ms\n", pairs[i].first,
                    i == 0   ? "and"
                    : i == 1 ? "minus"
                             : "plus",
                    pairs[i].second, count, Ms(start));
    }
    return 0;
}

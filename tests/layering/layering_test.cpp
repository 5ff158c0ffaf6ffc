// Dependencies point down only: every #include of a source file must name a
// file of its own layer or of a layer below it. The table below is the one
// the build is held to; docs/ARCHITECTURE.md shows the same table to people.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
    std::string_view name;
    std::vector<std::string_view> folders;
    std::vector<std::string_view> may_include; // layer names; a layer may always include itself
};

// From the top down. A file belongs to the layer of the longest folder that
// holds it, so the contract is its own layer inside the runtime core.
const std::vector<Layer>& layers() {
    static const std::vector<Layer> table = {
        // Tests, benchmarks, fuzz targets and the end-to-end helpers stand
        // above everything: they may include anything, and nothing them.
        {"harness", {"tests", "e2e", "bench", "fuzz"}, {}},
        {"tools", {"tools"}, {"program", "layouts", "forms", "image", "contract", "text", "base"}},
        {"program", {"app", "capture", "editor"}, {"facade", "contract", "layouts", "forms", "text", "base"}},
        {"startup", {"startup"}, {"base"}},
        {"win32 backend", {"runtime/win32"}, {"runtime core", "contract", "image", "forms", "text", "base"}},
        {"simulated desktop",
         {"runtime/sim"},
         {"runtime core", "contract", "image", "forms", "text", "base"}},
        {"facade", {"runtime/facade"}, {"contract", "forms", "text", "base"}},
        {"runtime core", {"runtime/core"}, {"contract", "image", "forms", "text", "base"}},
        {"contract", {"runtime/core/contract"}, {"base"}},
        {"layouts", {"forms/layouts"}, {"forms", "text", "base"}},
        {"forms", {"forms"}, {"text", "base"}},
        {"image", {"image"}, {"text", "base"}},
        {"text", {"text"}, {"base"}},
        {"base", {"base"}, {}},
    };
    return table;
}

bool within(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

// The layer of a path relative to the repository root; null for one outside
// every layer's folders.
const Layer* layer_of(std::string_view path) {
    const Layer* found = nullptr;
    std::size_t longest = 0;
    for (const Layer& layer : layers())
        for (std::string_view folder : layer.folders)
            if (within(path, folder) && folder.size() > longest) {
                found = &layer;
                longest = folder.size();
            }
    return found;
}

// Why `from` may not include `included`, or nothing when it may. Paths are
// relative to the repository root; an include outside every layer (a system
// or third-party header) is not ours to judge.
std::optional<std::string> refusal(std::string_view from, std::string_view included) {
    const Layer* source = layer_of(from);
    const Layer* target = layer_of(included);
    if (source == nullptr)
        return std::string(from) + " lies in no layer of the table";
    if (target == nullptr || target == source || source->name == "harness")
        return std::nullopt;
    if (std::ranges::find(source->may_include, target->name) != source->may_include.end())
        return std::nullopt;
    return std::string(from) + " (" + std::string(source->name) + ") includes " + std::string(included) +
           " (" + std::string(target->name) + ")";
}

bool is_source(const fs::path& path) {
    return path.extension() == ".h" || path.extension() == ".cpp";
}

// Build trees may lie inside the source tree; they and hidden folders hold
// no sources of ours.
bool skipped_folder(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.starts_with('.') || name.starts_with("build");
}

// The quoted includes of one file, as written.
std::vector<std::string> includes_of(const fs::path& file) {
    std::vector<std::string> found;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line.compare(hash, 8, "#include") != 0)
            continue;
        const std::size_t open = line.find('"', hash);
        const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close != std::string::npos)
            found.push_back(line.substr(open + 1, close - open - 1));
    }
    return found;
}

TEST(Layering, RefusesIncludesUpOrAcrossTheTable) {
    struct Case {
        std::string_view from, included;
        bool allowed;
    };
    const Case cases[] = {
        {"app/texts.cpp", "text/gbk.h", true},
        {"app/dispatcher.h", "runtime/core/contract/abi.h", true},
        {"capture/clipboard.cpp", "app/handlers.h", true},
        {"app/texts.cpp", "runtime/core/engine/engine.h", false},
        {"capture/shot.cpp", "runtime/core/picture/bitmap.h", false},
        {"app/settings.cpp", "runtime/sim/user.h", false},
        {"forms/layouts/layout.h", "forms/ids.h", true},
        {"forms/layouts/layout.h", "tools/assets/assets.h", false},
        {"forms/layouts/program_windows.cpp", "runtime/core/engine/engine.h", false},
        {"forms/reader.cpp", "forms/layouts/elements.h", false},
        // The contract is the runtime core's own layer, below it.
        {"runtime/core/engine/dll.cpp", "runtime/core/contract/dll_functions.h", true},
        {"runtime/core/contract/commands.h", "image/format.h", false},
        {"runtime/core/contract/commands.h", "runtime/core/engine/engine.h", false},
        {"runtime/sim/user.cpp", "runtime/win32/gdi.h", false},
        {"runtime/win32/gdi.cpp", "runtime/core/picture/bitmap.h", true},
        {"runtime/facade/runtime.h", "runtime/core/engine/engine.h", false},
        {"image/reader.cpp", "forms/reader.h", false},
        {"text/gbk.cpp", "runtime/core/settings/profile.h", false},
        {"base/bytes.cpp", "text/gbk.h", false},
        {"startup/stub.cpp", "app/handlers.h", false},
        {"tools/imagetool/assemble.cpp", "tests/support/program_image.h", false},
        {"tests/app/capture_test.cpp", "runtime/sim/user.h", true},
        {"app/texts.cpp", "gtest/gtest.h", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!refusal(c.from, c.included).has_value(), c.allowed) << c.from << " -> " << c.included;
    EXPECT_TRUE(refusal("newfolder/thing.cpp", "base/bytes.h").has_value());
}

TEST(Layering, EveryIncludeInTheTreePointsDown) {
    const fs::path root = VORN_SOURCE_DIR;
    std::vector<std::string> problems;
    std::size_t checked = 0;
    for (const fs::directory_entry& top : fs::directory_iterator(root)) {
        if (!top.is_directory() || skipped_folder(top.path()))
            continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top.path())) {
            if (!entry.is_regular_file() || !is_source(entry.path()))
                continue;
            const std::string from = entry.path().lexically_relative(root).generic_string();
            for (const std::string& included : includes_of(entry.path())) {
                ++checked;
                if (!fs::exists(root / included))
                    continue; // not a path from the root: a system or third-party header
                if (std::optional<std::string> problem = refusal(from, included))
                    problems.push_back(*problem);
            }
        }
    }
    std::sort(problems.begin(), problems.end());
    problems.erase(std::unique(problems.begin(), problems.end()), problems.end());
    EXPECT_GT(checked, 100u) << "the walk found too few includes; is VORN_SOURCE_DIR the repository?";
    for (const std::string& problem : problems)
        ADD_FAILURE() << problem;
}

} // namespace

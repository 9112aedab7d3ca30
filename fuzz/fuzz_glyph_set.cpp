// Fuzz target: the glyph-set loader, which reads a whole directory of image files. The fuzzer decides
// which of the set's files exist and what they hold (a few of them, by character code; a name may also
// be a directory instead of a file), then a label loads the set, draws with it and lets it go.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"
#include "render/text_label.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    require(openFuzzGlWindow());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string dir = fuzzScratchFile("glyphs");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    std::filesystem::create_directory(dir);

    const int files = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < files; ++i) {
        // Codes past 127 are never asked for; they must simply be ignored.
        const int code = input.ConsumeIntegralInRange(0, 130);
        const std::string path = dir + "/" + std::to_string(code) + ".dat";
        if (input.ConsumeIntegralInRange(0, 15) == 0) {
            std::filesystem::create_directory(path, ignored);
            continue;
        }
        const std::string bytes = input.ConsumeRandomLengthString(size);
        writeScrambledInput(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    const std::string text = input.ConsumeRemainingBytesAsString();
    {
        TextLabel label;
        const int loaded = label.setFont(dir);
        require(loaded >= 0 && loaded <= 128);
        require(label.setFont(dir) == loaded);
        label.text = text.substr(0, 64);
        label.draw();
    }
    purgeUnusedGlyphSets();
    require(glyphSetReferences.count(dir) == 0 && glyphSetLoadedCounts.count(dir) == 0);
    std::filesystem::remove_all(dir, ignored);
    return 0;
}

// The libFuzzer entry of one target, chosen when it is built (IMPRIX_FUZZ_TARGET names it).

#include "fuzz/FuzzEntries.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

const fuzzing::Target* target = nullptr;

} // namespace

// fontconfig keeps a few small allocations it never frees (the first text drawn finds them); they are
// not the product's, and the same fonts are looked up again by every input.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts, image plugins and the text codecs behave as in the application.
    static auto* app = new QGuiApplication(*argc, *argv); // never destroyed: inputs run until exit
    (void)app;
    target = fuzzing::findTarget(IMPRIX_FUZZ_TARGET);
    if (target == nullptr) {
        std::fprintf(stderr, "no fuzz target named %s\n", IMPRIX_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = target->entry(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", target->name, problem.c_str());
        std::abort();
    }
    return 0;
}

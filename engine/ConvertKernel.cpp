#include "ConvertKernel.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ProcessorHas([[maybe_unused]] const char* name) {
#ifdef KESTROVA_X86_KERNELS
    __builtin_cpu_init();
    if (std::strcmp(name, "avx512") == 0) {
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi2");
    }
    if (std::strcmp(name, "avx2") == 0) return __builtin_cpu_supports("avx2");
    if (std::strcmp(name, "sse2") == 0) return __builtin_cpu_supports("sse2");
#endif
    return false;
}

ConvertKernel Choose() {
    if (const char* forced = std::getenv("KESTROVA_KERNEL")) {
        if (const ConvertKernel kernel = ConvertKernelNamed(forced)) return kernel;
    }
#ifdef __x86_64__
    const char* const widestFirst[] = {"avx512", "avx2", "sse2"};
#else
    // With 32-bit registers the AVX-512 kernel's 64-bit masks go in halves:
    // measured slower there than AVX2, it runs only when asked for.
    const char* const widestFirst[] = {"avx2", "sse2"};
#endif
    for (const char* name : widestFirst) {
        if (const ConvertKernel kernel = ConvertKernelNamed(name)) return kernel;
    }
    return ConvertScalar;
}

}  // namespace

ConvertKernel ConvertKernelNamed(const char* name) {
    if (std::strcmp(name, "scalar") == 0) return ConvertScalar;
#ifdef KESTROVA_X86_KERNELS
    if (std::strcmp(name, "sse2") == 0 && ProcessorHas("sse2")) return ConvertSse2;
    if (std::strcmp(name, "avx2") == 0 && ProcessorHas("avx2")) return ConvertAvx2;
    if (std::strcmp(name, "avx512") == 0 && ProcessorHas("avx512")) return ConvertAvx512;
#endif
    return nullptr;
}

ConvertKernel ChosenConvertKernel() {
    static const ConvertKernel chosen = Choose();
    return chosen;
}

// libFuzzer's entry point for one target; QINTAR_FUZZ_FUNCTION names the target's function.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return QINTAR_FUZZ_FUNCTION(data, size);
}

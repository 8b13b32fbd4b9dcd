// The helper's side of the protocol: any sequence of copy-data records (any
// number, any size, with or without a terminating zero) and dialog outcomes.
// Every buffer keeps its terminating zero and the filter list its end.
#include "FuzzSupport.h"
#include "converter/pictra/PictraState.h"

#include <string>

using namespace pictra;

namespace {

template <std::size_t N>
bool terminated(const std::array<char, N>& b) {
    return b[N - 1] == '\0';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wavora::fuzz::Reader in(data, size);
    PictraState st;
    while (!in.empty()) {
        const std::uint8_t kind = in.byte();
        const std::size_t n = in.u16() % 1200;
        // The record's bytes in a block of their own, so that a read past
        // them is seen by the sanitizer.
        const std::string_view bytes = in.block(n);
        const std::string copy(bytes);
        const void* p = (kind & 0x80) && copy.empty() ? nullptr : copy.data();
        if ((kind & 0x70) == 0x70) {
            storeDialogResult(st, kind & 1, copy);
        } else {
            const std::uintptr_t number = (kind & 0x0F) < 8 ? (kind & 0x0F) : 0x10000u + kind;
            handleRecord(st, number, p, copy.size());
        }
        FUZZ_CHECK(terminated(st.DialogTitle) && terminated(st.PathBuffer) && terminated(st.InitialFolder) &&
                   terminated(st.OutputPath));
        const std::string_view filter = filterList(st);
        FUZZ_CHECK(filter.size() >= 2 && filter[filter.size() - 1] == '\0' && filter[filter.size() - 2] == '\0');
        FUZZ_CHECK(textOf(st.PathBuffer).size() < st.PathBuffer.size());
        FUZZ_CHECK(dialogFlags(st) == DialogFlags || dialogFlags(st) == MultiSelectDialogFlags);
    }
    return 0;
}

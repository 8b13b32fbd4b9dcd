#include "converter/pictra/PictraState.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace pictra {

namespace {

enum Command : std::uintptr_t {
    SetTitle = 0,
    SetFilter = 1,
    SetFileName = 2,
    SetFolder = 3,
    AllowMultiSelect = 4,
    ShowDialog = 5,
};

bool isShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The text of a block: up to its first zero byte or its end, whichever comes
// first, so a block without a terminator is never read past.
std::string_view blockText(const char* data, std::size_t size) {
    const void* zero = std::memchr(data, 0, size);
    return std::string_view(data, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : size);
}

// The buffer is cleared first, so the copy is always followed by zero bytes;
// a text too long is cut to the buffer without splitting a double-byte
// character.
void copyText(std::span<char> to, std::string_view text) {
    std::fill(to.begin(), to.end(), '\0');
    std::size_t n = 0;
    while (n < text.size()) {
        const std::size_t width = isShiftJisLead(static_cast<unsigned char>(text[n])) ? 2 : 1;
        if (n + width > to.size() - 1) break;
        n += width;
    }
    std::copy_n(text.begin(), std::min(n, text.size()), to.begin());
}

void copyFilter(PictraState& st, const char* data, std::size_t size) {
    // A list longer than the buffer cannot be taken whole; the old one stays.
    if (size > st.FilterText.size()) return;
    std::fill(st.FilterText.begin(), st.FilterText.end(), '\0');
    std::copy_n(data, size, st.FilterText.begin());
    // However the bytes end, the list ends inside the buffer.
    st.FilterText[st.FilterText.size() - 2] = '\0';
    st.FilterText[st.FilterText.size() - 1] = '\0';
}

} // namespace

RecordAction handleRecord(PictraState& st, std::uintptr_t number, const void* data, std::size_t size) {
    if (data == nullptr && size > 0) return RecordAction::None;
    const char* bytes = data ? static_cast<const char*>(data) : "";
    if (data == nullptr) size = 0;
    const std::string_view text = blockText(bytes, size);
    switch (number) {
    case SetTitle: copyText(st.DialogTitle, text); break;
    case SetFilter: copyFilter(st, bytes, size); break;
    case SetFileName: copyText(st.PathBuffer, text); break;
    case SetFolder: copyText(st.InitialFolder, text); break;
    case AllowMultiSelect: st.MultiSelectFlag = true; break;
    case ShowDialog: return text == "0" ? RecordAction::ShowOpenDialog : RecordAction::ShowSaveDialog;
    default:
        st.ReplyWindow = number;
        copyText(st.OutputPath, text);
        break;
    }
    return RecordAction::None;
}

std::uint32_t dialogFlags(const PictraState& st) { return st.MultiSelectFlag ? MultiSelectDialogFlags : DialogFlags; }

void storeDialogResult(PictraState& st, bool chosen, std::string_view sjisList) {
    const bool fits = !sjisList.empty() && sjisList.size() <= st.PathBuffer.size() && sjisList.back() == '\0';
    if (!chosen || !fits) {
        st.PathBuffer[0] = '\0';
        return;
    }
    std::fill(st.PathBuffer.begin(), st.PathBuffer.end(), '\0');
    std::copy(sjisList.begin(), sjisList.end(), st.PathBuffer.begin());
}

std::string_view filterList(const PictraState& st) {
    const auto& f = st.FilterText;
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        if (f[i] == '\0' && f[i + 1] == '\0') return std::string_view(f.data(), i + 2);
    return std::string_view(f.data(), f.size());
}

} // namespace pictra

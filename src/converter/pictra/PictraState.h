#pragma once
// Pictra's state and what it makes of each copy-data record the editor sends.
// No record is trusted: a copy never passes the capacity of its buffer, every
// text ends in a zero byte, and a record that claims bytes it does not carry
// changes nothing. Texts are Shift-JIS, as the editor sends them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pictra {

struct PictraState {
    std::array<char, 664> DialogTitle{};
    std::array<char, 264> FilterText{};   // pairs of texts, closed by one more zero byte
    std::array<char, 260> PathBuffer{};   // the initial name before a dialog, the choice after it
    std::array<char, 264> InitialFolder{};
    std::array<char, 264> OutputPath{};   // where an image conversion writes
    bool MultiSelectFlag = false;         // once set, set until Pictra ends
    std::uintptr_t ReplyWindow = 0;       // the window the dialog results go to
};

enum class RecordAction { None, ShowOpenDialog, ShowSaveDialog };

// One WM_COPYDATA record: dwData, lpData and cbData as they arrived. Returns
// which dialog to show, if any; the caller shows it and then calls
// storeDialogResult and sends the reply.
RecordAction handleRecord(PictraState& st, std::uintptr_t number, const void* data, std::size_t size);

// Explorer style, path and file must exist, no read-only box, ask before
// overwriting; several files only once the editor has asked for that.
constexpr std::uint32_t DialogFlags = 0x81806;
constexpr std::uint32_t MultiSelectDialogFlags = 0x81A06;
std::uint32_t dialogFlags(const PictraState& st);

// The dialog's outcome into PathBuffer. `chosen` is the dialog's own answer;
// `sjisList` the chosen path as Shift-JIS with its zero byte (or, for several
// files, the folder and the names, each with its zero byte, and one more zero
// byte). A choice that does not fit the buffer whole counts as cancelled:
// a cut path would name another file. Cancelled: the first byte becomes zero.
void storeDialogResult(PictraState& st, bool chosen, std::string_view sjisList);

// The text in a buffer, up to its terminating zero.
template <std::size_t N>
std::string_view textOf(const std::array<char, N>& buffer) {
    std::size_t n = 0;
    while (n < N && buffer[n] != '\0') ++n;
    return std::string_view(buffer.data(), n);
}

// The filter list up to and including the zero byte that closes it.
std::string_view filterList(const PictraState& st);

} // namespace pictra

// The editor's side: whatever the helper's window sends back as a reply (or
// another program sends in its place) is taken as at most five short names
// and a folder of clean text, for either dialog.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "converter/HelperClient.h"
#include "text/NumberText.h"

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    // No settings folder: the remembered folder is not written on each input.
    static EditorState s(fake, fuzz::workFolder() / "none");
    fuzz::Reader in(data, size);
    const std::uint8_t head = in.byte();
    const std::string block(in.rest());
    for (auto& name : s.frame.ChosenNames) name.clear();
    onHelperCopyData(s, head & 0x80 ? 7 : DialogResultRecord, block.empty() ? nullptr : block.data(), block.size());
    FUZZ_CHECK(s.frame.HelperReply.size() <= HelperReplyMax);
    const int count = parseHelperReply(s, head & 1 ? SaveDialog : OpenDialog);
    FUZZ_CHECK(count >= 0 && count <= ChosenNameCount);
    for (const auto& name : s.frame.ChosenNames) {
        FUZZ_CHECK(fuzz::validUtf8(name));
        FUZZ_CHECK(name.size() < 3 * static_cast<std::size_t>(ChosenNameSize));
    }
    FUZZ_CHECK(fuzz::validUtf8(helperReplyPath(s)));
    FUZZ_CHECK(fuzz::validUtf8(s.frame.FileOpenPath) && fuzz::validUtf8(s.frame.FileHozonPath));
    (void)chosenNameUsable(s);
    return 0;
}

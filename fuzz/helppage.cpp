// A help page as found in the parts folder, any bytes: laid out into lines
// that fit the page, with pictures that may or may not load, and drawn.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "ui/HelpLayout.h"

#include <iterator>

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    // A picture's size follows from its name, and a name holding 'x' is
    // missing, so pages get wide, tall, tiny and absent pictures.
    // The pictures are made once: a fresh one per name would spend the run
    // filling memory rather than laying out pages.
    static const std::shared_ptr<const Surface> pictures[] = {
        std::make_shared<Surface>(1, 1),   std::make_shared<Surface>(16, 16),  std::make_shared<Surface>(499, 20),
        std::make_shared<Surface>(500, 3), std::make_shared<Surface>(700, 2),  std::make_shared<Surface>(30, 300),
        std::make_shared<Surface>(549, 1), std::make_shared<Surface>(100, 100)};
    const auto loader = [](const std::string& name) -> std::shared_ptr<const Surface> {
        if (name.find('x') != std::string::npos) return nullptr;
        std::size_t h = 0;
        for (unsigned char c : name) h = h * 31 + c;
        return pictures[h % std::size(pictures)];
    };
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fake.boxes.clear();
    fake.texts.clear();
    const HelpPage page = layoutHelpPage(fake, text, "Wavora部品/help.txt", loader);
    int lastTop = -1;
    for (const HelpLine& line : page.lines) {
        FUZZ_CHECK(line.colour.size() == line.sjis.size());
        FUZZ_CHECK(line.sjis.size() <= HelpLineMaxBytes);
        FUZZ_CHECK(line.top >= lastTop && line.height >= 0);
        lastTop = line.top;
    }
    FUZZ_CHECK(page.surfaceHeight() >= HelpPageMinHeight && page.surfaceHeight() <= HelpPageMaxHeight);
    for (const HelpPicture& pic : page.pictures) FUZZ_CHECK(fuzz::validUtf8(pic.name));
    // Drawn onto a short page, so that lines and pictures below its end are
    // clipped rather than written past it.
    static Surface surface(HelpPageWidth, 64);
    drawHelpPage(fake, surface, page);
    return 0;
}

#pragma once
// An off-screen picture of 32-bit pixels, origin top left. Every drawing of the
// sound window, the layers and the pattern window happens on surfaces, so it can
// be checked pixel by pixel without a screen. On Windows the pixels are those of
// a DIB section, and `native` carries its device context for text.
#include <cstdint>
#include <vector>

namespace wavora {

// 0x00RRGGBB, the layout of a 32-bit DIB pixel in memory.
using Pixel = std::uint32_t;
constexpr Pixel rgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }
constexpr Pixel White = rgb(255, 255, 255);
constexpr Pixel Black = rgb(0, 0, 0);
constexpr Pixel Red = rgb(255, 0, 0);
constexpr Pixel Cyan = rgb(0, 255, 255);
constexpr Pixel FrameGrey = rgb(180, 180, 180);

class Surface {
public:
    Surface(int width, int height); // owns its pixels, all black (zero)
    Surface(int width, int height, Pixel* borrowed, void* native);
    virtual ~Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    void* native() const { return native_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Pixel get(int x, int y) const { return contains(x, y) ? pixels_[index(x, y)] : 0; }
    void set(int x, int y, Pixel p) {
        if (contains(x, y)) pixels_[index(x, y)] = p;
    }
    const Pixel* data() const { return pixels_; }
    Pixel* data() { return pixels_; }

    void fill(Pixel p);
    void fillRect(int x, int y, int w, int h, Pixel p);
    // A straight line from (x0, y0) to (x1, y1), end point included, `thickness`
    // pixels wide (1, 2 or 3), clipped to the surface.
    void line(int x0, int y0, int x1, int y1, Pixel p, int thickness = 1);
    // Outline of the rectangle with corners (left, top) and (right - 1, bottom - 1).
    void frameRect(int left, int top, int right, int bottom, Pixel p);

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    int width_, height_;
    std::vector<Pixel> own_;
    Pixel* pixels_;
    void* native_ = nullptr;
};

// Block copies between surfaces; all of them clip to both surfaces.
void copyPixels(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);
// dst = dst AND src: white leaves the destination as it is.
void andPixels(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);
// Nearest-neighbour stretch of the source rectangle onto the destination rectangle;
// source pixels outside the source surface are not copied.
void stretchPixels(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw,
                   int sh);

} // namespace wavora

#include "core/Surface.h"

#include <algorithm>
#include <cstdlib>

namespace wavora {

Surface::Surface(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      own_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0), pixels_(own_.data()) {}

Surface::Surface(int width, int height, Pixel* borrowed, void* native)
    : width_(std::max(0, width)), height_(std::max(0, height)), pixels_(borrowed), native_(native) {}

void Surface::fill(Pixel p) {
    std::fill_n(pixels_, static_cast<std::size_t>(width_) * height_, p);
}

void Surface::fillRect(int x, int y, int w, int h, Pixel p) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = static_cast<int>(std::min<long long>(width_, static_cast<long long>(x) + w));
    const int y1 = static_cast<int>(std::min<long long>(height_, static_cast<long long>(y) + h));
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            pixels_[index(xx, yy)] = p;
}

void Surface::line(int x0, int y0, int x1, int y1, Pixel p, int thickness) {
    thickness = std::clamp(thickness, 1, 3);
    int before = (thickness - 1) / 2;
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    bool steep = -dy > dx;
    for (;;) {
        for (int t = 0; t < thickness; ++t) {
            int off = t - before;
            if (steep)
                set(x0 + off, y0, p);
            else
                set(x0, y0 + off, p);
        }
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Surface::frameRect(int left, int top, int right, int bottom, Pixel p) {
    if (right <= left || bottom <= top) return;
    line(left, top, right - 1, top, p);
    line(left, bottom - 1, right - 1, bottom - 1, p);
    line(left, top, left, bottom - 1, p);
    line(right - 1, top, right - 1, bottom - 1, p);
}

namespace {

template <typename Op>
void blockOp(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h, Op op) {
    // Clip against the source, then against the destination, moving both
    // origins together. Worked in 64 bits: positions come from scaled sample
    // indices and may lie anywhere in the int range.
    long long X = dx, Y = dy, SX = sx, SY = sy, W = w, H = h;
    if (SX < 0) {
        X -= SX;
        W += SX;
        SX = 0;
    }
    if (SY < 0) {
        Y -= SY;
        H += SY;
        SY = 0;
    }
    if (X < 0) {
        SX -= X;
        W += X;
        X = 0;
    }
    if (Y < 0) {
        SY -= Y;
        H += Y;
        Y = 0;
    }
    W = std::min({W, src.width() - SX, dst.width() - X});
    H = std::min({H, src.height() - SY, dst.height() - Y});
    if (W <= 0 || H <= 0) return;
    for (long long y = 0; y < H; ++y) {
        const Pixel* s = src.data() + static_cast<std::size_t>((SY + y) * src.width() + SX);
        Pixel* d = dst.data() + static_cast<std::size_t>((Y + y) * dst.width() + X);
        for (long long x = 0; x < W; ++x)
            d[x] = op(d[x], s[x]);
    }
}

} // namespace

void copyPixels(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
    blockOp(dst, dx, dy, src, sx, sy, w, h, [](Pixel, Pixel s) { return s; });
}

void andPixels(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
    blockOp(dst, dx, dy, src, sx, sy, w, h, [](Pixel d, Pixel s) { return d & s; });
}

void stretchPixels(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw,
                   int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh) {
        copyPixels(dst, dx, dy, src, sx, sy, sw, sh);
        return;
    }
    // Only destination rows and columns inside the surface are visited.
    const long long y0 = std::max(0LL, -static_cast<long long>(dy));
    const long long y1 = std::min<long long>(dh, static_cast<long long>(dst.height()) - dy);
    const long long x0 = std::max(0LL, -static_cast<long long>(dx));
    const long long x1 = std::min<long long>(dw, static_cast<long long>(dst.width()) - dx);
    for (long long y = y0; y < y1; ++y) {
        const long long fy = sy + y * sh / dh;
        if (fy < 0 || fy >= src.height()) continue;
        for (long long x = x0; x < x1; ++x) {
            const long long fx = sx + x * sw / dw;
            if (fx < 0 || fx >= src.width()) continue;
            dst.set(static_cast<int>(dx + x), static_cast<int>(dy + y),
                    src.get(static_cast<int>(fx), static_cast<int>(fy)));
        }
    }
}

} // namespace wavora

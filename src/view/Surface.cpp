#include "view/Surface.h"

#include <algorithm>
#include <cstdlib>

namespace wavora {

Surface::Surface(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      own_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0), pixels_(own_.data()) {}

Surface::Surface(int width, int height, Pixel* borrowed, void* native)
    : width_(std::max(0, width)), height_(std::max(0, height)), pixels_(borrowed), native_(native) {}

void Surface::fill(Pixel p) { std::fill_n(pixels_, static_cast<std::size_t>(width_) * height_, p); }

void Surface::fillRect(int x, int y, int w, int h, Pixel p) {
    int x0 = std::max(0, x), y0 = std::max(0, y);
    int x1 = std::min(width_, x + w), y1 = std::min(height_, y + h);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) pixels_[index(xx, yy)] = p;
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
            if (steep) set(x0 + off, y0, p);
            else set(x0, y0 + off, p);
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
    // Clip against the source, then against the destination, moving both origins together.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.width() - sx, dst.width() - dx});
    h = std::min({h, src.height() - sy, dst.height() - dy});
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y) {
        const Pixel* s = src.data() + static_cast<std::size_t>(sy + y) * src.width() + sx;
        Pixel* d = dst.data() + static_cast<std::size_t>(dy + y) * dst.width() + dx;
        for (int x = 0; x < w; ++x) d[x] = op(d[x], s[x]);
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
    for (int y = 0; y < dh; ++y) {
        int ty = dy + y;
        int fy = sy + static_cast<int>(static_cast<long long>(y) * sh / dh);
        if (ty < 0 || ty >= dst.height() || fy < 0 || fy >= src.height()) continue;
        for (int x = 0; x < dw; ++x) {
            int tx = dx + x;
            int fx = sx + static_cast<int>(static_cast<long long>(x) * sw / dw);
            if (tx < 0 || tx >= dst.width() || fx < 0 || fx >= src.width()) continue;
            dst.set(tx, ty, src.get(fx, fy));
        }
    }
}

} // namespace wavora

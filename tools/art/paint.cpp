#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

int tone(float nx, float ny, float bias) {
    float r2 = nx * nx + ny * ny;
    float nz = r2 < 1 ? std::sqrt(1 - r2) : 0;
    // light from the upper left, a little in front
    float i = -0.45f * nx - 0.55f * ny + 0.70f * nz;
    if (i > 0.84f + bias) return 3;
    if (i > 0.24f + bias) return 2;
    return 1;
}

void ball(Pic& p, float cx, float cy, float rx, float ry, float bias) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = (int)std::floor(cy - ry); y <= (int)std::ceil(cy + ry); y++)
        for (int x = (int)std::floor(cx - rx); x <= (int)std::ceil(cx + rx); x++) {
            float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
            if (nx * nx + ny * ny <= 1) p.put(x, y, tone(nx, ny, bias));
        }
}

void limb(Pic& p, float x0, float y0, float x1, float y1, float r0, float r1, float bias) {
    float dx = x1 - x0, dy = y1 - y0, l2 = dx * dx + dy * dy;
    float rm = std::max(r0, r1);
    int xa = (int)std::floor(std::min(x0, x1) - rm), xb = (int)std::ceil(std::max(x0, x1) + rm);
    int ya = (int)std::floor(std::min(y0, y1) - rm), yb = (int)std::ceil(std::max(y0, y1) + rm);
    for (int y = ya; y <= yb; y++)
        for (int x = xa; x <= xb; x++) {
            float px = x + 0.5f, py = y + 0.5f;
            float t = l2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / l2 : 0;
            t = std::clamp(t, 0.f, 1.f);
            float r = r0 + (r1 - r0) * t;
            if (r <= 0) continue;
            float qx = px - (x0 + dx * t), qy = py - (y0 + dy * t);
            if (qx * qx + qy * qy <= r * r) p.put(x, y, tone(qx / r, qy / r, bias));
        }
}

void chain(Pic& p, const std::vector<Pt>& pts, float r0, float r1, float bias) {
    if (pts.size() < 2) return;
    float n = (float)(pts.size() - 1);
    for (size_t i = 0; i + 1 < pts.size(); i++) {
        float a = r0 + (r1 - r0) * (float)i / n, b = r0 + (r1 - r0) * (float)(i + 1) / n;
        limb(p, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, a, b, bias);
    }
}

static bool inside(const std::vector<Pt>& pts, float x, float y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const Pt &a = pts[i], &b = pts[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

void poly(Pic& p, const std::vector<Pt>& pts, int c) {
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++)
            if (inside(pts, x + 0.5f, y + 0.5f)) p.put(x, y, c);
}

void slab(Pic& p, const std::vector<Pt>& pts, int body, int lit, int dark) {
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++) {
            float cx = x + 0.5f, cy = y + 0.5f;
            if (!inside(pts, cx, cy)) continue;
            int c = body;
            if (!inside(pts, cx + 1, cy + 1) || !inside(pts, cx, cy + 1.5f)) c = dark;
            else if (!inside(pts, cx - 1, cy - 1) || !inside(pts, cx - 1.5f, cy)) c = lit;
            p.put(x, y, c);
        }
}

void disc(Pic& p, float cx, float cy, float rx, float ry, int c) {
    for (int y = (int)std::floor(cy - ry); y <= (int)std::ceil(cy + ry); y++)
        for (int x = (int)std::floor(cx - rx); x <= (int)std::ceil(cx + rx); x++) {
            float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
            if (nx * nx + ny * ny <= 1) p.put(x, y, c);
        }
}

void rect(Pic& p, int x, int y, int w, int h, int c) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) p.put(i, j, c);
}

void line(Pic& p, float x0, float y0, float x1, float y1, int c) {
    int n = (int)std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)));
    for (int i = 0; i <= n; i++) {
        float t = n ? (float)i / n : 0;
        p.put((int)std::floor(x0 + (x1 - x0) * t), (int)std::floor(y0 + (y1 - y0) * t), c);
    }
}

void thick(Pic& p, float x0, float y0, float x1, float y1, float r, int c) {
    float dx = x1 - x0, dy = y1 - y0, l2 = dx * dx + dy * dy;
    int xa = (int)std::floor(std::min(x0, x1) - r), xb = (int)std::ceil(std::max(x0, x1) + r);
    int ya = (int)std::floor(std::min(y0, y1) - r), yb = (int)std::ceil(std::max(y0, y1) + r);
    for (int y = ya; y <= yb; y++)
        for (int x = xa; x <= xb; x++) {
            float px = x + 0.5f, py = y + 0.5f;
            float t = l2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / l2, 0.f, 1.f) : 0;
            float qx = px - (x0 + dx * t), qy = py - (y0 + dy * t);
            if (qx * qx + qy * qy <= r * r) p.put(x, y, c);
        }
}

void recolor(Pic& p, float cx, float cy, float r, int from, int to) {
    for (int y = (int)(cy - r) - 1; y <= (int)(cy + r) + 1; y++)
        for (int x = (int)(cx - r) - 1; x <= (int)(cx + r) + 1; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            if (dx * dx + dy * dy <= r * r && p.at(x, y) == from) p.put(x, y, to);
        }
}

void mirror_x(Pic& p) {
    for (int y = 0; y < p.h; y++) std::reverse(p.px.begin() + (long)y * p.w, p.px.begin() + (long)(y + 1) * p.w);
}

void rim(Pic& p, int c, int r) {
    for (int k = 0; k < r; k++) {
        Pic q = p;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
                if (!q.at(x, y) && (q.at(x - 1, y) || q.at(x + 1, y) || q.at(x, y - 1) || q.at(x, y + 1)))
                    p.put(x, y, c);
    }
}

static uint8_t font_cols[96][5];

void font_load(const std::string& path) {
    std::ifstream in(path);
    std::string l;
    std::vector<std::string> lines;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    for (size_t i = 0; i < lines.size(); i++) {
        if (lines[i].size() < 3 || lines[i].compare(0, 2, "= ") != 0) continue;
        std::string name = lines[i].substr(2);
        int code = name == "space" ? 32 : name.size() == 1 ? (unsigned char)name[0] : -1;
        if (code < 32 || code >= 128 || i + 7 >= lines.size()) continue;
        for (int r = 0; r < 7; r++)
            for (int c = 0; c < 5 && c < (int)lines[i + 1 + r].size(); c++)
                if (lines[i + 1 + r][c] == '#') font_cols[code - 32][c] |= (uint8_t)(1u << r);
    }
}

int big_text_width(const char* text, int kx, int gap) {
    int n = (int)std::strlen(text);
    return n ? n * 5 * kx + (n - 1) * gap : 0;
}

void big_text(Pic& p, int x, int y, const char* text, int kx, int ky, int gap, int c) {
    for (int n = 0; text[n]; n++) {
        unsigned char ch = (unsigned char)text[n];
        if (ch < 32 || ch >= 128) continue;
        for (int col = 0; col < 5; col++)
            for (int r = 0; r < 7; r++)
                if (font_cols[ch - 32][col] & (1u << r))
                    rect(p, x + n * (5 * kx + gap) + col * kx, y + r * ky, kx, ky, c);
    }
}

bool art_draw(const std::string& name, Pic& p, int f, int n) {
    for (const ArtEntry* table : {ART_MONSTERS, ART_ITEMS, ART_ROOMS, ART_LOGOS})
        for (const ArtEntry* e = table; e->name; e++)
            if (name == e->name) {
                e->fn(p, f, n);
                return true;
            }
    return false;
}

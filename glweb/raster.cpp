// The raster position and bitmaps, drawn from one atlas texture of every bitmap seen.
#include <cmath>
#include <cstring>
#include <vector>

#include "commands.h"
#include "context.h"
#include "matrix.h"
#include "program.h"

namespace glweb {
namespace {

constexpr int kAtlasWidth = 256;
constexpr int kAtlasHeight = 256;

struct Glyph {
    GLsizei width, height;
    int x, y;  // lower left texel in the atlas
    std::size_t pixels;  // offset of its unpacked pixels, one byte each, bottom row first
};

struct Atlas {
    std::vector<Glyph> glyphs;
    std::vector<unsigned char> pixels;    // of every glyph, to know a bitmap seen before
    std::vector<unsigned char> unpacked;  // the bitmap being looked up
    std::vector<unsigned char> image = std::vector<unsigned char>(kAtlasWidth * kAtlasHeight);
    std::vector<GLfloat> corners;  // per glyph, 4 vertices of corner x, y and texel x, y
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    bool dirty = false;
    GLuint texture = 0, quads = 0;
};

Atlas s_atlas;

// Rows of the client's bitmap start on GL_UNPACK_ALIGNMENT bytes; bits run from the high one.
void unpack(GLsizei width, GLsizei height, const GLubyte* bitmap, std::vector<unsigned char>& out) {
    const GLint alignment = context().unpackAlignment;
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width + 7) / 8 + alignment - 1) / alignment * alignment;
    out.resize(static_cast<std::size_t>(width) * height);
    for (GLsizei y = 0; y < height; ++y) {
        const GLubyte* row = bitmap + y * rowBytes;
        for (GLsizei x = 0; x < width; ++x) {
            out[y * width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
        }
    }
}

int place(GLsizei width, GLsizei height) {
    Atlas& a = s_atlas;
    if (a.shelfX + width + 1 > kAtlasWidth) {
        a.shelfX = 0;
        a.shelfY += a.shelfHeight + 1;
        a.shelfHeight = 0;
    }
    if (width + 1 > kAtlasWidth || a.shelfY + height > kAtlasHeight) return -1;  // full
    const int x = a.shelfX, y = a.shelfY;
    a.shelfX += width + 1;
    if (height > a.shelfHeight) a.shelfHeight = height;
    const std::size_t offset = a.pixels.size();
    a.pixels.insert(a.pixels.end(), a.unpacked.begin(), a.unpacked.end());
    for (GLsizei row = 0; row < height; ++row) {
        for (GLsizei column = 0; column < width; ++column) {
            a.image[(y + row) * kAtlasWidth + x + column] = a.unpacked[row * width + column] ? 255 : 0;
        }
    }
    const GLfloat w = static_cast<GLfloat>(width), h = static_cast<GLfloat>(height);
    const GLfloat tx = static_cast<GLfloat>(x), ty = static_cast<GLfloat>(y);
    const GLfloat corners[16] = {0, 0, tx, ty, w, 0, tx + w, ty, 0, h, tx, ty + h, w, h, tx + w, ty + h};
    a.corners.insert(a.corners.end(), corners, corners + 16);
    a.glyphs.push_back({width, height, x, y, offset});
    a.dirty = true;
    return static_cast<int>(a.glyphs.size()) - 1;
}

void uploadAtlas() {
    Atlas& a = s_atlas;
    if (!a.texture) {
        emscripten_glGenTextures(1, &a.texture);
        emscripten_glBindTexture(GL_TEXTURE_2D, a.texture);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        emscripten_glGenBuffers(1, &a.quads);
    }
    emscripten_glBindTexture(GL_TEXTURE_2D, a.texture);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kAtlasWidth, kAtlasHeight, 0, GL_ALPHA,
                            GL_UNSIGNED_BYTE, a.image.data());
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, a.quads);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(a.corners.size() * sizeof(GLfloat)),
                            a.corners.data(), GL_STATIC_DRAW);
    a.dirty = false;
}

void drawGlyph(int slot, GLfloat x, GLfloat y, GLfloat z, const Vec4& color) {
    Atlas& a = s_atlas;
    if (a.dirty) uploadAtlas();
    useBitmapProgram(x, y, z, color, kAtlasWidth, kAtlasHeight);
    emscripten_glActiveTexture(GL_TEXTURE0);
    emscripten_glBindTexture(GL_TEXTURE_2D, a.texture);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, a.quads);
    const GLsizei stride = 4 * sizeof(GLfloat);
    emscripten_glVertexAttribPointer(kCorner, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
    emscripten_glVertexAttribPointer(kTexel, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void*>(2 * sizeof(GLfloat)));
    enableArrays((1u << kCorner) | (1u << kTexel));
    emscripten_glDrawArrays(GL_TRIANGLE_STRIP, slot * 4, 4);
}

}  // namespace

// The atlas slot of a bitmap, given one the first time its pixels are seen; -1 draws nothing.
GLint glyphFor(GLsizei width, GLsizei height, const GLubyte* bitmap) {
    if (width <= 0 || height <= 0 || !bitmap) return -1;
    Atlas& a = s_atlas;
    unpack(width, height, bitmap, a.unpacked);
    for (std::size_t i = 0; i < a.glyphs.size(); ++i) {
        const Glyph& g = a.glyphs[i];
        if (g.width == width && g.height == height &&
            std::memcmp(&a.pixels[g.pixels], a.unpacked.data(), a.unpacked.size()) == 0) {
            return static_cast<GLint>(i);
        }
    }
    return place(width, height);
}

// Through the modelview and projection apart, clipped as a point, then to the window.
void runRasterPos3f(const Param* p) {
    Context& c = context();
    const GLfloat object[4] = {p[0].f, p[1].f, p[2].f, 1};
    GLfloat eye[4], clip[4];
    transform(c.modelview.top(), object, eye);
    transform(c.projection.top(), eye, clip);
    const GLfloat w = clip[3];
    if (clip[2] > w || clip[2] < -w || clip[0] > w || clip[0] < -w || clip[1] > w || clip[1] < -w) {
        c.raster.valid = false;
        return;
    }
    const GLfloat d = w == 0.0f ? 1.0f : 1.0f / w;
    const GLfloat ndc[3] = {clip[0] * d, clip[1] * d, clip[2] * d};
    const GLint* v = viewport();
    const GLfloat halfWidth = 0.5f * static_cast<GLfloat>(v[2]);
    const GLfloat halfHeight = 0.5f * static_cast<GLfloat>(v[3]);
    RasterPosition& r = c.raster;
    r.x = ndc[0] * halfWidth + (halfWidth + static_cast<GLfloat>(v[0]));
    r.y = ndc[1] * halfHeight + (halfHeight + static_cast<GLfloat>(v[1]));
    r.z = ndc[2] * 0.5f + 0.5f;
    r.w = w;
    r.color = c.immediate.color;
    r.valid = true;
}

// The bitmap's origin lands on the pixel below the raster position less the origin, a
// hair above so that positions on a pixel's edge keep it.
void runBitmap(const Param* p) {
    RasterPosition& r = context().raster;
    if (!r.valid) return;
    const GLfloat xorig = p[0].f, yorig = p[1].f, xmove = p[2].f, ymove = p[3].f;
    const GLint slot = p[4].i;
    if (slot >= 0) {
        const GLfloat epsilon = 0.0001f;
        const GLfloat x = std::floor(r.x + epsilon - xorig);
        const GLfloat y = std::floor(r.y + epsilon - yorig);
        drawGlyph(slot, x, y, r.z, r.color);
    }
    r.x += xmove;
    r.y += ymove;
}

}  // namespace glweb

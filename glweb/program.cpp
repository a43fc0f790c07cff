// The two WebGL programs: lit or coloured vertices, and bitmaps from the glyph atlas.
#include "program.h"

#include "light.h"
#include "matrix.h"

namespace glweb {
namespace {

// OpenGL 1.x's lighting for one light and the front material: no colour material, no
// two-sided lighting, an infinite viewer, normals as the modelview leaves them.
const char* const kSceneVertexShader = R"(
attribute vec3 a_position;
attribute vec3 a_normal;
attribute vec4 a_color;
uniform mat4 u_mvp;
uniform mat4 u_modelview;
uniform mat3 u_normalMatrix;
uniform float u_lit;
uniform vec4 u_lightPosition;
uniform vec3 u_sceneColor;
uniform vec3 u_ambient;
uniform vec3 u_diffuse;
uniform vec3 u_specular;
uniform float u_alpha;
uniform float u_shininess;
varying vec4 v_color;
void main() {
    vec4 p = vec4(a_position, 1.0);
    gl_Position = u_mvp * p;
    if (u_lit == 0.0) {
        v_color = clamp(a_color, 0.0, 1.0);
        return;
    }
    vec4 eye = u_modelview * p;
    vec3 n = u_normalMatrix * a_normal;
    vec3 l = u_lightPosition.w == 0.0 ? u_lightPosition.xyz : u_lightPosition.xyz - eye.xyz;
    l = normalize(l);
    vec3 h = normalize(l + vec3(0.0, 0.0, 1.0));
    float nl = dot(n, l);
    float nh = max(dot(n, h), 0.0);
    float diffuse = max(nl, 0.0);
    float specular = 0.0;
    if (nl > 0.0) specular = u_shininess == 0.0 ? 1.0 : pow(nh, u_shininess);
    vec3 c = u_sceneColor + u_ambient;
    c = diffuse * u_diffuse + c;
    c = specular * u_specular + c;
    v_color = vec4(clamp(c, 0.0, 1.0), clamp(u_alpha, 0.0, 1.0));
}
)";

const char* const kSceneFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 v_color;
void main() {
    gl_FragColor = v_color;
}
)";

// Corners and texels are whole pixels, so every fragment samples its texel's centre.
const char* const kBitmapVertexShader = R"(
attribute vec2 a_corner;
attribute vec2 a_texel;
uniform vec3 u_origin;
uniform vec4 u_viewport;
uniform vec2 u_atlasSize;
varying vec2 v_texel;
void main() {
    vec2 window = u_origin.xy + a_corner;
    vec2 ndc = (window - u_viewport.xy) / u_viewport.zw * 2.0 - 1.0;
    gl_Position = vec4(ndc, u_origin.z * 2.0 - 1.0, 1.0);
    v_texel = a_texel / u_atlasSize;
}
)";

const char* const kBitmapFragmentShader = R"(
precision mediump float;
uniform sampler2D u_atlas;
uniform vec4 u_color;
varying vec2 v_texel;
void main() {
    if (texture2D(u_atlas, v_texel).a < 0.5) discard;
    gl_FragColor = u_color;
}
)";

struct SceneProgram {
    GLuint program = 0;
    GLint mvp, modelview, normalMatrix, lit, lightPosition, sceneColor, ambient, diffuse,
        specular, alpha, shininess;
    unsigned projectionSerial = 0, modelviewSerial = 0, lightingSerial = 0;
};

struct BitmapProgram {
    GLuint program = 0;
    GLint origin, viewport, atlasSize, atlas, color;
};

SceneProgram s_scene;
BitmapProgram s_bitmap;
GLuint s_current = 0;
unsigned s_arrays = 0;

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

GLuint link(const char* vertex, const char* fragment, const char* const* attributes, int count) {
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compile(GL_VERTEX_SHADER, vertex));
    emscripten_glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragment));
    for (int i = 0; i < count; ++i) {
        emscripten_glBindAttribLocation(program, static_cast<GLuint>(i), attributes[i]);
    }
    emscripten_glLinkProgram(program);
    return program;
}

void makeScene() {
    const char* const attributes[] = {"a_position", "a_normal", "a_color"};
    SceneProgram& s = s_scene;
    s.program = link(kSceneVertexShader, kSceneFragmentShader, attributes, 3);
    const auto at = [&](const char* name) { return emscripten_glGetUniformLocation(s.program, name); };
    s.mvp = at("u_mvp");
    s.modelview = at("u_modelview");
    s.normalMatrix = at("u_normalMatrix");
    s.lit = at("u_lit");
    s.lightPosition = at("u_lightPosition");
    s.sceneColor = at("u_sceneColor");
    s.ambient = at("u_ambient");
    s.diffuse = at("u_diffuse");
    s.specular = at("u_specular");
    s.alpha = at("u_alpha");
    s.shininess = at("u_shininess");
}

void makeBitmap() {
    const char* const attributes[] = {"a_corner", "a_texel"};
    BitmapProgram& b = s_bitmap;
    b.program = link(kBitmapVertexShader, kBitmapFragmentShader, attributes, 2);
    const auto at = [&](const char* name) { return emscripten_glGetUniformLocation(b.program, name); };
    b.origin = at("u_origin");
    b.viewport = at("u_viewport");
    b.atlasSize = at("u_atlasSize");
    b.atlas = at("u_atlas");
    b.color = at("u_color");
}

void select(GLuint program) {
    if (s_current == program) return;
    emscripten_glUseProgram(program);
    s_current = program;
}

}  // namespace

void useSceneProgram() {
    if (!s_scene.program) makeScene();
    select(s_scene.program);
    Context& c = context();
    SceneProgram& s = s_scene;
    const bool matricesChanged = s.projectionSerial != c.projection.serial ||
                                 s.modelviewSerial != c.modelview.serial;
    if (matricesChanged) {
        const Mat4 mvp = multiply(c.projection.top(), c.modelview.top());
        emscripten_glUniformMatrix4fv(s.mvp, 1, GL_FALSE, mvp.m);
    }
    if (s.modelviewSerial != c.modelview.serial) {
        emscripten_glUniformMatrix4fv(s.modelview, 1, GL_FALSE, c.modelview.top().m);
        GLfloat normalMatrix[9];
        inverseTranspose3(c.modelview.top(), normalMatrix);
        emscripten_glUniformMatrix3fv(s.normalMatrix, 1, GL_FALSE, normalMatrix);
    }
    s.projectionSerial = c.projection.serial;
    s.modelviewSerial = c.modelview.serial;
    if (s.lightingSerial != c.lightingSerial) {
        const LightingTerms t = lightingTerms();
        emscripten_glUniform1f(s.lit, t.lit ? 1.0f : 0.0f);
        emscripten_glUniform4fv(s.lightPosition, 1, t.position);
        emscripten_glUniform3fv(s.sceneColor, 1, t.sceneColor);
        emscripten_glUniform3fv(s.ambient, 1, t.ambient);
        emscripten_glUniform3fv(s.diffuse, 1, t.diffuse);
        emscripten_glUniform3fv(s.specular, 1, t.specular);
        emscripten_glUniform1f(s.alpha, t.alpha);
        emscripten_glUniform1f(s.shininess, t.shininess);
        s.lightingSerial = c.lightingSerial;
    }
}

void useBitmapProgram(GLfloat x, GLfloat y, GLfloat z, const Vec4& color, GLfloat atlasWidth,
                      GLfloat atlasHeight) {
    if (!s_bitmap.program) {
        makeBitmap();
        select(s_bitmap.program);
        emscripten_glUniform1i(s_bitmap.atlas, 0);
    }
    select(s_bitmap.program);
    const GLint* v = viewport();
    emscripten_glUniform4f(s_bitmap.viewport, static_cast<GLfloat>(v[0]),
                           static_cast<GLfloat>(v[1]), static_cast<GLfloat>(v[2]),
                           static_cast<GLfloat>(v[3]));
    emscripten_glUniform2f(s_bitmap.atlasSize, atlasWidth, atlasHeight);
    emscripten_glUniform3f(s_bitmap.origin, x, y, z);
    emscripten_glUniform4fv(s_bitmap.color, 1, color.v);
}

void enableArrays(unsigned mask) {
    for (GLuint i = 0; i < 3; ++i) {
        const unsigned bit = 1u << i;
        if ((mask & bit) == (s_arrays & bit)) continue;
        if (mask & bit) {
            emscripten_glEnableVertexAttribArray(i);
        } else {
            emscripten_glDisableVertexAttribArray(i);
        }
    }
    s_arrays = mask;
}

}  // namespace glweb

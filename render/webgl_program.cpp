// The WebGL backend's one shader: OpenGL's fixed-function pipeline reduced to
// what the scene uses. Vertices are lit as OpenGL lights them with one
// positional light, a normal made unit length after the modelview turned it,
// the default material and no specular part; otherwise they take the current
// colour. The fragment's colour is that colour times the texel while
// texturing is on (OpenGL's default texture environment, modulate).
#include <cstdio>

#include "render/webgl_context.h"

namespace {

constexpr char kVertexSource[] = R"(
attribute vec3 position;
attribute vec3 normal;
attribute vec2 texCoord;
uniform mat4 modelview;
uniform mat4 projection;
uniform vec4 colour;
uniform bool lighting;
uniform vec3 lightPosition;
uniform vec3 litAmbient;
uniform vec3 litDiffuse;
uniform float litAlpha;
varying vec4 vertexColour;
varying vec2 vertexTexCoord;
void main() {
  vec4 eye = modelview * vec4(position, 1.0);
  gl_Position = projection * eye;
  vertexTexCoord = texCoord;
  if (lighting) {
    // Only turns and moves make up the modelview, so its upper 3 x 3 part is
    // the matrix for normals.
    vec3 n = normalize((modelview * vec4(normal, 0.0)).xyz);
    vec3 l = normalize(lightPosition - eye.xyz);
    vec3 lit = litAmbient + max(dot(n, l), 0.0) * litDiffuse;
    vertexColour = vec4(clamp(lit, 0.0, 1.0), litAlpha);
  } else {
    vertexColour = colour;
  }
}
)";

constexpr char kFragmentSource[] = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D picture;
uniform bool texturing;
varying vec4 vertexColour;
varying vec2 vertexTexCoord;
void main() {
  vec4 c = vertexColour;
  if (texturing) c *= texture2D(picture, vertexTexCoord);
  gl_FragColor = c;
}
)";

GLuint compile(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "WebGL shader not compiled: %s\n", log);
  }
  return shader;
}

}  // namespace

void prepareShader(WebGlShader& s) {
  s.program = glCreateProgram();
  glAttachShader(s.program, compile(GL_VERTEX_SHADER, kVertexSource));
  glAttachShader(s.program, compile(GL_FRAGMENT_SHADER, kFragmentSource));
  glLinkProgram(s.program);
  GLint ok = 0;
  glGetProgramiv(s.program, GL_LINK_STATUS, &ok);
  if (!ok) std::fprintf(stderr, "WebGL shader not linked\n");
  glUseProgram(s.program);
  s.position = glGetAttribLocation(s.program, "position");
  s.normal = glGetAttribLocation(s.program, "normal");
  s.texCoord = glGetAttribLocation(s.program, "texCoord");
  s.modelview = glGetUniformLocation(s.program, "modelview");
  s.projection = glGetUniformLocation(s.program, "projection");
  s.colour = glGetUniformLocation(s.program, "colour");
  s.texturing = glGetUniformLocation(s.program, "texturing");
  s.lighting = glGetUniformLocation(s.program, "lighting");
  s.lightPosition = glGetUniformLocation(s.program, "lightPosition");
  s.litAmbient = glGetUniformLocation(s.program, "litAmbient");
  s.litDiffuse = glGetUniformLocation(s.program, "litDiffuse");
  s.litAlpha = glGetUniformLocation(s.program, "litAlpha");
  glUniform1i(glGetUniformLocation(s.program, "picture"), 0);
}

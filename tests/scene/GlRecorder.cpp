// The recorder behind GlRecorder.h: the OpenGL and GLU functions the scene calls (the lists in
// win32/opengl32.def and win32/glu32.def), each adding one line to the record. It keeps the
// little state the scene reads back: which capabilities are on (glGetBooleanv).
#include "tests/scene/GlRecorder.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>

namespace {

GlCalls calls;
std::set<GLenum> enabled;

// The names of the enums the scene passes; glClear's bits have a table of their own, since
// GL_COLOR_BUFFER_BIT and GL_LIGHT0 share a value.
const std::map<GLenum, const char*> kEnumNames = {
    {GL_LIGHTING, "GL_LIGHTING"},
    {GL_LIGHT0, "GL_LIGHT0"},
    {GL_DEPTH_TEST, "GL_DEPTH_TEST"},
    {GL_NORMALIZE, "GL_NORMALIZE"},
    {GL_COLOR_MATERIAL, "GL_COLOR_MATERIAL"},
    {GL_MODELVIEW, "GL_MODELVIEW"},
    {GL_PROJECTION, "GL_PROJECTION"},
    {GL_LINE_STRIP, "GL_LINE_STRIP"},
    {GL_QUADS, "GL_QUADS"},
    {GL_FRONT, "GL_FRONT"},
    {GL_AMBIENT, "GL_AMBIENT"},
    {GL_DIFFUSE, "GL_DIFFUSE"},
    {GL_SPECULAR, "GL_SPECULAR"},
    {GL_EMISSION, "GL_EMISSION"},
    {GL_SHININESS, "GL_SHININESS"},
    {GL_POSITION, "GL_POSITION"},
    {GLU_INSIDE, "GLU_INSIDE"},
    {GLU_OUTSIDE, "GLU_OUTSIDE"},
};
const std::map<GLenum, const char*> kClearBitNames = {{GL_COLOR_BUFFER_BIT, "GL_COLOR_BUFFER_BIT"},
                                                      {GL_DEPTH_BUFFER_BIT, "GL_DEPTH_BUFFER_BIT"}};

std::string Name(GLenum value, const std::map<GLenum, const char*>& names = kEnumNames) {
  const auto found = names.find(value);
  return found != names.end() ? found->second : std::to_string(value);
}

// Six significant digits; what is left of sin(pi) and the like (below 1e-12) reads as 0.
std::string Number(double value) {
  if (std::isnan(value)) return "nan";
  if (std::fabs(value) < 1e-12) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

void Record(const char* function, std::initializer_list<std::string> args) {
  std::string call = function;
  call += '(';
  const char* separator = "";
  for (const std::string& arg : args) {
    call += separator + arg;
    separator = ", ";
  }
  calls.push_back(call + ')');
}

// The values behind a glMaterialfv or glLightfv pointer: one for shininess, else four.
std::string Values(GLenum pname, const GLfloat* params) {
  std::string text = Number(params[0]);
  if (pname == GL_SHININESS) return text;
  for (int k = 1; k < 4; ++k) text += ", " + Number(params[k]);
  return text;
}

}  // namespace

GlCalls TakeGlCalls() {
  return std::exchange(calls, {});
}

void RecordGlCall(std::string call) {
  calls.push_back(std::move(call));
}

void ResetGl() {
  calls.clear();
  enabled.clear();
}

extern "C" {

void glBegin(GLenum mode) {
  Record("glBegin", {Name(mode)});
}
void glEnd() {
  Record("glEnd", {});
}
void glClear(GLbitfield mask) {
  Record("glClear", {Name(mask, kClearBitNames)});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  Record("glClearColor", {Number(r), Number(g), Number(b), Number(a)});
}
void glColor3d(GLdouble r, GLdouble g, GLdouble b) {
  Record("glColor3d", {Number(r), Number(g), Number(b)});
}
void glEnable(GLenum cap) {
  enabled.insert(cap);
  Record("glEnable", {Name(cap)});
}
void glDisable(GLenum cap) {
  enabled.erase(cap);
  Record("glDisable", {Name(cap)});
}
void glGetBooleanv(GLenum pname, GLboolean* params) {
  *params = enabled.count(pname) != 0 ? GL_TRUE : GL_FALSE;
  Record("glGetBooleanv", {Name(pname)});
}
void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar) {
  Record("glFrustum",
         {Number(left), Number(right), Number(bottom), Number(top), Number(zNear), Number(zFar)});
}
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  Record("glLightfv", {Name(light), Name(pname), Values(pname, params)});
}
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
  Record("glMaterialfv", {Name(face), Name(pname), Values(pname, params)});
}
void glLoadIdentity() {
  Record("glLoadIdentity", {});
}
void glMatrixMode(GLenum mode) {
  Record("glMatrixMode", {Name(mode)});
}
void glPushMatrix() {
  Record("glPushMatrix", {});
}
void glPopMatrix() {
  Record("glPopMatrix", {});
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  Record("glRotated", {Number(angle), Number(x), Number(y), Number(z)});
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  Record("glTranslated", {Number(x), Number(y), Number(z)});
}
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  Record("glVertex3d", {Number(x), Number(y), Number(z)});
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  Record("glViewport",
         {std::to_string(x), std::to_string(y), std::to_string(width), std::to_string(height)});
}

// A quadric is a byte of its own, so that LeakSanitizer reports one that is never deleted.
GLUquadric* gluNewQuadric() {
  Record("gluNewQuadric", {});
  return reinterpret_cast<GLUquadric*>(new char);
}
void gluDeleteQuadric(GLUquadric* quadric) {
  Record("gluDeleteQuadric", {});
  delete reinterpret_cast<char*>(quadric);
}
void gluQuadricOrientation(GLUquadric*, GLenum orientation) {
  Record("gluQuadricOrientation", {Name(orientation)});
}
void gluSphere(GLUquadric*, GLdouble radius, GLint slices, GLint stacks) {
  Record("gluSphere", {Number(radius), std::to_string(slices), std::to_string(stacks)});
}
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  Record("gluLookAt", {Number(eyeX), Number(eyeY), Number(eyeZ), Number(centerX), Number(centerY),
                       Number(centerZ), Number(upX), Number(upY), Number(upZ)});
}

}  // extern "C"

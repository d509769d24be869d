// The scene object: planet tables, camera, tick counter, options, settings path
// and the OpenGL handles of one drawing window. One per form, owned by the form.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "TplanetsPlatform.h"
#include "util/Visual.h"

class TPlanets {
public:
  // Tables, settings path beside the executable, Counter 0, no context.
  // The owner is not used until the first Tick or Resize.
  explicit TPlanets(TSceneOwner* owner);
  // Releases the OpenGL context if one was made.
  ~TPlanets();
  TPlanets(const TPlanets&) = delete;
  TPlanets& operator=(const TPlanets&) = delete;

  void InitTables();

  // Settings file: two bytes, comet and orbits (0 off, non-zero on).
  void LoadOptions();
  void SaveOptions();

  // One timer step: the first call makes the OpenGL context, later calls draw a frame.
  void Tick();
  // The owner's client area changed size: viewport and projection.
  void Resize();

  // Drawing steps of a frame, called by Tick and by each other.
  void MoveCamera();
  void ApplyCamera();
  void SetupLight();
  void SetupProjection();
  void SetColor(TColor color);
  void SetShinyMaterial();
  void SetDullMaterial();
  void DrawSun();
  void DrawPlanet(TColor color, double radius, double distance, double angle,
                  double inclination = 0);
  void DrawOrbit(double xHalfAxis, double yHalfAxis, double inclination);
  void DrawSphere(int slices, int stacks, double radius, bool inward = false);
  void DrawComet(double angle);
  void DrawCometOrbit(double ySemiAxis, double zSemiAxis);
  void DrawCometBody(double distance);

  // OpenGL context on the owner's window (fixed pixel format). One implementation per
  // platform, beside the private platform members below.
  bool CreateContext();
  void ReleaseContext();
  bool SetupPixelFormat();

  TSceneOwner* Form = nullptr;
  std::array<double, 3> Eye{};
  std::array<double, 3> Center{};
  std::array<double, 3> Up{};
  std::array<double, 10> Diameter{};
  std::array<double, 10> Distance{};
  std::array<double, 10> Period{};
  std::int32_t Counter = 0;
  std::string IniFile;
  bool HasContext = false;
  // What the context and the swap draw through: the window's device context on Windows, the
  // display connection on X11.
  TDrawingHandle DC = nullptr;
  TRenderContext RC = nullptr;
  std::uint8_t ShowComet = 1;
  std::uint8_t ShowOrbits = 1;

private:
  // What the drawing needs of its window; the platform's file implements them.
  // The owner's client area in pixels.
  int ClientWidth() const;
  int ClientHeight() const;
  // Shows the frame just drawn (the buffer swap on DC).
  void SwapFrame();
  // The first tick could not set up OpenGL (already reported): the program is to end.
  void EndAfterFailedSetup();

  // True while CreateContext runs: ticks that arrive from a modal error box wait.
  bool settingUp_ = false;
  // The set-up failed and the application is ending: later ticks draw nothing.
  bool setupFailed_ = false;
};

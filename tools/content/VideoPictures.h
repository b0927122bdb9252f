// Pictures for composing the video frames: reading the content's TGA and JPG
// files back, and drawing them onto an RGB frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// RGBA, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// A TGA the game reads or a JPG, by the name's extension; nullopt if it is
// missing or not such a picture.
std::optional<Picture> ReadPicture(const std::string& path);

struct Colour {
  float r, g, b;
};

// An RGB frame, top row first.
class Frame {
 public:
  Frame(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint8_t* Data() const { return rgb_.data(); }

  void Clear(Colour colour);
  void VerticalGradient(Colour top, Colour bottom);
  // The picture at its own size with its top-left corner at (x, y), blended
  // by its alpha times the given alpha.
  void Draw(const Picture& picture, int x, int y, float alpha = 1.0f);
  // A part of the picture (source rectangle) stretched over a rectangle of
  // the frame, sampled bilinearly, tinted, optionally mirrored.
  void DrawScaled(const Picture& picture, int srcX, int srcY, int srcW, int srcH, double x, double y, double w,
                  double h, Colour tint = {1, 1, 1}, float alpha = 1.0f, bool mirrored = false);
  void FillRect(int x, int y, int w, int h, Colour colour, float alpha);
  // Multiplies every pixel: a fade toward black.
  void Dim(float level);

 private:
  void Blend(int x, int y, float r, float g, float b, float alpha);
  int width_;
  int height_;
  std::vector<uint8_t> rgb_;
};

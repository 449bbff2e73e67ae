#ifndef TESSARY_EFFECT_TEXTURE_H
#define TESSARY_EFFECT_TEXTURE_H

namespace effect {

// How SetTexture filters and uploads the image.
enum texture_filter { FILTER_NEAREST = 0, FILTER_LINEAR = 1, FILTER_MIPMAP = 2 };

// Millisecond count handed to RenderTexture for an effect time in seconds: the exact product
// time x 1000, truncated toward zero to a 64-bit integer, of which the low 32 bits are kept.
unsigned int texture_ms(float seconds);

// One OpenGL 2D texture whose RGB image is made on the CPU (RenderTexture) and sent to OpenGL
// whenever its owner asks (SetTexture). Owns its pixel buffer and its texture name; destroy it
// while the GL context is current. Owners hold it by value and never copy it.
class Texture {
 public:
  unsigned char* pixels = nullptr;  // byte_count bytes: R, G, B per texel, row 0 first
  int width = 0;                    // 64, 128 or 256 after Init
  int height = 0;                   // 64, 128 or 256 after Init
  int byte_count = 0;               // width x height x 3
  unsigned int texture_id = 0;      // GL texture name, 0 until Init

  Texture() = default;
  virtual ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Picks each side from the request (64 up to 64, 128 up to 128, else 256), allocates a black
  // image and generates the texture name. Needs a current GL context; call once, right after
  // construction. Always returns true.
  virtual bool Init(int w, int h);
  // Fills `pixels` for the effect time `ms` in whole milliseconds. Uploads nothing.
  virtual void RenderTexture(unsigned int ms) = 0;
  // Binds the texture, sets the filters of `filter` and uploads the whole image (mipmaps for
  // FILTER_MIPMAP). An unknown filter value uploads without touching the filter parameters.
  // Leaves the texture bound.
  void SetTexture(texture_filter filter);
};

// A palette plasma: two tables twice the image's size, filled once, sampled through two moving
// windows and summed into an index of a 256-colour palette that cycles with time.
class PlasmaTexture : public Texture {
 public:
  unsigned char palette[256][3] = {};  // R, G, B of each plasma index
  unsigned char* plasma1 = nullptr;    // (2 width) x (2 height), rows of 2 width bytes
  unsigned char* plasma2 = nullptr;    // same shape

  PlasmaTexture() = default;
  ~PlasmaTexture() override;

  // The base Init, then both tables allocated and filled.
  bool Init(int w, int h) override;
  // Fills both tables: plasma1 rings around the middle of the left edge, plasma2 a wavy field.
  void InitPlasma();
  // Recomputes the palette for the time `t` in milliseconds.
  void UpdatePalette(double t);
  // The palette for `ms`, then every texel from the windows for ms / 16. Allocates nothing.
  void RenderTexture(unsigned int ms) override;
};

}  // namespace effect

#endif

// The show's pictures as every target reads them: the desktop decodes with SFML, the browser
// with stb_image; both must give the same pixels, and a failed read leaves nothing behind.
#include "platform/picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace {

// What the browser's loader (src/platform/web/picture.cpp) reads from `path`.
platform::Picture stb_picture(const std::string& path) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  platform::Picture picture;
  if (pixels == nullptr) return picture;
  const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  picture.Assign(static_cast<unsigned>(width), static_cast<unsigned>(height),
                 std::vector<unsigned char>(pixels, pixels + size));
  stbi_image_free(pixels);
  return picture;
}

}  // namespace

TEST(Picture, EveryShowPictureReadsTheSameOnTheDesktopAndInTheBrowser) {
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator("data")) {
    if (entry.path().extension() != ".png") continue;
    const std::string path = entry.path().string();
    platform::Picture desktop;
    std::string error;
    ASSERT_TRUE(desktop.Load(path, error)) << error;
    const platform::Picture browser = stb_picture(path);
    EXPECT_EQ(desktop.Width(), browser.Width()) << path;
    EXPECT_EQ(desktop.Height(), browser.Height()) << path;
    EXPECT_TRUE(desktop.Bytes() == browser.Bytes()) << path;
    ++pictures;
  }
  EXPECT_GE(pictures, 20);
}

TEST(Picture, FailedReadsAndMismatchedPixelsLeaveAnEmptyPicture) {
  platform::Picture picture(3, 2, platform::Rgba{1, 2, 3, 4});
  EXPECT_EQ(picture.Pixel(2, 1).b, 3);
  std::string error;
  EXPECT_FALSE(picture.Load("data/no_such_picture.png", error));
  EXPECT_TRUE(picture.Empty());
  EXPECT_TRUE(picture.Bytes().empty());
  EXPECT_NE(error.find("data/no_such_picture.png"), std::string::npos);
  // Bytes that are not width x height x 4 are not taken as a picture of that size.
  picture.Assign(2, 2, std::vector<unsigned char>(15));
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Width(), 0u);
}

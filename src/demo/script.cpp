#include "demo/script.h"

#include <filesystem>
#include <map>
#include <string>

namespace script {

namespace {

// A block image as every part starts one: blocks up to twice the unit size, in the picture's
// colours, flat or in relief.
BI* new_block_image(BI::display_type_t display) {
  BI* image = new BI();
  image->SetMaxSize(2.0f);
  image->EnableColor(true);
  image->SetDisplayType(display);
  return image;
}

// Loads `picture` as a new set, makes it the active one and puts it at `place`.
void add_set(BI* image, const platform::Picture& picture, float duration, const V& place) {
  image->LoadImage(picture, duration);
  image->SetActiveImage(static_cast<unsigned int>(image->images.size() - 1));
  image->SetShowPosition(place);
}

}  // namespace

void PartScript::add(omni::Effect* effect, int first, int end) {
  const int last = end < 0 ? end_beat : start_beat + end;
  list = enabler_append(list, effect, start_beat + first, last, seconds_per_beat);
}

float PartScript::at(const Beats& moment) const {
  return part_time(start_time, seconds_per_beat, moment);
}

float PartScript::seconds(const Beats& length) const {
  return part_seconds(seconds_per_beat, length);
}

void PartScript::add_keys(const CameraKey* keys, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const CameraKey& key = keys[i];
    if (key.track == TURN) {
      camera.AddRotation(key.transition, at(key.start), seconds(key.length), key.target);
    } else {
      camera.AddPosition(key.transition, at(key.start), seconds(key.length), key.target);
    }
  }
}

namespace {

// Every picture the show has asked for, as last decoded cleanly, by absolute path (so a data
// root of another working directory is another picture). Kept for the program's life: a show
// rebuilt after a picture broke on disk still has the good one.
std::map<std::string, platform::Picture>& picture_cache() {
  static std::map<std::string, platform::Picture> cache;
  return cache;
}

std::string cache_key(const std::string& file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  return ec ? file : absolute.lexically_normal().string();
}

}  // namespace

// Why the pictures asked for since the last take_picture_errors did not decode.
std::vector<std::string>& picture_errors() {
  static std::vector<std::string> errors;
  return errors;
}

platform::Picture load_picture(const char* file) {
  const auto [at, added] = picture_cache().try_emplace(cache_key(file));
  std::string error;
  if (added && !at->second.Load(file, error)) picture_errors().push_back(error);
  return at->second;
}

std::vector<std::string> take_picture_errors() {
  std::vector<std::string> errors;
  errors.swap(picture_errors());
  return errors;
}

bool reload_picture(const std::string& file, std::string& error) {
  platform::Picture picture;
  if (!picture.Load(file, error)) {
    error += ": the last good one stays";
    return false;
  }
  picture_cache()[cache_key(file)] = std::move(picture);
  return true;
}

BI* still_picture(const platform::Picture& picture, BI::display_type_t display, const V& place,
                  float duration) {
  BI* image = new_block_image(display);
  add_set(image, picture, duration, place);
  image->SetType(BI::SCROLLER_STATIC);
  return image;
}

BI* scrolling_picture(const platform::Picture& picture, BI::display_type_t display, const V& show,
                      const V& hide, float speed, float duration, float grow) {
  BI* image = new_block_image(display);
  image->SetFactor(grow);
  add_set(image, picture, duration, show);
  image->SetHidePosition(hide);
  image->SetSpeed(speed);
  image->SetType(BI::SCROLLER_SCROLL);
  return image;
}

BI* flipping_picture(const platform::Picture& first, const platform::Picture& second, float beat,
                     const V& place) {
  BI* image = new_block_image(BI::DISPLAY_FLAT);
  add_set(image, first, beat, place);
  add_set(image, second, beat, place);
  image->SetType(BI::SCROLLER_STATIC);
  return image;
}

}  // namespace script

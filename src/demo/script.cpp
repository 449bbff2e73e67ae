#include "demo/script.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Err.hpp>
#include <filesystem>
#include <map>
#include <sstream>

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
void add_set(BI* image, const sf::Image& picture, float duration, const V& place) {
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
std::map<std::string, sf::Image>& picture_cache() {
  static std::map<std::string, sf::Image> cache;
  return cache;
}

std::string cache_key(const std::string& file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  return ec ? file : absolute.lexically_normal().string();
}

}  // namespace

sf::Image load_picture(const char* file) {
  const auto [at, added] = picture_cache().try_emplace(cache_key(file));
  if (added) at->second.loadFromFile(file);
  return at->second;
}

bool reload_picture(const std::string& file, std::string& error) {
  // The library's own reason is caught rather than printed: it becomes this one line.
  std::ostringstream reason;
  std::streambuf* previous = sf::err().rdbuf(reason.rdbuf());
  sf::Image picture;
  const bool decoded = picture.loadFromFile(file);
  sf::err().rdbuf(previous);
  if (!decoded) {
    std::string why = reason.str();
    const size_t at = why.find("Reason: ");
    why = at == std::string::npos ? "not a picture" : why.substr(at + 8);
    while (!why.empty() && (why.back() == '\n' || why.back() == '.')) why.pop_back();
    error = file + ": cannot be decoded (" + why + "): the last good one stays";
    return false;
  }
  picture_cache()[cache_key(file)] = picture;
  return true;
}

BI* still_picture(const sf::Image& picture, BI::display_type_t display, const V& place,
                  float duration) {
  BI* image = new_block_image(display);
  add_set(image, picture, duration, place);
  image->SetType(BI::SCROLLER_STATIC);
  return image;
}

BI* scrolling_picture(const sf::Image& picture, BI::display_type_t display, const V& show,
                      const V& hide, float speed, float duration, float grow) {
  BI* image = new_block_image(display);
  image->SetFactor(grow);
  add_set(image, picture, duration, show);
  image->SetHidePosition(hide);
  image->SetSpeed(speed);
  image->SetType(BI::SCROLLER_SCROLL);
  return image;
}

BI* flipping_picture(const sf::Image& first, const sf::Image& second, float beat, const V& place) {
  BI* image = new_block_image(BI::DISPLAY_FLAT);
  add_set(image, first, beat, place);
  add_set(image, second, beat, place);
  image->SetType(BI::SCROLLER_STATIC);
  return image;
}

}  // namespace script

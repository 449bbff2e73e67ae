#include "demo/demo.h"

#include "demo/camerafile.h"
#include "effect/flash.h"

Enabler* enabler_append(Enabler* list, omni::Effect* effect, int start, int end,
                        float seconds_per_beat) {
  Enabler* node = new Enabler();
  if (list == nullptr) {
    list = node;
  } else {
    Enabler* last = list;
    while (last->next != nullptr) last = last->next;
    last->next = node;
    node->prev = last;
  }
  node->effect = effect;
  node->start = start;
  node->end = end;
  node->start_time = static_cast<float>(static_cast<double>(start) * seconds_per_beat);
  return list;
}

void enabler_cleanup(Enabler* list) {
  while (list != nullptr) {
    Enabler* next = list->next;
    delete list->effect;
    delete list;
    list = next;
  }
}

Enabler* init_demo(effect::Camera& camera, float seconds_per_beat, const CameraFile& keys) {
  Enabler* list = nullptr;
  effect::Flash* flash = new effect::Flash();
  int beat = 0;
  for (int i = 0; i < show_part_count; ++i) {
    const ShowPart& part = show_parts[i];
    const float start_time = static_cast<float>(static_cast<double>(beat) * seconds_per_beat);
    const int end = beat + part.length;
    list = part.build(list, camera, seconds_per_beat, start_time, beat, end);
    script::PartScript(list, camera, seconds_per_beat, start_time, beat, end)
        .add_keys(keys.PartKeys(i));
    for (int offset : part.flash_offsets) {
      if (offset >= 0) flash->AddFlash(beat + offset);
    }
    beat += part.length;
  }
  return enabler_append(list, flash, 0, show_flash_end, seconds_per_beat);
}

Enabler* init_demo(effect::Camera& camera, float seconds_per_beat) {
  static const CameraFile file = [] {
    CameraFile loaded;
    if (!load_camera_file(camera_file_path, loaded)) print_camera_errors(loaded);
    return loaded;
  }();
  return init_demo(camera, seconds_per_beat, file);
}

const char* part_name_at(int beat) {
  if (beat < 0) return "";
  int start = 0;
  for (const ShowPart& part : show_parts) {
    if (beat < start + part.length) return part.name;
    start += part.length;
  }
  return "tail";
}

int next_flash_beat(int beat) {
  int start = 0;
  for (const ShowPart& part : show_parts) {
    for (int offset : part.flash_offsets) {
      if (offset >= 0 && start + offset > beat) return start + offset;
    }
    start += part.length;
  }
  return -1;
}

#include "sync/track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "demo/moments.h"
#include "fileio.h"
#include "tunables.h"

namespace {

// Bytes of the count, and of one key (row, value, interpolation).
constexpr std::uintmax_t count_bytes = 4;
constexpr std::uintmax_t key_bytes = 9;

// Little-endian u32s, as the track files hold them.
void put_u32_le(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::uint32_t get_u32_le(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Checks the keys as read, before any of them is used: one line saying what is wrong.
bool check_keys(const std::vector<SyncKey>& keys, const std::vector<std::uint8_t>& kinds,
                std::string& error) {
  for (size_t i = 0; i < keys.size(); ++i) {
    char line[160];
    if (kinds[i] >= SyncKey::interpolation_count) {
      std::snprintf(line, sizeof line, "the key on row %d has interpolation %u (0 to 3)",
                    keys[i].row, kinds[i]);
    } else if (!std::isfinite(keys[i].value)) {
      std::snprintf(line, sizeof line, "the key on row %d is not a finite number", keys[i].row);
    } else if (i > 0 && keys[i].row <= keys[i - 1].row) {
      std::snprintf(line, sizeof line, "the keys are not sorted by row (row %d after row %d)",
                    keys[i].row, keys[i - 1].row);
    } else {
      continue;
    }
    error = line;
    return false;
  }
  return true;
}

}  // namespace

float SyncTrack::ValueAt(double row) const {
  if (keys.empty()) return 0.0f;
  // The first key after `row`; the one before it is the key in force.
  const auto next = std::upper_bound(keys.begin(), keys.end(), row,
                                     [](double r, const SyncKey& k) { return r < k.row; });
  if (next == keys.begin()) return keys.front().value;
  if (next == keys.end()) return keys.back().value;
  const SyncKey& key = *(next - 1);
  double t = (row - key.row) / static_cast<double>(next->row - key.row);
  switch (key.interpolation) {
    case SyncKey::STEP:
      return key.value;
    case SyncKey::LINEAR:
      break;
    case SyncKey::SMOOTH:
      t = t * t * (3.0 - 2.0 * t);
      break;
    case SyncKey::RAMP:
      t = t * t;
      break;
  }
  return static_cast<float>(key.value + (static_cast<double>(next->value) - key.value) * t);
}

void SyncTrack::SetKey(const SyncKey& key) {
  auto at = std::lower_bound(keys.begin(), keys.end(), key.row,
                             [](const SyncKey& k, int r) { return k.row < r; });
  if (at != keys.end() && at->row == key.row) {
    *at = key;
  } else {
    keys.insert(at, key);
  }
}

bool SyncTrack::DeleteKey(int row) {
  auto at = std::lower_bound(keys.begin(), keys.end(), row,
                             [](const SyncKey& k, int r) { return k.row < r; });
  if (at == keys.end() || at->row != row) return false;
  keys.erase(at);
  return true;
}

std::string track_file_name(const std::string& base, const std::string& name) {
  std::string out;
  for (const std::string* part : {&base, &name}) {
    if (!out.empty()) out += '_';
    for (unsigned char c : *part) {
      const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '/';
      if (plain) {
        out += static_cast<char>(c);
      } else {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "-%02X", c);
        out += escaped;
      }
    }
  }
  return out + ".track";
}

std::vector<unsigned char> track_file_bytes(const SyncTrack& track) {
  std::vector<unsigned char> out;
  out.reserve(count_bytes + key_bytes * track.keys.size());
  put_u32_le(out, static_cast<std::uint32_t>(track.keys.size()));
  for (const SyncKey& key : track.keys) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &key.value, sizeof bits);
    put_u32_le(out, static_cast<std::uint32_t>(key.row));
    put_u32_le(out, bits);
    out.push_back(key.interpolation);
  }
  return out;
}

bool load_track_file(const std::string& path, SyncTrack& track, std::string& error) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    error = path + ": cannot read: " + (ec ? ec.message() : std::string("not a file"));
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  unsigned char head[count_bytes];
  if (size < count_bytes || !in.read(reinterpret_cast<char*>(head), count_bytes)) {
    error = path + ": shorter than its key count";
    return false;
  }
  const auto count = static_cast<std::int32_t>(get_u32_le(head));
  // The size is checked against the count before anything is allocated for it.
  if (count < 0 || size != count_bytes + key_bytes * static_cast<std::uintmax_t>(count)) {
    error = path + ": " + std::to_string(size) + " bytes do not hold the " + std::to_string(count) +
            " keys its count says";
    return false;
  }
  std::vector<unsigned char> bytes(key_bytes * static_cast<size_t>(count));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    error = path + ": cannot read its keys";
    return false;
  }
  std::vector<SyncKey> keys(static_cast<size_t>(count));
  std::vector<std::uint8_t> kinds(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const unsigned char* p = bytes.data() + key_bytes * i;
    keys[i].row = static_cast<std::int32_t>(get_u32_le(p));
    const std::uint32_t bits = get_u32_le(p + 4);
    std::memcpy(&keys[i].value, &bits, sizeof bits);
    kinds[i] = p[8];
    keys[i].interpolation = static_cast<SyncKey::Interpolation>(p[8] & 3);
  }
  if (!check_keys(keys, kinds, error)) {
    error = path + ": " + error;
    return false;
  }
  track.keys = std::move(keys);
  return true;
}

bool save_track_file(const std::string& path, const SyncTrack& track, std::string& error) {
  const std::vector<unsigned char> bytes = track_file_bytes(track);
  std::string cause;
  if (!fileio::replace_file(path, std::string(bytes.begin(), bytes.end()), cause)) {
    error = "cannot write " + path + ": " + cause;
    return false;
  }
  return true;
}

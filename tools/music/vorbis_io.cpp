#include "vorbis_io.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "dsp.h"

namespace music {

namespace {

void append_page(const ogg_page& page, std::vector<unsigned char>& bytes) {
  bytes.insert(bytes.end(), page.header, page.header + page.header_len);
  bytes.insert(bytes.end(), page.body, page.body + page.body_len);
}

// Memory source for libvorbisfile.
struct MemoryFile {
  const std::vector<unsigned char>* bytes = nullptr;
  size_t pos = 0;
};

size_t mem_read(void* ptr, size_t size, size_t count, void* source) {
  MemoryFile* f = static_cast<MemoryFile*>(source);
  const size_t want = size * count;
  const size_t n = std::min(want, f->bytes->size() - f->pos);
  std::memcpy(ptr, f->bytes->data() + f->pos, n);
  f->pos += n;
  return size ? n / size : 0;
}

int mem_seek(void* source, ogg_int64_t offset, int whence) {
  MemoryFile* f = static_cast<MemoryFile*>(source);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(f->pos);
  if (whence == SEEK_END) base = static_cast<ogg_int64_t>(f->bytes->size());
  const ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(f->bytes->size())) return -1;
  f->pos = static_cast<size_t>(target);
  return 0;
}

long mem_tell(void* source) {
  return static_cast<long>(static_cast<MemoryFile*>(source)->pos);
}

}  // namespace

bool encode_vorbis(const Stereo& audio, float quality, std::vector<unsigned char>& bytes,
                   std::string& error) {
  return encode_vorbis(audio, quality, {}, bytes, error);
}

bool encode_vorbis(const Stereo& audio, float quality, const std::vector<std::string>& comments,
                   std::vector<unsigned char>& bytes, std::string& error) {
  bytes.clear();
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, static_cast<long>(kSampleRate), quality) != 0) {
    vorbis_info_clear(&vi);
    error = "vorbis_encode_init_vbr refused the settings";
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "melody5");
  for (const std::string& c : comments) vorbis_comment_add(&vc, c.c_str());
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x54455353);  // fixed serial number: repeatable output
  ogg_packet header, header_comm, header_code;
  vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &header_comm);
  ogg_stream_packetin(&os, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&os, &page)) append_page(page, bytes);

  const size_t chunk = 4096;
  size_t pos = 0;
  bool eos = false;
  while (!eos) {
    const size_t n = std::min(chunk, audio.Frames() - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      std::copy(audio.left.begin() + pos, audio.left.begin() + pos + n, buffer[0]);
      std::copy(audio.right.begin() + pos, audio.right.begin() + pos + n, buffer[1]);
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (!eos && ogg_stream_pageout(&os, &page)) {
          append_page(page, bytes);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return true;
}

bool decode_vorbis(const std::vector<unsigned char>& bytes, Stereo& audio, long& rate,
                   int& channels, std::string& error) {
  MemoryFile source{&bytes, 0};
  OggVorbis_File vf;
  const ov_callbacks callbacks = {mem_read, mem_seek, nullptr, mem_tell};
  if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) {
    error = "not an Ogg Vorbis stream";
    return false;
  }
  const vorbis_info* vi = ov_info(&vf, -1);
  rate = vi->rate;
  channels = vi->channels;
  audio.left.clear();
  audio.right.clear();
  bool ok = true;
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n == 0) break;
    if (n < 0) {
      error = "corrupt Ogg Vorbis data";
      ok = false;
      break;
    }
    audio.left.insert(audio.left.end(), pcm[0], pcm[0] + n);
    const float* right = channels > 1 ? pcm[1] : pcm[0];
    audio.right.insert(audio.right.end(), right, right + n);
  }
  ov_clear(&vf);
  return ok;
}

bool read_vorbis_comments(const std::vector<unsigned char>& bytes,
                          std::vector<std::string>& comments) {
  MemoryFile source{&bytes, 0};
  OggVorbis_File vf;
  const ov_callbacks callbacks = {mem_read, mem_seek, nullptr, mem_tell};
  if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) return false;
  comments.clear();
  const vorbis_comment* vc = ov_comment(&vf, -1);
  for (int i = 0; vc && i < vc->comments; ++i)
    comments.emplace_back(vc->user_comments[i], static_cast<size_t>(vc->comment_lengths[i]));
  ov_clear(&vf);
  return true;
}

std::string text_hash(const std::string& text) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

bool read_file(const std::string& path, std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  unsigned char buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace music

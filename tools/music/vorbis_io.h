// Ogg Vorbis encoding with libvorbisenc and decoding with libvorbisfile.
#pragma once

#include <string>
#include <vector>

#include "render.h"

namespace music {

// Encodes stereo 44.1 kHz audio at a VBR quality (-0.1 to 1) into Ogg Vorbis
// bytes. The stream serial number and comments are fixed, so the same audio
// always gives the same bytes.
bool encode_vorbis(const Stereo& audio, float quality, std::vector<unsigned char>& bytes,
                   std::string& error);

// The same with extra "KEY=value" comments in the stream's header.
bool encode_vorbis(const Stereo& audio, float quality, const std::vector<std::string>& comments,
                   std::vector<unsigned char>& bytes, std::string& error);

// Reads the "KEY=value" comments of an Ogg Vorbis stream; false when it is not one.
bool read_vorbis_comments(const std::vector<unsigned char>& bytes,
                          std::vector<std::string>& comments);

// 64-bit FNV-1a hash of a text, as sixteen hex digits: stamps which score made a file.
std::string text_hash(const std::string& text);

// Decodes Ogg Vorbis bytes; fills the audio, its sample rate and channel count
// (mono is returned on both sides). Returns false with a reason on failure.
bool decode_vorbis(const std::vector<unsigned char>& bytes, Stereo& audio, long& rate,
                   int& channels, std::string& error);

// Reads a whole file; false when it cannot be read.
bool read_file(const std::string& path, std::vector<unsigned char>& bytes);

// Writes a whole file; false when it cannot be written completely.
bool write_file(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace music

#include "fake_editor.h"

#include <SFML/Network/SocketSelector.hpp>
#include <cstring>

namespace {

// How long a waiting call waits before it gives up (a failing test, not a hanging one).
const sf::Time patience = sf::seconds(10);

}  // namespace

void put_u32_be(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(value >> shift));
}

std::vector<unsigned char> set_key_message(std::uint32_t index, std::uint32_t row, float value,
                                           std::uint8_t interpolation) {
  std::vector<unsigned char> out = {0};
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  put_u32_be(out, index);
  put_u32_be(out, row);
  put_u32_be(out, bits);
  out.push_back(interpolation);
  return out;
}

bool FakeEditor::Listen(unsigned short port, std::string& error) {
  if (listener_.listen(port) != sf::Socket::Done) {
    error = "cannot listen on port " + std::to_string(port);
    return false;
  }
  return true;
}

void FakeEditor::Stop() {
  client_.disconnect();
  listener_.close();
}

bool FakeEditor::Accept(std::string& error, std::uint32_t cursor_row, int track_count) {
  sf::SocketSelector selector;
  selector.add(listener_);
  if (!selector.wait(patience) || listener_.accept(client_) != sf::Socket::Done) {
    error = "no client came";
    return false;
  }
  const char greeting[] = "hello, synctracker!";
  unsigned char got[sizeof greeting - 1];
  if (!ReadExactly(got, sizeof got, error)) return false;
  if (std::memcmp(got, greeting, sizeof got) != 0) {
    error = "the client's greeting is wrong";
    return false;
  }
  std::vector<unsigned char> out(std::begin("hello, demo!"), std::end("hello, demo!") - 1);
  out.push_back(4);
  out.push_back(1);
  out.push_back(3);
  put_u32_be(out, cursor_row);
  if (!SendRaw(out)) return false;
  requested.clear();
  for (int i = 0; i < track_count; ++i) {
    unsigned char head[5];
    if (!ReadExactly(head, sizeof head, error)) return false;
    const std::uint32_t length = std::uint32_t{head[1]} << 24 | std::uint32_t{head[2]} << 16 |
                                 std::uint32_t{head[3]} << 8 | head[4];
    if (head[0] != 2 || length > 256) {
      error = "expected GET_TRACK, got command " + std::to_string(head[0]);
      return false;
    }
    std::string name(length, '\0');
    if (!ReadExactly(reinterpret_cast<unsigned char*>(&name[0]), length, error)) return false;
    requested.push_back(name);
    for (const Key& key : document[name]) {
      if (!SetKey(static_cast<std::uint32_t>(i), key.row, key.value, key.interpolation)) {
        error = "the client left";
        return false;
      }
    }
  }
  return true;
}

bool FakeEditor::ReadRow(std::uint32_t& row, std::string& error) {
  unsigned char bytes[5];
  if (!ReadExactly(bytes, sizeof bytes, error)) return false;
  if (bytes[0] != 3) {
    error = "expected SET_ROW, got command " + std::to_string(bytes[0]);
    return false;
  }
  row = std::uint32_t{bytes[1]} << 24 | std::uint32_t{bytes[2]} << 16 |
        std::uint32_t{bytes[3]} << 8 | bytes[4];
  return true;
}

bool FakeEditor::SetKey(std::uint32_t index, std::uint32_t row, float value,
                        std::uint8_t interpolation) {
  return SendRaw(set_key_message(index, row, value, interpolation));
}

bool FakeEditor::DeleteKey(std::uint32_t index, std::uint32_t row) {
  std::vector<unsigned char> out = {1};
  put_u32_be(out, index);
  put_u32_be(out, row);
  return SendRaw(out);
}

bool FakeEditor::SetRow(std::uint32_t row) {
  std::vector<unsigned char> out = {3};
  put_u32_be(out, row);
  return SendRaw(out);
}

bool FakeEditor::Pause(bool paused) {
  return SendRaw({4, static_cast<unsigned char>(paused ? 1 : 0)});
}

bool FakeEditor::Save() {
  return SendRaw({5});
}

bool FakeEditor::SendRaw(const std::vector<unsigned char>& bytes) {
  return client_.send(bytes.data(), bytes.size()) == sf::Socket::Done;
}

int FakeEditor::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < requested.size(); ++i) {
    if (requested[i] == name) return static_cast<int>(i);
  }
  return -1;
}

bool FakeEditor::ReadExactly(unsigned char* bytes, size_t count, std::string& error) {
  sf::SocketSelector selector;
  selector.add(client_);
  size_t have = 0;
  while (have < count) {
    size_t received = 0;
    if (!selector.wait(patience) ||
        client_.receive(bytes + have, count - have, received) != sf::Socket::Done) {
      error = "the client sent " + std::to_string(have) + " of " + std::to_string(count) +
              " bytes expected";
      return false;
    }
    have += received;
  }
  return true;
}

#include "fake_editor.h"

#include <SFML/Network/SocketSelector.hpp>
#include <algorithm>
#include <cstring>

namespace {

// How long a waiting call waits before it gives up.
const sf::Time patience = sf::seconds(10);

std::uint32_t u32_be(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

Message message(unsigned char command, std::initializer_list<std::uint32_t> fields, int tail) {
  Message out = {command};
  for (std::uint32_t v : fields) {
    for (int shift = 24; shift >= 0; shift -= 8)
      out.push_back(static_cast<unsigned char>(v >> shift));
  }
  if (tail >= 0) out.push_back(static_cast<unsigned char>(tail));
  return out;
}

Message set_key(std::uint32_t index, std::uint32_t row, float value, std::uint8_t interpolation) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return message(0, {index, row, bits}, interpolation);
}

bool FakeEditor::Listen(unsigned short port, std::string& error) {
  if (listener_.listen(port) == sf::Socket::Done) return true;
  error = "cannot listen on port " + std::to_string(port);
  return false;
}

bool FakeEditor::Accept(std::string& error, std::uint32_t cursor_row) {
  sf::SocketSelector selector;
  selector.add(listener_);
  if (!selector.wait(patience) || listener_.accept(client_) != sf::Socket::Done) {
    error = "no client came";
    return false;
  }
  unsigned char got[19];
  if (!ReadExactly(got, sizeof got, error)) return false;
  if (std::memcmp(got, "hello, synctracker!", sizeof got) != 0) {
    error = "the client's greeting is wrong";
    return false;
  }
  Message out = {'h', 'e', 'l', 'l', 'o', ',', ' ', 'd', 'e', 'm', 'o', '!', 4, 1};
  const Message row = message(3, {cursor_row});
  out.insert(out.end(), row.begin(), row.end());
  requested.clear();
  // Each pass first sends what the last one owes: the answer to the greeting, then the keys of
  // the track just asked for.
  for (std::uint32_t index = 0; Send(out) && index < 6; ++index) {
    unsigned char head[5];
    if (!ReadExactly(head, sizeof head, error)) return false;
    std::string name(u32_be(head + 1) < 256 ? u32_be(head + 1) : 0, '\0');
    if (head[0] != 2 || name.empty() ||
        !ReadExactly(reinterpret_cast<unsigned char*>(&name[0]), name.size(), error)) {
      error = "expected GET_TRACK with a name, got command " + std::to_string(head[0]);
      return false;
    }
    requested.push_back(name);
    out.clear();
    const Message index_bytes = message(0, {index});
    for (Message key : document[name]) {
      std::copy(index_bytes.begin() + 1, index_bytes.end(), key.begin() + 1);
      out.insert(out.end(), key.begin(), key.end());
    }
  }
  if (requested.size() < 6) error = "the client left";
  return requested.size() == 6;
}

bool FakeEditor::ReadRow(std::uint32_t& row, std::string& error) {
  unsigned char bytes[5];
  if (!ReadExactly(bytes, sizeof bytes, error)) return false;
  row = u32_be(bytes + 1);
  if (bytes[0] != 3) error = "expected SET_ROW, got command " + std::to_string(bytes[0]);
  return bytes[0] == 3;
}

bool FakeEditor::ReadExactly(unsigned char* bytes, size_t count, std::string& error) {
  sf::SocketSelector selector;
  selector.add(client_);
  for (size_t have = 0, received = 0; have < count; have += received) {
    if (!selector.wait(patience) ||
        client_.receive(bytes + have, count - have, received) != sf::Socket::Done) {
      error = "the client sent " + std::to_string(have) + " of " + std::to_string(count) + " bytes";
      return false;
    }
  }
  return true;
}

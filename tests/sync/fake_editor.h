#ifndef TESSARY_TESTS_SYNC_FAKE_EDITOR_H
#define TESSARY_TESTS_SYNC_FAKE_EDITOR_H

// A stand-in for a sync editor in the tests: a TCP server speaking the editor's side of the
// protocol. Its waiting calls give up after a bound (a failing test, not a hanging one); run them
// on another thread than the client's Poll.
//
// How to use:
//   FakeEditor editor;
//   editor.Listen(0, error);                          // any free port: editor.Port()
//   editor.document["camera:pos.x"] = {set_key(0, 0, 1.5f, 1)};   // the index is filled in
//   editor.Accept(error);      // greeting, PAUSE 1, SET_ROW, the keys of each track asked for
//   editor.Send(message(SET_ROW_BYTE, {32}));
//   editor.ReadRow(row, error);                       // a row the client sent

#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

using Message = std::vector<unsigned char>;

// A command byte, its big-endian u32 fields, then one trailing byte when `tail` >= 0.
Message message(unsigned char command, std::initializer_list<std::uint32_t> fields, int tail = -1);
// SET_KEY with the value's bits.
Message set_key(std::uint32_t index, std::uint32_t row, float value, std::uint8_t interpolation);

class FakeEditor {
 public:
  // SET_KEY messages by track name, sent (with the track's index) when the client asks for it.
  std::map<std::string, std::vector<Message>> document;
  // The names the client asked for on this connection, in order: their indices.
  std::vector<std::string> requested;

  bool Listen(unsigned short port, std::string& error);
  unsigned short Port() const { return listener_.getLocalPort(); }
  // Waits for the client, checks its greeting, answers, sends PAUSE 1 and SET_ROW `cursor_row`,
  // then answers six GET_TRACK requests with the document's keys. False with a reason.
  bool Accept(std::string& error, std::uint32_t cursor_row = 0);
  // Waits for the next SET_ROW from the client. False with a reason.
  bool ReadRow(std::uint32_t& row, std::string& error);
  // False when the client is gone.
  bool Send(const Message& bytes) {
    return bytes.empty() || client_.send(bytes.data(), bytes.size()) == sf::Socket::Done;
  }
  void Close() { client_.disconnect(); }

 private:
  bool ReadExactly(unsigned char* bytes, size_t count, std::string& error);

  sf::TcpListener listener_;
  sf::TcpSocket client_;
};

#endif

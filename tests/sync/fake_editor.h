#ifndef TESSARY_TESTS_SYNC_FAKE_EDITOR_H
#define TESSARY_TESTS_SYNC_FAKE_EDITOR_H

// A stand-in for a sync editor in the tests: a TCP server speaking the editor's side of the
// protocol, with blocking calls that each give up after a bound (a test that goes wrong fails
// instead of hanging). Run its waiting calls on another thread than the client's Poll.
//
// How to use:
//   FakeEditor editor;
//   editor.Listen(0, error);                       // any free port: editor.Port()
//   editor.document["camera:pos.x"] = {{0, 1.5f, 1}};
//   editor.Accept(error);                          // greeting, PAUSE 1, SET_ROW, the keys asked
//   for editor.SetKey(0, 16, 2.0f, 1); editor.SetRow(32); editor.Save(); editor.ReadRow(row,
//   error);                    // a row the client sent

#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class FakeEditor {
 public:
  struct Key {
    std::uint32_t row;
    float value;
    std::uint8_t interpolation;
  };

  // Keys by track name, sent in answer to each GET_TRACK.
  std::map<std::string, std::vector<Key>> document;
  // The track names the client asked for on this connection, in order (their indices).
  std::vector<std::string> requested;

  // Listens on `port` (0: a free one). False with a reason.
  bool Listen(unsigned short port, std::string& error);
  unsigned short Port() const { return listener_.getLocalPort(); }
  // Waits for the client, checks its greeting, answers it, sends PAUSE 1 and SET_ROW
  // `cursor_row` as the editor does, then answers `track_count` GET_TRACK requests with the
  // document's keys. False with a reason.
  bool Accept(std::string& error, std::uint32_t cursor_row = 0, int track_count = 6);
  // Waits for the next SET_ROW from the client. False with a reason.
  bool ReadRow(std::uint32_t& row, std::string& error);
  // The editor's commands (false when the client is gone).
  bool SetKey(std::uint32_t index, std::uint32_t row, float value, std::uint8_t interpolation);
  bool DeleteKey(std::uint32_t index, std::uint32_t row);
  bool SetRow(std::uint32_t row);
  bool Pause(bool paused);
  bool Save();
  bool SendRaw(const std::vector<unsigned char>& bytes);
  // The index of a requested track name (-1: not requested).
  int IndexOf(const std::string& name) const;
  // Closes the connection to the client (the listener stays).
  void Close() { client_.disconnect(); }
  // Stops listening too.
  void Stop();

 private:
  // Reads exactly `count` bytes, waiting at most a few seconds in all.
  bool ReadExactly(unsigned char* bytes, size_t count, std::string& error);

  sf::TcpListener listener_;
  sf::TcpSocket client_;
};

// Appends a command and its big-endian fields, as the editor puts them on the wire.
void put_u32_be(std::vector<unsigned char>& out, std::uint32_t value);
std::vector<unsigned char> set_key_message(std::uint32_t index, std::uint32_t row, float value,
                                           std::uint8_t interpolation);

#endif

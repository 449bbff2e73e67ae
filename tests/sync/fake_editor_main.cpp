// fake-editor PORT: a scripted stand-in for a sync editor, for end-to-end tests of the player.
// Prints "listening on PORT" (PORT 0: a free one), then reads one command a line from standard
// input and prints "ok LINE" after each (a script can wait for that); the first that fails ends
// it with status 1 and a line on standard error.
//   doc NAME ROW VALUE INTERP   a key of the document, sent when the client asks for NAME
//   accept [ROW]                wait for the client; greeting, PAUSE 1, SET_ROW ROW, the keys
//   key NAME ROW VALUE INTERP   SET_KEY        delete NAME ROW   DELETE_KEY
//   row R   SET_ROW   pause 0|1   PAUSE   save   SAVE_TRACKS   raw HEX...   any bytes
//   expect-row R                wait until the client sends row R
//   sleep SECONDS   close (the connection; listening goes on)
#include <SFML/System/Sleep.hpp>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "fake_editor.h"

namespace {

// Runs one script line; false with a reason.
bool run(FakeEditor& editor, const std::string& line, std::string& error) {
  std::istringstream in(line);
  std::string command, name;
  in >> command;
  std::uint32_t row = 0;
  float value = 0;
  unsigned interpolation = 0;
  if (command == "doc" && in >> name >> row >> value >> interpolation) {
    editor.document[name].push_back({row, value, static_cast<std::uint8_t>(interpolation)});
    return true;
  }
  if (command == "accept") {
    in >> row;
    return editor.Accept(error, row);
  }
  if ((command == "key" || command == "delete") && in >> name >> row) {
    const int index = editor.IndexOf(name);
    if (index < 0) {
      error = "the client did not ask for " + name;
      return false;
    }
    if (command == "delete") return editor.DeleteKey(static_cast<std::uint32_t>(index), row);
    if (!(in >> value >> interpolation)) return false;
    return editor.SetKey(static_cast<std::uint32_t>(index), row, value,
                         static_cast<std::uint8_t>(interpolation));
  }
  if (command == "row" && in >> row) return editor.SetRow(row);
  if (command == "pause" && in >> row) return editor.Pause(row != 0);
  if (command == "save") return editor.Save();
  if (command == "raw") {
    std::vector<unsigned char> bytes;
    std::string hex;
    while (in >> hex) bytes.push_back(static_cast<unsigned char>(std::stoul(hex, nullptr, 16)));
    return editor.SendRaw(bytes);
  }
  if (command == "expect-row" && in >> row) {
    std::uint32_t got = 0;
    while (editor.ReadRow(got, error)) {
      if (got == row) return true;
    }
    return false;
  }
  if (command == "sleep" && in >> value) {
    sf::sleep(sf::seconds(value));
    return true;
  }
  if (command == "close") {
    editor.Close();
    return true;
  }
  error = "not a command";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fake-editor PORT < SCRIPT\n");
    return 2;
  }
  FakeEditor editor;
  std::string error;
  if (!editor.Listen(static_cast<unsigned short>(std::atoi(argv[1])), error)) {
    std::fprintf(stderr, "fake-editor: %s\n", error.c_str());
    return 1;
  }
  std::printf("listening on %u\n", editor.Port());
  std::fflush(stdout);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (!run(editor, line, error)) {
      std::fprintf(stderr, "fake-editor: %s: %s\n", line.c_str(), error.c_str());
      return 1;
    }
    std::printf("ok %s\n", line.c_str());
    std::fflush(stdout);
  }
  return 0;
}

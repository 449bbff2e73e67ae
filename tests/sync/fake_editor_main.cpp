// fake-editor PORT: a scripted stand-in for a sync editor, for end-to-end tests of the player.
// Prints "listening on PORT" (PORT 0: a free one), then runs one command a line from standard
// input, printing "ok LINE" after each; the first that fails ends it with status 1.
//   doc NAME ROW VALUE INTERP   a key of the document, sent when the client asks for NAME
//   accept [ROW]                wait for the client: greeting, PAUSE 1, SET_ROW ROW, the keys
//   key NAME ROW VALUE INTERP   SET_KEY      row R   SET_ROW      pause 0|1   PAUSE
//   save   SAVE_TRACKS
//   expect-row R                wait until the client sends row R
#include <algorithm>
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
  std::uint32_t row = 0, kind = 0;
  float value = 0;
  in >> command;
  if ((command == "doc" || command == "key") && in >> name >> row >> value >> kind) {
    const auto at = std::find(editor.requested.begin(), editor.requested.end(), name);
    const auto index = static_cast<std::uint32_t>(at - editor.requested.begin());
    const Message key = set_key(index, row, value, static_cast<std::uint8_t>(kind));
    if (command == "key") return at != editor.requested.end() && editor.Send(key);
    editor.document[name].push_back(key);
    return true;
  }
  if (command == "accept") {
    in >> row;
    return editor.Accept(error, row);
  }
  if (command == "row" && in >> row) return editor.Send(message(3, {row}));
  if (command == "pause" && in >> row) return editor.Send(message(4, {}, row != 0));
  if (command == "save") return editor.Send(message(5, {}));
  if (command == "expect-row" && in >> row) {
    std::uint32_t got = row + 1;
    while (got != row && editor.ReadRow(got, error)) {
    }
    return got == row;
  }
  error = "not a command";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  FakeEditor editor;
  std::string error, line;
  if (argc != 2 || !editor.Listen(static_cast<unsigned short>(std::atoi(argv[1])), error)) {
    std::fprintf(stderr, "usage: fake-editor PORT < SCRIPT %s\n", error.c_str());
    return 2;
  }
  std::printf("listening on %u\n", editor.Port());
  std::fflush(stdout);
  while (std::getline(std::cin, line)) {
    if (!run(editor, line, error)) {
      std::fprintf(stderr, "fake-editor: %s: %s\n", line.c_str(), error.c_str());
      return 1;
    }
    std::printf("ok %s\n", line.c_str());
    std::fflush(stdout);
  }
  return 0;
}
